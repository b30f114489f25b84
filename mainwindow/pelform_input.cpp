// Forming and entering words: presses and drags over the chips, the double-click and the keys
// that enter or clear the word, and what an entered word earns.

#include "mainwindow/pelform.h"

#include "dialogs/newgame.h"
#include "dictionary/cp1252.h"
#include "gui/helpviewer.h"
#include "model/board.h"
#include "model/gamerules.h"
#include "model/score.h"
#include "model/solver.h"
#include "settings/sounder.h"
#include "ui_pelform.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

Point ToBoardPoint(QPoint p) {
    return Point{p.x(), p.y()};
}

bool WantsSelectTileSounds() {
    return NewGameForm == nullptr || NewGameForm->GetSelectTileSounds();
}

bool WantsEnterWordSounds() {
    return NewGameForm == nullptr || NewGameForm->GetEnterWordSounds();
}

} // namespace

void TPellinForm::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    // A press that a label or panel passed on is not a press on the window's free area.
    if (childAt(position) != nullptr) {
        QWidget::mousePressEvent(event);
        return;
    }
    FormMouseDown(event->button(), position);
}

void TPellinForm::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove(event->buttons(), event->position().toPoint());
}

void TPellinForm::mouseReleaseEvent(QMouseEvent* event) {
    FormMouseUp(event->button());
}

void TPellinForm::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt reports the second press of a double-click as the double-click itself. When it did
    // not enter a word it is an ordinary press as well, so a quick second click on a chip acts
    // as a click would; when it did, the chips under it are already gone and the press must
    // not take up a neighbour that happens to reach under the pointer.
    const QPoint position = event->position().toPoint();
    if (childAt(position) != nullptr) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton && FormDblClick(position)) {
        return;
    }
    FormMouseDown(event->button(), position);
}

void TPellinForm::keyPressEvent(QKeyEvent* event) {
    // F1 is the Help button: during a game the help is read with the game paused, so tiles
    // never fall unseen; while the button is disabled (a round end) it only shows the topic.
    if (event->key() == Qt::Key_F1) {
        if (ui->helpButton->isEnabled()) {
            helpButtonClick();
        } else {
            ShowHelpTopic(HelpContext);
        }
        return;
    }
    // A plain or shifted letter picks tiles; with Ctrl, Alt or Meta it stays a shortcut.
    const int key = event->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z && AcceptsInput() &&
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
        TypeLetter(static_cast<char>('A' + (key - Qt::Key_A)));
        return;
    }
    if (!FormKeyDown(key)) {
        QWidget::keyPressEvent(event);
    }
}

void TPellinForm::FormMouseDown(Qt::MouseButton button, QPoint position) {
    if (button != Qt::LeftButton) {
        return;
    }
    if (AcceptsInput()) {
        int32_t depth = 0;
        LastTouched = GameBoard->HitTest(ToBoardPoint(ClientToBoard(position)), depth);
        if (LastTouched != nullptr) {
            TouchChip(false);
        }
    } else if (!GameInProgress()) {
        StartGame(false);
    }
}

void TPellinForm::FormMouseMove(Qt::MouseButtons buttons, QPoint position) {
    if (!AcceptsInput()) {
        return;
    }
    if (!buttons.testFlag(Qt::LeftButton)) {
        LastTouched = nullptr;
        return;
    }
    int32_t depth = 0;
    Chip* chip = GameBoard->HitTest(ToBoardPoint(ClientToBoard(position)), depth);
    if (chip == nullptr || chip == LastTouched) {
        return;
    }
    if (!chip->IsSelected()) {
        const std::vector<Chip*> selection = GameBoard->Selection();
        bool joins = selection.empty();
        for (const Chip* selected : selection) {
            if (Board::IsAdjacent(selected, chip)) {
                joins = true;
                break;
            }
        }
        // A drag never jumps to a chip that cannot join the chain.
        if (!joins) {
            return;
        }
        // Brushing past a disc's rim does not take it: the pointer must be a little inside.
        const Rect b = chip->Bounds();
        if (((b.right - b.left) + (b.bottom - b.top)) / 32 > depth) {
            return;
        }
    }
    LastTouched = chip;
    TouchChip(true);
}

void TPellinForm::FormMouseUp(Qt::MouseButton button) {
    if (AcceptsInput() && button == Qt::LeftButton) {
        LastTouched = nullptr;
    }
}

