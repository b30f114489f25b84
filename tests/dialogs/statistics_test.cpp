// The player's statistics: how a game adds to them, how they are kept beside the high score
// tables (and never in their place), the window that shows them from the Scores dialog, and a
// reset that waits for Yes.
#include "dialogs/statistics.h"
#include "dialogs/statistics_form.h"
#include "dialogs_helpers.h"
#include "modalhelper.h"
#include "testsettings.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace dialogtest;
using statistics::GameSummary;
using statistics::PlayerStatistics;

GameSummary Game(int64_t score, std::initializer_list<std::tuple<const char*, int, int>> words) {
    GameSummary game;
    for (const auto& [text, letters, points] : words)
        statistics::NoteWord(game, text, letters, points);
    game.score = score;
    return game;
}

// Guards the folding of games: everything adds up, a 0-point game still counts, and best and
// longest words give way only to strictly better ones, in a game and across games.
TEST(StatisticsRules, GamesAddUpAndOnlyBetterWordsReplace) {
    PlayerStatistics stats;
    statistics::RecordGame(stats, Game(120, {{"QUIZ", 5, 60}, {"ZEST", 4, 60}, {"TEAS", 4, 8}}));
    statistics::RecordGame(stats, Game(0, {}));
    statistics::RecordGame(stats, Game(90, {{"JAZZ", 4, 60}, {"STRAND", 6, 20}}));
    statistics::RecordGame(stats, Game(30, {{"TRENDS", 6, 30}}));
    EXPECT_EQ(stats, (PlayerStatistics{4, 240, 120, "QUIZ", 60, "STRAND", 6, 6}));
    EXPECT_EQ(statistics::AveragePoints(stats), 60);
}

// Guards against wrapping: figures stop at the largest value they can be kept as, nonsense
// from the caller counts as nothing, and a stored total is a whole number within 64 bits or 0.
TEST(StatisticsRules, FiguresNeverWrapAndDamagedTotalsReadZero) {
    using statistics::kMaxCount, statistics::kMaxTotal;
    PlayerStatistics stats{kMaxCount, kMaxTotal - 5, 0, "", 0, "", 0, kMaxCount};
    statistics::RecordGame(stats, Game(kMaxCount, {{"AXE", 3, 18}}));
    EXPECT_EQ(stats,
              (PlayerStatistics{kMaxCount, kMaxTotal, kMaxCount, "AXE", 18, "AXE", 3, kMaxCount}));
    PlayerStatistics fresh;
    statistics::RecordGame(fresh, GameSummary{-50, -3, "", 0, "", 0});
    EXPECT_EQ(fresh, (PlayerStatistics{1, 0, 0, "", 0, "", 0, 0}));

    EXPECT_EQ(statistics::StoredCount(" 9223372036854775807 "), kMaxTotal);
    for (const char* damaged : {"", "-5", "+5", "12abc", "1 2", "9223372036854775808"})
        EXPECT_EQ(statistics::StoredCount(damaged), 0) << damaged;
}

class Statistics : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }

    // The store's lines that are not statistics: everything a statistics write must leave be.
    static QByteArrayList OtherLines() {
        QByteArrayList lines =
            ReadStoredSettingsFile(QString::fromLatin1(kGameSettingsFile)).split('\n');
        lines.removeIf([](const QByteArray& line) { return line.startsWith("Stats."); });
        return lines;
    }
    static QString Name(const char* field,
                        const QString& dictionary = QStringLiteral("Evaluation")) {
        return StatisticsValueName(dictionary, QLatin1String(field));
    }
};

class ScriptedStatisticsForm : public TStatisticsForm {
public:
    int answer = QMessageBox::No;
    int asked = 0;
    QString Value(const char* name) { return findChild<QLabel*>(QLatin1String(name))->text(); }
    QPushButton* Reset() { return findChild<QPushButton*>(QStringLiteral("ResetButton")); }

protected:
    int RunModal() override { return 1; }
    int AskPlayer(const QString&) override {
        ++asked;
        return answer;
    }
};

// Guards the store: games recorded by the Scores dialog land under the dictionary's own names
// and add to what is there, other dictionaries keep theirs, and nothing else in the store moves.
TEST_F(Statistics, RecordedGamesAreStoredUnderTheirOwnNames) {
    StoreTable(QStringLiteral("Evaluation"), DescendingRows(3, 500, 100));
    StoreTable(QStringLiteral("Stats.Evaluation."), {QStringLiteral("7\tX\tY")});
    Store(Name("GamesPlayed", QStringLiteral("English")), QStringLiteral("9"));
    {
        ScriptedNewGameForm settle; // the dialog's own settings, written as it goes
    }
    const QByteArrayList before = OtherLines();
    {
        ScriptedNewGameForm form;
        EXPECT_TRUE(form.RecordGame(Game(150, {{"QUIZ", 5, 60}, {"ZAP", 3, 48}})));
        EXPECT_TRUE(form.RecordGame(Game(0, {})));
    }
    EXPECT_EQ(Stored(Name("TotalPoints")), QStringLiteral("150"));
    EXPECT_EQ(Stored(Name("GamesPlayed", QStringLiteral("English"))), QStringLiteral("9"));
    EXPECT_EQ(OtherLines(), before);

    ScriptedStatisticsForm window;
    window.Execute(QStringLiteral("Evaluation"));
    EXPECT_EQ(window.Shown(), (PlayerStatistics{2, 150, 150, "QUIZ", 60, "QUIZ", 5, 2}));
}

