// The sound events: first-run registration of the scheme, the once-a-minute refresh, the
// memory cache and its 1 MiB limit, and the events that must stay silent.
#include "settings/sounder.h"

#include "fakesoundoutput.h"
#include "settings/registry.h"
#include "testsettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

using Kind = SoundLog::Kind;

class SounderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredSettings();
        ASSERT_TRUE(folder.isValid());
        for (int i = 0; i < Sounder::EventCount; ++i)
            WriteFile(Sounder::DefaultFileName(i), QByteArray("sound ") + QByteArray::number(i));
    }

    QString Path(const QString& name) const { return folder.filePath(name); }

    void WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    std::unique_ptr<Sounder> Make() {
        return std::make_unique<Sounder>([this](const QString& name) { return Path(name); },
                                         std::make_unique<FakeSoundOutput>(log),
                                         [this] { return now; });
    }

    static QString Scheme(int event, const char* sub) {
        return Sounder::SchemeKey + Sounder::EventKey(event) + QLatin1Char('\\') +
               QLatin1String(sub);
    }
    static void SetScheme(int event, const QString& file) {
        RegistryKey key;
        ASSERT_TRUE(key.OpenKey(Scheme(event, ".current"), true));
        key.WriteString(QString(), file);
    }
    static QString ReadScheme(const QString& keyPath) {
        RegistryKey key(false);
        QString text = QStringLiteral("<no key>");
        if (key.OpenKey(keyPath, false) && !key.ReadString(QString(), text))
            text = QStringLiteral("<no value>");
        return text;
    }
    static std::string Bytes(const std::shared_ptr<const std::vector<char>>& b) {
        return b ? std::string(b->data()) : std::string("<none>");
    }

    QTemporaryDir folder;
    std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();
    uint32_t now = 1000;
};

// First run: the scheme gets its display name and, per event, ".current" and ".default"
// holding the program's folder plus the default file; the six files are cached; and the
// construction silences any sound left playing.
TEST_F(SounderTest, FirstRunRegistersTheSchemeAndCachesTheSounds) {
    auto sounder = Make();
    EXPECT_EQ(ReadScheme(Sounder::SchemeKey), QStringLiteral("Pellinoraxis Word Game"));
    for (int i = 0; i < Sounder::EventCount; ++i) {
        const QString expected = Path(Sounder::DefaultFileName(i));
        EXPECT_EQ(ReadScheme(Scheme(i, ".current")), expected) << i;
        EXPECT_EQ(ReadScheme(Scheme(i, ".default")), expected) << i;
        EXPECT_EQ(sounder->FileName(i), expected);
        EXPECT_TRUE(sounder->IsCached(i)) << i;
    }
    EXPECT_EQ(Sounder::DefaultFileName(seEndRound), QStringLiteral("endRound.wav"));
    ASSERT_EQ(log->calls.size(), 1u);
    EXPECT_EQ(log->calls[0].kind, Kind::Stop);

    // Each event plays its own buffer from memory: the file's bytes and a 0 after them.
    for (int i = 0; i < Sounder::EventCount; ++i) {
        sounder->Play(i);
        ASSERT_EQ(log->Last()->kind, Kind::Memory);
        const auto& wave = *log->Last()->wave;
        const std::string expected = "sound " + std::to_string(i);
        ASSERT_EQ(wave.size(), expected.size() + 1);
        EXPECT_EQ(std::string(wave.data(), expected.size()), expected);
        EXPECT_EQ(wave.back(), '\0');
    }
}

// A scheme that already exists is used as it is, not registered again; an event whose
// ".current" is empty stays silent and is not re-registered; events outside 0..5 are ignored.
TEST_F(SounderTest, ExistingSchemeIsRespectedAndEmptyEventsStaySilent) {
    SetScheme(seSelectWord, QString());
    SetScheme(seLowWord, Path(QStringLiteral("highword.wav")));
    auto sounder = Make();
    EXPECT_EQ(ReadScheme(Scheme(seSelectWord, ".current")), QString());
    EXPECT_EQ(ReadScheme(Scheme(seSelectWord, ".default")), QStringLiteral("<no key>"));
    EXPECT_EQ(ReadScheme(Scheme(seLowWord, ".current")), Path(QStringLiteral("highword.wav")));
    // Event 0 was missing, so it was registered together with the display name.
    EXPECT_EQ(ReadScheme(Sounder::SchemeKey), QStringLiteral("Pellinoraxis Word Game"));

    log->Clear();
    sounder->Play(seSelectWord);
    sounder->Play(-1);
    sounder->Play(6);
    sounder->Play(1000000);
    EXPECT_TRUE(log->calls.empty());
    sounder->Play(seLowWord);
    ASSERT_EQ(log->calls.size(), 1u);
    EXPECT_EQ(Bytes(log->Last()->wave), "sound 4");

    // A later refresh with registration allowed still leaves the empty event alone.
    sounder->Refresh(true);
    EXPECT_EQ(ReadScheme(Scheme(seSelectWord, ".current")), QString());
    EXPECT_TRUE(sounder->FileName(seSelectWord).isEmpty());
}

