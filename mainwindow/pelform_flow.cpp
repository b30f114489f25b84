// The game's control: starting a game behind the dictionary load (and the How To Play page),
// the two timers that bring and drop the chips, the round end and its lost life, pausing,
// quitting, the hand-over of the score to the high score table, and the buttons.

#include "mainwindow/pelform.h"

#include "dialogs/about.h"
#include "dialogs/dictload.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "dictionary/tsdictionary.h"
#include "gui/helpviewer.h"
#include "gui/utils.h"
#include "model/board.h"
#include "model/gamerules.h"
#include "model/random.h"
#include "model/words.h"
#include "settings/sounder.h"
#include "ui_pelform.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace {

const QString kDefaultDictionary = QStringLiteral("Evaluation");

// The player's settings live in the high score dialog; without it (a window on its own) the
// game plays the default dictionary with every sound and no How To Play page.
QString ChosenDictionary() {
    return NewGameForm != nullptr ? NewGameForm->GetDictionary() : kDefaultDictionary;
}

bool WantsHowToPlay() {
    return NewGameForm != nullptr && HowToPlay != nullptr && NewGameForm->GetHowToPlay();
}

bool WantsEndRoundSounds() {
    return NewGameForm == nullptr || NewGameForm->GetEndRoundSounds();
}

// The word index takes the path in the file system's own encoding.
std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Why the dictionary file at path cannot be played (the dictionary's own status text, or that
// it holds no word the game can use), or an empty text when it can. Only its header is read.
QString DictionaryProblem(const std::string& path) {
    TSDictionaryList list(path, false);
    QString problem;
    if (list.FirstInvalid() != nullptr) {
        const TSDictionaryList::Dictionary* entry = list.Entry(0);
        problem = entry != nullptr ? QString::fromLatin1(entry->StatusText()) : QString();
        if (problem.isEmpty()) {
            problem = QString::fromLatin1(kInvalidDictionaryText);
        }
    } else {
        uint64_t words = 0;
        for (int L = Words::kShortestWord; L <= Words::kLongestWord; ++L) {
            words += list.WordCount(0, L);
        }
        if (words == 0) {
            problem = QStringLiteral("It holds no words of 2 to 31 letters.");
        }
    }
    list.Release();
    return problem;
}

} // namespace

void TPellinForm::ConnectGameControls() {
    connect(&EvolveTimer, &QTimer::timeout, this, &TPellinForm::EvolveTimerTick);
    connect(&TumbleTimer, &QTimer::timeout, this, &TPellinForm::TumbleTimerTick);
    connect(ui->StartButton, &QPushButton::clicked, this, &TPellinForm::StartButtonClick);
    connect(ui->preplayOptionsButton, &QPushButton::clicked, this,
            &TPellinForm::preplayOptionsButtonClick);
    connect(ui->ScoresButton, &QPushButton::clicked, this, &TPellinForm::ScoresButtonClick);
    connect(ui->aboutButton, &QPushButton::clicked, this, &TPellinForm::aboutButtonClick);
    connect(ui->ExitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->playOptionsButton, &QPushButton::clicked, this,
            &TPellinForm::playOptionsButtonClick);
    connect(ui->endGameButton, &QPushButton::clicked, this, &TPellinForm::endGameButtonClick);
    connect(ui->pauseButton, &QPushButton::clicked, this, &TPellinForm::pauseButtonClick);
    connect(ui->helpButton, &QPushButton::clicked, this, &TPellinForm::helpButtonClick);
    connect(ui->enterButton, &QPushButton::clicked, this, &TPellinForm::EnterButtonClick);
    connect(ui->clearButton, &QPushButton::clicked, this, &TPellinForm::clearButtonClick);
}

QString TPellinForm::DictionaryFile(const QString& name) const {
    const QString file = name + QStringLiteral(".tsd");
    return DictionaryFolder.isEmpty() ? ProgramFolderFile(file)
                                      : QDir(DictionaryFolder).filePath(file);
}

// --- Starting a game ---

void TPellinForm::StartGame(bool afterHowToPlay) {
    if (PrepareDictionary(afterHowToPlay) < 2) {
        return;
    }
    ui->PreplayPanel->hide();
    ui->PlayPanel->show();
    GameBoard->UseLetterWeights(WordIndex->Weights()); // read with the dictionary
    GameBoard->Fill(StartRows);
    SetLives(static_cast<uint32_t>(StartLives));
    SetScore(0);
    ++GamesStarted;
    tally = statistics::GameSummary();
    ClearBestWords();
    std::vector<Chip*> none;
    ShowWordInProgress(std::string(), true, none);
    EvolveTimer.setInterval(StartEvolveInterval);
    TumbleTimer.setInterval(TumbleInterval);
    Resume();
}

