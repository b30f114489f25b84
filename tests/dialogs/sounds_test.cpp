// The game's own sound settings: they show the scheme the sound player reads, write back only
// what the player changed and only on OK, and play and reset each event's file.
#include "dialogs/sounds.h"

#include "fakesoundoutput.h"
#include "gui/helpviewer.h"
#include "settings/sounder.h"
#include "testsettings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

class ScriptedSoundsForm : public TSoundsForm {
public:
    ScriptedSoundsForm(FolderFile folderFile, std::shared_ptr<SoundLog> log)
        : TSoundsForm(nullptr, std::move(folderFile), std::make_unique<FakeSoundOutput>(log)) {}

    std::function<int(ScriptedSoundsForm&)> answer;
    QString chosen;
    QPushButton* Button(const char* name) { return findChild<QPushButton*>(QLatin1String(name)); }

protected:
    int RunModal() override { return answer ? answer(*this) : 2; }
    QString ChooseFile(const QString&) override { return chosen; }
};

class SoundsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredSettings();
        // The sound player registers the scheme as on a first run.
        Sounder sounder(folderFile, std::make_unique<FakeSoundOutput>(log), [] { return 0u; });
        log->Clear();
    }

    QTemporaryDir dir;
    std::function<QString(const QString&)> folderFile = [this](const QString& name) {
        return dir.filePath(name);
    };
    std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();
};

// The dialog opens on the scheme's files; OK writes back exactly the events the player
// changed (a chosen file, a cleared one for silence), and the sound player takes them up.
TEST_F(SoundsDialog, OkWritesTheChangedEventsOnly) {
    ASSERT_TRUE(TSoundsForm::SetSchemeFile(seHighWord, QStringLiteral("/elsewhere/cheer.wav")));
    ScriptedSoundsForm form(folderFile, log);
    form.chosen = dir.filePath(QStringLiteral("mine.wav"));
    form.answer = [&](ScriptedSoundsForm& f) {
        EXPECT_EQ(f.FileField(seSelectTile)->text(), dir.filePath(QStringLiteral("select.wav")));
        EXPECT_EQ(f.FileField(seHighWord)->text(), QStringLiteral("/elsewhere/cheer.wav"));
        f.Button("newLifeBrowse")->click();
        f.FileField(seLowWord)->clear();
        return 1;
    };
    EXPECT_TRUE(form.Execute());
    EXPECT_EQ(TSoundsForm::SchemeFile(seNewLife), dir.filePath(QStringLiteral("mine.wav")));
    EXPECT_EQ(TSoundsForm::SchemeFile(seLowWord), QString());
    EXPECT_EQ(TSoundsForm::SchemeFile(seHighWord), QStringLiteral("/elsewhere/cheer.wav"));
    EXPECT_EQ(TSoundsForm::SchemeFile(seSelectTile), dir.filePath(QStringLiteral("select.wav")));

    Sounder sounder(folderFile, std::make_unique<FakeSoundOutput>(log), [] { return 0u; });
    EXPECT_EQ(sounder.FileName(seNewLife), dir.filePath(QStringLiteral("mine.wav")));
    EXPECT_TRUE(sounder.FileName(seLowWord).isEmpty()); // silent, not registered again

    // Opening and confirming without a change writes nothing and reports no change.
    form.answer = [](ScriptedSoundsForm&) { return 1; };
    EXPECT_FALSE(form.Execute());
}

// Cancel keeps the scheme as it was, whatever was edited.
TEST_F(SoundsDialog, CancelWritesNothing) {
    ScriptedSoundsForm form(folderFile, log);
    form.answer = [](ScriptedSoundsForm& f) {
        for (int i = 0; i < TSoundsForm::EventCount; ++i)
            f.FileField(i)->setText(QStringLiteral("/tmp/other.wav"));
        return 2;
    };
    EXPECT_FALSE(form.Execute());
    for (int i = 0; i < TSoundsForm::EventCount; ++i)
        EXPECT_EQ(TSoundsForm::SchemeFile(i), dir.filePath(Sounder::DefaultFileName(i)));
}

// Play sounds the file in the field (as edited, before OK), an empty field only silences,
// and Default brings back the game's own file beside the program.
TEST_F(SoundsDialog, PlayAndDefaultWorkOnTheField) {
    ScriptedSoundsForm form(folderFile, log);
    form.answer = [&](ScriptedSoundsForm& f) {
        f.FileField(seEndRound)->setText(QStringLiteral("  /sounds/gong.wav "));
        f.Button("endRoundPlay")->click();
        EXPECT_EQ(log->Count(SoundLog::Kind::File), 1u);
        EXPECT_EQ(log->Last()->file, QStringLiteral("/sounds/gong.wav"));
        f.FileField(seEndRound)->clear();
        f.Button("endRoundPlay")->click();
        EXPECT_EQ(log->Count(SoundLog::Kind::File), 1u);
        f.Button("endRoundDefault")->click();
        EXPECT_EQ(f.FileField(seEndRound)->text(), dir.filePath(QStringLiteral("endRound.wav")));
        return 2;
    };
    form.Execute();
    EXPECT_EQ(log->Last()->kind, SoundLog::Kind::Stop); // nothing plays on after the dialog
}

// F1 and the Help button each open the help at the Sounds window's own topic, not elsewhere.
TEST_F(SoundsDialog, HelpOpensTheSoundsTopic) {
    HelpViewer::SetHelpFile(QStringLiteral(PELLIN_SOURCE_DIR "/data/Pellinoraxis.hlp"));
    // The line at the top of the help window, once it is open.
    const auto helpTop = [] {
        HelpViewer* viewer = HelpViewer::Instance(false);
        if (viewer == nullptr || !viewer->isVisible())
            return QString();
        return viewer->Browser()->cursorForPosition(QPoint(4, 4)).block().text();
    };
    ScriptedSoundsForm form(folderFile, log);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    EXPECT_EQ(helpTop(), QStringLiteral("Sounds"));

    ShowHelpTopic(20);
    EXPECT_NE(helpTop(), QStringLiteral("Sounds"));
    QPushButton* help = form.Button("helpButton");
    ASSERT_NE(help, nullptr);
    help->click();
    EXPECT_EQ(helpTop(), QStringLiteral("Sounds"));
    HelpViewer::SetHelpFile(QString());
}

} // namespace
