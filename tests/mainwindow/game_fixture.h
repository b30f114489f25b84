// The game's windows made as at start-up, on a fresh settings store and a dictionary of a few
// words in a folder of the test's own, with the high score dialog and the questions answered
// by the test instead of by a modal loop, and every sound recorded.
#pragma once

#include "fakesoundoutput.h"
#include "testsettings.h"

#include "dialogs/about.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "dictionary/dictload.h"
#include "mainwindow/pelform.h"
#include "model/board.h"
#include "model/chip.h"
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
#include <string>
#include <utility>
#include <vector>

namespace gametest {

// The high score dialog with its modal showing replaced: it records the caption it was shown
// with and closes with the test's answer (2, "Close", unless told otherwise).
class ScriptedScores : public TNewGameForm {
public:
    std::vector<QString> captions;
    int answer = 2;

    // Row i of the table as "score|player|best word".
    QString Row(int i) {
        const QTreeWidgetItem* item =
            findChild<QTreeWidget*>(QStringLiteral("HighScoreTable"))->topLevelItem(i);
        QStringList texts;
        for (int c = 0; item != nullptr && c < item->columnCount(); ++c) {
            texts << item->text(c);
        }
        return texts.join(QLatin1Char('|'));
    }

protected:
    int RunModal() override {
        captions.push_back(windowTitle());
        return answer;
    }
};

// The loading window with a hook at the start of the load, where the load has begun and
// processes the window system's messages.
class HookedLoading : public TDictionaryLoading {
public:
    std::function<void()> onBegin;
    int loads = 0;

    void Begin(int32_t total) override {
        ++loads;
        TDictionaryLoading::Begin(total);
        if (onBegin) {
            auto hook = std::move(onBegin);
            onBegin = nullptr;
            hook();
        }
    }
};

class GameTest : public ::testing::Test {
protected:
    tsdtest::TempFolder folder;
    std::shared_ptr<SoundLog> sounds = std::make_shared<SoundLog>();
    ScriptedScores* scores = nullptr;
    HookedLoading* loading = nullptr;
    TPellinForm* form = nullptr;
    // Questions asked (text and help topic), the answers to give in turn (No when none is
    // left), and a look at the game while a question is open.
    std::vector<std::pair<QString, int>> asked;
    std::deque<int> answers;
    std::function<void()> whileAsking;

    GameTest() {
        ClearStoredSettings();
        tsdtest::WriteBytes(folder.File("Flow.tsd"),
                            tsdtest::MakeDictionary({"at", "tea", "eat", "rate", "tear", "star"}));
        {
            Persist store(true);
            store.WriteString(QStringLiteral("Dictionary"), QStringLiteral("Flow"));
            store.WriteBool(QStringLiteral("HowToPlay"), false);
        }
        PellinForm = form = new TPellinForm(std::make_unique<FakeSoundOutput>(sounds));
        NewGameForm = scores = new ScriptedScores();
        OptionsForm = new TOptionsForm();
        DictionaryLoading = loading = new HookedLoading();
        AboutBox = new TAboutBox();
        HowToPlay = new THowToPlay();
        form->DictionaryFolder = QString::fromStdString(folder.Path().string());
        form->AskQuestion = [this](const QString& text, int helpContext) {
            asked.emplace_back(text, helpContext);
            if (whileAsking) {
                whileAsking();
            }
            int answer = QMessageBox::No;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            return answer;
        };
        form->FormOnIdle();
    }

    ~GameTest() override {
        delete HowToPlay;
        HowToPlay = nullptr;
        delete AboutBox;
        AboutBox = nullptr;
        delete DictionaryLoading;
        DictionaryLoading = nullptr;
        delete OptionsForm;
        OptionsForm = nullptr;
        delete NewGameForm;
        NewGameForm = nullptr;
        delete PellinForm;
        PellinForm = nullptr;
    }

    template <typename T = QPushButton> T* Child(const char* name) const {
        T* child = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    bool Enabled(const char* name) const { return Child<QWidget>(name)->isEnabled(); }
    QString Shown() const { return Child<QLabel>("wordInProgress")->text(); }

    // A game on an empty board with the timers held, so that only the test moves it.
    void StartQuietGame() {
        Child("StartButton")->click();
        ASSERT_TRUE(form->GameInProgress());
        form->EvolveTimer.stop();
        form->TumbleTimer.stop();
        form->GameBoard->Fill(0);
        form->FormPaint();
    }

    // Puts a tile (its letter's own value unless one is given) into a cell.
    Chip* Put(int row, int slot, const char* letter, int value = -1) {
        Chip* chip = form->GameBoard->CellAt(row, slot);
        std::string text = letter;
        const int32_t own = SupplyLetter(text);
        chip->Set(text, value < 0 ? own : value);
        form->RedrawChips({chip});
        return chip;
    }

    // The client point at a chip's centre, or `inside` pixels inside its rim straight to the
    // left of the centre.
    QPoint At(const Chip* chip, int inside = -1) const {
        const Point mid = chip->MidPoint();
        QPoint p = form->BoardToClient(QPoint(mid.x, mid.y));
        if (inside >= 0) {
            const Rect b = chip->Bounds();
            p.rx() -= (b.right - b.left) / 2 - inside;
        }
        return p;
    }

    int Occupied() const {
        int count = 0;
        for (int r = 0; r < static_cast<int>(form->GameBoard->RowCount()); ++r) {
            for (int s = 0; s < static_cast<int>(form->GameBoard->SlotCount()); ++s) {
                count += form->GameBoard->CellAt(r, s)->IsOccupied() ? 1 : 0;
            }
        }
        return count;
    }

    // The sound events played since the last call, told apart by their wave files' sizes.
    std::vector<int> Played() {
        std::vector<int> events;
        for (const SoundLog::Call& call : sounds->calls) {
            if (call.kind != SoundLog::Kind::Memory || !call.wave) {
                continue;
            }
            int event = -1;
            for (int e = 0; e < Sounder::EventCount; ++e) {
                const qint64 size = QFileInfo(form->Sounds->FileName(e)).size();
                if (static_cast<qint64>(call.wave->size()) == size + 1) {
                    event = e;
                }
            }
            events.push_back(event);
        }
        sounds->Clear();
        return events;
    }
};

} // namespace gametest
