#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TOptionsForm;
}

// The Options dialog: nickname, dictionary, the How To Play page and the three sound switches,
// plus a way to the sound scheme. It edits the values it is handed and writes them back only
// when closed with OK; the high score dialog owns them and saves them.
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 30;
    static constexpr int MaxNicknameLength = 100;

    explicit TOptionsForm(QWidget* parent = nullptr);
    ~TOptionsForm() override;

    // Returns 1 for OK, 2 for Cancel or Esc. Without allowDictionaryChange the dictionary
    // list is shown greyed and the dictionary is left as it was. showBestWordLeft, when given,
    // is the switch that shows the best word left at a round's end (ticked without one).
    int Execute(bool allowDictionaryChange, bool& howToPlay, bool& endRoundSounds,
                bool& enterWordSounds, bool& selectTileSounds, QString& dictionary,
                QString& nickname, bool* showBestWordLeft = nullptr);

    // The folder searched for dictionaries instead of the program's own (tests); empty
    // restores the program's folder.
    static void SetDictionaryFolder(const QString& folder);
    // The names (without ".tsd") of the valid dictionaries in that folder, in name order.
    static QStringList ValidDictionaries();

signals:
    // The player saved a change to the game's sound scheme; the sound player should read
    // it again now rather than at its next periodic refresh.
    void SoundSchemeChanged();

protected:
    void hideEvent(QHideEvent* event) override;
    // Shows the dialog modally and returns its result; tests answer here instead.
    virtual int RunModal();
    // Lets the player edit the sound scheme; true when it changed.
    virtual bool EditSoundScheme();
    void reject() override;

private:
    void NicknameFieldChange();
    void SoundsButtonClick();
    void HelpButtonClick();

    std::unique_ptr<Ui::TOptionsForm> ui;
};

extern TOptionsForm* OptionsForm;
