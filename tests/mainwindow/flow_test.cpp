// The game flow: a new game, the pace of the chips, round ends and lives, the questions, the
// How To Play page in front of the dictionary load, and minimising in each phase.
#include "game_fixture.h"

#include "dialogs/howto.h"
#include "dialogs/options.h"
#include "dictionary/tsdictionary.h"
#include "gui/helpviewer.h"

#include <QComboBox>
#include <QTest>

namespace {

using gametest::GameTest;

const QString kPause = QStringLiteral("The game is paused.\n\nWould you like to resume the game?");
const QString kQuit = QStringLiteral("Are you sure you want to quit this game?");

bool Running(const TPellinForm* f) {
    return f->EvolveTimer.isActive() && f->TumbleTimer.isActive() && !f->Suspended;
}

// Guards a new game: the dictionary named in the caption and loaded once, lives 3, score 0, no
// best words, an empty display, exactly the lowest four rows full, the timers at 2000 and 251
// ms; and the high score dialog's Start after a quit game starting the next one afresh.
TEST_F(GameTest, NewGameStartsAfresh) {
    for (int game = 1; game <= 2; ++game) {
        if (game == 1) {
            Child("StartButton")->click();
        } else {
            form->SetScore(120);
            form->UpdateBestWords(120, "star (120)");
            form->SetLives(1);
            scores->answer = 1;
            answers = {QMessageBox::Yes};
            Child("endGameButton")->click();
            EXPECT_EQ(scores->captions, std::vector<QString>{QStringLiteral("Game Ended")});
        }
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellinoraxis (Flow)"));
        EXPECT_EQ(loading->loads, 1);
        EXPECT_TRUE(form->GameInProgress() && Running(form));
        EXPECT_EQ(form->GamesStarted, static_cast<uint32_t>(game));
        EXPECT_EQ(form->Lives, 3u);
        EXPECT_EQ(form->Score, 0u);
        EXPECT_EQ(form->BestList.Count(), 0);
        EXPECT_TRUE(Shown().isEmpty() && !Enabled("enterButton") && !Enabled("clearButton"));
        for (int r = 0; r < 12; ++r) {
            for (int s = r % 2; s < 18; s += 2) {
                EXPECT_EQ(form->GameBoard->CellAt(r, s)->IsOccupied(), r < 4) << r << "," << s;
            }
        }
        EXPECT_EQ(form->EvolveTimer.interval(), 2000);
        EXPECT_EQ(form->TumbleTimer.interval(), 251);
    }
}

// Guards the pace and a chain cut by a new chip: a tick brings one chip and shortens the
// interval to 1990 ms; a chip landing on the chain cuts it and the display shows what is left.
TEST_F(GameTest, ChipsComeFasterAndCutTheChain) {
    StartQuietGame();
    form->EvolveTimerTick();
    EXPECT_EQ(Occupied(), 1);
    EXPECT_EQ(form->EvolveTimer.interval(), 1990);

    form->GameBoard->Fill(0);
    std::vector<Chip*> changed;
    for (int s = 1; s < 18; s += 2) {
        form->GameBoard->SelectChip(Put(11, s, "X"), false, changed);
    }
    form->ShowWordInProgress(form->GameBoard->WordText(), true, changed);
    EXPECT_EQ(Shown(), QStringLiteral("XXXXXXXXX"));
    form->EvolveTimerTick();
    const QString left = QString::fromStdString(form->GameBoard->WordText());
    EXPECT_LT(left.size(), 9);
    EXPECT_EQ(Shown(), left);
    EXPECT_EQ(Enabled("clearButton"), !left.isEmpty());
}

// Guards rounds and lives: a blocked chip plays End Round, stops the chips, disables the six
// in-game buttons and holds the board 24 ticks of 20 ms; then two chips vanish per tick, the
// round ending on the tick that empties the last of an odd count, one tick later for an even
// count; a lost life with lives left starts a fresh round at the starting pace with score and
// best words kept; the last life opens "Game Over" with the score and best word, and a game
// over at 0 points opens nothing.
TEST_F(GameTest, RoundsCostLivesUntilTheGameIsOver) {
    const char* buttons[] = {"enterButton",   "clearButton", "pauseButton",
                             "endGameButton", "helpButton",  "playOptionsButton"};
    StartQuietGame();
    form->SetScore(30);
    form->UpdateBestWords(30, "tea (30)");
    for (int chips : {5, 6, 3}) {
        form->EvolveTimer.setInterval(500); // a round lost at speed
        form->GameBoard->Fill(12);
        form->EvolveTimerTick();
        EXPECT_EQ(Played(), std::vector<int>{seEndRound});
        EXPECT_FALSE(form->EvolveTimer.isActive() || form->AcceptsInput());
        EXPECT_TRUE(form->TumbleTimer.isActive());
        EXPECT_EQ(form->TumbleTimer.interval(), 20);
        for (const char* name : buttons) {
            EXPECT_FALSE(Enabled(name)) << name;
        }
        form->GameBoard->Fill(0);
        for (int k = 0; k < chips; ++k) {
            Put(0, 2 * k, "E");
        }
        const uint32_t lives = form->Lives;
        int ticks = 0;
        while (form->EndCountdown > 0 && ticks < 100) {
            form->TumbleTimerTick();
            ++ticks;
            const int vanished = ticks <= 24 ? 0 : std::min(chips, 2 * (ticks - 24));
            if (form->EndCountdown > 0) { // else the next round has filled the board
                EXPECT_EQ(Occupied(), chips - vanished) << ticks;
            }
        }
        EXPECT_EQ(ticks, 24 + chips / 2 + 1);
        EXPECT_EQ(form->Lives, lives - 1);
        if (form->Lives > 0) {
            EXPECT_TRUE(Running(form) && form->AcceptsInput());
            EXPECT_EQ(form->EvolveTimer.interval(), 2000);
            EXPECT_EQ(form->TumbleTimer.interval(), 251);
            EXPECT_EQ(Occupied(), 36);
            EXPECT_TRUE(Enabled("pauseButton") && !Enabled("enterButton"));
            EXPECT_EQ(form->Score, 30u);
            form->EvolveTimer.stop();
            form->TumbleTimer.stop();
        }
    }
    EXPECT_FALSE(form->GameInProgress() || form->TumbleTimer.isActive());
    EXPECT_EQ(scores->captions, std::vector<QString>{QStringLiteral("Game Over")});
    EXPECT_EQ(scores->Row(0), QStringLiteral("30|Anonymous|tea (30)"));

    StartQuietGame();
    form->SetLives(1);
    form->GameBoard->Fill(12);
    form->EvolveTimerTick();
    for (int k = 0; k < 200 && form->GameInProgress(); ++k) {
        form->TumbleTimerTick();
    }
    EXPECT_FALSE(form->GameInProgress());
    EXPECT_EQ(scores->captions.size(), 1u);
}

// Guards the questions: the game stops and hides its chips while one is open; Yes to the pause
// question and No to the quit question resume it; Help shows its topic and then asks the pause
// question (and so does F1, so tiles never fall while the help is read); closing the window asks
// the quit question and stays open; No to the pause question
// ends the game as a quit, with "Game Ended"; a close during a round end asks nothing.
TEST_F(GameTest, QuestionsPauseAndEndTheGame) {
    Child("StartButton")->click();
    whileAsking = [this] { EXPECT_TRUE(!form->EvolveTimer.isActive() && form->Suspended); };
    answers = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Yes, QMessageBox::Yes,
               QMessageBox::No};
    Child("pauseButton")->click();
    EXPECT_TRUE(Running(form));
    Child("endGameButton")->click();
    EXPECT_TRUE(Running(form));
    Child("helpButton")->click();
    // The help comes up once the question is on the screen (here, once it has been answered).
    QTRY_VERIFY(HelpViewer::Instance(false) && HelpViewer::Instance(false)->isVisible());
    EXPECT_TRUE(Running(form));
    QTest::keyClick(form, Qt::Key_F1);
    EXPECT_TRUE(Running(form));
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible() && Running(form));
    const std::vector<std::pair<QString, int>> expected = {
        {kPause, 40}, {kQuit, 50}, {kPause, 40}, {kPause, 40}, {kQuit, 50}};
    EXPECT_EQ(asked, expected);

    form->SetScore(25);
    answers = {QMessageBox::No};
    Child("pauseButton")->click();
    EXPECT_FALSE(form->GameInProgress() || form->Suspended || form->EvolveTimer.isActive());
    EXPECT_EQ(Occupied(), 0);
    EXPECT_EQ(scores->captions, std::vector<QString>{QStringLiteral("Game Ended")});

    StartQuietGame();
    form->GameBoard->Fill(12);
    form->EvolveTimerTick();
    EXPECT_FALSE(form->close());
    EXPECT_EQ(asked.size(), 6u);
}

