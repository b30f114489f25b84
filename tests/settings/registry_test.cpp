// The registry stand-in: keys exist only once written, values keep their types, and a store
// edited by hand into nonsense reads as "absent" instead of crashing or inventing values.
#include "settings/registry.h"

#include "testsettings.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("\\Software\\Corvane Limited\\Pellinoraxis Evaluation 1.0");
const QString kEventKey =
    QStringLiteral("\\AppEvents\\Schemes\\Apps\\Pellinoraxis Evaluation\\Select Tile\\.current");

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }
};

// Opening without creating fails for a key that was never written, and succeeds once it
// holds a value; opening with creation always succeeds. Paths too short to name a store fail.
TEST_F(RegistryTest, KeyExistsOnlyOnceItHoldsAValue) {
    RegistryKey key;
    EXPECT_FALSE(key.OpenKey(kKey, false));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.OpenKey(kEventKey, false));

    ASSERT_TRUE(key.OpenKey(kEventKey, true));
    EXPECT_TRUE(key.WriteString(QString(), QStringLiteral("/x/select.wav")));
    EXPECT_TRUE(key.CloseKey());

    EXPECT_TRUE(key.OpenKey(kEventKey, false));
    // A key above one that holds a value exists too; a sibling does not.
    EXPECT_TRUE(key.OpenKey(QStringLiteral("\\AppEvents\\Schemes\\Apps"), false));
    EXPECT_FALSE(key.OpenKey(
        QStringLiteral("\\AppEvents\\Schemes\\Apps\\Pellinoraxis Evaluation\\Low Word\\.current"),
        false));

    EXPECT_FALSE(key.OpenKey(QStringLiteral("\\Software"), true));
    EXPECT_FALSE(key.OpenKey(QStringLiteral("\\"), true));
    EXPECT_FALSE(key.OpenKey(QString(), true));
}