int TPellinForm::PrepareDictionary(bool afterHowToPlay) {
    QString name = ChosenDictionary();
    std::string path = NativePath(DictionaryFile(name));
    // A game never runs on an empty word index: a dictionary that cannot be read (gone since
    // it was chosen, cut short, not a dictionary at all) is named to the player with the
    // reason, and another is chosen, or no game starts.
    while (path != WordIndex->DictionaryPath()) {
        const QString problem = DictionaryProblem(path);
        if (problem.isEmpty()) {
            break;
        }
        if (!ChooseAnotherDictionary(name, problem)) {
            return 0;
        }
        name = ChosenDictionary();
        path = NativePath(DictionaryFile(name));
    }
    QString caption = CaptionPattern;
    caption.insert(caption.size() - 1, name);
    setWindowTitle(caption);

    if (afterHowToPlay || !WantsHowToPlay()) {
        if (path != WordIndex->DictionaryPath()) {
            FormPaint();
            if (DictionaryLoading != nullptr) {
                DictionaryLoading->show();
            }
            setEnabled(false);
            loadRunning = true;
            WordIndex->Load(path, DictionaryLoading);
            loadRunning = false;
            setEnabled(true);
            if (DictionaryLoading != nullptr) {
                DictionaryLoading->close();
            }
        }
        return 2;
    }

    // The page is read while the dictionary loads behind it; its Start Game button comes back
    // through HowToPlayClosed, possibly from inside the load below.
    if (GamesStarted > 0) {
        GameBoard->FillAttract();
    }
    FormPaint();
    HowToPlay->show();
    setEnabled(false);
    if (path != WordIndex->DictionaryPath()) {
        loadRunning = true;
        WordIndex->Load(path, DictionaryLoading);
        loadRunning = false;
    }
    if (HowToPlay->isEnabled()) {
        return 1;
    }
    // Start Game was pressed during the load, which is now done: start at once.
    HowToPlay->setEnabled(true);
    if (DictionaryLoading != nullptr) {
        DictionaryLoading->close();
    }
    setEnabled(true);
    HowToPlay->close();
    return 2;
}

bool TPellinForm::ChooseAnotherDictionary(const QString& name, const QString& problem) {
    const bool canChoose = NewGameForm != nullptr && OptionsForm != nullptr;
    QString text = QStringLiteral("The dictionary \"%1\" cannot be used:\n\n%2").arg(name, problem);
    if (canChoose) {
        text += QStringLiteral("\n\nChoose another dictionary in Options.");
    }
    TellPlayer(text, TOptionsForm::HelpContext);
    if (!canChoose) {
        return false;
    }
    NewGameForm->EditOptions(true);
    return NewGameForm->GetDictionary() != name;
}

void TPellinForm::HowToPlayClosed() {
    // Asked of the load itself rather than read from the paths: a page closed with no load
    // under way starts the game, which loads whatever dictionary it still needs.
    if (!loadRunning) {
        setEnabled(true);
        if (HowToPlay != nullptr) {
            HowToPlay->close();
        }
        StartGame(true);
        return;
    }
    // The load is still running inside PrepareDictionary, which starts the game when it
    // returns; until then the player sees the progress and cannot press Start Game again.
    if (DictionaryLoading != nullptr) {
        DictionaryLoading->show();
    }
    if (HowToPlay != nullptr) {
        HowToPlay->setEnabled(false);
    }
}

// --- The timers ---

void TPellinForm::EvolveTimerTick() {
    std::vector<Chip*> changed;
    bool chainCut = false;
    const bool blocked = GameBoard->DropChip(changed, &chainCut);
    RedrawChips(changed);
    if (chainCut) {
        // The new chip landed on the chain and cut it: the word shown must follow.
        std::vector<Chip*> none;
        ShowWordInProgress(GameBoard->WordText(), true, none);
    }
    if (blocked) {
        Suspend(false);
        if (WantsEndRoundSounds()) {
            Sounds->Play(seEndRound);
        }
        ShowBestWordLeft();
        EndCountdown = EndCountdownStart;
        TumbleTimer.setInterval(VanishInterval);
        TumbleTimer.start();
        EnablePlayButtons(false);
        return;
    }
    EvolveTimer.setInterval(static_cast<int>(NextEvolveInterval(
        static_cast<uint32_t>(EvolveTimer.interval()), static_cast<uint32_t>(EvolveSpeedup))));
}

