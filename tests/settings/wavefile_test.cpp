// Reading wave files: the shipped sounds are what the game can play, and malformed or hostile
// headers are refused without reading outside the buffer; the Qt output turns anything it
// cannot play into silence without waiting, and the program reaches it through the module
// beside it, or plays silence without one.
#include "settings/qtsoundoutput.h"
#include "settings/wavefile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& s, uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}

std::string FmtChunk(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::string s = "fmt ";
    Put32(s, 16);
    Put16(s, tag);
    Put16(s, channels);
    Put32(s, rate);
    Put32(s, rate * channels * bits / 8);
    Put16(s, static_cast<uint16_t>(channels * bits / 8));
    Put16(s, bits);
    return s;
}

std::string Chunk(const char* id, const std::string& body, uint32_t claimed = UINT32_MAX) {
    std::string s = id;
    Put32(s, claimed == UINT32_MAX ? static_cast<uint32_t>(body.size()) : claimed);
    s += body;
    if (body.size() % 2)
        s.push_back('\0');
    return s;
}

std::string Riff(const std::string& chunks) {
    std::string s = "RIFF";
    Put32(s, static_cast<uint32_t>(chunks.size() + 4));
    return s + "WAVE" + chunks;
}

std::optional<WaveFormat> Parse(const std::string& s) {
    return ParseWave(s.data(), s.size());
}

// Each of the six shipped sounds is a 16-bit mono PCM wave the output can play, under a
// second long and small enough to be cached.
TEST(WaveFileTest, ShippedSoundsArePlayable) {
    for (const char* name :
         {"select.wav", "word.wav", "newlife.wav", "endRound.wav", "highword.wav", "lowword.wav"}) {
        QFile file(QStringLiteral(PELLIN_SOURCE_DIR "/data/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray bytes = file.readAll();
        EXPECT_LE(bytes.size(), 1048576) << name;
        const auto format = ParseWave(bytes.constData(), static_cast<size_t>(bytes.size()));
        ASSERT_TRUE(format) << name;
        EXPECT_EQ(format->channels, 1) << name;
        EXPECT_EQ(format->bitsPerSample, 16) << name;
        const double seconds = static_cast<double>(format->dataSize) / (format->sampleRate * 2.0);
        EXPECT_GT(seconds, 0.03) << name;
        EXPECT_LT(seconds, 1.0) << name;
    }
}

// Well-formed variants are found: chunks before "fmt ", odd-sized chunks with their pad byte,
// data cut short by the end of the file, and a partial last frame
// dropped.
TEST(WaveFileTest, FindsFormatAndDataAcrossChunks) {
    const std::string pcm(100, '\x10');
    auto w = Parse(Riff(Chunk("LIST", "odd") + FmtChunk(1, 2, 44100, 16) + Chunk("data", pcm)));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->channels, 2);
    EXPECT_EQ(w->sampleRate, 44100);
    EXPECT_EQ(w->dataSize, 100u);
    EXPECT_EQ(w->dataOffset, 12u + 12u + 24u + 8u);

    w = Parse(Riff(FmtChunk(1, 2, 8000, 16) + Chunk("data", std::string(103, '\0'))));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->dataSize, 100u) << "a partial frame is not played";

    // Claimed 1000 bytes, only 40 present: play the 40.
    w = Parse(Riff(FmtChunk(1, 1, 11025, 8) + Chunk("data", std::string(40, '\x80'), 1000)));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->dataSize, 40u);
    EXPECT_EQ(w->bitsPerSample, 8);
}

