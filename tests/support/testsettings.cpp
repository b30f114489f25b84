#include "testsettings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

namespace {
QString& Folder() {
    static QString folder;
    return folder;
}
} // namespace

QString StoredSettingsFolder() {
    return Folder();
}

void SetStoredSettingsFolder(const QString& folder) {
    Folder() = folder;
}

void ClearStoredSettings() {
    if (Folder().isEmpty())
        return;
    // The game's own files are cleared even when missing: QSettings may still hold values
    // in memory that a failed write could not put on disk.
    QStringList files = {QDir(Folder()).filePath(QString::fromLatin1(kGameSettingsFile)),
                         QDir(Folder()).filePath(QString::fromLatin1(kSoundSchemeFile))};
    QDirIterator it(Folder(), {QStringLiteral("*.conf"), QStringLiteral("*.ini")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    for (const QString& file : files) {
        if (QFileInfo(file).isDir())
            continue;
        QSettings settings(file, QSettings::IniFormat);
        settings.clear();
        settings.sync();
    }
}

void WriteStoredSettingsFile(const QString& relativePath, const QByteArray& content) {
    const QString path = QDir(Folder()).filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    // QSettings notices a changed file by its size and time; make sure the time moves even
    // when the new content happens to be as long as the old.
    const QDateTime before = QFileInfo(path).lastModified();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(content);
    file.close();
    while (before.isValid() && QFileInfo(path).lastModified() == before) {
        QThread::msleep(5);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        file.close();
    }
}

QByteArray ReadStoredSettingsFile(const QString& relativePath) {
    QFile file(QDir(Folder()).filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
