// The shared window utilities: paths beside the program, the bitmap reduction, the centred
// message box and its Help button, and the links that open only what they should.
#include "gui/utils.h"

#include "gui/helpviewer.h"
#include "modalhelper.h"

#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

// The folder of the executable keeps exactly one delimiter before the name, at a root as
// anywhere else; a drive colon ends a folder; no folder at all leaves the bare name.
TEST(ProgramFolderFileTest, OneDelimiterBetweenFolderAndName) {
    const QString wav = QStringLiteral("select.wav");
    EXPECT_EQ(ProgramFolderFileFor(QStringLiteral("/pellinoraxis"), wav),
              QStringLiteral("/select.wav"));
    EXPECT_EQ(ProgramFolderFileFor(QStringLiteral("C:\\Pellin.exe"), wav),
              QStringLiteral("C:\\select.wav"));
    EXPECT_EQ(ProgramFolderFileFor(QStringLiteral("C:Pellin.exe"), wav),
              QStringLiteral("C:\\select.wav"));
    EXPECT_EQ(ProgramFolderFileFor(QStringLiteral("C:/Games/Pellin/pellin.exe"), wav),
              QStringLiteral("C:/Games/Pellin/select.wav"));
    EXPECT_EQ(ProgramFolderFileFor(QStringLiteral("/opt/game//pellinoraxis"), wav),
              QStringLiteral("/opt/game/select.wav"));
    EXPECT_EQ(ProgramFolderFileFor(QStringLiteral("/opt/my:game/pellinoraxis"), wav),
              QStringLiteral("/opt/my:game/select.wav"));
    EXPECT_EQ(ProgramFolderFileFor(QStringLiteral("pellinoraxis"), wav), wav);
    EXPECT_EQ(
        ProgramFolderFileFor(QStringLiteral("/opt/game/pellinoraxis"), QStringLiteral("*.tsd")),
        QStringLiteral("/opt/game/*.tsd"));
    EXPECT_EQ(ProgramFolderFile(wav),
              QCoreApplication::applicationDirPath() + QStringLiteral("/select.wav"));
}

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

// Each target pixel is the truncated average of its factor x factor block, byte by byte;
// source columns and rows beyond the blocks are ignored.
TEST(ShrinkBitmapTest, AveragesBlocks) {
    QImage target = Filled(1, 1, qRgb(0, 0, 0));
    ShrinkBitmap(Filled(4, 4, qRgb(10, 20, 30)), target);
    EXPECT_EQ(target.pixel(0, 0), qRgb(10, 20, 30));

    QImage one = Filled(4, 4, qRgb(0, 0, 0));
    one.setPixel(2, 3, qRgb(255, 0, 0));
    ShrinkBitmap(one, target);
    EXPECT_EQ(target.pixel(0, 0), qRgb(15, 0, 0)) << "255 / 16 truncates to 15";

    // Factor 2 from a 5 x 5 source onto 2 x 2: the last column and row are never read.
    QImage source = Filled(5, 5, qRgb(200, 200, 200));
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            source.setPixel(x, y, qRgb(40, 80, 120));
    source.setPixel(0, 2, qRgb(4, 4, 4));
    QImage small = Filled(2, 2, qRgb(1, 2, 3));
    ShrinkBitmap(source, small);
    EXPECT_EQ(small.pixel(0, 0), qRgb(200, 200, 200));
    EXPECT_EQ(small.pixel(1, 0), qRgb(40, 80, 120));
    EXPECT_EQ(small.pixel(0, 1), qRgb(151, 151, 151)); // (4 + 3 * 200) / 4
    EXPECT_EQ(small.pixel(1, 1), qRgb(200, 200, 200));

    // The largest factor, all white: sums of 64 bytes of 255 must not wrap.
    QImage face = Filled(3, 2, qRgb(9, 9, 9));
    ShrinkBitmap(Filled(24, 16, qRgb(255, 255, 255)), face);
    EXPECT_EQ(face.pixel(2, 1), qRgb(255, 255, 255));
}

// A factor outside 1..8, a source without enough rows, or images of another format leave the
// target exactly as it was, instead of reading past the source.
TEST(ShrinkBitmapTest, OutOfRangeDoesNothing) {
    const QRgb untouched = qRgb(7, 8, 9);
    QImage target = Filled(1, 1, untouched);
    ShrinkBitmap(Filled(9, 9, qRgb(100, 100, 100)), target);
    EXPECT_EQ(target.pixel(0, 0), untouched) << "factor 9";

    QImage wide = Filled(4, 1, untouched);
    ShrinkBitmap(Filled(3, 3, qRgb(100, 100, 100)), wide);
    EXPECT_EQ(wide.pixel(0, 0), untouched) << "factor 0";

    QImage tall = Filled(1, 3, untouched);
    ShrinkBitmap(Filled(4, 8, qRgb(100, 100, 100)), tall);
    EXPECT_EQ(tall.pixel(0, 2), untouched) << "source too short for 3 rows of 4";

    QImage argb(1, 1, QImage::Format_ARGB32);
    argb.fill(untouched);
    ShrinkBitmap(Filled(4, 4, qRgb(100, 100, 100)), argb);
    EXPECT_EQ(argb.pixel(0, 0) & 0xFFFFFFu, untouched & 0xFFFFFFu);

    QImage empty;
    ShrinkBitmap(Filled(4, 4, qRgb(100, 100, 100)), empty);
    EXPECT_TRUE(empty.isNull());
}

