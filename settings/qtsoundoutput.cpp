#include "settings/qtsoundoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace {

// The sound data of a wave file, and nothing after it: a window onto another device, so that
// chunks following the data (tags, cue lists) are never played as noise.
class BoundedDevice : public QIODevice {
public:
    BoundedDevice(std::unique_ptr<QIODevice> inner, qint64 offset, qint64 length)
        : inner(std::move(inner)), offset(offset), length(length) {}

    bool isSequential() const override { return false; }
    qint64 size() const override { return length; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 left = length - pos();
        if (left <= 0)
            return 0;
        if (!inner->seek(offset + pos()))
            return -1;
        return inner->read(data, std::min(maxSize, left));
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<QIODevice> inner;
    qint64 offset;
    qint64 length;
};

// The stream's own buffer. The server starts a new stream's sound within about this time of
// its first data, so it is kept short; the sound is written far ahead of it anyway.
constexpr qint64 kBufferUs = 10000;
// Up to this much of a sound is handed over at once (every sound small enough to be held in
// memory); a longer file is kept this far ahead of the playing, topped up every tenth of a
// second.
constexpr qint64 kWholeBytes = 1048576;
constexpr qint64 kLeadMs = 500;
constexpr int kFeedIntervalMs = 100;
constexpr int kRetryMs = 5;
constexpr qint64 kChunkBytes = 65536;
// How long after its last sample should have played a stream is closed. It is never closed
// earlier (only the next sound cuts it off), so this only has to be ample.
constexpr qint64 kReleaseMarginMs = 1000;

} // namespace

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) {
    feeder.setSingleShot(true);
    feeder.setTimerType(Qt::PreciseTimer);
    connect(&feeder, &QTimer::timeout, this, &QtSoundOutput::Feed);
    releaser.setSingleShot(true);
    connect(&releaser, &QTimer::timeout, this, &QtSoundOutput::Release);
}

QtSoundOutput::~QtSoundOutput() {
    Stop();
}

bool QtSoundOutput::IsPlaying() const {
    return !stream.isNull();
}

void QtSoundOutput::Prepare() {
    // The first look at the devices connects to the sound server.
    QMediaDevices::defaultAudioOutput();
}

void QtSoundOutput::Release() {
    feeder.stop();
    releaser.stop();
    // Closing the stream drops whatever the server still holds of it.
    if (sink)
        sink->stop();
    stream = nullptr;
    pending.clear();
    source.reset();
    playing.reset();
}

void QtSoundOutput::Stop() {
    Release();
}

void QtSoundOutput::PlayMemory(std::shared_ptr<const std::vector<char>> wave) {
    Stop();
    if (!wave || wave->empty())
        return;
    const auto format = ParseWave(wave->data(), wave->size());
    if (!format)
        return;
    auto buffer = std::make_unique<QBuffer>();
    // The buffer wraps the shared bytes without copying; `playing` keeps them alive.
    buffer->setData(QByteArray::fromRawData(wave->data(), static_cast<qsizetype>(wave->size())));
    if (!buffer->open(QIODevice::ReadOnly))
        return;
    playing = std::move(wave);
    Start(std::move(buffer), *format);
}

void QtSoundOutput::PlayFile(const QString& fileName) {
    Stop();
    // Regular files only: reading from a pipe or a device could block the game.
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.isFile())
        return;
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        return;
    QFile* f = file.get();
    const auto format = ParseWave(
        [f](uint64_t offset, char* dst, size_t n) {
            return f->seek(static_cast<qint64>(offset)) &&
                   f->read(dst, static_cast<qint64>(n)) == static_cast<qint64>(n);
        },
        static_cast<uint64_t>(f->size()));
    if (!format)
        return;
    Start(std::move(file), *format);
}

void QtSoundOutput::Start(std::unique_ptr<QIODevice> raw, const WaveFormat& format) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat audioFormat;
    audioFormat.setSampleRate(format.sampleRate);
    audioFormat.setChannelCount(format.channels);
    audioFormat.setSampleFormat(format.bitsPerSample == 8 ? QAudioFormat::UInt8
                                                          : QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(audioFormat)) {
        playing.reset();
        return;
    }
    if (!sink || device != sinkDevice || audioFormat != sinkFormat) {
        // Not deleted here: a sink's destructor runs the event loop, which must not happen
        // inside the game's handler that asked for the sound.
        if (sink)
            sink.release()->deleteLater();
        sink = std::make_unique<QAudioSink>(device, audioFormat);
        sink->setBufferSize(audioFormat.bytesForDuration(kBufferUs));
        sinkDevice = device;
        sinkFormat = audioFormat;
    }
    stream = sink->start();
    if (!stream) {
        // The sound server is gone or refused the stream.
        playing.reset();
        return;
    }
    auto bounded =
        std::make_unique<BoundedDevice>(std::move(raw), static_cast<qint64>(format.dataOffset),
                                        static_cast<qint64>(format.dataSize));
    bounded->open(QIODevice::ReadOnly);
    source = std::move(bounded);
    bytesPerSecond = audioFormat.bytesForDuration(1000000);
    written = 0;
    pending.clear();
    padded = false;
    clock.start();
    Feed();
}

void QtSoundOutput::Feed() {
    if (!stream) {
        // The audio system closed the stream itself (the sound server went away).
        Release();
        return;
    }
    const qint64 frame = sinkFormat.bytesPerFrame();
    qint64 target = std::max(kWholeBytes, bytesPerSecond * (clock.elapsed() + kLeadMs) / 1000);
    target -= target % frame;
    bool full = false;
    while (!full && !(padded && pending.isEmpty()) && (written < target || padded)) {
        if (pending.isEmpty()) {
            pending.resize(static_cast<qsizetype>(std::min(target - written, kChunkBytes)));
            qint64 got = std::max<qint64>(source->read(pending.data(), pending.size()), 0);
            // The server takes whole frames only; a file cut short mid-frame ends there.
            got -= got % frame;
            pending.resize(static_cast<qsizetype>(got));
            if (got == 0) {
                // After the sound, a buffer's worth of silence: the server starts a stream only
                // once its buffer has filled, which a sound shorter than the buffer never does.
                qint64 padding = std::max<qint64>(sink->bufferSize(), frame);
                padding -= padding % frame;
                pending.fill(sinkFormat.sampleFormat() == QAudioFormat::UInt8 ? '\x80' : '\0',
                             static_cast<qsizetype>(padding));
                padded = true;
            }
        }
        const qint64 took = stream->write(pending);
        if (took < 0) {
            pending.clear();
            padded = true;
            break;
        }
        written += took;
        pending.remove(0, static_cast<qsizetype>(took));
        // Most outputs take all they are given; one that takes no more than its buffer holds
        // is given the rest as it makes room.
        full = !pending.isEmpty();
    }
    if (!padded || !pending.isEmpty()) {
        feeder.start(full ? kRetryMs : kFeedIntervalMs);
        return;
    }
    feeder.stop();
    const qint64 endMs = written * 1000 / bytesPerSecond;
    releaser.start(
        static_cast<int>(std::max<qint64>(0, endMs - clock.elapsed()) + kReleaseMarginMs));
}