// Anything else is refused: not RIFF/WAVE, truncated headers, compressed or 24-bit data,
// silly channel counts or rates, no data, a chunk size that would run the walk off the end.
TEST(WaveFileTest, RefusesWhatItCannotPlay) {
    const std::string data = Chunk("data", std::string(8, '\0'));
    EXPECT_FALSE(Parse(""));
    EXPECT_FALSE(ParseWave(nullptr, 100));
    EXPECT_FALSE(Parse("RIFF\0\0\0\0WAV"));
    EXPECT_FALSE(Parse(Riff(FmtChunk(1, 1, 8000, 16) + data).replace(8, 4, "AVI ")));
    EXPECT_FALSE(Parse(Riff(FmtChunk(2, 1, 8000, 16) + data))); // ADPCM
    EXPECT_FALSE(Parse(Riff(FmtChunk(1, 1, 8000, 24) + data))); // 24-bit
    EXPECT_FALSE(Parse(Riff(FmtChunk(1, 0, 8000, 16) + data))); // no channels
    EXPECT_FALSE(Parse(Riff(FmtChunk(1, 6, 8000, 16) + data))); // surround
    EXPECT_FALSE(Parse(Riff(FmtChunk(1, 1, 0, 16) + data)));    // no rate
    EXPECT_FALSE(Parse(Riff(FmtChunk(1, 1, 8000, 16))));        // no data
    EXPECT_FALSE(Parse(Riff(FmtChunk(1, 1, 8000, 16) + Chunk("data", ""))));
    EXPECT_FALSE(Parse(Riff(data + FmtChunk(1, 1, 8000, 16)).substr(0, 40))); // cut in fmt
    // A junk chunk claiming 4 GiB hides the data behind it: nothing to play, nothing read.
    EXPECT_FALSE(Parse(Riff(Chunk("junk", "ab", 0xFFFFFFF0u) + FmtChunk(1, 1, 8000, 16) + data)));
}

// The Qt output plays, cuts off and stops without error or delay whether or not the machine
// has an audio device; malformed and missing files are silence.
TEST(QtSoundOutputTest, AnythingUnplayableIsQuietSilence) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile bad(dir.filePath(QStringLiteral("bad.wav")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("RIFF....WAVEjunk");
    bad.close();

    QFile good(QStringLiteral(PELLIN_SOURCE_DIR "/data/select.wav"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    auto wave = std::make_shared<const std::vector<char>>(bytes.begin(), bytes.end());

    QElapsedTimer clock;
    clock.start();
    {
        QtSoundOutput output;
        output.PlayMemory(wave);
        output.PlayMemory(std::make_shared<const std::vector<char>>(10, 'x'));
        EXPECT_FALSE(output.IsPlaying());
        output.PlayMemory(nullptr);
        output.PlayFile(dir.filePath(QStringLiteral("bad.wav")));
        output.PlayFile(dir.filePath(QStringLiteral("missing.wav")));
        output.PlayFile(dir.path());
        output.PlayFile(QString());
        EXPECT_FALSE(output.IsPlaying());
        output.PlayFile(QStringLiteral(PELLIN_SOURCE_DIR "/data/word.wav"));
        output.PlayMemory(wave); // cuts the file off
        QTest::qWait(50);
        output.Stop();
        EXPECT_FALSE(output.IsPlaying());
        output.PlayMemory(wave); // destroyed while playing
    }
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(wave.use_count(), 1) << "the output let go of the buffer";
}

// The module is loaded at the first sound or preparation and never by a Stop (the program
// stops its output while starting up); a module that is missing, no library, or made for
// another version of the interface leaves the output silent, never crashed.
TEST(SoundModuleTest, LoadedOnFirstUseAndSilentWithoutIt) {
    QLibrary module(SoundModulePath());
    auto output = MakeSoundOutput();
    output->Stop();
    EXPECT_FALSE(module.isLoaded()) << "the audio code was loaded before any sound";
    output->Prepare();
    ASSERT_TRUE(module.isLoaded()) << "no sound module beside " << qPrintable(SoundModulePath());
    const auto entry =
        reinterpret_cast<SoundModuleEntry>(module.resolve(PELLIN_SOUND_MODULE_ENTRY));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(SoundOutputInterfaceVersion + 1), nullptr);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile notALibrary(dir.filePath(QStringLiteral("pellinoraxis-sound.so")));
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("not a library");
    notALibrary.close();
    const std::string bytes =
        Riff(FmtChunk(1, 1, 8000, 16) + Chunk("data", std::string(800, '\0')));
    auto wave = std::make_shared<const std::vector<char>>(bytes.begin(), bytes.end());
    for (const QString& path : {dir.filePath(QStringLiteral("missing")),
                                dir.filePath(QStringLiteral("pellinoraxis-sound"))}) {
        auto silent = MakeSoundOutput(path);
        silent->Prepare();
        silent->PlayMemory(wave);
        silent->PlayFile(QStringLiteral(PELLIN_SOURCE_DIR "/data/select.wav"));
        silent->Stop();
    }
    EXPECT_EQ(wave.use_count(), 1);
}

} // namespace
