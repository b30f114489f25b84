#include "settings/registry.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPoint>
#include <QRect>
#include <QSettings>
#include <QSize>
#include <QStringList>
#include <QThread>
#include <QVariant>

#include <algorithm>
#include <chrono>
#include <limits>

namespace {

// Qt names a registry key's default (unnamed) value "Default"; the files used elsewhere keep
// the same name so both stores look alike to the code above them.
const QString kDefaultValueName = QStringLiteral("Default");

bool FitsInt32(long long v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

// The integer a stored value holds, whatever shape the store gave it (a registry DWORD, the
// text of a settings file, or a byte array from a hand-written "@ByteArray(...)").
bool VariantToInteger(const QVariant& v, int32_t& out) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar: {
        const long long n = v.toLongLong();
        if (!FitsInt32(n))
            return false;
        out = static_cast<int32_t>(n);
        return true;
    }
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar: {
        const unsigned long long n = v.toULongLong();
        if (n > static_cast<unsigned long long>(std::numeric_limits<int32_t>::max()))
            return false;
        out = static_cast<int32_t>(n);
        return true;
    }
    case QMetaType::Bool:
        out = v.toBool() ? 1 : 0;
        return true;
    case QMetaType::QString:
        return ParseStoredInteger(v.toString(), out);
    case QMetaType::QByteArray:
        return ParseStoredInteger(QString::fromUtf8(v.toByteArray()), out);
    default:
        return false;
    }
}

// The store behind a key path, with the group of the key begun; null for a path too short to
// name one.
std::unique_ptr<QSettings> OpenStore(const QString& keyPath) {
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
    if (parts.isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") +
                                           parts.join(QLatin1Char('\\')),
                                       QSettings::NativeFormat);
#else
    if (!parts.isEmpty() &&
        parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.size() < 2)
        return nullptr;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                parts.at(0), parts.at(1));
    // Only this user's own file counts: a system-wide file must never look like a stored
    // setting or keep a key "existing" that the player's file does not hold.
    settings->setFallbacksEnabled(false);
    const QString group = parts.mid(2).join(QLatin1Char('/'));
    if (!group.isEmpty())
        settings->beginGroup(group);
    return settings;
#endif
}

// The settings library writes a file only while it holds "<file>.lock", and waits for that
// lock without limit: half a minute for an empty lock file a crash left behind, for ever for
// a stale one it cannot remove (a read-only folder). So the lock is looked at first: another
// copy of the game gets a moment to finish its write, a lock left over from a crash is
// cleared, and a lock that cannot be had by then means the write is not made at all.
bool ClearWayForWrite(const QSettings& settings) {
#ifdef Q_OS_WIN
    if (settings.format() == QSettings::NativeFormat)
        return true; // the registry keeps its own order
#endif
    const QString lockName = settings.fileName() + QLatin1String(".lock");
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const QFileInfo lockInfo(lockName);
        if (!lockInfo.exists() && !lockInfo.isSymLink())
            return true;
        // A lock file is filled the moment it is made, so an empty one that has stood for a
        // moment was left by a crash in between: clear it rather than wait for it to age.
        if (lockInfo.isFile() && lockInfo.size() == 0 &&
            lockInfo.lastModified().msecsTo(QDateTime::currentDateTime()) >
                RegistryKey::EmptyLockMs) {
            QFile::remove(lockName);
            continue;
        }
        // One that names a program no longer running is cleared by the lock itself.
        QLockFile probe(lockName);
        probe.setStaleLockTime(std::chrono::milliseconds(RegistryKey::StaleLockMs));
        if (probe.tryLock(0)) {
            probe.unlock();
            return true;
        }
        if (waited.elapsed() >= RegistryKey::LockWaitMs)
            return false;
        QThread::msleep(10);
    }
}

// A save writes a temporary copy beside the file ("<file>.XXXXXX") and renames it over the
// file; a save cut short leaves the copy. One old enough cannot belong to a save still under
// way in another copy of the game. Looked for before each write, which is rare enough for a
// glance at one small folder.
void RemoveInterruptedSaves(const QSettings& settings) {
#ifdef Q_OS_WIN
    if (settings.format() == QSettings::NativeFormat)
        return;
#endif
    const QFileInfo info(settings.fileName());
    const QString prefix = info.fileName() + QLatin1Char('.');
    const QDateTime oldest =
        QDateTime::currentDateTimeUtc().addSecs(-RegistryKey::LeftoverAgeSeconds);
    const QDir folder = info.dir();
    for (const QFileInfo& copy :
         folder.entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden)) {
        const QString suffix = copy.fileName().mid(prefix.size());
        const bool madeBySave = std::all_of(suffix.cbegin(), suffix.cend(), [](QChar c) {
            return c.isDigit() || (c.unicode() < 128 && c.isLetter());
        });
        if (madeBySave && copy.lastModified().toUTC() < oldest)
            QFile::remove(copy.filePath());
    }
}

