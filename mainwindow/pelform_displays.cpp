// The displays beside the board: the word being formed, the score, the lives as faces and the
// best words of the game.

#include "mainwindow/pelform.h"

#include "dialogs/newgame.h"
#include "dictionary/cp1252.h"
#include "gui/facepainter.h"
#include "model/bestwords.h"
#include "model/board.h"
#include "model/solver.h"
#include "model/words.h"
#include "ui_pelform.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>

#include <algorithm>

namespace {

// Dictionary words are Windows-1252 text; the window shows Unicode.
QString DisplayText(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

} // namespace

bool TPellinForm::ShowWordInProgress(const std::string& letters, bool setText,
                                     std::vector<Chip*>& changed) {
    const std::string word = WordIndex->Lookup(letters);
    const bool valid = !word.empty();
    const std::string text =
        valid ? word + " (" + std::to_string(GameBoard->WordScore()) + ")" : letters;
    ui->enterButton->setEnabled(valid);
    ui->clearButton->setEnabled(!letters.empty());
    if (setText) {
        wordText = text;
        ui->wordInProgress->setText(DisplayText(text));
    }
    RedrawChips(changed);
    return valid;
}

void TPellinForm::ShowBestWordLeft() {
    if (NewGameForm != nullptr && !NewGameForm->GetShowBestWordLeft()) {
        return;
    }
    const std::optional<SolvedWord> best = Solver(*WordIndex).BestWord(*GameBoard);
    if (!best) {
        return;
    }
    Painter.Hint.assign(best->chain.begin(), best->chain.end());
    bestLeftText = "Best left: " + best->display + " (" + std::to_string(best->score) + ")";
    ShowBestLeftText();
    FormPaint();
}

void TPellinForm::ShowBestLeftText() {
    // "Best left: " and a long word rarely fit the display at the word's own size: the text
    // shrinks to the display's width rather than lose its score off the edge, and the whole of
    // it is in the tooltip too.
    QLabel* display = ui->wordInProgress;
    if (!wordFontShrunk) {
        plainWordFont = display->font();
    }
    const QString text = DisplayText(bestLeftText);
    QFont font = plainWordFont;
    const int room = display->contentsRect().width() - 2 * display->margin() - 4;
    const int wide = QFontMetrics(font).horizontalAdvance(text);
    if (wide > room && room > 0 && font.pixelSize() > 0) {
        font.setPixelSize(std::max(9, font.pixelSize() * room / wide));
    }
    display->setFont(font);
    wordFontShrunk = true;
    display->setText(text);
    display->setToolTip(text);
}

void TPellinForm::HideBestWordLeft(bool keepText) {
    if (!Painter.Hint.empty()) {
        Painter.Hint.clear();
        FormPaint();
    }
    if (bestLeftText.empty()) {
        return;
    }
    if (keepText) {
        ShowBestLeftText();
        return;
    }
    bestLeftText.clear();
    ui->wordInProgress->setFont(plainWordFont);
    ui->wordInProgress->setToolTip(QString());
    wordFontShrunk = false;
    if (!GameBoard->Selection().empty()) {
        return;
    }
    wordText.clear();
    ui->wordInProgress->clear();
}

void TPellinForm::ClearWord() {
    typedQ = false;
    std::vector<Chip*> changed;
    GameBoard->ClearSelection(changed);
    if (!changed.empty()) {
        ShowWordInProgress(std::string(), true, changed);
    }
}

void TPellinForm::SetScore(uint32_t score) {
    Score = score;
    ui->valueLabel->setText(QString::number(score));
}

void TPellinForm::SetLives(uint32_t lives) {
    Lives = lives;
    ui->livesArea->update();
    if (ui->livesArea->isVisible()) {
        ui->livesArea->repaint();
    }
}

void TPellinForm::livesAreaPaint() {
    QPainter p(ui->livesArea);
    PaintFaces(p, ui->livesArea->size(), Lives, BackgroundColour);
}

bool TPellinForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->livesArea && event->type() == QEvent::Paint) {
        livesAreaPaint();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

int32_t TPellinForm::BestWordCapacity() const {
    // The frame's inside, which is always current; the viewport follows it only once the
    // list has been shown, and the list never shows scroll bars.
    return ListCapacity(ui->bestWordList->contentsRect().height(), BestWordItemHeight);
}

void TPellinForm::UpdateBestWords(uint32_t wordScore, const std::string& text) {
    QListWidget* list = ui->bestWordList;
    const BestWordChange change = BestList.Add(wordScore, text, BestWordCapacity());
    switch (change.kind) {
    case BestWordChange::Kind::Insert:
        for (int32_t k = 0; k < change.dropped && list->count() > 0; ++k) {
            delete list->takeItem(list->count() - 1);
        }
        list->insertItem(change.position, DisplayText(text));
        break;
    case BestWordChange::Kind::Move:
        if (change.from != change.position) {
            list->insertItem(change.position, list->takeItem(change.from));
        }
        break;
    case BestWordChange::Kind::Rejected:
        break;
    }
    if (change.position >= 0) {
        list->setCurrentRow(change.position);
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

void TPellinForm::ClearBestWords() {
    BestList.Clear();
    ui->bestWordList->clear();
}

QString TPellinForm::TopBestWord() const {
    const QListWidget* list = ui->bestWordList;
    return list->count() > 0 ? list->item(0)->text() : QString();
}

void TPellinForm::FormResize() {
    const int32_t removed = BestList.Trim(BestWordCapacity());
    for (int32_t k = 0; k < removed && ui->bestWordList->count() > 0; ++k) {
        delete ui->bestWordList->takeItem(ui->bestWordList->count() - 1);
    }
    // The board is laid out afresh for the new size on the next paint.
    bufferStale = true;
    update();
}
