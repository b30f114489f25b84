// The game's main window: the board, the score, lives and best-word displays and the buttons
// around them. It owns everything a game needs for the whole run (the board, the word index,
// the sound player, the two timers, the score, the lives and the best words) and coordinates
// them; the drawing, the displays and the lifecycle live in the pelform_*.cpp files.
#pragma once

#include "dialogs/howto.h"
#include "dialogs/statistics.h"
#include "gui/anchors.h"
#include "gui/boardpainter.h"
#include "model/bestwords.h"
#include "settings/soundoutput.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Board;
class Chip;
class Sounder;
class Words;

namespace Ui {
class TPellinForm;
}

class TPellinForm : public QWidget, public HowToPlayHost {
    Q_OBJECT
public:
    static constexpr int HelpContext = 20;
    // Item height of the best-word list; its capacity is its client height over this.
    static constexpr int BestWordItemHeight = 25;
    // The round-end sequence: the full board held for EndCountdownStart - 1 ticks of
    // VanishInterval, then two chips vanish per tick.
    static constexpr uint32_t EndCountdownStart = 25;
    static constexpr int VanishInterval = 20;
    // The smallest tile whose letter and value can still be read (the design size has 40).
    static constexpr int ReadableTile = 32;

    // Without a sound output the sounds go to the default audio device.
    explicit TPellinForm(std::unique_ptr<SoundOutput> soundOutput = nullptr);
    ~TPellinForm() override;

    // --- Lifecycle (pelform_lifecycle.cpp) ---
    // Restores the placement, puts the title letters on the board and sets the colours and
    // the minimum size; runs at the end of construction.
    void FormCreate();
    // The first idle moment shows the window; later calls do nothing.
    void FormOnIdle();
    // Whether the window may close now: between games only.
    bool FormCloseQuery();
    // Stores the placement with the given window state (while the window is visible).
    void Resizing(Qt::WindowStates state);
    // A move, resize or change of state: the placement is stored once the window has been
    // still for PlacementSettleMs (a drag sends a stream of moves, and each store rewrites
    // the whole settings file), or when it closes, whichever comes first.
    void SavePlacement();
    static constexpr int PlacementSettleMs = 400;
    // The application became active: during a game no control keeps the focus, so that the
    // keys reach the window.
    void FormApplicationEventsActivate();
    // Minimising stops a running game or a round end; restoring resumes exactly what the
    // minimise stopped, and nothing while a question or dialog of the game is under way.
    void FormApplicationEventsMinimize();
    void FormApplicationEventsRestore();

    // --- Game flow (pelform_flow.cpp) ---
    // GameInProgress and AcceptsInput are plain state queries, defined with the lifecycle.
    bool GameInProgress() const;
    bool AcceptsInput() const;
    void StartGame(bool afterHowToPlay);
    int PrepareDictionary(bool afterHowToPlay);
    // How To Play's Start Game button hands control back here.
    void HowToPlayClosed() override;
    // How To Play draws its example with the board's own painter.
    BoardPainter& ExamplePainter() override { return Painter; }
    void FinishGame(bool quitByPlayer);
    void Suspend(bool hideChips);
    void Resume();
    void ConfirmPauseOrQuit(bool pause);
    void EnablePlayButtons(bool enabled);
    void EvolveTimerTick();
    void TumbleTimerTick();
    // The buttons of the two panels and the right-hand column.
    void StartButtonClick();
    void preplayOptionsButtonClick();
    void ScoresButtonClick();
    void aboutButtonClick();
    void playOptionsButtonClick();
    void endGameButtonClick();
    void pauseButtonClick();
    void helpButtonClick();
    void EnterButtonClick();
    void clearButtonClick();
    // The path of a dictionary's file: the program's folder, or DictionaryFolder when set.
    QString DictionaryFile(const QString& name) const;

    // --- Drawing (pelform_drawing.cpp) ---
    // Redraws the whole window (background, board, bevel, chips) and shows it at once.
    void FormPaint();
    // Lays the board out for the present size and draws it with the given chips.
    void DrawBoard(const std::vector<Chip*>& chips);
    // Redraws just these chips and shows the change before returning.
    void RedrawChips(const std::vector<Chip*>& chips);
    void PaintTiles(const std::vector<Chip*>& chips, const std::vector<Chip*>& chain, QPoint origin,
                    QPainter& canvas, const Board& board);
    void PaintBoardStrip(int32_t count, int32_t stripWidth, QPoint origin, QPainter& canvas,
                         int32_t height);
    QImage DiscBitmap(const Chip& chip, const QRect& rect);
    QPoint BoardToClient(QPoint board) const;
    QPoint ClientToBoard(QPoint client) const;
    // What the window shows (the back buffer every paint copies from), at the window's
    // device pixel ratio.
    const QImage& BackBuffer() const { return backBuffer; }

    // --- Input and word entry (pelform_input.cpp) ---
    // Positions are client coordinates. A press during a game touches the chip under it; in
    // the pre-play state a press on the window's free area starts a game.
    void FormMouseDown(Qt::MouseButton button, QPoint position);
    void FormMouseMove(Qt::MouseButtons buttons, QPoint position);
    void FormMouseUp(Qt::MouseButton button);
    // True when the double-click entered the word.
    bool FormDblClick(QPoint position);
    // True when the key was one of the game's.
    bool FormKeyDown(int key);
    void TouchChip(bool dragging);
    // A letter A to Z typed during a game: picks the tiles of a chain spelling the word text
    // and the letter (Q is the QU tile, whose U a following U stands for), by the board's own
    // selection step; true when the letter was taken.
    bool TypeLetter(char letter);
    // After a step of the chain by click, drag or key: the word display, Enter and Clear, the
    // repaint of the changed chips and the select sound.
    void ShowChainChange(std::vector<Chip*>& changed);
    void EnterWord();

