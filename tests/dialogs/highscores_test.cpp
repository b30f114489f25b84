// The high score table: ranking, trimming to the page, the store written at every insertion
// (never past 100 rows), loading up to the first gap, and the selection and mail button that
// follow a new score.
#include "dialogs_helpers.h"
#include "testsettings.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

class HighScores : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }

    static QPushButton* MailButton(TNewGameForm& form) {
        return form.findChild<QPushButton*>(QStringLiteral("mailHighScoreButton"));
    }
    static bool Selected(ScriptedNewGameForm& form, int row) {
        const QTreeWidgetItem* item = form.Table()->topLevelItem(row);
        return item && item->isSelected();
    }
    // A window short enough that one page shows fewer than the 12 rows kept.
    static void MakeShort(ScriptedNewGameForm& form) {
        form.resize(570, 300);
        ASSERT_LT(form.RowsPerPage(), 12);
        ASSERT_GT(form.RowsPerPage(), 0);
    }
};

// An empty table takes any first score as row 0, selected, stored at once with the empty
// terminator after it; the mail button is offered for it and the window is named by mode.
TEST_F(HighScores, EmptyTableTakesTheFirstScore) {
    ScriptedNewGameForm form;
    int seenRow = -2;
    bool mailEnabledWhileShown = false;
    form.answer = [&](ScriptedNewGameForm& f) {
        seenRow = f.GetNewScoreRow();
        mailEnabledWhileShown = MailButton(f)->isEnabled();
        return 1;
    };
    EXPECT_EQ(form.ShowScores(smGameOver, 37, QStringLiteral("QUIZ")), 1);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Game Over"));
    EXPECT_EQ(seenRow, 0);
    EXPECT_TRUE(mailEnabledWhileShown);
    ASSERT_EQ(form.Rows(), 1);
    EXPECT_EQ(form.Row(0), QStringLiteral("37|Anonymous|QUIZ"));
    EXPECT_TRUE(Selected(form, 0));
    EXPECT_EQ(Stored(QStringLiteral("Evaluation0")), QStringLiteral("37\tAnonymous\tQUIZ"));
    EXPECT_EQ(Stored(QStringLiteral("Evaluation1")), QString());
}