// Guards the How To Play page in front of the load: the window is disabled behind it; Start
// Game pressed during the load shows the loading window and the game starts by itself when the
// load ends; a later game shows the title letters behind the page, and its Start Game starts
// at once with the dictionary already loaded.
TEST_F(GameTest, HowToPlayInFrontOfTheLoad) {
    NewGameForm->SetHowToPlay(true);
    auto* startGame = HowToPlay->findChild<QPushButton*>(QStringLiteral("StartButton"));
    loading->onBegin = [&] {
        EXPECT_TRUE(HowToPlay->isVisible() && !form->isEnabled() && !loading->isVisible());
        startGame->click();
        EXPECT_TRUE(loading->isVisible() && !HowToPlay->isEnabled());
        EXPECT_FALSE(form->GameInProgress());
    };
    Child("StartButton")->click();
    EXPECT_TRUE(form->GameInProgress() && Running(form) && form->isEnabled());
    EXPECT_FALSE(HowToPlay->isVisible() || loading->isVisible());
    EXPECT_TRUE(HowToPlay->isEnabled());

    answers = {QMessageBox::Yes};
    Child("endGameButton")->click();
    Child("StartButton")->click();
    EXPECT_TRUE(HowToPlay->isVisible() && !form->isEnabled() && !form->GameInProgress());
    EXPECT_EQ(Occupied(), 108);
    EXPECT_EQ(form->GameBoard->CellAt(11, 1)->Letter(), "P");
    startGame->click();
    EXPECT_TRUE(form->GameInProgress() && form->isEnabled() && !HowToPlay->isVisible());
    EXPECT_EQ(loading->loads, 1);
}

