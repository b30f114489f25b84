// The program's side of the sound module: loading it on first use, and silence without it.
#include "settings/soundoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

// Stands in for the module's output: loads the module the first time a sound is played or
// prepared and hands every call on to the output it makes. One attempt only: a module that is
// missing, or is not ours, leaves the game silent rather than trying again at every sound.
class ModuleSoundOutput : public SoundOutput {
public:
    explicit ModuleSoundOutput(QString modulePath) : modulePath(std::move(modulePath)) {}

    void PlayMemory(std::shared_ptr<const std::vector<char>> wave) override {
        if (SoundOutput* out = Loaded())
            out->PlayMemory(std::move(wave));
    }
    void PlayFile(const QString& fileName) override {
        if (SoundOutput* out = Loaded())
            out->PlayFile(fileName);
    }
    // Nothing plays before the module is loaded, so stopping never loads it.
    void Stop() override {
        if (output)
            output->Stop();
    }
    void Prepare() override {
        if (SoundOutput* out = Loaded())
            out->Prepare();
    }

private:
    SoundOutput* Loaded() {
        if (tried)
            return output.get();
        tried = true;
        // The library stays loaded for the rest of the run (QLibrary's destructor does not
        // unload it): the output's code lives in it.
        QLibrary library(modulePath);
        if (!library.load())
            return nullptr;
        const auto entry =
            reinterpret_cast<SoundModuleEntry>(library.resolve(PELLIN_SOUND_MODULE_ENTRY));
        if (entry)
            output.reset(entry(SoundOutputInterfaceVersion));
        return output.get();
    }

    QString modulePath;
    bool tried = false;
    std::unique_ptr<SoundOutput> output;
};

} // namespace

QString SoundModulePath() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("pellinoraxis-sound"));
}

std::unique_ptr<SoundOutput> MakeSoundOutput(const QString& modulePath) {
    return std::make_unique<ModuleSoundOutput>(modulePath);
}
