#pragma once

#include "dialogs/statistics.h"

#include <QDialog>
#include <QString>

#include <memory>

class Persist;

namespace Ui {
class TStatisticsForm;
}

// The player's statistics are kept in the settings store beside the high score tables, one
// group of values per dictionary, named "Stats." + dictionary + "." + field:
//
//   Stats.<D>.GamesPlayed         integer
//   Stats.<D>.TotalPoints         string, a decimal number (the total may outgrow 32 bits)
//   Stats.<D>.BestGame            integer
//   Stats.<D>.BestWord            string, the word as shown
//   Stats.<D>.BestWordScore       integer
//   Stats.<D>.LongestWord         string, the word as shown
//   Stats.<D>.LongestWordLetters  integer, the letters on its tiles
//   Stats.<D>.WordsEntered        integer
//
// These names can never be those of a high score row, whatever the dictionaries are called: a
// row's name is a dictionary name followed by its index, so it always ends in a digit, and
// these always end in a field name of letters. Nor can two dictionaries share one: no field
// name holds a '.', so the text after the last '.' is the field and what lies between the
// prefix and it is the dictionary. No other setting begins with "Stats.".
QString StatisticsValueName(const QString& dictionary, const QString& field);

// Loads (save false) the dictionary's statistics from an open store, or writes them (save
// true). A value that is missing, damaged or edited by hand into something that is no
// figure (not a whole number, or a negative one) loads as 0 or as no word; loading writes
// nothing.
void TransferStatistics(Persist& store, const QString& dictionary,
                        statistics::PlayerStatistics& stats, bool save);

// The window that shows one dictionary's statistics and lets the player clear them, after a
// question. It is opened from the high score dialog, over it.
class TStatisticsForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 15;

    explicit TStatisticsForm(QWidget* parent = nullptr);
    ~TStatisticsForm() override;

    // Shows the dictionary's statistics as they are stored now, until the player closes the
    // window.
    void Execute(const QString& dictionary);

    // The figures on show.
    const statistics::PlayerStatistics& Shown() const { return stats; }

protected:
    // Shows the window modally; tests answer here instead.
    virtual int RunModal();
    // Asks a Yes/No question (with Help); tests answer here instead.
    virtual int AskPlayer(const QString& question);
    void showEvent(QShowEvent* event) override;

private:
    void Load();
    void ShowFigures();
    void ResetButtonClick();

    std::unique_ptr<Ui::TStatisticsForm> ui;
    QString GroupCaption;
    QString Dictionary;
    statistics::PlayerStatistics stats;
};
