#include "mainwindow/forms.h"

#include "dialogs/about.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "dictionary/dictload.h"
#include "mainwindow/pelform.h"
#include "settings/soundoutput.h"

namespace {

template <typename T> void Destroy(T*& form) {
    delete form;
    form = nullptr;
}

} // namespace

void CreateForms(std::unique_ptr<SoundOutput> soundOutput) {
    PellinForm = new TPellinForm(std::move(soundOutput));
    NewGameForm = new TNewGameForm();
    OptionsForm = new TOptionsForm();
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
