// The program's entry point: the application object, the six windows in their order, the main
// window shown at the first idle moment, the message loop, and the windows destroyed in
// reverse order at the end so that they save their placements and the player's settings.

#include "mainwindow/application.h"
#include "mainwindow/forms.h"
#include "mainwindow/pelform.h"

#include <QFont>
#include <QTimer>

#include <exception>

int main(int argc, char* argv[]) {
    try {
        TApplication app(argc, argv);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(14);
        QApplication::setFont(font);

        CreateForms();
        // The main window shows itself when the loop first comes up for air; other windows
        // (the help, say) must not keep the program alive once it has closed.
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(PellinForm, &TPellinForm::Closed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        QTimer::singleShot(0, PellinForm, &TPellinForm::FormOnIdle);
        QApplication::exec();
        DestroyForms();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
    }
    return 0;
}
