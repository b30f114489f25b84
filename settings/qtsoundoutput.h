#pragma once

#include "settings/soundoutput.h"
#include "settings/wavefile.h"

#include <QObject>

#include <memory>

class QAudioSink;
class QIODevice;

// Plays wave files through Qt Multimedia on the default audio output.
//
// The audio system is first touched by the first sound, so the game's window never waits
// for it. Without an output device, or for a file that is not a wave this plays, the sound is
// silence: nothing is reported and nothing waits.
class QtSoundOutput : public QObject, public SoundOutput {
    Q_OBJECT
public:
    explicit QtSoundOutput(QObject* parent = nullptr);
    ~QtSoundOutput() override;

    void PlayMemory(std::shared_ptr<const std::vector<char>> wave) override;
    void PlayFile(const QString& fileName) override;
    void Stop() override;

    bool IsPlaying() const;

private:
    void Start(std::unique_ptr<QIODevice> source, const WaveFormat& format);

    // Declared in this order so the sink, which reads from the source, goes first.
    std::shared_ptr<const std::vector<char>> playing;
    std::unique_ptr<QIODevice> source;
    std::unique_ptr<QAudioSink> sink;
};
