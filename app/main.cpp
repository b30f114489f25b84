// The program's entry point: the application object, the six windows in their order (the main
// window shown at the first idle moment, the dialogs made once it is on the screen), the
// message loop, and the windows destroyed in reverse order at the end so that they save their
// placements and the player's settings.

#include "gui/application.h"
#include "mainwindow/forms.h"
#include "mainwindow/pelform.h"
#include "settings/sounder.h"

#include <QFont>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <exception>

namespace {

// Finishes the start-up around the main window's first showing, so that the window system maps
// the window without the program competing with it for the processor.
//
// The dialogs, which nobody sees until the player asks for one, are made once the window is on
// the screen, and the sounds are read after them. The player can only ask for a dialog with a
// key or a click, so the first input makes them first if they are not there yet: no handler
// ever runs without them.
//
// The sound output is made ready at the first input too. Every sound answers a move in a game,
// so none can come sooner; until then the program runs without the audio libraries, which are
// large, and from then on even the first sound starts at once.
class StartUp : public QObject {
public:
    // Watches the main window's exposure and the input to the whole program until the end of
    // the message loop: the windows go after it.
    StartUp() { QCoreApplication::instance()->installEventFilter(this); }
    ~StartUp() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && PellinForm &&
            watched == PellinForm->windowHandle() && PellinForm->windowHandle()->isExposed()) {
            // After the window's first painting, which this event brings.
            QTimer::singleShot(0, this, [this] { MakeDialogs(); });
        } else if (IsInput(event->type())) {
            QCoreApplication::instance()->removeEventFilter(this);
            // A failure ends the program, and nothing may act on this input without dialogs.
            if (!MakeDialogs())
                return true;
            // Once the input has been answered: the game goes first.
            QTimer::singleShot(0, PellinForm, [] { PellinForm->Sounds->PrepareOutput(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool IsInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: // comes before a key press, and may trigger a shortcut
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            return true;
        default:
            return false;
        }
    }

    bool MakeDialogs() {
        if (dialogsMade)
            return dialogsOk;
        dialogsMade = true;
        try {
            CreateDialogForms();
        } catch (const std::exception& error) {
            // As a failure before the message loop started would.
            TApplication::ShowException(error);
            QCoreApplication::exit(0);
            return false;
        }
        dialogsOk = true;
        // The sounds are read from disk well before a game starts; a sound asked for sooner
        // reads them itself.
        QTimer::singleShot(0, PellinForm, [] { PellinForm->Sounds->CacheSounds(); });
        return true;
    }

    bool dialogsMade = false;
    bool dialogsOk = false;
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
        {
            StartUp startUp;
            QTimer::singleShot(0, PellinForm, [] { PellinForm->FormOnIdle(); });
            QApplication::exec();
        }
        DestroyForms();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
    }
    return 0;
}
