#pragma once

#include "settings/soundoutput.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QLineEdit;

namespace Ui {
class TSoundsForm;
}

// The game's own sound settings, for systems without a sound control panel that knows the
// game's events: one row per event with its wave file, a browse button, a play button and a
// way back to the game's own file. OK writes the changed events into the sound scheme, where
// the sound player reads them.
class TSoundsForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int EventCount = 6;
    // The help topic of the game's sounds.
    static constexpr int HelpContext = 35;
    using FolderFile = std::function<QString(const QString&)>;

    // folderFile gives a file beside the program (ProgramFolderFile when empty), for the
    // default sounds; output plays the trial sounds (the default audio output when null).
    explicit TSoundsForm(QWidget* parent = nullptr, FolderFile folderFile = {},
                         std::unique_ptr<SoundOutput> output = nullptr);
    ~TSoundsForm() override;

    // Shows the events' files as the scheme holds them; OK writes the ones that changed.
    // True when the scheme changed.
    bool Execute();

    QLineEdit* FileField(int event) const { return files[event]; }

    // An event's file in the scheme (empty: none, or silent).
    static QString SchemeFile(int event);
    // Writes an event's file into the scheme; false when the store refused it.
    static bool SetSchemeFile(int event, const QString& fileName);

protected:
    virtual int RunModal();
    // Asks the player for a wave file; an empty result leaves the event as it was.
    virtual QString ChooseFile(const QString& current);
    void reject() override;

private:
    void BrowseClick(int event);
    void PlayClick(int event);
    void DefaultClick(int event);

    std::unique_ptr<Ui::TSoundsForm> ui;
    std::array<QLineEdit*, EventCount> files{};
    std::array<QString, EventCount> shown;
    FolderFile folderFile;
    std::unique_ptr<SoundOutput> output;
};
