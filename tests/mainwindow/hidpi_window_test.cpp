// The main window on a screen of device pixel ratio 2 (this program's screen is scaled by 2):
// the board is laid out in logical pixels as at ratio 1, drawn at the device's resolution,
// and what reaches the screen is the back buffer pixel for pixel.
#include "pelform_fixture.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

namespace {

// Before the application object reads them: every window of this program sits on a screen of
// ratio 2, one of 1600 x 1200 device pixels, so that the window has room for its designed size
// (a window is never larger than its screens).
bool ScaleTheScreen() {
    static QTemporaryFile config(QDir::tempPath() + QStringLiteral("/pellin-screen-XXXXXX.json"));
    if (!config.open())
        return false;
    config.write(R"({"screens": [{"name": "scaled", "x": 0, "y": 0, "width": 1600,
                                   "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96}]})");
    config.flush();
    return qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit()) &&
           qputenv("QT_SCALE_FACTOR", "2");
}
const bool kScaled = ScaleTheScreen();

// The window's board area in device pixels, as the screen shows it and as the back buffer
// holds it.
QImage ScreenArea(TPellinForm& form, const QRect& logical) {
    auto* screen = dynamic_cast<QImage*>(form.backingStore()->paintDevice());
    if (screen == nullptr) {
        return QImage();
    }
    const QRect device(logical.topLeft() * 2, logical.size() * 2);
    return screen->copy(device).convertToFormat(QImage::Format_RGB32);
}

QImage BufferArea(const TPellinForm& form, const QRect& logical) {
    return form.BackBuffer().copy(QRect(logical.topLeft() * 2, logical.size() * 2));
}

using HighDpiWindowTest = PellinFormTest;

// Guards the window at ratio 2: the layout of the design size is unchanged (tiles of 40 from
// client x 33 to 413, y 51 to 465), the back buffer has twice as many pixels each way, and
// the screen shows exactly the buffer, after a whole paint and after one chip's repaint.
TEST_F(HighDpiWindowTest, BoardIsDrawnAtTheScreensResolution) {
    ASSERT_TRUE(kScaled);
    ASSERT_EQ(form->devicePixelRatio(), 2.0);
    form->FormOnIdle();
    QCoreApplication::processEvents();
    form->FormPaint();

    EXPECT_EQ(form->BoardToClient(QPoint(0, 0)), QPoint(33, 465));
    EXPECT_EQ(form->GameBoard->CellAt(1, 1)->Bounds(), (Rect{20, -74, 60, -34}));
    const QImage& buffer = form->BackBuffer();
    EXPECT_EQ(buffer.size(), form->size() * 2);
    EXPECT_EQ(buffer.devicePixelRatio(), 2.0);
    EXPECT_EQ(buffer.pixelColor(2 * 39, 2 * 445),
              BoardPainter::DiscColour(form->GameBoard->CellAt(0, 0)->Value()));
    EXPECT_EQ(buffer.pixelColor(2 * 33, 2 * 51), form->Painter.BoardColour);
    EXPECT_EQ(form->Painter.DiscCacheRatio, 2.0);

    const QRect board(33, 51, 380, 414);
    EXPECT_EQ(ScreenArea(*form, board), BufferArea(*form, board));

    // One chip repainted alone reaches the screen in its own place.
    Chip* chip = form->GameBoard->CellAt(5, 7);
    std::vector<Chip*> changed;
    form->GameBoard->SelectChip(chip, false, changed);
    const QImage before = ScreenArea(*form, board);
    form->RedrawChips(changed);
    const QImage after = ScreenArea(*form, board);
    EXPECT_NE(after, before);
    EXPECT_EQ(after, BufferArea(*form, board));
}

} // namespace
