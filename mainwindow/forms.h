// The game's windows, made once at start-up in a fixed order (later ones may use earlier ones
// from their constructors) and destroyed in the reverse order at exit, so that their
// destructors can save their placements and the player's settings.
#pragma once

#include "settings/soundoutput.h"

#include <memory>

// Creates PellinForm, NewGameForm, OptionsForm, DictionaryLoading, AboutBox and HowToPlay.
// Without a sound output the main window plays to the default audio device.
void CreateForms(std::unique_ptr<SoundOutput> soundOutput = nullptr);
// The same in two steps, for the program's start: the main window, and (once it is on its
// way to the screen) the five dialogs in their order, which nobody sees at start. The second
// step must run before any input reaches the main window.
void CreateMainForm(std::unique_ptr<SoundOutput> soundOutput = nullptr);
void CreateDialogForms();
// Destroys them in reverse order and clears the globals.
void DestroyForms();
