#include "dialogs/howto.h"

#include "dialogs/newgame.h"
#include "gui/boardpainter.h"
#include "gui/formstyle.h"
#include "gui/helpviewer.h"
#include "model/board.h"
#include "model/boardlayout.h"
#include "model/chip.h"
#include "settings/persist.h"
#include "ui_howto.h"

#include <QCloseEvent>
#include <QEvent>
#include <QPainter>

#include <cstring>
#include <vector>

THowToPlay* HowToPlay = nullptr;

namespace {

HowToPlayHost* host = nullptr;

} // namespace

void THowToPlay::SetHost(HowToPlayHost* newHost) {
    host = newHost;
}

HowToPlayHost* THowToPlay::Host() {
    return host;
}

const char* const THowToPlay::ExampleWord = "PLAYING";
const std::array<const char*, THowToPlay::ExampleRowCount> THowToPlay::ExampleRows = {
    "stem", // row 0: slots 0 2 4 6
    "sPLo", // row 1: slots 1 3 5 7
    "eGYA", // row 2: slots 0 2 4 6
    "rNIt", // row 3: slots 1 3 5 7
    "dome", // row 4: slots 0 2 4 6
};

THowToPlay::THowToPlay(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::THowToPlay>()),
      exampleBoard(std::make_unique<Board>(ExampleRowCount, ExampleColumnCount)) {
    ui->setupUi(this);
    // The form shares its name with the check box in the designer file; the placement is
    // stored under the form's own name.
    setObjectName(QStringLiteral("HowToPlay"));
    setFixedSize(size());
    setModal(false);
    setAttribute(Qt::WA_QuitOnClose, false);
    for (QWidget* label : {ui->Label1, ui->Label2, ui->Label3, ui->Label4}) {
        UsePixelFont(label, 15);
    }
    UsePixelFont(ui->ValuesNote, 12);
    for (QWidget* w : {static_cast<QWidget*>(ui->HowToPlay), static_cast<QWidget*>(ui->StartButton),
                       static_cast<QWidget*>(ui->HelpButton)}) {
        UsePixelFont(w, 18);
    }
    AddHelpKey(this, HelpContext);
    ui->ExampleArea->installEventFilter(this);
    connect(ui->StartButton, &QPushButton::clicked, this, &THowToPlay::StartButtonClick);
    connect(ui->HelpButton, &QPushButton::clicked, this, &THowToPlay::HelpButtonClick);
    // The choice is kept as soon as it is made, as the Options dialog's are.
    connect(ui->HowToPlay, &QCheckBox::toggled, this, [](bool checked) {
        if (NewGameForm != nullptr)
            NewGameForm->SetHowToPlay(checked);
    });

    {
        Persist store(false);
        store.FormPlacement(*this);
    }
    FillExample();
}

THowToPlay::~THowToPlay() {
    Persist store(true);
    store.FormPlacement(*this);
    // The children outlive ui (QDialog deletes them later); none may call back into it.
    ui->ExampleArea->removeEventFilter(this);
}

void THowToPlay::FillExample() {
    for (int32_t r = 0; r < ExampleRowCount; ++r) {
        const char* letters = ExampleRows[static_cast<size_t>(r)];
        const size_t count = std::strlen(letters);
        size_t k = 0;
        for (int32_t s = r % 2; s < static_cast<int32_t>(exampleBoard->SlotCount()) && k < count;
             s += 2, ++k) {
            const char c = letters[k];
            const bool ordinary = c >= 'a' && c <= 'z';
            std::string letter(1, ordinary ? static_cast<char>(c - 'a' + 'A') : c);
            Chip* chip = exampleBoard->CellAt(r, s);
            // The built-in English values, whichever dictionary is played: the page is made once,
            // before any dictionary is read, and the note beside the buttons says so.
            chip->Set(letter, SupplyLetter(letter));
            if (!ordinary) {
                chip->ToggleSelected();
            }
        }
    }
}

void THowToPlay::ExampleAreaPaint() {
    QWidget* area = ui->ExampleArea;
    const BoardLayout layout = LayoutExample(area->width(), area->height(),
                                             exampleBoard->RowCount(), exampleBoard->SlotCount());
    exampleTile = 0;
    if (!layout.fits || host == nullptr) {
        return;
    }
    exampleTile = layout.tile;
    exampleBoard->SetGeometry(static_cast<uint32_t>(layout.tile), layout.tile, layout.pitch);

    const size_t wordLength = std::strlen(ExampleWord);
    std::vector<Chip*> chain(wordLength, nullptr);
    std::vector<Chip*> tiles;
    for (int32_t r = 0; r < static_cast<int32_t>(exampleBoard->RowCount()); ++r) {
        for (int32_t s = 0; s < static_cast<int32_t>(exampleBoard->SlotCount()); ++s) {
            Chip* chip = exampleBoard->CellAt(r, s);
            if (!chip->IsOccupied()) {
                continue;
            }
            tiles.push_back(chip);
            if (chip->IsSelected()) {
                // A highlighted letter the word does not hold has no place in the chain.
                const char* at = std::strchr(ExampleWord, chip->Letter().front());
                if (at != nullptr && *at != '\0') {
                    chain[static_cast<size_t>(at - ExampleWord)] = chip;
                }
            }
        }
    }

    QPainter p(area);
    BoardPainter& painter = host->ExamplePainter();
    painter.PaintBoardStrip(static_cast<int32_t>(exampleBoard->SlotCount()) + 1, layout.tile / 2,
                            QPoint(0, 0), p, layout.height);
    painter.PaintTiles(tiles, chain, QPoint(0, layout.height), p, *exampleBoard);
}

bool THowToPlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->ExampleArea && event->type() == QEvent::Paint) {
        ExampleAreaPaint();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void THowToPlay::showEvent(QShowEvent* event) {
    ui->HowToPlay->setChecked(true);
    ui->StartButton->setFocus();
    QDialog::showEvent(event);
}

void THowToPlay::hideEvent(QHideEvent* event) {
    // Stored as the page goes, while its native window (which the placement is read from)
    // still exists: Qt lets it go when the page closes.
    Persist(true).FormPlacement(*this);
    QDialog::hideEvent(event);
}

void THowToPlay::StartButtonClick() {
    if (NewGameForm != nullptr) {
        NewGameForm->SetHowToPlay(ui->HowToPlay->isChecked());
    }
    if (host != nullptr) {
        host->HowToPlayClosed();
    }
}

void THowToPlay::HelpButtonClick() {
    ShowHelpTopic(HelpContext);
}

void THowToPlay::reject() {
    ui->StartButton->click();
}

void THowToPlay::closeEvent(QCloseEvent* event) {
    // Not QDialog's handling, which would reject (and so start the game) on every close.
    if (event->spontaneous()) {
        event->ignore();
    } else {
        event->accept();
    }
}
