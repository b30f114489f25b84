// The game's windows made as at start-up, on a fresh settings store and a dictionary of a few
// words in a folder of the test's own; the high score dialog and the questions answer without
// a modal loop, and every sound is recorded.
#pragma once

#include "fakesoundoutput.h"
#include "testsettings.h"

#include "dialogs/dictload.h"
#include "dialogs/newgame.h"
#include "mainwindow/forms.h"
#include "mainwindow/pelform.h"
#include "model/board.h"
#include "settings/persist.h"
#include "settings/sounder.h"
#include "tests/dictionary/tsdfixture.h"

#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>

namespace gametest {

// Records the caption it was shown with and closes with `answer` (2 is "Close").
class ScriptedScores : public TNewGameForm {
public:
    std::vector<QString> captions;
    int answer = 2;
    QString Row(int i) { // "score|player|best word"
        QTreeWidgetItem* item = findChild<QTreeWidget*>()->topLevelItem(i);
        return item ? item->text(0) + '|' + item->text(1) + '|' + item->text(2) : QString();
    }

protected:
    int RunModal() override {
        captions.push_back(windowTitle());
        return answer;
    }
};

// Calls onBegin once the load has begun (and processes the window system's messages).
class HookedLoading : public TDictionaryLoading {
public:
    std::function<void()> onBegin;
    int loads = 0;
    void Begin(int32_t total) override {
        ++loads;
        TDictionaryLoading::Begin(total);
        if (auto hook = std::exchange(onBegin, nullptr)) {
            hook();
        }
    }
};

class GameTest : public ::testing::Test {
protected:
    tsdtest::TempFolder folder;
    std::shared_ptr<SoundLog> sounds = std::make_shared<SoundLog>();
    TPellinForm* form = nullptr;
    ScriptedScores* scores = nullptr;
    HookedLoading* loading = nullptr;
    // Questions asked (text, help topic); the answers given in turn (then No); a look at the
    // game while a question is open.
    std::vector<std::pair<QString, int>> asked;
    std::deque<int> answers;
    std::function<void()> whileAsking;

    GameTest() {
        ClearStoredSettings();
        tsdtest::WriteBytes(folder.File("Flow.tsd"),
                            tsdtest::MakeDictionary({"at", "tea", "eat", "rate", "star", "quiz"}));
        Persist(true).WriteString(QStringLiteral("Dictionary"), QStringLiteral("Flow"));
        CreateForms(std::make_unique<FakeSoundOutput>(sounds));
        delete std::exchange(NewGameForm, scores = new ScriptedScores);
        delete std::exchange(DictionaryLoading, loading = new HookedLoading);
        NewGameForm->SetHowToPlay(false);
        form = PellinForm;
        form->DictionaryFolder = QString::fromStdString(folder.Path().string());
        form->AskQuestion = [this](const QString& text, int helpContext) {
            asked.emplace_back(text, helpContext);
            if (whileAsking) {
                whileAsking();
            }
            const int answer = answers.empty() ? QMessageBox::No : answers.front();
            if (!answers.empty()) {
                answers.pop_front();
            }
            return answer;
        };
        form->FormOnIdle();
    }
    ~GameTest() override { DestroyForms(); }

    template <typename T = QPushButton> T* Child(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    bool Enabled(const char* name) const { return Child<QWidget>(name)->isEnabled(); }
    QString Shown() const { return Child<QLabel>("wordInProgress")->text(); }

    // A game (started now unless one is under way) on an empty board with the timers held,
    // so that only the test moves it.
    void StartQuietGame() {
        if (!form->GameInProgress()) {
            Child("StartButton")->click();
        }
        ASSERT_TRUE(form->GameInProgress());
        form->EvolveTimer.stop();
        form->TumbleTimer.stop();
        form->GameBoard->Fill(0);
        form->FormPaint();
    }

    // A tile in a cell, worth its letter's value unless told otherwise.
    Chip* Put(int row, int slot, const char* letter, int value = -1) {
        Chip* chip = form->GameBoard->CellAt(row, slot);
        std::string text = letter;
        const int32_t own = SupplyLetter(text);
        chip->Set(text, value < 0 ? own : value);
        form->RedrawChips({chip});
        return chip;
    }

    // The client point at a chip's centre, or `inside` pixels inside its rim left of it.
    QPoint At(const Chip* chip, int inside = -1) const {
        const Point mid = chip->MidPoint();
        const int shift =
            inside < 0 ? 0 : (chip->Bounds().right - chip->Bounds().left) / 2 - inside;
        return form->BoardToClient(QPoint(mid.x - shift, mid.y));
    }

    int Occupied() const {
        int count = 0;
        for (int r = 0; r < 12; ++r) {
            for (int s = 0; s < 18; ++s) {
                count += form->GameBoard->CellAt(r, s)->IsOccupied() ? 1 : 0;
            }
        }
        return count;
    }

    // The sound events played since the last call, known by their wave files' sizes.
    std::vector<int> Played() {
        std::vector<int> events;
        for (const SoundLog::Call& call : std::exchange(sounds->calls, {})) {
            for (int e = 0; e < Sounder::EventCount && call.wave; ++e) {
                if (QFileInfo(form->Sounds->FileName(e)).size() + 1 ==
                    static_cast<qint64>(call.wave->size())) {
                    events.push_back(e);
                }
            }
        }
        return events;
    }
};

} // namespace gametest
