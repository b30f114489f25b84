// The six sound events as a player hears them. scripts/ci-sound.sh records a sound server's
// output while this program plays, then has it measure the recording:
//
//   bench_sound_events play RECORDING [FOLDER]
//       plays each event through the game's own sound player and output, one a second; then
//       End Round cut off 150 ms later by Select Tile; then, straight through the output, a
//       wave file too large to be held in memory, which it writes beside RECORDING. The wave
//       files of the events come from FOLDER (default: beside the program). While RECORDING (being
//       written by the recorder) grows before the first sound, its size is sampled to tie its
//       frames to the wall clock. Prints what it did, for `measure`.
//   bench_sound_events measure RECORDING RATE PLAYLOG [lengths]
//       RECORDING is signed 16-bit mono at RATE frames per second, PLAYLOG what `play` printed;
//       "lengths" leaves out the start figures.
//       Prints, per sound, the length heard against the length of the sound in its file, how
//       long after it was asked for it was heard, and how long the call held up the caller.
//       Exits 1 when a sound is missing, shorter than its file by more than 10 ms, or, where the
//       next sound should have cut it off, went on under that one.
//
// Lengths are measured the same way in the file and in the recording, from the first to the
// last sample above a threshold, so quiet at the ends of a file does not count against the
// recording. The start figures depend on the recorder's timing and are good to a few
// milliseconds at best.
#include "settings/sounder.h"
#include "settings/soundoutput.h"
#include "settings/wavefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// A sample counts as sound above 1/100 of full scale.
constexpr int kThreshold = 328;
// What a sound may lose against its file before it counts as cut short.
constexpr double kToleranceMs = 10;
constexpr int kGapMs = 1000;
constexpr int kCutAfterMs = 150;

const char* const kLabels[Sounder::EventCount] = {"Select_Tile", "Select_Word", "New_Life",
                                                  "End_Round",   "High_Word",   "Low_Word"};

int64_t WallNanoseconds() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

void Wait(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                        static_cast<int>(ms - clock.elapsed()));
}

// A 3 s tone at 96 kHz stereo: 1.1 MB, more than the game holds in memory, so the output reads
// it from the file as it plays.
bool WriteLongWave(const QString& path) {
    constexpr int rate = 96000;
    constexpr int channels = 2;
    constexpr int frames = rate * 3;
    std::vector<int16_t> samples(static_cast<size_t>(frames) * channels);
    for (int f = 0; f < frames; ++f) {
        const auto v =
            static_cast<int16_t>(8000 * std::sin(2 * std::numbers::pi * 440.0 * f / rate));
        samples[static_cast<size_t>(f) * 2] = samples[static_cast<size_t>(f) * 2 + 1] = v;
    }
    auto le32 = [](QByteArray& b, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.append(static_cast<char>(v >> (8 * i) & 0xFF));
    };
    auto le16 = [](QByteArray& b, uint16_t v) {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>(v >> 8));
    };
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    QByteArray wave("RIFF");
    le32(wave, 36 + dataBytes);
    wave.append("WAVEfmt ");
    le32(wave, 16);
    le16(wave, 1);
    le16(wave, channels);
    le32(wave, rate);
    le32(wave, rate * channels * 2);
    le16(wave, channels * 2);
    le16(wave, 16);
    wave.append("data");
    le32(wave, dataBytes);
    wave.append(reinterpret_cast<const char*>(samples.data()), dataBytes);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wave) == wave.size();
}

