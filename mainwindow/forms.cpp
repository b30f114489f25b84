#include "mainwindow/forms.h"

#include "dialogs/about.h"
#include "dialogs/dictload.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "gui/programicon.h"
#include "mainwindow/pelform.h"
#include "settings/sounder.h"
#include "settings/soundoutput.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

#include <initializer_list>

namespace {

template <typename T> void Destroy(T*& form) {
    delete form;
    form = nullptr;
}

// Keeps a dialog above the window it belongs to under the window manager. A dialog without a
// parent would be transient for a hidden window of the application's own, so one click on the
// main window could bury it; nor can it be the main window's child, since a disabled main window
// (as during a dictionary load) would disable it too. So each time it is shown (its native window
// is made anew then) it is made transient for the modal dialog in front of the game, if any, or
// else for the main window.
class KeepAboveOwner : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* dialog = static_cast<QWidget*>(watched);
            QWidget* owner = QApplication::activeModalWidget();
            if (owner == nullptr || owner == dialog) {
                owner = PellinForm;
            }
            QWindow* own = dialog->windowHandle();
            QWindow* ownerWindow = owner != nullptr ? owner->window()->windowHandle() : nullptr;
            if (own != nullptr && ownerWindow != nullptr && ownerWindow != own) {
                own->setTransientParent(ownerWindow);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void CreateForms(std::unique_ptr<SoundOutput> soundOutput) {
    CreateMainForm(std::move(soundOutput));
    CreateDialogForms();
}

void CreateMainForm(std::unique_ptr<SoundOutput> soundOutput) {
    // Every window of the game carries its icon, the main window and the help included.
    QApplication::setWindowIcon(ProgramIcon());
    PellinForm = new TPellinForm(std::move(soundOutput));
}

void CreateDialogForms() {
    NewGameForm = new TNewGameForm();
    OptionsForm = new TOptionsForm();
    // A sound changed in the Options dialog plays at once, not only after the sound player's
    // next periodic look at the scheme.
    if (TPellinForm* form = PellinForm) {
        QObject::connect(OptionsForm, &TOptionsForm::SoundSchemeChanged, form,
                         [form] { form->Sounds->Refresh(false); });
    }
    DictionaryLoading = new TDictionaryLoading();
    AboutBox = new TAboutBox();
    HowToPlay = new THowToPlay();
    for (QWidget* dialog : std::initializer_list<QWidget*>{
             NewGameForm, OptionsForm, DictionaryLoading, AboutBox, HowToPlay}) {
        dialog->installEventFilter(new KeepAboveOwner(dialog));
    }
}

void DestroyForms() {
    Destroy(HowToPlay);
    Destroy(AboutBox);
    Destroy(DictionaryLoading);
    Destroy(OptionsForm);
    Destroy(NewGameForm);
    Destroy(PellinForm);
}
