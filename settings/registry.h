#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>

class QSettings;

// A key of the per-user settings store, in the shape of the registry's HKEY_CURRENT_USER.
//
// Key paths are written the registry way, from the root: "\Software\Maker\Product" or
// "\AppEvents\Schemes\Apps\Product\Event\.current". On Windows the key IS that registry key.
// Elsewhere the first two path components (after a leading "Software", which a per-user
// configuration folder already implies) name one settings file in the user's configuration
// folder, "Maker/Product.conf", and the rest of the path is a group inside it.
//
// The empty value name reaches the key's default (unnamed) value.
//
// Integers and booleans are stored as integers, strings as strings. Reading is forgiving,
// because the file may have been edited by hand: a value that does not hold what the caller
// asks for reads as absent (the call returns false and leaves the caller's default alone), it
// never throws or crashes. In particular an integer read accepts only a whole decimal number
// within 32 bits, with blanks around it; "12abc" or "" is absent. A boolean read accepts such
// an integer (non-zero is true) or the words "true" and "false". A string read accepts every
// value there is, since every value is text in the file: one the settings library would read
// as something else (a hand-typed "@Rect(1 2 3 4)") reads as the text that was typed.
//
// Writes are held by the key and reach the file together when it closes, and never at the
// cost of a long wait: another copy of the game writing at the same moment is given a fraction
// of a second, and a lock file that a crash left behind (empty, or naming a program that has
// gone) is cleared; where it cannot be, the writes are given up, leaving the file as it was. Copies of the file that an interrupted
// save left behind are removed when the next write goes in.
class RegistryKey {
public:
    // A read-only key refuses every write, the way a registry key opened with read access does.
    explicit RegistryKey(bool writable = true);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens the key. Without canCreate, a key that does not exist (holds no value, directly or
    // below it) is not opened and the call returns false. A path of fewer than two components
    // (after "Software") names no settings file and is never opened. Opening closes any key
    // that was open.
    bool OpenKey(const QString& keyPath, bool canCreate);
    // Writes pending changes through Qt's safe file writing (temporary file, then rename) and
    // closes the key. Returns false when the writes did not reach the store: it refused them,
    // or its lock could not be had promptly. The file is then as it was before.
    bool CloseKey();
    bool IsOpen() const { return settings_ != nullptr; }

    bool ValueExists(const QString& name) const;
    bool ReadString(const QString& name, QString& value) const;
    bool ReadInteger(const QString& name, int32_t& value) const;
    bool ReadBool(const QString& name, bool& value) const;
    // Each write returns false when no key is open or the key is read-only.
    bool WriteString(const QString& name, const QString& value);
    bool WriteInteger(const QString& name, int32_t value);
    bool WriteBool(const QString& name, bool value);

    // Where the key is kept: the settings file (or, on Windows, the registry path), for
    // telling the player what cannot be written.
    static QString Location(const QString& keyPath);

    // How long a write waits for another copy of the game to finish its own, and the age at
    // which a lock file that names no running program (or nothing at all) is taken as left
    // over from a crash.
    static constexpr int LockWaitMs = 200;
    static constexpr int StaleLockMs = 1000;
    // An empty lock file older than this was left by a crash while the lock was being made.
    static constexpr int EmptyLockMs = 100;
    // A temporary copy of the settings file older than this is a save that never finished.
    static constexpr int LeftoverAgeSeconds = 60;

private:
    QString StoredName(const QString& name) const;
    QVariant StoredValue(const QString& name) const;

    std::unique_ptr<QSettings> settings_;
    QMap<QString, QVariant> pending_;
    bool writable_;
};

// The integer a stored text holds as a whole (blanks around it allowed); false when it holds
// anything else or does not fit 32 bits. Exposed for the tests of hand-edited stores.
bool ParseStoredInteger(const QString& text, int32_t& value);
