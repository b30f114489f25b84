#include "fakesoundoutput.h"

#include <algorithm>

size_t SoundLog::Count(Kind kind) const {
    return static_cast<size_t>(std::count_if(calls.begin(), calls.end(),
                                             [kind](const Call& c) { return c.kind == kind; }));
}

void FakeSoundOutput::PlayMemory(std::shared_ptr<const std::vector<char>> wave) {
    log->calls.push_back({SoundLog::Kind::Memory, std::move(wave), {}});
}

void FakeSoundOutput::PlayFile(const QString& fileName) {
    log->calls.push_back({SoundLog::Kind::File, nullptr, fileName});
}

void FakeSoundOutput::Stop() {
    log->calls.push_back({SoundLog::Kind::Stop, nullptr, {}});
}
