#include "settings/sounder.h"

#include "settings/registry.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>

const QString Sounder::SchemeKey =
    QStringLiteral("\\AppEvents\\Schemes\\Apps\\Pellinoraxis Evaluation");
const QString Sounder::SchemeDisplayName = QStringLiteral("Pellinoraxis Word Game");

namespace {

struct EventEntry {
    const char* key;
    const char* file;
};

constexpr EventEntry kEvents[Sounder::EventCount] = {
    {"\\Select Tile", "select.wav"}, {"\\Select Word", "word.wav"},   {"\\New Life", "newlife.wav"},
    {"\\End Round", "endRound.wav"}, {"\\High Word", "highword.wav"}, {"\\Low Word", "lowword.wav"},
};

const QString kCurrent = QStringLiteral("\\.current");
const QString kDefault = QStringLiteral("\\.default");
const QString kDefaultValue; // the key's unnamed value

bool InRange(int event) {
    return event >= 0 && event < Sounder::EventCount;
}

// Only a file name with a folder is read into memory; a bare name is left to the output to
// find, the way the system's own player searches for it.
bool NamesAFolder(const QString& fileName) {
#ifdef Q_OS_WIN
    return fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')) ||
           fileName.contains(QLatin1Char(':'));
#else
    return fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\'));
#endif
}

} // namespace

uint32_t Sounder::SteadyTicks() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

QString Sounder::EventKey(int event) {
    return InRange(event) ? QString::fromLatin1(kEvents[event].key) : QString();
}

QString Sounder::DefaultFileName(int event) {
    return InRange(event) ? QString::fromLatin1(kEvents[event].file) : QString();
}

Sounder::Sounder(FolderFile folderFileFn, std::unique_ptr<SoundOutput> out, TickSource tickFn)
    : registry(std::make_unique<RegistryKey>(true)), folderFile(std::move(folderFileFn)),
      output(std::move(out)), ticks(std::move(tickFn)) {
    if (!output)
        output = MakeSoundOutput();
    if (!ticks)
        ticks = &Sounder::SteadyTicks;
    // The files are read later (CacheSounds), the scheme now.
    ReadScheme(true);
    output->Stop();
}

Sounder::~Sounder() {
    // Silence first: the output may still be playing from one of our buffers, and the game
    // should not go on sounding after its window is gone.
    output->Stop();
}

void Sounder::Refresh(bool registerScheme) {
    ReadScheme(registerScheme);
    CacheSounds();
}

void Sounder::CacheSounds() {
    for (int i = 0; i < EventCount; ++i) {
        if (pendingSounds[i]) {
            pendingSounds[i] = false;
            cachedSounds[i] = LoadSound(fileNames[i]);
        }
    }
}

void Sounder::PrepareOutput() {
    output->Prepare();
}

void Sounder::ReadScheme(bool registerScheme) {
    lastRefresh = ticks();
    for (int i = 0; i < EventCount; ++i) {
        QString text;
        if (registry->OpenKey(SchemeKey + EventKey(i) + kCurrent, false)) {
            if (registry->ValueExists(kDefaultValue))
                registry->ReadString(kDefaultValue, text);
            registry->CloseKey();
        } else if (registerScheme) {
            RegisterEvent(i, text);
        }

        // The same file: its sound stays as it is, in memory or still to be read.
        if (!text.isEmpty() && text == fileNames[i])
            continue;
        // Dropping our reference is safe while the sound plays: the output holds its own.
        cachedSounds[i].reset();
        pendingSounds[i] = !text.isEmpty() && NamesAFolder(text);
        fileNames[i] = text;
    }
}

void Sounder::RegisterEvent(int event, QString& fileName) {
    if (event == 0 && registry->OpenKey(SchemeKey, true)) {
        registry->WriteString(kDefaultValue, SchemeDisplayName);
        registry->CloseKey();
    }
    for (const QString& sub : {kCurrent, kDefault}) {
        if (registry->OpenKey(SchemeKey + EventKey(event) + sub, true)) {
            fileName = folderFile ? folderFile(DefaultFileName(event)) : DefaultFileName(event);
            registry->WriteString(kDefaultValue, fileName);
            registry->CloseKey();
        }
    }
}

std::shared_ptr<const std::vector<char>> Sounder::LoadSound(const QString& fileName) {
    // Regular files only: a scheme entry naming a pipe or a device must not block the game
    // on a read that never ends.
    const QFileInfo info(fileName);
    if (!info.isFile())
        return nullptr;
    const qint64 size = info.size();
    if (size <= 0 || size > MaxCachedBytes)
        return nullptr;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    auto buffer = std::make_shared<std::vector<char>>(static_cast<size_t>(size) + 1);
    const qint64 got = file.read(buffer->data(), size);
    if (got <= 0)
        return nullptr;
    // The file may have shrunk since its size was taken: keep what was read, then the 0.
    buffer->resize(static_cast<size_t>(got) + 1);
    (*buffer)[static_cast<size_t>(got)] = 0;
    return buffer;
}

void Sounder::Play(int event) {
    const uint32_t now = ticks();
    // A clock below the last reading has wrapped around; treat it as time to look again.
    if (now < lastRefresh || now - lastRefresh > RefreshIntervalMs)
        Refresh(false);
    else
        CacheSounds();
    if (!InRange(event) || fileNames[event].isEmpty())
        return;
    if (cachedSounds[event])
        output->PlayMemory(cachedSounds[event]);
    else
        output->PlayFile(fileNames[event]);
}

QString Sounder::FileName(int event) const {
    return InRange(event) ? fileNames[event] : QString();
}

bool Sounder::IsCached(int event) {
    CacheSounds();
    return InRange(event) && cachedSounds[event] != nullptr;
}
