// The program's entry point: the application object, the six windows in their order, the main
// window shown at the first idle moment, the message loop, and the windows destroyed in
// reverse order at the end so that they save their placements and the player's settings.

#include "mainwindow/application.h"
#include "mainwindow/forms.h"
#include "mainwindow/pelform.h"
#include "settings/sounder.h"

#include <QFont>
#include <QGuiApplication>
#include <QTimer>

#include <exception>

namespace {

// Makes the sound output ready at the player's first press of a key or a mouse button. Every
// sound answers a move in a game, so none can come sooner; until then the program runs without
// the audio libraries, which are large, and from then on even the first sound starts at once.
class PrepareSoundsOnFirstInput : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
            QCoreApplication::instance()->removeEventFilter(this);
            deleteLater();
            // Once the press has been answered: the game goes first.
            if (PellinForm)
                QTimer::singleShot(0, PellinForm, [] { PellinForm->Sounds->PrepareOutput(); });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    try {
        TApplication app(argc, argv);
        // The window system matches the windows to the desktop entry (and its icon) by this.
        QGuiApplication::setDesktopFileName(QStringLiteral("example.corvane.Pellinoraxis"));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(14);
        QApplication::setFont(font);

        // The main window shows itself when the loop first comes up for air; other windows
        // (the help, say) must not keep the program alive once it has closed.
        CreateMainForm();
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(PellinForm, &TPellinForm::Closed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        app.installEventFilter(new PrepareSoundsOnFirstInput(&app));
        QTimer::singleShot(0, PellinForm, [] {
            // The window goes to the screen first; the dialogs, which nobody sees yet, are
            // made while the window system maps it. This runs to its end before the loop
            // looks at any input, so no click can reach the window before they exist.
            // A failure to make them ends the program, as it would before the loop started.
            PellinForm->FormOnIdle();
            try {
                CreateDialogForms();
            } catch (const std::exception& error) {
                TApplication::ShowException(error);
                QCoreApplication::exit(0);
                return;
            }
            // The sounds are read from disk once the window is up, well before a game
            // starts; a sound asked for sooner reads them itself.
            QTimer::singleShot(0, PellinForm, [] { PellinForm->Sounds->CacheSounds(); });
        });
        QApplication::exec();
        DestroyForms();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
    }
    return 0;
}
