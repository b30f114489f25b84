#pragma once

#include "settings/soundoutput.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class RegistryKey;

// The six moments of play that make a sound.
enum SoundEvent : int {
    seSelectTile = 0,
    seSelectWord = 1,
    seNewLife = 2,
    seEndRound = 3,
    seHighWord = 4,
    seLowWord = 5,
};

// Plays the game's sound events. Which file each event plays is not a game setting: it comes
// from the sound scheme in the settings store, where the game registers its six events on the
// first run, pointing at the wave files beside the program. The scheme is read again at the
// first sound played more than a minute after the last reading, so a change made meanwhile
// (in the sound settings) is picked up without a restart.
//
// Files of up to 1 MiB are read into memory once, so that playing never waits for the disk.
// A cached buffer is shared with the output while it plays: a refresh that replaces it only
// drops the Sounder's reference, and the output keeps the old buffer alive until its sound
// has been cut off by the next one.
//
// The constructor registers the scheme and reads the six file names, but leaves reading the
// files themselves for later, so that the game's window does not wait for the disk before it
// appears: CacheSounds() reads them (the window calls it right after it first shows), and so
// does anything that needs them first (Play, IsCached, Refresh). In the same way the output
// is only made ready by PrepareOutput(), or else by the first sound.
class Sounder {
public:
    static constexpr int EventCount = 6;
    static constexpr uint32_t RefreshIntervalMs = 60000;
    static constexpr int64_t MaxCachedBytes = 1048576;

    using TickSource = std::function<uint32_t()>;
    using FolderFile = std::function<QString(const QString&)>;

    // folderFile gives the path of a file beside the program (ProgramFolderFile); it makes
    // the default sound paths of a first registration. Without an output the sounds go to
    // the default audio device through the sound module (MakeSoundOutput); without a tick
    // source the time is the steady clock's.
    explicit Sounder(FolderFile folderFile, std::unique_ptr<SoundOutput> output = nullptr,
                     TickSource ticks = nullptr);
    ~Sounder();
    Sounder(const Sounder&) = delete;
    Sounder& operator=(const Sounder&) = delete;

    // Plays the event's sound, or nothing for an event outside 0..5 or without a sound.
    void Play(int event);
    // Reads into memory the sounds whose reading the constructor left for later.
    void CacheSounds();
    // Gets the output ready to play (it loads the audio code and reaches the sound server on
    // first use), so that the first sound starts as promptly as the rest.
    void PrepareOutput();
    // Reads the six file names from the scheme again and reloads the sounds whose file name
    // changed. With registerScheme, events missing from the scheme are registered first.
    void Refresh(bool registerScheme);

    // What the scheme gave for an event (empty: silent), and whether it is held in memory
    // (once the sounds left for later have been read).
    QString FileName(int event) const;
    bool IsCached(int event);

    // The scheme's layout, for the sound settings window.
    static const QString SchemeKey;
    static const QString SchemeDisplayName;
    static QString EventKey(int event);        // e.g. "\Select Tile"; empty when out of range
    static QString DefaultFileName(int event); // e.g. "select.wav"; empty when out of range
    // The default steady-clock tick count, wrapping like the system's millisecond counter.
    static uint32_t SteadyTicks();

private:
    // Reads the file names (registering missing events when asked) and marks the sounds
    // that are to be read into memory; CacheSounds reads them.
    void ReadScheme(bool registerScheme);
    void RegisterEvent(int event, QString& fileName);
    static std::shared_ptr<const std::vector<char>> LoadSound(const QString& fileName);

    uint32_t lastRefresh = 0;
    std::unique_ptr<RegistryKey> registry;
    std::array<QString, EventCount> fileNames;
    std::array<std::shared_ptr<const std::vector<char>>, EventCount> cachedSounds;
    // Events whose file is still to be read into memory.
    std::array<bool, EventCount> pendingSounds{};

    FolderFile folderFile;
    std::unique_ptr<SoundOutput> output;
    TickSource ticks;
};