// Centring truncates toward zero, so a dialog larger than its window gets a left and top
// before the window's, by half the difference.
TEST(CenteredPositionTest, TruncatesTowardZero) {
    EXPECT_EQ(CenteredPosition(QRect(100, 50, 400, 300), QSize(200, 100)), QPoint(200, 150));
    EXPECT_EQ(CenteredPosition(QRect(100, 50, 400, 300), QSize(201, 101)), QPoint(199, 149));
    EXPECT_EQ(CenteredPosition(QRect(100, 50, 200, 100), QSize(403, 305)), QPoint(-1, -52));
}

// The message box sits centred over its window, even when larger than it; its Help button
// shows the topic and leaves the box open; the button that closes it is the result.
TEST(ShowCenteredMessageTest, CentredWithAHelpButtonThatDoesNotClose) {
    HelpViewer::SetHelpFile(QStringLiteral(PELLIN_SOURCE_DIR "/data/Pellinoraxis.hlp"));
    QWidget window;
    window.setGeometry(300, 250, 60, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QPoint boxPos, expected;
    bool stillOpenAfterHelp = false;
    bool helpShown = false;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        boxPos = box->frameGeometry().topLeft();
        expected = CenteredPosition(window.frameGeometry(), box->frameGeometry().size());
        box->button(QMessageBox::Help)->click();
        QTest::qWait(20);
        stillOpenAfterHelp = box->isVisible();
        helpShown = HelpViewer::Instance(false) && HelpViewer::Instance(false)->isVisible();
        box->button(QMessageBox::No)->click();
    });
    const int result = ShowCenteredMessage(
        &window, QStringLiteral("Are you sure you want to quit this game?"), QMessageBox::Question,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Help, 50);
    EXPECT_EQ(result, QMessageBox::No);
    EXPECT_TRUE(stillOpenAfterHelp);
    EXPECT_TRUE(helpShown);
    EXPECT_EQ(boxPos, expected);
    EXPECT_LT(boxPos.x(), window.frameGeometry().left()) << "a box wider than its window";
    EXPECT_LT(boxPos.y(), window.frameGeometry().top()) << "a box taller than its window";

    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(ShowCenteredMessage(&window, QStringLiteral("The game is paused."),
                                  QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, 40),
              QMessageBox::Yes);

    // A question that throws something away on Yes can make No the answer Return gives.
    WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(ShowCenteredMessage(&window, QStringLiteral("Clear your statistics?"),
                                  QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, 15,
                                  QMessageBox::No),
              QMessageBox::No);
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUrlOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }
    void TearDown() override { SetUrlOpener(nullptr); }
    QList<QUrl> opened;
};

// Only an edit box's text is opened: a button, a label or nothing is ignored, as is an empty
// address. The mail link asks for a message to the address with the support subject.
TEST_F(LinkTest, MailLinkComposesASupportRequest) {
    QPushButton button(QStringLiteral("support@example.com"));
    QLabel label(QStringLiteral("support@example.com"));
    OpenMailLink(&button);
    OpenMailLink(&label);
    OpenMailLink(nullptr);
    QLineEdit empty;
    OpenMailLink(&empty);
    EXPECT_TRUE(opened.isEmpty());

    QLineEdit edit(QStringLiteral("support@example.com"));
    OpenMailLink(&edit);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(opened[0].path(), QStringLiteral("support@example.com"));
    EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Pellinoraxis Support Request"));
}

// The web link opens web pages only; a local file or program named in the box is never run.
TEST_F(LinkTest, WebLinkOpensOnlyWebPages) {
    QPushButton button(QStringLiteral("http://www.example.com/"));
    OpenWebLink(&button);
    EXPECT_TRUE(opened.isEmpty());

    QLineEdit edit;
    for (const char* text : {"", "   ", "/usr/bin/xterm", "file:///etc/passwd",
                             "C:\\Windows\\notepad.exe", "javascript:alert(1)"}) {
        edit.setText(QString::fromLatin1(text));
        OpenWebLink(&edit);
    }
    EXPECT_TRUE(opened.isEmpty()) << opened.value(0).toString().toStdString();

    edit.setText(QStringLiteral("https://www.example.com/Pellinoraxis.html"));
    OpenWebLink(&edit);
    edit.setText(QStringLiteral("www.example.com/Pellinoraxis.html"));
    OpenWebLink(&edit);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://www.example.com/Pellinoraxis.html")));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("http://www.example.com/Pellinoraxis.html")));
}

// A font family is found when the system has it, never when it does not, nor for no name.
TEST(FontExistsTest, KnowsInstalledFamilies) {
    const QStringList families = QFontDatabase::families();
    if (!families.isEmpty()) {
        EXPECT_TRUE(FontExists(families.first()));
    }
    EXPECT_FALSE(FontExists(QStringLiteral("No Such Family Pellinoraxis 9")));
    EXPECT_FALSE(FontExists(QString()));
}

} // namespace