int Play(const QStringList& args) {
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_sound_events play RECORDING [FOLDER]\n");
        return 2;
    }
    // A throw-away settings store, so the sound scheme this registers is nobody's.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, home.path());
    const QString recording = args[2];
    const QString folder = args.size() > 3 ? args[3] : QCoreApplication::applicationDirPath();
    // Beside the recording, where `measure` finds it.
    const QString longWave =
        QFileInfo(recording).absoluteDir().filePath(QStringLiteral("long.wav"));
    if (!WriteLongWave(longWave))
        return 2;

    // The recorder writes what it has every few milliseconds: the smallest lag seen between
    // the clock and the recording's length is taken as the recording's start.
    for (int i = 0; i < 400; ++i) {
        const qint64 bytes = QFileInfo(recording).size();
        std::printf("clock %lld %lld\n", static_cast<long long>(WallNanoseconds()),
                    static_cast<long long>(bytes));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // As in the game: the sound player is made with the window, its sounds are read once the
    // window is up, and its output is made ready at the player's first click.
    Sounder sounder([folder](const QString& name) { return QDir(folder).filePath(name); });
    sounder.CacheSounds();
    Wait(200);
    QElapsedTimer prepare;
    prepare.start();
    sounder.PrepareOutput();
    std::printf("prepare %.2f\n", static_cast<double>(prepare.nsecsElapsed()) / 1e6);
    Wait(kGapMs);

    auto play = [](const char* kind, const char* label, const QString& file, auto&& start) {
        const int64_t asked = WallNanoseconds();
        start();
        // How long the caller (the game's one thread) was held up.
        const double callMs = static_cast<double>(WallNanoseconds() - asked) / 1e6;
        std::printf("play %s %lld %.2f %s %s\n", kind, static_cast<long long>(asked), callMs, label,
                    qPrintable(file));
        std::fflush(stdout);
    };
    auto event = [&](const char* kind, int e) {
        play(kind, kLabels[e], QDir(folder).filePath(Sounder::DefaultFileName(e)),
             [&] { sounder.Play(e); });
    };
    for (int e = 0; e < Sounder::EventCount; ++e) {
        event("whole", e);
        Wait(kGapMs);
    }
    event("cut", seEndRound);
    Wait(kCutAfterMs);
    event("whole", seSelectTile);
    Wait(kGapMs);

    auto output = MakeSoundOutput();
    play("whole", "Long_file", longWave, [&] { output->PlayFile(longWave); });
    Wait(3000 + kGapMs);
    return 0;
}

// Mono samples of a wave file (channels averaged; 8-bit widened to 16) and its rate.
std::optional<std::pair<std::vector<int16_t>, int>> ReadWave(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const auto format = ParseWave(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!format)
        return std::nullopt;
    const auto* data =
        reinterpret_cast<const unsigned char*>(bytes.constData()) + format->dataOffset;
    const size_t width = static_cast<size_t>(format->bitsPerSample / 8);
    const auto channels = static_cast<size_t>(format->channels);
    const size_t frames = format->dataSize / (width * channels);
    std::vector<int16_t> mono(frames);
    for (size_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (size_t c = 0; c < channels; ++c) {
            const unsigned char* s = data + (f * channels + c) * width;
            sum += width == 1 ? (s[0] - 128) * 256 : static_cast<int16_t>(s[0] | s[1] << 8);
        }
        mono[f] = static_cast<int16_t>(sum / static_cast<int>(channels));
    }
    return std::make_pair(std::move(mono), format->sampleRate);
}

struct Span {
    size_t first = 0;
    size_t last = 0; // one past the last loud sample
    bool found = false;
};

Span LoudSpan(const std::vector<int16_t>& samples, size_t from, size_t to) {
    Span span;
    to = std::min(to, samples.size());
    for (size_t i = from; i < to; ++i) {
        if (std::abs(samples[i]) > kThreshold) {
            if (!span.found)
                span.first = i;
            span.found = true;
            span.last = i + 1;
        }
    }
    return span;
}

double Ms(size_t samples, int rate) {
    return 1000.0 * static_cast<double>(samples) / rate;
}