    // --- Displays (pelform_displays.cpp) ---
    // Shows the word the letters make (with its score) or the plain letters, enables Enter
    // and Clear to match, redraws the changed chips; true when the letters are a word.
    bool ShowWordInProgress(const std::string& letters, bool setText, std::vector<Chip*>& changed);
    void ClearWord();
    void SetScore(uint32_t score);
    void SetLives(uint32_t lives);
    void livesAreaPaint();
    // Offers an entered word (its score and its text as wordInProgress showed it) to the
    // best-word list.
    void UpdateBestWords(uint32_t wordScore, const std::string& text);
    void ClearBestWords();
    // When a round ends: the best word still on the board, its chain drawn in the painter's
    // hint colour and "Best left: word (score)" in the word display (when the player wants it).
    void ShowBestWordLeft();
    // The chain goes when the tiles start to vanish; the text stays until the next round or
    // the end of the game (keepText false).
    void HideBestWordLeft(bool keepText);
    // Puts bestLeftText in the word display, in a smaller font when it is too wide for it.
    void ShowBestLeftText();
    QString TopBestWord() const;
    // How many lines the best-word list shows at its present size.
    int32_t BestWordCapacity() const;
    void FormResize();
    // The text wordInProgress shows, as the dictionary's 8-bit text.
    const std::string& WordInProgressText() const { return wordText; }

    // --- Members ---
    // The disc cache, the board and chain colours and the tile font live in the painter.
    BoardPainter Painter;
    int32_t BoardRows = 12;
    int32_t BoardColumns = 9;
    int32_t HighWordScore = 48;
    int32_t PointsPerLife = 2000;
    int32_t StartRows = 4;
    int32_t StartLives = 3;
    int32_t StartEvolveInterval = 2000;
    int32_t TumbleInterval = 251;
    int32_t EvolveSpeedup = 5;
    std::unique_ptr<Board> GameBoard;
    Chip* LastTouched = nullptr;
    bool Shown = false;
    std::unique_ptr<Words> WordIndex;
    uint32_t EndCountdown = 0;
    std::unique_ptr<Sounder> Sounds;
    QString CaptionPattern;
    bool Suspended = false;
    int32_t OriginX = 0;
    int32_t OriginY = 0;
    QColor BackgroundColour{0xA6, 0xCA, 0xF0};
    uint32_t GamesStarted = 0;
    uint32_t Lives = 0;
    uint32_t Score = 0;
    // The best words with their scores, line for line with bestWordList.
    BestWords BestList;

    QTimer EvolveTimer;
    QTimer TumbleTimer;
    // Runs from a placement change until the window settles (SavePlacement).
    QTimer PlacementTimer;

    // Where the dictionaries are looked for; empty means the program's folder (tests point
    // it at a folder of their own).
    QString DictionaryFolder;
    // Asks the player a Yes/No/Help question with a help topic and returns the button that
    // answered it (QMessageBox::Yes or No). A centred message box unless replaced, so that
    // tests can answer without a modal loop.
    std::function<int(const QString& text, int helpContext)> AskQuestion;
    // Tells the player something plainly, with an OK and a Help button for the topic; replaced
    // by tests the same way.
    std::function<void(const QString& text, int helpContext)> TellPlayer;

signals:
    // The window accepted a close: the program ends.
    void Closed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a minimise stopped, so that the restore resumes just that.
    enum class MinimizedPhase { None, Running, RoundEnd };

    void SetUpComponents();
    // The window is never larger than all the screens together, so neither is its back
    // buffer nor any tile cached for it, whatever size it is asked to take.
    void KeepWithinScreens();
    // The smallest window (from the design size down) at which every control is whole and
    // apart from the others and the tiles are at least ReadableTile: only the board scales.
    QSize SmallestUsableSize() const;
    // Connects the game's buttons and timers to their handlers.
    void ConnectGameControls();
    // The chosen dictionary cannot be played (problem says why): the player is told and
    // offered Options to choose another. True when another dictionary was chosen.
    bool ChooseAnotherDictionary(const QString& name, const QString& problem);
    // After a lost life with lives to spare: a fresh board as at a game's start, the starting
    // pace again, the score, the best words and the lives carried over.
    void NextRound();
    // Leaves no control with the focus, so that the keys reach the window.
    void ReleaseFocus();
    // Copies the changed part of the back buffer to the screen now, unless a paint is under
    // way or the whole window is about to be shown anyway.
    void Flush(const QRegion& region);
    // The device pixel ratio the back buffer is made for, and whether it has the window's
    // present size and ratio.
    qreal BufferRatio() const;
    bool BufferFits() const;

    std::unique_ptr<Ui::TPellinForm> ui;
    AnchorLayout anchors;
    QImage backBuffer;
    bool bufferStale = true;
    bool layoutFits = false;
    bool inPaintEvent = false;
    bool batching = false;
    std::string wordText;
    MinimizedPhase minimizedPhase = MinimizedPhase::None;
    // A dictionary load is under way (it runs the message loop, so handlers can come in).
    bool loadRunning = false;
    // The last typed letter was a Q that picked a QU tile: a U typed next is that tile's U.
    bool typedQ = false;
    // "Best left: ..." as the word display shows it at a round's end (empty: not shown).
    std::string bestLeftText;
    // The word display's own font, while the best word left is shown smaller.
    QFont plainWordFont;
    bool wordFontShrunk = false;
    // The words this game has entered, for the player's statistics.
    statistics::GameSummary tally;
};

extern TPellinForm* PellinForm;
