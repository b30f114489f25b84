#pragma once

#include "settings/soundoutput.h"

#include <QString>

#include <memory>
#include <vector>

// What a FakeSoundOutput was asked to do, kept apart from the output so that a test can still
// read it after the Sounder that owned the output is gone.
struct SoundLog {
    enum class Kind { Memory, File, Stop };
    struct Call {
        Kind kind;
        std::shared_ptr<const std::vector<char>> wave; // Memory: the buffer handed over
        QString file;                                  // File: the name
    };
    std::vector<Call> calls;

    size_t Count(Kind kind) const;
    const Call* Last() const { return calls.empty() ? nullptr : &calls.back(); }
    void Clear() { calls.clear(); }
};

// A sound output that plays nothing and records every call.
class FakeSoundOutput : public SoundOutput {
public:
    explicit FakeSoundOutput(std::shared_ptr<SoundLog> log) : log(std::move(log)) {}

    void PlayMemory(std::shared_ptr<const std::vector<char>> wave) override;
    void PlayFile(const QString& fileName) override;
    void Stop() override;

private:
    std::shared_ptr<SoundLog> log;
};
