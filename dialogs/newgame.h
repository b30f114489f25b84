#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <memory>

class Persist;
class QTreeWidget;
class TStatisticsForm;
class QTreeWidgetItem;

namespace Ui {
class TNewGameForm;
}

namespace statistics {
struct GameSummary;
}

// Why the high score dialog is being shown; it names the window.
enum TScoresMode { smScores = 0, smGameEnded = 1, smGameOver = 2 };

// The dialog between games: the high score table of the current dictionary, which takes the
// score of a game that has just ended, and the buttons to start a game, change the options or
// visit the Hall of Fame.
//
// It is also the one owner of the player's settings (nickname, dictionary, the sound switches
// and the How To Play switch): they are read when the dialog is made at start-up, kept in
// memory for the whole run, and written back after every showing, every accepted Options
// dialog and when the dialog goes at exit. Everything else asks for them here.
//
// The player's statistics of each dictionary are kept beside the tables under names of their
// own (see TransferStatistics); "Statistics..." shows those of the current dictionary.
//
// The table is the list view itself; each dictionary keeps its own table in the settings
// store, one value per row (dictionary name + row index) of "score TAB player TAB best word".
class TNewGameForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 10;

    explicit TNewGameForm(QWidget* parent = nullptr);
    ~TNewGameForm() override;

    // Shows the table, first offering score (0: none) with the game's best word to it, and
    // returns 1 for "Start" or 2 for "Close", Esc or the close box.
    int ShowScores(TScoresMode mode, uint32_t score, const QString& bestWord);
    // Runs the Options dialog on the player's settings and applies what it returns. A
    // nickname change renames a new high score of this session only when the dictionary may
    // change too (not in the middle of a game).
    void EditOptions(bool allowDictionaryChange);

    QString GetNickname() const { return Nickname; }
    QString GetDictionary() const { return Dictionary; }
    bool GetSelectTileSounds() const { return SelectTileSounds; }
    bool GetEnterWordSounds() const { return EnterWordSounds; }
    bool GetEndRoundSounds() const { return EndRoundSounds; }
    bool GetHowToPlay() const { return HowToPlay; }
    // Whether a round's end shows the best word that was left on the board.
    bool GetShowBestWordLeft() const { return ShowBestWordLeft; }
    // Kept and stored at once, so that a crash cannot bring back a page the player turned off.
    void SetHowToPlay(bool value);

    // Adds a finished game to the statistics of the current dictionary (the one it was played
    // with: the dictionary cannot change during a game) and stores them at once. Called for
    // every game that was started and has ended, by game over or by the player quitting,
    // whatever its score; before ShowScores, so that the statistics opened from there count
    // it. False when the store refused the figures; they are then as they were before.
    bool RecordGame(const statistics::GameSummary& game);

    // The row that holds this session's new score, or -1.
    int GetNewScoreRow() const { return NewScoreRow; }
    // Whole rows the list shows at its present size.
    int RowsPerPage();

    // The email that "Mail High Score..." composes: to the support address, with the score,
    // player, best word and dictionary in subject and body, every field percent-encoded so
    // that no text of the player's can add recipients or headers.
    static QUrl HighScoreMailUrl(const QString& score, const QString& player,
                                 const QString& bestWord, const QString& dictionary);

protected:
    // Shows the dialog modally and returns its result; tests answer here instead.
    virtual int RunModal();
    // Tells the player something plainly, in a message box; tests listen here instead.
    virtual void TellPlayer(const QString& text);
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    void HallOfFameButtonClick();
    void MailHighScoreButtonClick();
    void OptionsButtonClick();
    void HelpButtonClick();
    void StatisticsButtonClick();

    void PutNewScoreRow(bool rewrite, int index);
    // Loads the stored table (save false) or stores the table shown (save true); a store
    // returns whether the rows reached the settings, and tells the player, once a run, when
    // they did not.
    bool TransferScores(bool save);
    // The table as it is stored now, which another copy of the game may have added to since
    // this one read it; the table shown stays when its own rows could not be stored.
    void ReloadScores();
    // Gives this session's new score the present nickname, in the table as stored now.
    void RenameNewScore();
    void TransferColumnWidths(Persist& store, bool save);
    void SaveSettings();

    void ReadSettings();
    int RowHeight();
    int TopRow();
    void SelectRow(int index);

    std::unique_ptr<Ui::TNewGameForm> ui;
    QTreeWidget* table = nullptr;
    // Made at its first showing, over this dialog, and kept.
    TStatisticsForm* statisticsForm = nullptr;

    QString Nickname = QStringLiteral("Anonymous");
    QString Dictionary = QStringLiteral("Evaluation");
    bool SelectTileSounds = true;
    bool EnterWordSounds = true;
    bool EndRoundSounds = true;
    bool HowToPlay = true;
    bool ShowBestWordLeft = true;

    QString GroupCaption;
    // The last store of the table failed: the rows shown are the only copy.
    bool ScoresUnsaved = false;
    bool ToldScoresUnsaved = false;
    uint32_t NewScore = 0;
    QString NewBestWord;
    int NewScoreRow = -1;
};

extern TNewGameForm* NewGameForm;
