#include "mainwindow/forms.h"

#include "dialogs/about.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "dictionary/dictload.h"
#include "mainwindow/pelform.h"
#include "settings/sounder.h"
#include "settings/soundoutput.h"

namespace {

template <typename T> void Destroy(T*& form) {
    delete form;
    form = nullptr;
}

} // namespace

void CreateForms(std::unique_ptr<SoundOutput> soundOutput) {
    CreateMainForm(std::move(soundOutput));
    CreateDialogForms();
}

void CreateMainForm(std::unique_ptr<SoundOutput> soundOutput) {
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
}

void DestroyForms() {
    Destroy(HowToPlay);
    Destroy(AboutBox);
    Destroy(DictionaryLoading);
    Destroy(OptionsForm);
    Destroy(NewGameForm);
    Destroy(PellinForm);
}
