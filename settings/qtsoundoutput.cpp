#include "settings/qtsoundoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>

#include <algorithm>

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

} // namespace

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) {
}

QtSoundOutput::~QtSoundOutput() {
    Stop();
}

bool QtSoundOutput::IsPlaying() const {
    return sink && sink->state() == QAudio::ActiveState;
}

void QtSoundOutput::Stop() {
    if (sink) {
        sink->disconnect(this);
        sink->stop();
    }
    sink.reset();
    source.reset();
    playing.reset();
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
    if (device.isNull()) {
        playing.reset();
        return;
    }
    QAudioFormat audioFormat;
    audioFormat.setSampleRate(format.sampleRate);
    audioFormat.setChannelCount(format.channels);
    audioFormat.setSampleFormat(format.bitsPerSample == 8 ? QAudioFormat::UInt8
                                                          : QAudioFormat::Int16);
    if (!device.isFormatSupported(audioFormat)) {
        playing.reset();
        return;
    }

    auto bounded =
        std::make_unique<BoundedDevice>(std::move(raw), static_cast<qint64>(format.dataOffset),
                                        static_cast<qint64>(format.dataSize));
    bounded->open(QIODevice::ReadOnly);
    source = std::move(bounded);
    sink = std::make_unique<QAudioSink>(device, audioFormat);
    connect(sink.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // The sound has run out: give the device back, but not from inside the sink's own
        // signal; the next sound or Stop() releases the rest.
        if (state == QAudio::IdleState && sink)
            sink->stop();
    });
    sink->start(source.get());
}
