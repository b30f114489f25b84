#pragma once

#include <QString>

#include <memory>
#include <vector>

// Where the game's sounds go. Playing is asynchronous: each call returns at once, and a new
// sound cuts off the one still playing.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Plays a whole wave file held in memory. The output keeps its own reference to the
    // buffer for as long as it plays from it, so the owner may drop or replace its copy at
    // any time.
    virtual void PlayMemory(std::shared_ptr<const std::vector<char>> wave) = 0;
    // Plays a wave file by name; a file that cannot be found or read plays nothing.
    virtual void PlayFile(const QString& fileName) = 0;
    // Silences whatever is playing.
    virtual void Stop() = 0;
    // Does now whatever the first sound would otherwise wait for (loading the audio code,
    // reaching the sound server), so that it starts as promptly as the rest.
    virtual void Prepare() {}
};

// The output the game plays through: the Qt Multimedia output, which lives in a module of its
// own beside the program and is loaded the first time a sound is played or prepared, so that
// the program starts without the audio libraries. Without the module the output is silent.
// The module's path is given without the platform's suffix.
QString SoundModulePath();
std::unique_ptr<SoundOutput> MakeSoundOutput(const QString& modulePath = SoundModulePath());

// The module's entry point: makes its output for a caller built against this interface
// version, or returns null for any other.
inline constexpr int SoundOutputInterfaceVersion = 1;
#define PELLIN_SOUND_MODULE_ENTRY "PellinoraxisMakeSoundOutput"
using SoundModuleEntry = SoundOutput* (*)(int interfaceVersion);
