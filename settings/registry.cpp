#include "settings/registry.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

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
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
    if (parts.isEmpty())
        return false;
    auto settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") +
                                                    parts.join(QLatin1Char('\\')),
                                                QSettings::NativeFormat);
#else
    if (!parts.isEmpty() &&
        parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.size() < 2)
        return false;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                parts.at(0), parts.at(1));
    // Only this user's own file counts: a system-wide file must never look like a stored
    // setting or keep a key "existing" that the player's file does not hold.
    settings->setFallbacksEnabled(false);
    const QString group = parts.mid(2).join(QLatin1Char('/'));
    if (!group.isEmpty())
        settings->beginGroup(group);
#endif
    // A key exists when it, or a key below it, holds a value; the store keeps no empty keys.
    if (!canCreate && settings->allKeys().isEmpty())
        return false;
    settings_ = std::move(settings);
    return true;
}

bool RegistryKey::CloseKey() {
    if (!settings_)
        return true;
    settings_->sync();
    // A format error only means the file was hand-edited into something odd; what could be
    // read was read and the write still went through. Only a refused write is a failure.
    const bool ok = settings_->status() != QSettings::AccessError;
    settings_.reset();
    return ok;
}

QString RegistryKey::StoredName(const QString& name) const {
    return name.isEmpty() ? kDefaultValueName : name;
}

bool RegistryKey::ValueExists(const QString& name) const {
    return settings_ && settings_->contains(StoredName(name));
}

bool RegistryKey::ReadString(const QString& name, QString& value) const {
    if (!settings_)
        return false;
    const QVariant v = settings_->value(StoredName(name));
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
        if (!VariantToInteger(v, n))
            return false;
        value = QString::number(n);
        return true;
    }
    }
}

bool RegistryKey::ReadInteger(const QString& name, int32_t& value) const {
    if (!settings_)
        return false;
    return VariantToInteger(settings_->value(StoredName(name)), value);
}

bool RegistryKey::ReadBool(const QString& name, bool& value) const {
    if (!settings_)
        return false;
    const QVariant v = settings_->value(StoredName(name));
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
    settings_->setValue(StoredName(name), value);
    return true;
}

bool RegistryKey::WriteInteger(const QString& name, int32_t value) {
    if (!settings_ || !writable_)
        return false;
    settings_->setValue(StoredName(name), static_cast<int>(value));
    return true;
}

bool RegistryKey::WriteBool(const QString& name, bool value) {
    return WriteInteger(name, value ? 1 : 0);
}
