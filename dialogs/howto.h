// The How To Play page: four rules beside a small example board on which a seven-tile word is
// highlighted as a chain. Not modal: the main window shows it before a game (when the player
// wants it), loads the dictionary meanwhile, and closes it again; the page never closes
// itself. Its "Start Game" button hands control back to the main window.
#pragma once

#include <QDialog>

#include <array>
#include <memory>

class Board;
class BoardPainter;

// What the page needs of the window that shows it before a game: the painter its example is
// drawn with (so that the two boards share one cache of discs), and a window to hand control
// back to when the player presses Start Game. The main window registers itself.
class HowToPlayHost {
public:
    virtual BoardPainter& ExamplePainter() = 0;
    virtual void HowToPlayClosed() = 0;

protected:
    ~HowToPlayHost() = default;
};

namespace Ui {
class THowToPlay;
}

class THowToPlay : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 120;
    static constexpr int ExampleRowCount = 5;
    static constexpr int ExampleColumnCount = 4;

    // The highlighted word: seven different letters.
    static const char* const ExampleWord;
    // One string per board row, bottom row first: the k-th letter goes to the row's k-th tile
    // from the left. Capitals are the highlighted tiles, exactly the word's letters, lying
    // along the chain (row, slot) (1,3) (1,5) (2,6) (2,4) (3,5) (3,3) (2,2) in word order.
    static const std::array<const char*, ExampleRowCount> ExampleRows;

    explicit THowToPlay(QWidget* parent = nullptr);
    ~THowToPlay() override;

    // The window the page works for (none: the example is not drawn and Start Game only
    // keeps the box's choice).
    static void SetHost(HowToPlayHost* host);
    static HowToPlayHost* Host();

    const Board& ExampleBoard() const { return *exampleBoard; }
    // The tile size the example was last painted with (0: nothing painted).
    int ExampleTileSize() const { return exampleTile; }

    void StartButtonClick();
    void HelpButtonClick();
    void ExampleAreaPaint();

protected:
    // Every showing starts with the box ticked: the page shows only when the setting is on.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Esc presses Start Game; there is no other way out, and no close box. Only the main
    // window closes the page (close()); a close asked for by the window system is refused.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillExample();

    std::unique_ptr<Ui::THowToPlay> ui;
    std::unique_ptr<Board> exampleBoard;
    int exampleTile = 0;
};

extern THowToPlay* HowToPlay;
