// The help window: every topic the game asks for exists in the shipped help file and is
// scrolled into view; links inside the file lead somewhere; a missing, odd or huge help file
// shows a message instead; help asked for from a modal question can be used.
#include "gui/helpviewer.h"

#include "gui/utils.h"
#include "modalhelper.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <set>

namespace {

const QString kShippedHelp = QStringLiteral(PELLIN_SOURCE_DIR "/data/Pellinoraxis.hlp");
const int kTopics[] = {10, 15, 20, 30, 35, 40, 50, 70, 120};

// The anchors a document defines and the fragments its links lead to.
void Anchors(const QTextDocument& doc, std::set<QString>& names, std::set<QString>& targets) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            for (const QString& n : f.anchorNames())
                names.insert(n);
            if (f.anchorHref().startsWith(QLatin1Char('#')))
                targets.insert(f.anchorHref().mid(1));
        }
}

// The vertical position at which an anchor's block starts.
int AnchorTop(const QTextDocument& doc, const QString& name) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name))
                return static_cast<int>(doc.documentLayout()->blockBoundingRect(block).top());
    return -1;
}

class HelpViewerTest : public ::testing::Test {
protected:
    void TearDown() override { HelpViewer::SetHelpFile(QString()); }
};

// Every context number the game uses is an anchor of the shipped help file, every link in it
// leads to an anchor, and showing a topic opens the one window scrolled to that topic.
TEST_F(HelpViewerTest, EveryTopicOpensAtItsAnchor) {
    HelpViewer::SetHelpFile(kShippedHelp);
    ShowHelpTopic(20);
    HelpViewer* viewer = HelpViewer::Instance(false);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(viewer->HelpLoaded());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    QTextBrowser* browser = viewer->Browser();

    std::set<QString> names, targets;
    Anchors(*browser->document(), names, targets);
    for (const QString& target : targets)
        EXPECT_TRUE(names.count(target)) << "broken link #" << target.toStdString();

    QScrollBar* bar = browser->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the manual should be longer than one window";
    // The page fits the window's width: nothing to scroll sideways.
    QScrollBar* across = browser->horizontalScrollBar();
    EXPECT_EQ(across->maximum(), 0);
    int previous = -1;
    for (int topic : {20, 40, 50, 10, 30, 35, 70, 120}) {
        // Every topic opens at its left edge, wherever the page was scrolled to before.
        across->setMaximum(100);
        across->setValue(50);
        ShowHelpTopic(topic);
        EXPECT_EQ(across->value(), 0) << "topic " << topic;
        EXPECT_EQ(HelpViewer::Instance(false), viewer) << "one window, reused";
        EXPECT_TRUE(viewer->isVisible());
        const QString name = QString::number(topic);
        ASSERT_TRUE(names.count(name)) << "no topic " << topic;
        const int top = AnchorTop(*browser->document(), name);
        EXPECT_NEAR(bar->value(), std::min(top, bar->maximum()), 2) << "topic " << topic;
        EXPECT_GE(bar->value(), previous) << "topics run in this order in the file";
        previous = bar->value();
    }
    for (int topic : kTopics)
        EXPECT_TRUE(names.count(QString::number(topic))) << topic;

    // Narrowed far below its usual width, the page still fits, its command lines included.
    viewer->resize(300, viewer->height());
    EXPECT_TRUE(QTest::qWaitFor([&] { return across->maximum() == 0; }, 500))
        << "the page is " << across->maximum() << " pixels too wide";

    // The Contents button returns to the top; closing only hides the window.
    across->setMaximum(100);
    across->setValue(50);
    viewer->findChild<QPushButton*>(QStringLiteral("contentsButton"))->click();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(across->value(), 0);
    viewer->close();
    EXPECT_EQ(HelpViewer::Instance(false), viewer);
}

// A missing help file shows a message in the window, not an error; once the file appears the
// next call for help reads it.
TEST_F(HelpViewerTest, MissingFileShowsAMessageUntilItAppears) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pellinoraxis.hlp"));
    HelpViewer::SetHelpFile(path);
    ShowHelpTopic(30);
    HelpViewer* viewer = HelpViewer::Instance(false);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->HelpLoaded());
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains(QStringLiteral("could not be found")));
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains(path));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<a name=\"30\"></a><h1>Options</h1>");
    file.close();
    ShowHelpTopic(30);
    EXPECT_TRUE(viewer->HelpLoaded());
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains(QStringLiteral("Options")));
}

// An absurdly large file in the help file's place is not read: a message instead.
TEST_F(HelpViewerTest, HugeFileIsNotRead) {
    QTemporaryDir dir;
    const QString huge = dir.filePath(QStringLiteral("huge.hlp"));
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(HelpViewer::MaxHelpFileBytes + 1)); // sparse: no disk used
    file.close();
    HelpViewer::SetHelpFile(huge);
    ShowHelpTopic(20);
    EXPECT_FALSE(HelpViewer::Instance(false)->HelpLoaded());
    EXPECT_TRUE(HelpViewer::Instance(false)->Browser()->toPlainText().contains(
        QStringLiteral("too large")));
}

// Help asked for from a modal question (its Help button) can be used while the question is
// still open: a click on the help window's own button reaches it.
TEST_F(HelpViewerTest, HelpFromAModalQuestionIsNotBlocked) {
    HelpViewer::SetHelpFile(kShippedHelp);
    QWidget window;
    window.setGeometry(50, 50, 500, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    int scrolledToTopic = -1;
    int afterContentsClick = -1;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        box->button(QMessageBox::Help)->click();
        HelpViewer* viewer = HelpViewer::Instance(false);
        if (!viewer || !QTest::qWaitForWindowExposed(viewer)) {
            box->button(QMessageBox::Yes)->click();
            return;
        }
        QScrollBar* bar = viewer->Browser()->verticalScrollBar();
        scrolledToTopic = bar->value();
        auto* contents = viewer->findChild<QPushButton*>(QStringLiteral("contentsButton"));
        // Through the window system, where a blocked window's input is dropped.
        QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {},
                          contents->mapTo(viewer, contents->rect().center()));
        QTest::qWait(20);
        afterContentsClick = bar->value();
        box->button(QMessageBox::Yes)->click();
    });
    ShowCenteredMessage(&window, QStringLiteral("The game is paused."), QMessageBox::Question,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Help, 120);
    EXPECT_GT(scrolledToTopic, 0);
    EXPECT_EQ(afterContentsClick, 0);
    // The question is gone; the help window is its own window again and still there.
    ASSERT_NE(HelpViewer::Instance(false), nullptr);
    HelpViewer::Instance(false)->close();
}

} // namespace
