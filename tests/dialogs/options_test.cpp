// The Options dialog: the list of valid dictionaries beside the program, the selection by
// name whatever its letter case, the values written back only on OK, and the nickname rules.
#include "dialogs_helpers.h"
#include "testsettings.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <tuple>

#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

struct Values {
    bool howToPlay = true, endRound = true, enterWord = false, selectTile = true;
    QString dictionary = QStringLiteral("Evaluation");
    QString nickname = QStringLiteral("Anonymous");
};

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }

    int Run(bool allowDictionaryChange, Values& v) {
        return form.Execute(allowDictionaryChange, v.howToPlay, v.endRound, v.enterWord,
                            v.selectTile, v.dictionary, v.nickname);
    }

    DictionaryFolder folder;
    ScriptedOptionsForm form;
};

// Only valid dictionaries are listed, by name without the extension, in name order; broken
// files, folders and other files are left out without a word.
TEST_F(OptionsDialog, ListsOnlyValidDictionaries) {
    folder.AddValid(QStringLiteral("Zulu.tsd"));
    folder.AddValid(QStringLiteral("alpha.tsd"));
    folder.AddValid(QStringLiteral("Words.v2.tsd"));
    folder.AddFile(QStringLiteral("Broken.tsd"), QByteArray("TSD1 but nothing more"));
    folder.AddFile(QStringLiteral("Empty.tsd"), QByteArray());
    folder.AddFolder(QStringLiteral("Folder.tsd"));
    folder.AddValid(QStringLiteral("notes.txt"));
    QStringList listed;
    form.answer = [&](ScriptedOptionsForm& f) {
        listed = f.Entries();
        return 2;
    };
    Values v;
    Run(true, v);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("alpha"), QStringLiteral("Words.v2"),
                                   QStringLiteral("Zulu")}));
}

// A stored name differing only in letter case selects the file's entry, and OK stores the
// file's spelling; an unknown name selects entry 0, which OK then makes the dictionary.
TEST_F(OptionsDialog, SelectsByNameIgnoringCase) {
    folder.AddValid(QStringLiteral("English.tsd"));
    folder.AddValid(QStringLiteral("Evaluation.tsd"));
    int current = -2;
    form.answer = [&](ScriptedOptionsForm& f) {
        current = f.Dictionaries()->currentIndex();
        return 1;
    };
    Values v;
    v.dictionary = QStringLiteral("eVALuation");
    EXPECT_EQ(Run(true, v), 1);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(v.dictionary, QStringLiteral("Evaluation"));

    v.dictionary = QStringLiteral("Klingon");
    Run(true, v);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(v.dictionary, QStringLiteral("English"));
}

// In a game the list is greyed and OK keeps the dictionary even when the list shows another;
// with no dictionary at all the name is never changed.
TEST_F(OptionsDialog, DictionaryStaysWhenItMayNotChange) {
    folder.AddValid(QStringLiteral("English.tsd"));
    bool enabled = true;
    form.answer = [&](ScriptedOptionsForm& f) {
        enabled = f.Dictionaries()->isEnabled();
        return 1;
    };
    Values v;
    v.dictionary = QStringLiteral("Missing");
    Run(false, v);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(v.dictionary, QStringLiteral("Missing"));

    QFile::remove(folder.dir.filePath(QStringLiteral("English.tsd")));
    int count = -1;
    form.answer = [&](ScriptedOptionsForm& f) {
        count = f.Dictionaries()->count();
        return 1;
    };
    Run(true, v);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(v.dictionary, QStringLiteral("Missing"));
}

// OK writes every value back as the controls hold it (the nickname untrimmed); Cancel after
// changing every control leaves every argument as it was.
TEST_F(OptionsDialog, ValuesComeBackOnlyOnOk) {
    folder.AddValid(QStringLiteral("English.tsd"));
    folder.AddValid(QStringLiteral("Evaluation.tsd"));
    auto changeAll = [](ScriptedOptionsForm& f) {
        f.Nickname()->setText(QStringLiteral("  Spaced "));
        f.Dictionaries()->setCurrentIndex(0);
        for (const char* box :
             {"HowToPlay", "SelectTileSounds", "EnterWordSounds", "EndRoundSounds"})
            f.Get<QCheckBox>(box)->toggle();
    };
    Values v;
    form.answer = [&](ScriptedOptionsForm& f) {
        EXPECT_EQ(f.Nickname()->text(), QStringLiteral("Anonymous"));
        EXPECT_FALSE(f.Get<QCheckBox>("EnterWordSounds")->isChecked());
        EXPECT_TRUE(f.Get<QCheckBox>("SelectTileSounds")->isChecked());
        changeAll(f);
        return 2;
    };
    EXPECT_EQ(Run(true, v), 2);
    const Values untouched;
    EXPECT_EQ(v.nickname, untouched.nickname);
    EXPECT_EQ(v.dictionary, untouched.dictionary);
    EXPECT_EQ(std::tie(v.howToPlay, v.endRound, v.enterWord, v.selectTile),
              std::tie(untouched.howToPlay, untouched.endRound, untouched.enterWord,
                       untouched.selectTile));

    form.answer = [&](ScriptedOptionsForm& f) {
        changeAll(f);
        return 1;
    };
    EXPECT_EQ(Run(true, v), 1);
    EXPECT_EQ(v.nickname, QStringLiteral("  Spaced "));
    EXPECT_EQ(v.dictionary, QStringLiteral("English"));
    EXPECT_FALSE(v.howToPlay);
    EXPECT_FALSE(v.endRound);
    EXPECT_TRUE(v.enterWord);
    EXPECT_FALSE(v.selectTile);
}

// OK is enabled exactly while the nickname is not empty, also when the dialog opens on an
// empty one, and the field takes no more than 100 characters.
TEST_F(OptionsDialog, OkNeedsANicknameOfAtMostAHundredCharacters) {
    QPushButton* ok = form.Get<QPushButton>("OKBtn");
    bool okAtStart = true;
    form.answer = [&](ScriptedOptionsForm& f) {
        okAtStart = ok->isEnabled();
        f.Nickname()->clear();
        EXPECT_FALSE(ok->isEnabled());
        QTest::keyClicks(f.Nickname(), QStringLiteral("x"));
        EXPECT_TRUE(ok->isEnabled());
        QTest::keyClicks(f.Nickname(), QString(120, QLatin1Char('y')));
        EXPECT_EQ(f.Nickname()->text().size(), 100);
        f.Nickname()->setText(QStringLiteral("   "));
        EXPECT_FALSE(ok->isEnabled()) << "blanks would show as no name beside the scores";
        return 2;
    };
    Values v;
    v.nickname.clear();
    Run(true, v);
    EXPECT_FALSE(okAtStart);
}

} // namespace