// Guards minimising: a running game is suspended and resumes on restore; a round end keeps its
// place and goes on at 20 ms with no new chips; while a question is open minimise and restore
// start nothing, and the answer resumes the game.
TEST_F(GameTest, RestoreResumesWhatMinimiseStopped) {
    Child("StartButton")->click();
    form->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(form->Suspended && !form->EvolveTimer.isActive() && !form->TumbleTimer.isActive());
    form->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(Running(form));

    whileAsking = [this] {
        form->setWindowState(Qt::WindowMinimized);
        form->setWindowState(Qt::WindowNoState);
        EXPECT_FALSE(form->EvolveTimer.isActive() || form->TumbleTimer.isActive());
    };
    answers = {QMessageBox::Yes};
    Child("pauseButton")->click();
    EXPECT_TRUE(Running(form));

    form->GameBoard->Fill(12);
    form->EvolveTimerTick();
    form->TumbleTimerTick();
    form->setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(form->TumbleTimer.isActive());
    form->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(form->TumbleTimer.isActive() && !form->EvolveTimer.isActive());
    EXPECT_EQ(form->TumbleTimer.interval(), 20);
    EXPECT_EQ(form->EndCountdown, 24u);
}

// Guards against a game on an empty word index: a chosen dictionary that cannot be read (here
// one that is gone) is named to the player with its status text and Options opens on the
// dictionaries that can; cancelling starts no game, choosing one starts it with that one.
TEST_F(GameTest, UnreadableDictionaryIsNamedAndAnotherChosen) {
    class PickingOptions : public TOptionsForm {
    public:
        int result = 2;
        int shown = 0;

    protected:
        int RunModal() override {
            ++shown;
            auto* list = findChild<QComboBox*>(QStringLiteral("DictionaryList"));
            list->setCurrentIndex(list->findText(QStringLiteral("Flow")));
            return result;
        }
    };
    auto* options = new PickingOptions;
    delete std::exchange(OptionsForm, options);
    TOptionsForm::SetDictionaryFolder(QString::fromStdString(folder.Path().string()));
    Persist(true).WriteString(QStringLiteral("Dictionary"), QStringLiteral("Gone"));
    delete std::exchange(NewGameForm, scores = new gametest::ScriptedScores);
    NewGameForm->SetHowToPlay(false);
    std::vector<QString> told;
    form->TellPlayer = [&told](const QString& text, int) { told.push_back(text); };

    Child("StartButton")->click();
    EXPECT_FALSE(form->GameInProgress());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].contains(QStringLiteral("\"Gone\"")) &&
                told[0].contains(QString::fromLatin1(kDictionaryNotFoundText)))
        << told[0].toStdString();
    EXPECT_EQ(options->shown, 1);
    EXPECT_EQ(loading->loads, 0);

    options->result = 1;
    Child("StartButton")->click();
    EXPECT_TRUE(form->GameInProgress());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellinoraxis (Flow)"));
    EXPECT_EQ(NewGameForm->GetDictionary(), QStringLiteral("Flow"));
    TOptionsForm::SetDictionaryFolder(QString());
}

// Guards the weights a game draws from: the dictionary's .letters file, read with it, decides
// every tile of the new game's rows and of the drops that follow.
TEST_F(GameTest, GameDrawsFromTheDictionarysLetterWeights) {
    std::string table;
    for (char c = 'A'; c <= 'Z'; ++c) {
        table += std::string(1, c) + (c == 'E' || c == 'T' ? " 5\n" : " 0\n");
    }
    std::ofstream(folder.File("Flow.letters"), std::ios::binary) << table;
    Child("StartButton")->click();
    ASSERT_TRUE(form->GameInProgress());
    for (int tick = 0; tick < 20; ++tick) {
        form->EvolveTimerTick();
    }
    int tiles = 0;
    for (int32_t r = 0; r < static_cast<int32_t>(form->GameBoard->RowCount()); ++r) {
        for (int32_t s = 0; s < static_cast<int32_t>(form->GameBoard->SlotCount()); ++s) {
            const Chip* chip = form->GameBoard->CellAt(r, s);
            if (chip->IsOccupied()) {
                ++tiles;
                EXPECT_TRUE(chip->Letter() == "E" || chip->Letter() == "T") << chip->Letter();
                EXPECT_EQ(chip->Value(), 2);
            }
        }
    }
    EXPECT_GE(tiles, 36);
}

} // namespace