bool TPellinForm::FormDblClick(QPoint position) {
    if (!AcceptsInput()) {
        return false;
    }
    int32_t depth = 0;
    const Chip* chip = GameBoard->HitTest(ToBoardPoint(ClientToBoard(position)), depth);
    if (chip == nullptr || !chip->IsSelected() || !ui->enterButton->isEnabled()) {
        return false;
    }
    EnterWord();
    return true;
}

bool TPellinForm::FormKeyDown(int key) {
    if (!AcceptsInput()) {
        return false;
    }
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (ui->clearButton->isEnabled()) {
            ClearWord();
        }
        return true;
    case Qt::Key_Space:
        if (ui->enterButton->isEnabled()) {
            EnterWord();
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Return belongs to the default button; with no control focused Qt does not pass it
        // there by itself, so press it here (a disabled button ignores the press).
        ui->enterButton->click();
        return true;
    default:
        return false;
    }
}

namespace {

// Of two tiles that could equally go next, the lower, then the one further left.
bool GoesBefore(const Chip* a, const Chip* b) {
    if (a->Value() != b->Value()) {
        return a->Value() > b->Value();
    }
    return a->Row() != b->Row() ? a->Row() < b->Row() : a->Slot() < b->Slot();
}

} // namespace

bool TPellinForm::TypeLetter(char letter) {
    // QUIZ is typed as written: the U after a Q is the one its QU tile already gave.
    if (letter == 'U' && typedQ) {
        typedQ = false;
        return true;
    }
    typedQ = false;
    const std::string tile = letter == 'Q' ? std::string("QU") : std::string(1, letter);
    const std::vector<Chip*> chain = GameBoard->Selection();

    // The chain goes on from its end where it can.
    Chip* next = nullptr;
    if (!chain.empty()) {
        const Chip* end = chain.back();
        const int32_t r = end->Row();
        const int32_t s = end->Slot();
        for (const auto& [dr, ds] : Board::kNeighbourSteps) {
            Chip* n = GameBoard->CellAt(r + dr, s + ds);
            if (n != nullptr && n->IsOccupied() && !n->IsSelected() && n->Letter() == tile &&
                (next == nullptr || GoesBefore(n, next))) {
                next = n;
            }
        }
    }
    std::vector<Chip*> changed;
    if (next != nullptr) {
        GameBoard->SelectChip(next, false, changed);
    } else {
        // Otherwise the best chain on the board that spells the whole typed text.
        const std::vector<std::vector<Chip*>> chains =
            Solver(*WordIndex).ChainsFor(*GameBoard, GameBoard->WordText() + tile);
        if (chains.empty()) {
            return false;
        }
        GameBoard->ClearSelection(changed);
        for (Chip* c : chains.front()) {
            GameBoard->SelectChip(c, false, changed);
        }
    }
    typedQ = letter == 'Q';
    LastTouched = nullptr;
    ShowChainChange(changed);
    return true;
}

void TPellinForm::ShowChainChange(std::vector<Chip*>& changed) {
    const bool valid = ShowWordInProgress(GameBoard->WordText(), true, changed);
    if (WantsSelectTileSounds()) {
        Sounds->Play(valid ? seSelectWord : seSelectTile);
    }
}

void TPellinForm::TouchChip(bool dragging) {
    typedQ = false;
    std::vector<Chip*> changed;
    GameBoard->SelectChip(LastTouched, dragging, changed);
    if (!changed.empty()) {
        ShowChainChange(changed);
    }
}

void TPellinForm::EnterWord() {
    typedQ = false;
    const std::string letters = GameBoard->WordText();
    const uint32_t old = Score;
    SetScore(static_cast<uint32_t>(AddScore(static_cast<int32_t>(old), GameBoard->WordScore())));
    std::vector<Chip*> changed;
    GameBoard->ConsumeSelection(changed);
    if (changed.empty()) {
        return;
    }
    const uint32_t gained = LivesGained(old, Score, static_cast<uint32_t>(PointsPerLife));
    if (gained > 0) {
        SetLives(Lives + gained);
    }
    const uint32_t wordScore = Score - old;
    statistics::NoteWord(tally, Cp1252ToUtf8(WordIndex->Lookup(letters)),
                         static_cast<int64_t>(letters.size()), wordScore);
    UpdateBestWords(wordScore, WordInProgressText());
    ShowWordInProgress(std::string(), false, changed);
    if (WantsEnterWordSounds()) {
        if (gained != 0) {
            Sounds->Play(seNewLife);
        } else {
            Sounds->Play(wordScore < static_cast<uint32_t>(HighWordScore) ? seLowWord : seHighWord);
        }
    }
}
