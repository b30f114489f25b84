#pragma once

#include "settings/soundoutput.h"
#include "settings/wavefile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class QAudioSink;
class QIODevice;

// Plays wave files through Qt Multimedia on the default audio output.
//
// A sound is handed to the audio system whole as soon as it is asked for (a long file in large
// pieces, well ahead of the playing), so it starts at once and plays to its end even while the
// game is busy. It is never stopped when the output runs out of data: the sound server still
// holds the last part of it then. The stream is closed only by the next sound, which is meant
// to cut the old one off, or once the sound has had ample time to finish.
//
// Without an output device, or for a file that is not a wave this plays, the sound is silence:
// nothing is reported and nothing waits.
class QtSoundOutput : public QObject, public SoundOutput {
    Q_OBJECT
public:
    explicit QtSoundOutput(QObject* parent = nullptr);
    ~QtSoundOutput() override;

    void PlayMemory(std::shared_ptr<const std::vector<char>> wave) override;
    void PlayFile(const QString& fileName) override;
    void Stop() override;
    void Prepare() override;

    // True from the start of a sound until its stream is closed.
    bool IsPlaying() const;

private:
    void Start(std::unique_ptr<QIODevice> source, const WaveFormat& format);
    void Feed();
    void Release();

    // The sink is kept from one sound to the next while the device and the format stay the
    // same: a new sound only reopens its stream. Declared before the source, which it reads.
    std::unique_ptr<QAudioSink> sink;
    QAudioDevice sinkDevice;
    QAudioFormat sinkFormat;
    // The sink's input while a sound plays. The sink owns it, and deletes it if the sound
    // server goes away.
    QPointer<QIODevice> stream;

    std::shared_ptr<const std::vector<char>> playing;
    std::unique_ptr<QIODevice> source; // what is still to be handed over
    QByteArray pending;                // read from the source, not yet taken by the stream
    bool padded = false; // the source is exhausted and the silence after it is in `pending`
    qint64 bytesPerSecond = 0;
    qint64 written = 0;
    QElapsedTimer clock; // since the sound started
    QTimer feeder;       // hands over the rest of a long sound
    QTimer releaser;     // closes the stream once the sound is over
};
