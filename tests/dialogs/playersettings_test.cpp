// The player's settings owned by the high score dialog: defaults, what is read at start and
// written back, hand-edited values, and the Options round trip with its nickname and
// dictionary changes applied in the right order.
#include "dialogs_helpers.h"
#include "testsettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeWidget>

#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

class PlayerSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredSettings();
        folder.AddValid(QStringLiteral("Evaluation.tsd"));
        folder.AddValid(QStringLiteral("English.tsd"));
        OptionsForm = &options;
    }
    void TearDown() override { OptionsForm = nullptr; }

    // The Options dialog answers OK after setting a nickname and, when given, a dictionary.
    void AnswerOptions(const QString& nickname, const QString& dictionary = QString(),
                       int result = 1) {
        options.answer = [=](ScriptedOptionsForm& f) {
            f.Nickname()->setText(nickname);
            if (!dictionary.isEmpty())
                f.Dictionaries()->setCurrentText(dictionary);
            return result;
        };
    }
    static QString GroupTitle(TNewGameForm& form) {
        return form.findChild<QGroupBox*>(QStringLiteral("HighScoresGroup"))->title();
    }

    DictionaryFolder folder;
    ScriptedOptionsForm options;
};

// With nothing stored the player starts with the defaults; what is stored replaces them, and
// every setting (with the column widths) is written back when the dialog goes.
TEST_F(PlayerSettings, DefaultsThenStoredValuesThenSavedAtExit) {
    {
        ScriptedNewGameForm form;
        EXPECT_EQ(form.GetNickname(), QStringLiteral("Anonymous"));
        EXPECT_EQ(form.GetDictionary(), QStringLiteral("Evaluation"));
        EXPECT_TRUE(form.GetSelectTileSounds() && form.GetEnterWordSounds() &&
                    form.GetEndRoundSounds() && form.GetHowToPlay());
        EXPECT_EQ(GroupTitle(form), QStringLiteral("Evaluation High Scores"));
        EXPECT_EQ(form.Table()->columnWidth(1), 194);
    }
    EXPECT_EQ(Stored(QStringLiteral("Nickname")), QStringLiteral("Anonymous"));

    Store(QStringLiteral("Nickname"), QStringLiteral("Kit"));
    Store(QStringLiteral("Dictionary"), QStringLiteral("English"));
    Persist(true).WriteBool(QStringLiteral("EnterWordSounds"), false);
    Persist(true).WriteInteger(QStringLiteral("ScoresColumnWidth2"), 150);
    {
        ScriptedNewGameForm form;
        EXPECT_EQ(form.GetNickname(), QStringLiteral("Kit"));
        EXPECT_EQ(form.GetDictionary(), QStringLiteral("English"));
        EXPECT_FALSE(form.GetEnterWordSounds());
        EXPECT_TRUE(form.GetSelectTileSounds());
        EXPECT_EQ(form.Table()->columnWidth(2), 150);
        form.SetHowToPlay(false);
    }
    bool howToPlay = true;
    EXPECT_TRUE(Persist(false).ReadBool(QStringLiteral("HowToPlay"), howToPlay));
    EXPECT_FALSE(howToPlay);

    // The best-word switch, on at first, is changed in Options and kept with the others.
    ScriptedNewGameForm form;
    EXPECT_TRUE(form.GetShowBestWordLeft());
    options.answer = [](ScriptedOptionsForm& f) {
        EXPECT_TRUE(f.Get<QCheckBox>("ShowBestWordLeft")->isChecked());
        f.Get<QCheckBox>("ShowBestWordLeft")->setChecked(false);
        return 1;
    };
    form.EditOptions(true);
    EXPECT_FALSE(form.GetShowBestWordLeft());
    bool shown = true;
    EXPECT_TRUE(Persist(false).ReadBool(QStringLiteral("ShowBestWordLeft"), shown));
    EXPECT_FALSE(shown);
}

// Hand-edited values that could not work are left out and the defaults stand: an empty
// nickname, a dictionary "name" that points elsewhere or splits into two paths, columns of
// absurd width; a column narrower than its heading is widened to it; an over-long nickname is
// cut to what the Options dialog accepts.
TEST_F(PlayerSettings, HandEditedValuesStaySafe) {
    Store(QStringLiteral("Nickname"), QString());
    Persist(true).WriteInteger(QStringLiteral("ScoresColumnWidth0"), -100);
    Persist(true).WriteInteger(QStringLiteral("ScoresColumnWidth1"), 99999);
    for (const char* name : {"../../elsewhere/Evaluation", "x;y", ".", ".."}) {
        Store(QStringLiteral("Dictionary"), QString::fromLatin1(name));
        ScriptedNewGameForm form;
        EXPECT_EQ(form.GetNickname(), QStringLiteral("Anonymous"));
        EXPECT_EQ(form.GetDictionary(), QStringLiteral("Evaluation")) << name;
        QHeaderView* header = form.Table()->header();
        EXPECT_GE(form.Table()->columnWidth(0),
                  header->fontMetrics().horizontalAdvance(form.Table()->headerItem()->text(0)));
        EXPECT_EQ(form.Table()->columnWidth(1), 194);
    }
    Store(QStringLiteral("Nickname"), QString(150, QLatin1Char('n')));
    ScriptedNewGameForm form;
    EXPECT_EQ(form.GetNickname().size(), 100);
}

