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
};