// A score equal to a stored one goes above it, the older row moving down, and both the
// display and the store keep that order.
TEST_F(HighScores, EqualScoreGoesAboveTheOlderOne) {
    StoreTable(QStringLiteral("Evaluation"),
               {QStringLiteral("500\tA\tW"), QStringLiteral("400\tB\tW"),
                QStringLiteral("300\tC\tOLD"), QStringLiteral("200\tD\tW")});
    ScriptedNewGameForm form;
    form.ShowScores(smGameEnded, 300, QStringLiteral("NEW"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Game Ended"));
    EXPECT_EQ(form.GetNewScoreRow(), 2);
    EXPECT_EQ(form.Row(2), QStringLiteral("300|Anonymous|NEW"));
    EXPECT_EQ(form.Row(3), QStringLiteral("300|C|OLD"));
    EXPECT_TRUE(Selected(form, 2));
    const auto stored = StoredTable(QStringLiteral("Evaluation"));
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_EQ(stored[2], QStringLiteral("300\tAnonymous\tNEW"));
    EXPECT_EQ(stored[3], QStringLiteral("300\tC\tOLD"));
}

// A full table of 12 ignores a lower score without touching the store, and a score that beats
// row 11 drops the old row 11 and is scrolled into view even when the page is shorter.
TEST_F(HighScores, FullTableOfTwelveKeepsTwelve) {
    StoreTable(QStringLiteral("Evaluation"), DescendingRows(12, 1200, 100)); // 1200 .. 100
    ScriptedNewGameForm form;
    MakeShort(form);

    form.ShowScores(smGameOver, 50, QStringLiteral("LOW"));
    EXPECT_EQ(form.GetNewScoreRow(), -1);
    EXPECT_EQ(form.Rows(), 12);
    EXPECT_TRUE(form.Table()->selectedItems().isEmpty());
    EXPECT_FALSE(MailButton(form)->isEnabled());
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation")), DescendingRows(12, 1200, 100));

    form.ShowScores(smGameOver, 150, QStringLiteral("BETTER"));
    EXPECT_EQ(form.GetNewScoreRow(), 11);
    EXPECT_EQ(form.Rows(), 12);
    EXPECT_EQ(form.Row(10), QStringLiteral("200|P10|W10"));
    EXPECT_EQ(form.Row(11), QStringLiteral("150|Anonymous|BETTER"));
    const auto stored = StoredTable(QStringLiteral("Evaluation"));
    ASSERT_EQ(stored.size(), 12u);
    EXPECT_EQ(stored[11], QStringLiteral("150\tAnonymous\tBETTER"));
    const QRect row = form.Table()->visualItemRect(form.Table()->topLevelItem(11));
    EXPECT_TRUE(form.Table()->viewport()->rect().contains(row)) << "new row not scrolled into view";
}

// A taller window keeps as many rows as one page shows: a score that a short window would
// refuse (and trim the table for) enters the table of a tall one.
TEST_F(HighScores, TallerDialogKeepsMoreRows) {
    StoreTable(QStringLiteral("Evaluation"), DescendingRows(20, 2000, 100)); // 2000 .. 100
    {
        ScriptedNewGameForm tall;
        tall.resize(570, 900);
        ASSERT_GE(tall.RowsPerPage(), 21);
        tall.ShowScores(smGameOver, 150, QStringLiteral("DEEP"));
        EXPECT_EQ(tall.GetNewScoreRow(), 19);
        EXPECT_EQ(tall.Rows(), 21);
        EXPECT_EQ(StoredTable(QStringLiteral("Evaluation")).size(), 21u);
    }
    ScriptedNewGameForm shortForm;
    MakeShort(shortForm);
    shortForm.ShowScores(smGameOver, 120, QStringLiteral("DEEP"));
    EXPECT_EQ(shortForm.GetNewScoreRow(), -1);
    EXPECT_EQ(shortForm.Rows(), 12);                                  // trimmed on screen...
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation")).size(), 21u); // ...but not in the store
}

// However many rows a huge window shows, the store never holds more than 100 rows of one
// table: rows past index 99 are not written, and a stored row 100 is never read.
TEST_F(HighScores, StoreNeverHoldsMoreThanAHundredRows) {
    StoreTable(QStringLiteral("Evaluation"), DescendingRows(100, 100000, 10));
    Store(QStringLiteral("Evaluation100"), QStringLiteral("1\tGHOST\tROW"));
    ScriptedNewGameForm form;
    EXPECT_EQ(form.Rows(), 100);
    form.resize(570, 3000);
    ASSERT_GT(form.RowsPerPage(), 101);
    form.ShowScores(smGameOver, 999999, QStringLiteral("TOP"));
    EXPECT_EQ(form.GetNewScoreRow(), 0);
    EXPECT_EQ(form.Rows(), 101);
    const auto stored = StoredTable(QStringLiteral("Evaluation"));
    ASSERT_EQ(stored.size(), 100u);
    EXPECT_EQ(stored[0], QStringLiteral("999999\tAnonymous\tTOP"));
    EXPECT_EQ(stored[99], QStringLiteral("99020\tP98\tW98")); // the old last row fell off
    EXPECT_EQ(Stored(QStringLiteral("Evaluation100")), QStringLiteral("1\tGHOST\tROW"));
}

// Loading stops at the first empty or missing value, rows without TAB show only a score and
// rank by their leading integer, and they are written back exactly as they were.
TEST_F(HighScores, LoadStopsAtTheFirstGapAndKeepsOddRows) {
    Store(QStringLiteral("Evaluation0"), QStringLiteral("900\tA\tONE"));
    Store(QStringLiteral("Evaluation1"), QString());
    Store(QStringLiteral("Evaluation2"), QStringLiteral("800\tB\tHIDDEN"));
    {
        ScriptedNewGameForm form;
        ASSERT_EQ(form.Rows(), 1);
        EXPECT_EQ(form.Row(0), QStringLiteral("900|A|ONE"));
    }
    ClearStoredSettings();
    StoreTable(
        QStringLiteral("Evaluation"),
        {QStringLiteral(" +750 bonus"), QStringLiteral("no digits"), QStringLiteral("5\tSolo")});
    ScriptedNewGameForm form;
    ASSERT_EQ(form.Rows(), 3);
    EXPECT_EQ(form.Row(0), QStringLiteral(" +750 bonus"));
    EXPECT_EQ(form.Row(2), QStringLiteral("5|Solo|"));
    form.ShowScores(smGameOver, 3, QStringLiteral("TINY")); // above "no digits" (0)
    EXPECT_EQ(form.GetNewScoreRow(), 1);
    EXPECT_EQ(
        StoredTable(QStringLiteral("Evaluation")),
        (std::vector<QString>{QStringLiteral(" +750 bonus"), QStringLiteral("3\tAnonymous\tTINY"),
                              QStringLiteral("no digits"), QStringLiteral("5\tSolo\t")}));
}

// No stored score is lost: a row another copy of the game stored after this one read the table
// is kept when a new score goes in, and so is a row the settings library reads as something
// other than text (with the rows after it); a score that cannot be stored is still shown, and
// the player is told once, naming the file.
TEST_F(HighScores, NoStoredScoreIsLost) {
    class TellingForm : public ScriptedNewGameForm {
    public:
        QStringList told;

    protected:
        void TellPlayer(const QString& text) override { told << text; }
    } form;
    StoreTable(QStringLiteral("Evaluation"), {QStringLiteral("900\tOther\tCOPY")});
    WriteStoredSettingsFile(kGameSettingsFile,
                            ReadStoredSettingsFile(kGameSettingsFile)
                                .replace("Evaluation1=\n", "Evaluation1=@Rect(1 2 3 4)\n"
                                                           "Evaluation2=\"2100\\tReal\\tROW\"\n"));
    form.ShowScores(smGameOver, 50, QStringLiteral("MINE"));
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation")),
              (std::vector<QString>{
                  QStringLiteral("900\tOther\tCOPY"), QStringLiteral("50\tAnonymous\tMINE"),
                  QStringLiteral("@Rect(1 2 3 4)"), QStringLiteral("2100\tReal\tROW")}));
    EXPECT_TRUE(form.told.isEmpty());

    // A folder where the settings file should be: nothing can be stored.
    const QString file =
        QDir(StoredSettingsFolder()).filePath(QString::fromLatin1(kGameSettingsFile));
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    form.ShowScores(smGameEnded, 70, QStringLiteral("LOST"));
    form.ShowScores(smGameEnded, 80, QStringLiteral("AGAIN"));
    EXPECT_EQ(form.Row(0), QStringLiteral("80|Anonymous|AGAIN"));
    EXPECT_EQ(form.Row(1), QStringLiteral("70|Anonymous|LOST")) << "the unsaved rows stay shown";
    ASSERT_EQ(form.told.size(), 1);
    EXPECT_TRUE(form.told.front().contains(QDir::toNativeSeparators(file)))
        << form.told.front().toStdString();
    QDir(file).removeRecursively();
}

// The Scores button's showing (score 0) inserts nothing, clears an earlier selection, keeps
// the mail button disabled, and forgets the earlier new row.
TEST_F(HighScores, ScoreZeroInsertsNothing) {
    ScriptedNewGameForm form;
    form.ShowScores(smGameOver, 10, QStringLiteral("WORD"));
    ASSERT_EQ(form.GetNewScoreRow(), 0);
    form.ShowScores(smScores, 0, QStringLiteral("IGNORED"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Scores"));
    EXPECT_EQ(form.Rows(), 1);
    EXPECT_EQ(form.GetNewScoreRow(), -1);
    EXPECT_TRUE(form.Table()->selectedItems().isEmpty());
    EXPECT_FALSE(MailButton(form)->isEnabled());
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation")).size(), 1u);
}

// The mail button composes one message to the support address about the new row, with the
// player's text encoded so that it cannot add recipients or fields to the address.
TEST_F(HighScores, MailButtonSendsTheNewScoreOnly) {
    UrlCatcher urls;
    const std::vector<QUrl>& opened = urls.opened;
    ScriptedNewGameForm form;
    form.answer = [](ScriptedNewGameForm& f) {
        MailButton(f)->click();
        return 2;
    };
    form.ShowScores(smScores, 0, QString());
    EXPECT_TRUE(opened.empty());

    Persist(true).WriteString(QStringLiteral("Nickname"), QStringLiteral("Al&cc=x@y.example"));
    ScriptedNewGameForm named;
    named.answer = form.answer;
    named.ShowScores(smGameOver, 4321, QStringLiteral("ZEPHYR"));
    ASSERT_EQ(opened.size(), 1u);
    const QUrl& url = opened[0];
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), QStringLiteral("pellinoraxis-support@corvane.example"));
    const QUrlQuery query(url);
    EXPECT_FALSE(query.hasQueryItem(QStringLiteral("cc")));
    EXPECT_TRUE(query.queryItemValue(QStringLiteral("subject")).contains(QStringLiteral("4321")));
    const QString body = query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded);
    EXPECT_TRUE(body.contains(QStringLiteral("Player: Al&cc=x@y.example"))) << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("Best word: ZEPHYR")));
    EXPECT_TRUE(body.contains(QStringLiteral("Dictionary: Evaluation")));
}

} // namespace