// A change in the scheme takes effect at the first sound more than 60000 ms after the last
// refresh (not at 60000 exactly); only the changed event loads a new buffer; the buffer the
// output already holds stays whole.
TEST_F(SounderTest, SchemeChangesArePickedUpAfterAMinute) {
    auto sounder = Make();
    sounder->Play(seSelectTile);
    const auto oldTile = log->Last()->wave;
    sounder->Play(seEndRound);
    const auto oldEnd = log->Last()->wave;

    WriteFile(QStringLiteral("other.wav"), "other sound");
    SetScheme(seSelectTile, Path(QStringLiteral("other.wav")));

    now += 60000;
    sounder->Play(seSelectTile);
    EXPECT_EQ(log->Last()->wave, oldTile) << "refreshed too early";

    now += 1;
    sounder->Play(seSelectTile);
    EXPECT_EQ(Bytes(log->Last()->wave), "other sound");
    EXPECT_EQ(sounder->FileName(seSelectTile), Path(QStringLiteral("other.wav")));
    sounder->Play(seEndRound);
    EXPECT_EQ(log->Last()->wave, oldEnd) << "an unchanged event must keep its buffer";
    EXPECT_EQ(Bytes(oldTile), "sound 0") << "a replaced buffer must live while it is held";

    // The next refresh is a minute after this one, not after the first; a counter that
    // wrapped around (now below the last refresh) counts as time to look again.
    SetScheme(seSelectTile, Path(QStringLiteral("select.wav")));
    now += 30000;
    sounder->Play(seSelectTile);
    EXPECT_EQ(Bytes(log->Last()->wave), "other sound");
    now = 5;
    sounder->Play(seSelectTile);
    EXPECT_EQ(Bytes(log->Last()->wave), "sound 0");
}

// Exactly 1048576 bytes are cached (with the 0 after them); one byte more, an empty file, a
// missing file, a folder, or a name without a folder are played by name instead.
TEST_F(SounderTest, OnlyFilesUpToOneMebibyteWithAFolderAreCached) {
    WriteFile(QStringLiteral("limit.wav"), QByteArray(1048576, 'x'));
    WriteFile(QStringLiteral("over.wav"), QByteArray(1048577, 'x'));
    WriteFile(QStringLiteral("empty.wav"), QByteArray());
    QDir(folder.path()).mkdir(QStringLiteral("folder.wav"));
    SetScheme(0, Path(QStringLiteral("limit.wav")));
    SetScheme(1, Path(QStringLiteral("over.wav")));
    SetScheme(2, Path(QStringLiteral("empty.wav")));
    SetScheme(3, Path(QStringLiteral("missing.wav")));
    SetScheme(4, Path(QStringLiteral("folder.wav")));
    SetScheme(5, QStringLiteral("select.wav"));
    auto sounder = Make();

    sounder->Play(0);
    ASSERT_EQ(log->Last()->kind, Kind::Memory);
    EXPECT_EQ(log->Last()->wave->size(), 1048577u);
    EXPECT_EQ(log->Last()->wave->back(), '\0');

    const char* byName[] = {"", "over.wav", "empty.wav", "missing.wav", "folder.wav"};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_FALSE(sounder->IsCached(i)) << i;
        sounder->Play(i);
        ASSERT_EQ(log->Last()->kind, Kind::File) << i;
        EXPECT_EQ(log->Last()->file, Path(QString::fromLatin1(byName[i])));
    }
    // No folder: even an existing file is left to the output to find.
    EXPECT_FALSE(sounder->IsCached(5));
    sounder->Play(5);
    ASSERT_EQ(log->Last()->kind, Kind::File);
    EXPECT_EQ(log->Last()->file, QStringLiteral("select.wav"));
}

#ifdef Q_OS_UNIX
// A scheme entry naming a pipe is never read (a read would wait for a writer forever): it is
// handed to the output by name, and the game goes on.
TEST_F(SounderTest, PipeInTheSchemeDoesNotBlock) {
    const QByteArray fifo = QFile::encodeName(Path(QStringLiteral("pipe.wav")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    SetScheme(seHighWord, Path(QStringLiteral("pipe.wav")));
    auto sounder = Make();
    EXPECT_FALSE(sounder->IsCached(seHighWord));
    sounder->Play(seHighWord);
    EXPECT_EQ(log->Last()->kind, Kind::File);
}
#endif

// A hand-edited scheme entry that the settings library would read as something other than text
// is the text that was typed: a file that is not there, so silent, no crash, and no
// re-registration over the player's edit.
TEST_F(SounderTest, GarbageSchemeValueIsSilent) {
    WriteStoredSettingsFile(kSoundSchemeFile,
                            "[Apps]\n"
                            "Pellinoraxis%20Evaluation\\Select%20Tile\\.current\\Default="
                            "@Rect(1 2 3 4)\n");
    auto sounder = Make();
    EXPECT_EQ(sounder->FileName(seSelectTile), QStringLiteral("@Rect(1 2 3 4)"));
    EXPECT_FALSE(sounder->IsCached(seSelectTile));
    EXPECT_TRUE(sounder->IsCached(seSelectWord));
}

} // namespace