int Measure(const QStringList& args) {
    if (args.size() < 5) {
        std::fprintf(stderr,
                     "usage: bench_sound_events measure RECORDING RATE PLAYLOG [lengths]\n");
        return 2;
    }
    QFile recordingFile(args[2]);
    if (!recordingFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[2]));
        return 2;
    }
    const QByteArray raw = recordingFile.readAll();
    std::vector<int16_t> recording(static_cast<size_t>(raw.size()) / 2);
    std::memcpy(recording.data(), raw.constData(), recording.size() * 2);
    const int rate = args[3].toInt();
    // A recorder that takes the sound in large pieces ties its frames to the clock only
    // roughly: its start figures would mislead.
    const bool withStarts = args.value(5) != QLatin1String("lengths");

    struct Sound {
        bool cut;
        int64_t at;
        double callMs;
        QString label;
        QString file;
    };
    std::vector<Sound> sounds;
    double start = std::numeric_limits<double>::max(); // wall-clock ns of the first frame
    QFile log(args[4]);
    if (rate <= 0 || !log.open(QIODevice::ReadOnly | QIODevice::Text))
        return 2;
    while (!log.atEnd()) {
        const QString line = QString::fromUtf8(log.readLine()).trimmed();
        const QStringList w = line.split(QLatin1Char(' '));
        if (w.size() == 3 && w[0] == QLatin1String("clock") && w[2].toLongLong() > 0) {
            start = std::min(start, w[1].toDouble() - w[2].toDouble() / 2 / rate * 1e9);
        } else if (w.size() >= 6 && w[0] == QLatin1String("play")) {
            sounds.push_back({w[1] == QLatin1String("cut"), w[2].toLongLong(), w[3].toDouble(),
                              QString(w[4]).replace(QLatin1Char('_'), QLatin1Char(' ')),
                              line.section(QLatin1Char(' '), 5)});
        } else if (w.size() == 2 && w[0] == QLatin1String("prepare")) {
            std::printf("output made ready in %s ms\n", qPrintable(w[1]));
        }
    }
    if (sounds.empty() || start == std::numeric_limits<double>::max()) {
        std::fprintf(stderr, "the play log holds no sounds or no clock\n");
        return 2;
    }

    // A sound is looked for from a little before it was asked for until the next one was.
    auto frameAt = [&](int64_t ns) {
        const double seconds = (static_cast<double>(ns) - start) / 1e9 - 0.02;
        return static_cast<size_t>(std::max(0.0, seconds * rate));
    };
    auto fileMs = [](const QString& path) -> std::optional<double> {
        const auto wave = ReadWave(path);
        if (!wave)
            return std::nullopt;
        const Span span = LoudSpan(wave->first, 0, wave->first.size());
        return Ms(span.last - span.first, wave->second);
    };

    int checks = 0;
    int failures = 0;
    std::printf("%-12s %8s %8s %8s %8s %8s\n", "sound", "file ms", "heard", "lost", "start",
                "call ms");
    for (size_t k = 0; k < sounds.size(); ++k) {
        const Sound& s = sounds[k];
        ++checks;
        const auto inFile = fileMs(s.file);
        if (!inFile) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(s.file));
            return 2;
        }
        const size_t to = k + 1 < sounds.size() ? frameAt(sounds[k + 1].at) : recording.size();
        const Span heard = LoudSpan(recording, frameAt(s.at), to);
        if (!heard.found) {
            std::printf("%-12s %8.1f %8s\n  FAIL: %s was not heard\n", qPrintable(s.label), *inFile,
                        "missing", qPrintable(s.label));
            ++failures;
            continue;
        }
        const double heardMs = Ms(heard.last - heard.first, rate);
        const double startMs = Ms(heard.first, rate) - (static_cast<double>(s.at) - start) / 1e6;
        const QByteArray startText =
            withStarts ? QByteArray::number(startMs, 'f', 1) : QByteArray("-");
        std::printf("%-12s %8.1f %8.1f %8.1f %8s %8.2f%s\n", qPrintable(s.label), *inFile, heardMs,
                    *inFile - heardMs, startText.constData(), s.callMs,
                    s.cut ? "  (cut off by the next)" : "");
        if (s.cut && k + 1 < sounds.size()) {
            // Cut off, the two last about the time between them plus the second; played over
            // each other, at least the whole first one. The second is judged only here, since
            // the tail of the first runs into its window.
            const Sound& next = sounds[++k];
            const auto nextMs = fileMs(next.file);
            const size_t end = k + 1 < sounds.size() ? frameAt(sounds[k + 1].at) : recording.size();
            const Span both = LoudSpan(recording, frameAt(s.at), end);
            const double bothMs = Ms(both.last - both.first, rate);
            const double apartMs = static_cast<double>(next.at - s.at) / 1e6;
            std::printf("%-12s %8.1f %8s %8s %8s %8.2f  (%.1f ms heard from the first to the "
                        "end of this, asked %.1f ms apart)\n",
                        qPrintable(next.label), nextMs.value_or(0), "", "", "", next.callMs, bothMs,
                        apartMs);
            if (bothMs > *inFile - 100) {
                std::printf("  FAIL: %s went on under %s\n", qPrintable(s.label),
                            qPrintable(next.label));
                ++failures;
            } else if (!nextMs || bothMs < apartMs + *nextMs - 2 * kToleranceMs) {
                std::printf("  FAIL: %s was not heard whole after the cut\n",
                            qPrintable(next.label));
                ++failures;
            }
        } else if (*inFile - heardMs > kToleranceMs) {
            std::printf("  FAIL: %s was cut short\n", qPrintable(s.label));
            ++failures;
        }
    }
    std::printf("%d passed, %d failed\n", checks - failures, failures);
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 2 && args[1] == QLatin1String("play"))
        return Play(args);
    if (args.size() >= 2 && args[1] == QLatin1String("measure"))
        return Measure(args);
    std::fprintf(stderr, "usage: bench_sound_events play RECORDING [FOLDER] | measure RECORDING "
                         "RATE PLAYLOG [lengths]\n");
    return 2;
}
