// The yardstick for the game's start-up: the least a Qt Widgets program does before its first
// window is on the screen (an application object and one empty window of the game's size).
// The start-up script times it against the game in the same run.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.resize(658, 480);
    window.show();
    return QApplication::exec();
}