// Two dictionaries keep separate tables; switching in Options loads the other table and the
// group caption follows, and switching back shows the first again.
TEST_F(PlayerSettings, EachDictionaryHasItsOwnTable) {
    StoreTable(QStringLiteral("Evaluation"), {QStringLiteral("10\tEva\tONE")});
    StoreTable(QStringLiteral("English"),
               {QStringLiteral("70\tEng\tSEVEN"), QStringLiteral("60\tEng\tSIX")});
    ScriptedNewGameForm form;
    ASSERT_EQ(form.Rows(), 1);

    AnswerOptions(QStringLiteral("Anonymous"), QStringLiteral("English"));
    form.EditOptions(true);
    EXPECT_EQ(form.GetDictionary(), QStringLiteral("English"));
    EXPECT_EQ(GroupTitle(form), QStringLiteral("English High Scores"));
    ASSERT_EQ(form.Rows(), 2);
    EXPECT_EQ(form.Row(0), QStringLiteral("70|Eng|SEVEN"));
    EXPECT_EQ(Stored(QStringLiteral("Dictionary")), QStringLiteral("English"));

    AnswerOptions(QStringLiteral("Anonymous"), QStringLiteral("Evaluation"));
    form.EditOptions(true);
    EXPECT_EQ(GroupTitle(form), QStringLiteral("Evaluation High Scores"));
    EXPECT_EQ(form.Row(0), QStringLiteral("10|Eva|ONE"));
}

// A nickname change from the dialog's or the pre-play Options renames the new score's row
// and stores it; from the in-game Options it changes the nickname only.
TEST_F(PlayerSettings, NicknameChangeRenamesTheNewScoreOutsideAGame) {
    ScriptedNewGameForm form;
    form.answer = [this](ScriptedNewGameForm& f) {
        AnswerOptions(QStringLiteral("Bea"));
        f.findChild<QPushButton*>(QStringLiteral("OptionsButton"))->click();
        return 2;
    };
    form.ShowScores(smGameOver, 44, QStringLiteral("WORD"));
    EXPECT_EQ(form.Row(0), QStringLiteral("44|Bea|WORD"));
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation"))[0], QStringLiteral("44\tBea\tWORD"));
    EXPECT_TRUE(form.Table()->topLevelItem(0)->isSelected());

    // The pre-play Options, after the dialog closed and another copy of the game stored a
    // better score: that row stays, and the renamed one is found below it.
    StoreTable(QStringLiteral("Evaluation"),
               {QStringLiteral("99\tOther\tCOPY"), QStringLiteral("44\tBea\tWORD")});
    AnswerOptions(QStringLiteral("Cy"));
    form.EditOptions(true);
    EXPECT_EQ(
        StoredTable(QStringLiteral("Evaluation")),
        (std::vector<QString>{QStringLiteral("99\tOther\tCOPY"), QStringLiteral("44\tCy\tWORD")}));

    AnswerOptions(QStringLiteral("Dee")); // in-game Options
    form.EditOptions(false);
    EXPECT_EQ(form.GetNickname(), QStringLiteral("Dee"));
    EXPECT_EQ(form.Row(1), QStringLiteral("44|Cy|WORD"));
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation"))[1], QStringLiteral("44\tCy\tWORD"));
    EXPECT_EQ(Stored(QStringLiteral("Nickname")), QStringLiteral("Dee"));
}

// A nickname and dictionary changed together rename the row in the table the score was made
// with, before the other table is shown; a TAB in the new nickname cannot split the row.
TEST_F(PlayerSettings, NicknameIsAppliedBeforeTheDictionary) {
    StoreTable(QStringLiteral("English"), {QStringLiteral("5\tEng\tFIVE")});
    ScriptedNewGameForm form;
    form.ShowScores(smGameOver, 90, QStringLiteral("NINETY"));
    AnswerOptions(QStringLiteral("Ed\tTab"), QStringLiteral("English"));
    form.EditOptions(true);
    EXPECT_EQ(StoredTable(QStringLiteral("Evaluation"))[0], QStringLiteral("90\tEd Tab\tNINETY"));
    EXPECT_EQ(StoredTable(QStringLiteral("English")),
              std::vector<QString>{QStringLiteral("5\tEng\tFIVE")});
    EXPECT_EQ(form.Row(0), QStringLiteral("5|Eng|FIVE"));
    EXPECT_EQ(form.GetNewScoreRow(), -1);
}

// Cancel in Options changes nothing, whatever was edited in it before.
TEST_F(PlayerSettings, OptionsCancelChangesNothing) {
    ScriptedNewGameForm form;
    form.ShowScores(smGameOver, 12, QStringLiteral("DOZEN"));
    options.answer = [](ScriptedOptionsForm& f) {
        f.Nickname()->setText(QStringLiteral("Zed"));
        f.Dictionaries()->setCurrentText(QStringLiteral("English"));
        for (const char* box :
             {"HowToPlay", "SelectTileSounds", "EnterWordSounds", "EndRoundSounds"})
            f.Get<QCheckBox>(box)->setChecked(false);
        return 2;
    };
    form.EditOptions(true);
    EXPECT_EQ(form.GetNickname(), QStringLiteral("Anonymous"));
    EXPECT_EQ(form.GetDictionary(), QStringLiteral("Evaluation"));
    EXPECT_TRUE(form.GetSelectTileSounds() && form.GetEnterWordSounds() &&
                form.GetEndRoundSounds() && form.GetHowToPlay());
    EXPECT_EQ(form.Row(0), QStringLiteral("12|Anonymous|DOZEN"));
}

} // namespace