// Every value type reads back as written, including the key's default (unnamed) value, texts
// with tabs, commas and a leading "@", and the 32-bit integer limits; a read-only key reads the
// same values but refuses to write.
TEST_F(RegistryTest, ValuesRoundTripAndReadOnlyKeysRefuseWrites) {
    {
        RegistryKey key(true);
        ASSERT_TRUE(key.OpenKey(kKey, true));
        key.WriteString(QStringLiteral("Nickname"), QStringLiteral("Smith, John"));
        key.WriteString(QStringLiteral("Evaluation0"), QStringLiteral("120\tAnon\tQUIZ (108)"));
        key.WriteString(QStringLiteral("At"), QStringLiteral("@Rect(1 2 3 4)"));
        key.WriteString(QString(), QStringLiteral("default text"));
        key.WriteInteger(QStringLiteral("Min"), INT32_MIN);
        key.WriteInteger(QStringLiteral("Max"), INT32_MAX);
        key.WriteBool(QStringLiteral("On"), true);
        key.WriteBool(QStringLiteral("Off"), false);
        EXPECT_TRUE(key.CloseKey());
    }
    RegistryKey key(false);
    ASSERT_TRUE(key.OpenKey(kKey, false));
    QString s;
    EXPECT_TRUE(key.ReadString(QStringLiteral("Nickname"), s));
    EXPECT_EQ(s, QStringLiteral("Smith, John"));
    EXPECT_TRUE(key.ReadString(QStringLiteral("Evaluation0"), s));
    EXPECT_EQ(s, QStringLiteral("120\tAnon\tQUIZ (108)"));
    EXPECT_TRUE(key.ReadString(QStringLiteral("At"), s));
    EXPECT_EQ(s, QStringLiteral("@Rect(1 2 3 4)"));
    EXPECT_TRUE(key.ValueExists(QString()));
    EXPECT_TRUE(key.ReadString(QString(), s));
    EXPECT_EQ(s, QStringLiteral("default text"));

    int32_t n = 0;
    EXPECT_TRUE(key.ReadInteger(QStringLiteral("Min"), n));
    EXPECT_EQ(n, INT32_MIN);
    EXPECT_TRUE(key.ReadInteger(QStringLiteral("Max"), n));
    EXPECT_EQ(n, INT32_MAX);
    // Booleans are integers underneath.
    EXPECT_TRUE(key.ReadInteger(QStringLiteral("On"), n));
    EXPECT_EQ(n, 1);
    bool b = false;
    EXPECT_TRUE(key.ReadBool(QStringLiteral("On"), b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(key.ReadBool(QStringLiteral("Off"), b));
    EXPECT_FALSE(b);
    // Any non-zero integer is true.
    EXPECT_TRUE(key.ReadBool(QStringLiteral("Min"), b));
    EXPECT_TRUE(b);

    EXPECT_FALSE(key.WriteString(QStringLiteral("Nickname"), QStringLiteral("Intruder")));
    EXPECT_FALSE(key.WriteInteger(QStringLiteral("Max"), 0));
    EXPECT_FALSE(key.ValueExists(QStringLiteral("Missing")));
    EXPECT_FALSE(key.ReadString(QStringLiteral("Missing"), s));
    key.CloseKey();
    ASSERT_TRUE(key.OpenKey(kKey, false));
    EXPECT_TRUE(key.ReadString(QStringLiteral("Nickname"), s));
    EXPECT_EQ(s, QStringLiteral("Smith, John"));
}

// A file edited by hand into wrong types and garbage: every number or switch read that cannot
// be satisfied returns false and leaves the caller's value alone; readable values are still
// read; and the next write keeps them (nothing stored is lost).
TEST_F(RegistryTest, HandEditedGarbageReadsAsAbsentAndKeepsTheRest) {
    WriteStoredSettingsFile(kGameSettingsFile, "this line is not a setting\n"
                                               "[General]\n"
                                               "Nickname=Ann, Bea\n"
                                               "SelectTileSounds=yes please\n"
                                               "EnterWordSounds=true\n"
                                               "EndRoundSounds=  0  \n"
                                               "ScoresColumnWidth0=12abc\n"
                                               "ScoresColumnWidth1=99999999999\n"
                                               "ScoresColumnWidth2=\n"
                                               "Shape=@Rect(1 2 3 4)\n"
                                               "Bytes=@ByteArray(42)\n"
                                               "\x01\x02\xff=\xfe\xfd\n"
                                               "Dictionary=Evaluation\n");
    RegistryKey key(false);
    ASSERT_TRUE(key.OpenKey(kKey, false));

    QString s = QStringLiteral("unchanged");
    EXPECT_TRUE(key.ReadString(QStringLiteral("Nickname"), s));
    EXPECT_EQ(s, QStringLiteral("Ann, Bea"));
    // Every value is text in the file; one the settings library reads as something else is
    // the text that was typed (a high score row must not end the table there).
    EXPECT_TRUE(key.ReadString(QStringLiteral("Shape"), s));
    EXPECT_EQ(s, QStringLiteral("@Rect(1 2 3 4)"));

    bool b = true;
    EXPECT_FALSE(key.ReadBool(QStringLiteral("SelectTileSounds"), b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(key.ReadBool(QStringLiteral("EnterWordSounds"), b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(key.ReadBool(QStringLiteral("EndRoundSounds"), b));
    EXPECT_FALSE(b);

    int32_t n = 77;
    EXPECT_FALSE(key.ReadInteger(QStringLiteral("ScoresColumnWidth0"), n));
    EXPECT_FALSE(key.ReadInteger(QStringLiteral("ScoresColumnWidth1"), n));
    EXPECT_FALSE(key.ReadInteger(QStringLiteral("ScoresColumnWidth2"), n));
    EXPECT_FALSE(key.ReadInteger(QStringLiteral("Shape"), n));
    EXPECT_EQ(n, 77);
    EXPECT_TRUE(key.ReadInteger(QStringLiteral("Bytes"), n));
    EXPECT_EQ(n, 42);
    key.CloseKey();

    {
        RegistryKey writer(true);
        ASSERT_TRUE(writer.OpenKey(kKey, true));
        writer.WriteString(QStringLiteral("Dictionary"), QStringLiteral("Other"));
        writer.CloseKey();
    }
    ASSERT_TRUE(key.OpenKey(kKey, false));
    EXPECT_TRUE(key.ReadString(QStringLiteral("Nickname"), s));
    EXPECT_EQ(s, QStringLiteral("Ann, Bea"));
    EXPECT_TRUE(key.ReadString(QStringLiteral("Dictionary"), s));
    EXPECT_EQ(s, QStringLiteral("Other"));
}

// A store that cannot be written reports it when the key closes, rather than claiming success.
TEST_F(RegistryTest, UnwritableStoreIsReportedOnClose) {
    // A folder where the file should be: no write can replace it.
    QFile::remove(QDir(StoredSettingsFolder()).filePath(QString::fromLatin1(kGameSettingsFile)));
    ASSERT_TRUE(QDir(StoredSettingsFolder()).mkpath(QString::fromLatin1(kGameSettingsFile)));
    RegistryKey key(true);
    ASSERT_TRUE(key.OpenKey(kKey, true));
    key.WriteString(QStringLiteral("Nickname"), QStringLiteral("Ann"));
    EXPECT_FALSE(key.CloseKey());
    QDir(StoredSettingsFolder()).rmdir(QString::fromLatin1(kGameSettingsFile));
}

// What a crash or an interrupted save leaves beside the file never stalls a write: a lock file
// left empty, or naming a program that has gone, is cleared at once; one that cannot be
// cleared makes the write give up within a moment, the file as it was; temporary copies of
// the file older than a save could take are removed, a young one (another copy's save under
// way) is kept.
TEST_F(RegistryTest, LeftoversOfCrashedSavesNeitherStallNorStay) {
    {
        RegistryKey key(true);
        ASSERT_TRUE(key.OpenKey(kKey, true));
        key.WriteString(QStringLiteral("Nickname"), QStringLiteral("Ann"));
        ASSERT_TRUE(key.CloseKey());
    }
    const QDir folder(StoredSettingsFolder());
    const QString file = folder.filePath(QString::fromLatin1(kGameSettingsFile));
    const QString lock = file + QStringLiteral(".lock");
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    auto touch = [&](const QString& path, const QDateTime& when) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    };
    auto write = [](const QString& nickname) {
        RegistryKey key(true);
        EXPECT_TRUE(key.OpenKey(kKey, true));
        key.WriteString(QStringLiteral("Nickname"), nickname);
        QElapsedTimer timer;
        timer.start();
        const bool ok = key.CloseKey();
        EXPECT_LT(timer.elapsed(), 5000) << "a write must never stall on a lock";
        return ok;
    };
    auto nickname = [] {
        RegistryKey key(false);
        QString s;
        key.OpenKey(kKey, false);
        key.ReadString(QStringLiteral("Nickname"), s);
        return s;
    };

    touch(lock, past); // empty: a crash between making the lock and filling it
    touch(file + QStringLiteral(".Ab12Cd"), past);
    touch(file + QStringLiteral(".Xy34Zw"), QDateTime::currentDateTime());
    EXPECT_TRUE(write(QStringLiteral("Bea")));
    EXPECT_EQ(nickname(), QStringLiteral("Bea"));
    EXPECT_FALSE(QFileInfo::exists(lock));
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".Ab12Cd")));
    EXPECT_TRUE(QFileInfo::exists(file + QStringLiteral(".Xy34Zw")));
    QFile::remove(file + QStringLiteral(".Xy34Zw"));

    // Even a fresh empty lock (a copy killed a moment ago) does not cost the write.
    touch(lock, QDateTime::currentDateTime());
    EXPECT_TRUE(write(QStringLiteral("Bo")));
    EXPECT_EQ(nickname(), QStringLiteral("Bo"));

    // A lock that cannot be removed (as in a folder that cannot be written).
    ASSERT_TRUE(folder.mkpath(lock + QStringLiteral("/inside")));
    EXPECT_FALSE(write(QStringLiteral("Cy")));
    EXPECT_EQ(nickname(), QStringLiteral("Bo"));
    QDir(lock).removeRecursively();
}

// Stored integers are whole decimal numbers within 32 bits, blanks around them allowed.
TEST(ParseStoredIntegerTest, AcceptsOnlyWholeNumbersWithin32Bits) {
    int32_t v = 5;
    EXPECT_TRUE(ParseStoredInteger(QStringLiteral(" -2147483648 "), v));
    EXPECT_EQ(v, INT32_MIN);
    v = 5;
    for (const char* bad : {"2147483648", "1 2", "0x10", "+"})
        EXPECT_FALSE(ParseStoredInteger(QString::fromLatin1(bad), v)) << bad;
    EXPECT_EQ(v, 5);
}

} // namespace