void TPellinForm::TumbleTimerTick() {
    if (EndCountdown == 0) {
        std::vector<Chip*> changed;
        GameBoard->Tumble(changed);
        RedrawChips(changed);
        return;
    }
    if (EndCountdown >= 2) {
        --EndCountdown;
        return;
    }

    ClearWord();
    HideBestWordLeft(true);
    for (int k = 0; k < 2; ++k) {
        std::vector<Chip*> occupied;
        for (int32_t r = 0; r < static_cast<int32_t>(GameBoard->RowCount()); ++r) {
            for (int32_t s = 0; s < static_cast<int32_t>(GameBoard->SlotCount()); ++s) {
                Chip* chip = GameBoard->CellAt(r, s);
                if (chip->IsOccupied()) {
                    occupied.push_back(chip);
                }
            }
        }
        if (occupied.empty()) {
            EndCountdown = 0;
            break;
        }
        Chip* chip =
            occupied[static_cast<size_t>(Random::Next()) % static_cast<size_t>(occupied.size())];
        chip->Set(nullptr, 0);
        RedrawChips({chip});
    }
    if (EndCountdown == 1) {
        return;
    }

    // The board is empty: the round is over and costs a life.
    EnablePlayButtons(true);
    TumbleTimer.stop();
    TumbleTimer.setInterval(TumbleInterval);
    SetLives(Lives > 0 ? Lives - 1 : 0);
    if (Lives == 0) {
        FinishGame(false);
    } else {
        NextRound();
    }
}

void TPellinForm::NextRound() {
    HideBestWordLeft(false);
    GameBoard->Fill(StartRows);
    std::vector<Chip*> none;
    ShowWordInProgress(std::string(), true, none);
    EvolveTimer.setInterval(StartEvolveInterval);
    TumbleTimer.setInterval(TumbleInterval);
    Resume();
}

// --- Suspension, questions and the end of a game ---

void TPellinForm::ReleaseFocus() {
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
    setFocus(Qt::OtherFocusReason);
}

void TPellinForm::Suspend(bool hideChips) {
    EvolveTimer.stop();
    TumbleTimer.stop();
    ReleaseFocus();
    if (hideChips) {
        Suspended = true;
        FormPaint();
    }
}

void TPellinForm::Resume() {
    Suspended = false;
    FormPaint();
    EvolveTimer.start();
    TumbleTimer.start();
    ReleaseFocus();
    LastTouched = nullptr;
}

void TPellinForm::ConfirmPauseOrQuit(bool pause) {
    Suspend(true);
    const QString text =
        pause ? QStringLiteral("The game is paused.\n\nWould you like to resume the game?")
              : QStringLiteral("Are you sure you want to quit this game?");
    const int answer = AskQuestion(text, pause ? 40 : 50);
    if ((answer == QMessageBox::Yes) == pause) {
        Resume();
        return;
    }
    Suspended = false;
    GameBoard->Fill(0);
    FormPaint();
    FinishGame(true);
}

void TPellinForm::FinishGame(bool quitByPlayer) {
    ui->PlayPanel->hide();
    ui->PreplayPanel->show();
    HideBestWordLeft(false);
    // The chain went with the game; Enter and Clear have nothing left to act on. The word
    // display keeps its text, as the other displays keep theirs until the next game.
    std::vector<Chip*> none;
    ShowWordInProgress(std::string(), false, none);
    if (NewGameForm == nullptr) {
        return;
    }
    // Every finished game counts in the statistics, one of no points too. A failed write is
    // already told of with the high scores, which share the store.
    tally.score = Score;
    (void)NewGameForm->RecordGame(tally);
    if (Score == 0) {
        return;
    }
    const int result =
        NewGameForm->ShowScores(quitByPlayer ? smGameEnded : smGameOver, Score, TopBestWord());
    if (result == 1) {
        StartGame(false);
    }
}

void TPellinForm::EnablePlayButtons(bool enabled) {
    for (QWidget* button : {ui->enterButton, ui->clearButton, ui->pauseButton, ui->endGameButton,
                            ui->helpButton, ui->playOptionsButton}) {
        button->setEnabled(enabled);
    }
}

// --- Buttons ---

void TPellinForm::StartButtonClick() {
    StartGame(false);
}

void TPellinForm::preplayOptionsButtonClick() {
    if (NewGameForm != nullptr) {
        NewGameForm->EditOptions(true);
    }
}

void TPellinForm::ScoresButtonClick() {
    if (NewGameForm != nullptr && NewGameForm->ShowScores(smScores, 0, QString()) == 1) {
        StartGame(false);
    }
}

void TPellinForm::aboutButtonClick() {
    if (AboutBox != nullptr) {
        AboutBox->exec();
    }
}

void TPellinForm::playOptionsButtonClick() {
    Suspend(true);
    if (NewGameForm != nullptr) {
        NewGameForm->EditOptions(false);
    }
    Resume();
}

void TPellinForm::endGameButtonClick() {
    ConfirmPauseOrQuit(false);
}

void TPellinForm::pauseButtonClick() {
    ConfirmPauseOrQuit(true);
}

void TPellinForm::helpButtonClick() {
    if (!GameInProgress()) {
        ShowHelpTopic(HelpContext);
        return;
    }
    // During a game the help comes up once the pause question is on the screen, in front of
    // it, so the player can read it while the question waits.
    QTimer::singleShot(0, this, [] { ShowHelpTopic(HelpContext); });
    ConfirmPauseOrQuit(true);
}

void TPellinForm::EnterButtonClick() {
    EnterWord();
}

void TPellinForm::clearButtonClick() {
    ClearWord();
}
