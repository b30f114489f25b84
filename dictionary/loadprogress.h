// How a word index load tells its caller how far it has come, without the dictionary or the
// model knowing anything about windows.
#pragma once

#include <cstdint>

class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    // Called once before the first word: the number of words the load may add.
    virtual void Begin(int32_t total) = 0;
    // Called with the number of words added so far, every 256 words.
    virtual void Advance(int32_t count) = 0;
};
