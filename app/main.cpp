// A stand-in game window: shows the title board so the model can be seen working on screen
// until the real main window takes over.

#include "board.h"

#include <QApplication>
#include <QFont>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace {

constexpr int kTileSize = 40;
constexpr int kRowPitch = kTileSize * 866 / 1000; // hexagonal packing: n * sqrt(3) / 2
constexpr int kBoardLeft = 16;
constexpr int kBoardBottom = 462; // board coordinates grow upward from here (y is negative)

class TitleWindow : public QWidget {
public:
    TitleWindow() : board_(12, 9) {
        setWindowTitle(QStringLiteral("Pellinoraxis"));
        resize(658, 480);
        board_.SetGeometry(kTileSize, kTileSize, kRowPitch);
        board_.FillAttract();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), QColor(0, 72, 36));

        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(kTileSize * 3 / 5);
        font.setBold(true);
        painter.setFont(font);

        for (uint32_t r = 0; r < board_.RowCount(); ++r) {
            for (uint32_t s = 0; s < board_.SlotCount(); ++s) {
                const Chip* chip = board_.CellAt(static_cast<int32_t>(r), static_cast<int32_t>(s));
                if (chip == nullptr || !chip->IsOccupied()) {
                    continue;
                }
                const Rect b = chip->Bounds();
                const QRect cell(kBoardLeft + b.left, kBoardBottom + b.top, b.right - b.left,
                                 b.bottom - b.top);
                painter.setPen(QPen(QColor(150, 120, 30), 2));
                painter.setBrush(QColor(245, 215, 95));
                painter.drawEllipse(cell.adjusted(1, 1, -1, -1));
                // Only the first letter is a capital, so a "QU" tile reads "Qu".
                const QString text = QString::fromStdString(chip->Letter());
                painter.setPen(QColor(60, 30, 0));
                painter.drawText(cell, Qt::AlignCenter, text.left(1) + text.mid(1).toLower());
            }
        }

        QFont titleFont(QStringLiteral("Arial"));
        titleFont.setPixelSize(34);
        titleFont.setBold(true);
        painter.setFont(titleFont);
        painter.setPen(QColor(245, 215, 95));
        painter.drawText(QRect(410, 40, 230, 60), Qt::AlignCenter, QStringLiteral("Pellinoraxis"));
    }

private:
    Board board_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellinoraxis"));
    TitleWindow window;
    window.show();
    return app.exec();
}