// The text a hand-edited value was typed as, where the settings library read it as a value
// of another kind.
QString TypedText(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QRect: {
        const QRect r = v.toRect();
        return QStringLiteral("@Rect(%1 %2 %3 %4)")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height());
    }
    case QMetaType::QSize:
        return QStringLiteral("@Size(%1 %2)").arg(v.toSize().width()).arg(v.toSize().height());
    case QMetaType::QPoint:
        return QStringLiteral("@Point(%1 %2)").arg(v.toPoint().x()).arg(v.toPoint().y());
    default:
        break;
    }
    const QString text = v.canConvert<QString>() ? v.toString() : QString();
    // Something is stored there, even if it says nothing as text.
    return text.isEmpty() ? QStringLiteral("?") : text;
}

} // namespace

bool ParseStoredInteger(const QString& text, int32_t& value) {
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok, 10);
    if (!ok || !FitsInt32(n))
        return false;
    value = static_cast<int32_t>(n);
    return true;
}

RegistryKey::RegistryKey(bool writable) : writable_(writable) {
}

RegistryKey::~RegistryKey() {
    CloseKey();
}

bool RegistryKey::OpenKey(const QString& keyPath, bool canCreate) {
    CloseKey();
    auto settings = OpenStore(keyPath);
    if (!settings)
        return false;
    // A key exists when it, or a key below it, holds a value; the store keeps no empty keys.
    if (!canCreate && settings->allKeys().isEmpty())
        return false;
    settings_ = std::move(settings);
    return true;
}

bool RegistryKey::CloseKey() {
    if (!settings_)
        return true;
    bool ok = true;
    if (!pending_.isEmpty()) {
        ok = ClearWayForWrite(*settings_);
        if (ok) {
            RemoveInterruptedSaves(*settings_);
            for (auto it = pending_.cbegin(); it != pending_.cend(); ++it)
                settings_->setValue(it.key(), it.value());
            settings_->sync();
            // A format error only means the file was hand-edited into something odd; what
            // could be read was read and the write still went through. Only a refused write
            // is a failure.
            ok = settings_->status() != QSettings::AccessError;
        }
        pending_.clear();
    }
    settings_.reset();
    return ok;
}

QString RegistryKey::Location(const QString& keyPath) {
    const auto settings = OpenStore(keyPath);
    return settings ? QDir::toNativeSeparators(settings->fileName()) : QString();
}

QString RegistryKey::StoredName(const QString& name) const {
    return name.isEmpty() ? kDefaultValueName : name;
}

QVariant RegistryKey::StoredValue(const QString& name) const {
    if (!settings_)
        return QVariant();
    const QString stored = StoredName(name);
    const auto it = pending_.constFind(stored);
    return it != pending_.cend() ? it.value() : settings_->value(stored);
}

bool RegistryKey::ValueExists(const QString& name) const {
    return settings_ &&
           (pending_.contains(StoredName(name)) || settings_->contains(StoredName(name)));
}

bool RegistryKey::ReadString(const QString& name, QString& value) const {
    if (!ValueExists(name))
        return false;
    const QVariant v = StoredValue(name);
    switch (v.typeId()) {
    case QMetaType::QString:
        value = v.toString();
        return true;
    case QMetaType::QStringList:
        // An unquoted comma in a hand-edited file splits the text into a list; put it back
        // the way it was typed.
        value = v.toStringList().join(QStringLiteral(", "));
        return true;
    case QMetaType::QByteArray:
        value = QString::fromUtf8(v.toByteArray());
        return true;
    default: {
        int32_t n = 0;
        if (VariantToInteger(v, n)) {
            value = QString::number(n);
            return true;
        }
        // Text the settings library took for a value of another kind: the text as typed.
        value = TypedText(v);
        return true;
    }
    }
}

bool RegistryKey::ReadInteger(const QString& name, int32_t& value) const {
    return VariantToInteger(StoredValue(name), value);
}

bool RegistryKey::ReadBool(const QString& name, bool& value) const {
    const QVariant v = StoredValue(name);
    int32_t n = 0;
    if (VariantToInteger(v, n)) {
        value = n != 0;
        return true;
    }
    if (v.typeId() == QMetaType::QString) {
        const QString word = v.toString().trimmed();
        if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
            value = true;
            return true;
        }
        if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            value = false;
            return true;
        }
    }
    return false;
}

bool RegistryKey::WriteString(const QString& name, const QString& value) {
    if (!settings_ || !writable_)
        return false;
    pending_.insert(StoredName(name), value);
    return true;
}

bool RegistryKey::WriteInteger(const QString& name, int32_t value) {
    if (!settings_ || !writable_)
        return false;
    pending_.insert(StoredName(name), static_cast<int>(value));
    return true;
}

bool RegistryKey::WriteBool(const QString& name, bool value) {
    return WriteInteger(name, value ? 1 : 0);
}