// Guards hand-edited values: each damaged one reads as 0 (or no word, a giant one cut to size)
// and the next game counts from there, leaving the table alone.
TEST_F(Statistics, DamagedValuesReadAsNothing) {
    StoreTable(QStringLiteral("Evaluation"), DescendingRows(2, 300, 100));
    QByteArray file = ReadStoredSettingsFile(QString::fromLatin1(kGameSettingsFile));
    file += "Stats.Evaluation.GamesPlayed=lots\n"
            "Stats.Evaluation.TotalPoints=-400\n"
            "Stats.Evaluation.BestGame=-7\n"
            "Stats.Evaluation.BestWordScore=99999999999\n"
            "Stats.Evaluation.LongestWordLetters=@Rect(1 2 3 4)\n"
            "Stats.Evaluation.WordsEntered=\n"
            "Stats.Evaluation.BestWord=\"" +
            QByteArray(5000, 'W') + "\"\n";
    WriteStoredSettingsFile(QString::fromLatin1(kGameSettingsFile), file);

    ScriptedStatisticsForm window;
    window.Execute(QStringLiteral("Evaluation"));
    PlayerStatistics shown = window.Shown();
    EXPECT_EQ(shown.bestWordText.size(), 64u);
    shown.bestWordText.clear();
    EXPECT_EQ(shown, PlayerStatistics{});

    ScriptedNewGameForm form;
    form.RecordGame(Game(40, {{"TEA", 3, 12}}));
    EXPECT_EQ(Stored(Name("GamesPlayed")), QStringLiteral("1"));
    EXPECT_EQ(Stored(Name("BestWordScore")), QStringLiteral("12"));
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation")), DescendingRows(2, 300, 100));
}

// Guards the way a player meets them: Statistics... in the Scores dialog opens the window over
// it with the current dictionary's figures in words, and its help topic is in the help file.
TEST_F(Statistics, ScoresDialogOpensTheFiguresOfItsDictionary) {
    Store(QStringLiteral("Dictionary"), QStringLiteral("English"));
    ScriptedNewGameForm form;
    form.RecordGame(Game(210, {{"QUIZ", 5, 60}, {"STRAND", 6, 20}}));
    form.show();
    QStringList seen;
    WhenModal<TStatisticsForm>([&seen](TStatisticsForm* window) {
        seen << window->windowTitle()
             << window->findChild<QGroupBox*>(QStringLiteral("StatisticsGroup"))->title();
        for (const char* name : {"totalPointsValue", "bestWordValue", "longestWordValue"})
            seen << window->findChild<QLabel*>(QLatin1String(name))->text();
        window->reject();
    });
    form.findChild<QPushButton*>(QStringLiteral("statisticsButton"))->click();
    EXPECT_EQ(seen, (QStringList{"Statistics", "English Statistics", "210", "QUIZ (60 points)",
                                 "STRAND (6 letters)"}));

    ScriptedStatisticsForm empty;
    empty.Execute(QStringLiteral("Evaluation"));
    EXPECT_EQ(empty.Value("bestWordValue"), QStringLiteral("none yet"));
    EXPECT_FALSE(empty.Reset()->isEnabled()) << "nothing to clear";

    QFile helpFile(QStringLiteral(PELLIN_SOURCE_DIR "/data/Pellinoraxis.hlp"));
    ASSERT_TRUE(helpFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(helpFile.readAll().contains("<a name=\"15\">")) << "no help topic for the window";
}

// Guards the reset: No keeps every figure; Yes clears this dictionary's and nothing else.
TEST_F(Statistics, ResetClearsOnlyAfterYes) {
    StoreTable(QStringLiteral("Evaluation"), DescendingRows(2, 300, 100));
    Store(Name("GamesPlayed", QStringLiteral("English")), QStringLiteral("4"));
    {
        ScriptedNewGameForm form;
        form.RecordGame(Game(75, {{"JAZZ", 4, 75}}));
    }
    ScriptedStatisticsForm window;
    window.Execute(QStringLiteral("Evaluation"));
    ASSERT_TRUE(window.Reset()->isEnabled());
    window.Reset()->click();
    EXPECT_EQ(window.asked, 1);
    EXPECT_EQ(Stored(Name("GamesPlayed")), QStringLiteral("1"));

    window.answer = QMessageBox::Yes;
    window.Reset()->click();
    EXPECT_EQ(window.Value("bestWordValue"), QStringLiteral("none yet"));
    EXPECT_EQ(Stored(Name("GamesPlayed")), QStringLiteral("0"));
    EXPECT_EQ(Stored(Name("BestWord")), QString());
    EXPECT_FALSE(window.Reset()->isEnabled());
    EXPECT_EQ(Stored(Name("GamesPlayed", QStringLiteral("English"))), QStringLiteral("4"));
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation")), DescendingRows(2, 300, 100));
}

} // namespace
