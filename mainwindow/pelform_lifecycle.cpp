// The main window's life: construction, placement kept between runs, the first showing,
// application events and closing.

#include "mainwindow/pelform.h"

#include "dialogs/dictload.h"
#include "gui/formstyle.h"
#include "gui/utils.h"
#include "model/board.h"
#include "model/boardlayout.h"
#include "model/words.h"
#include "settings/persist.h"
#include "settings/sounder.h"
#include "settings/soundoutput.h"
#include "ui_pelform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QPalette>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QWindowStateChangeEvent>

TPellinForm* PellinForm = nullptr;

namespace {

// Every line of the best-word list is BestWordItemHeight pixels high, whatever the font says,
// so that its capacity is a plain division.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     TPellinForm::BestWordItemHeight);
    }
};

// The info displays have the background of tool tips, as their hints do.
void UseInfoBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    const QColor tip = QApplication::palette().color(QPalette::ToolTipBase);
    palette.setColor(QPalette::Window, tip);
    palette.setColor(QPalette::Base, tip);
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ToolTipText));
    palette.setColor(QPalette::Text, QApplication::palette().color(QPalette::ToolTipText));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TPellinForm::TPellinForm(std::unique_ptr<SoundOutput> soundOutput)
    : WordIndex(std::make_unique<Words>()),
      Sounds(std::make_unique<Sounder>([](const QString& name) { return ProgramFolderFile(name); },
                                       std::move(soundOutput))),
      ui(std::make_unique<Ui::TPellinForm>()) {
    ui->setupUi(this);
    // The program ends through Closed, which the entry point turns into the end of the message
    // loop; a help window left open must not keep it going, and a window closed where it does
    // not own the application (a test) must not end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    EvolveTimer.setInterval(0);
    TumbleTimer.setInterval(0);
    // The vanishing at the end of a round ticks every 20 ms; a coarse timer would blur that.
    TumbleTimer.setTimerType(Qt::PreciseTimer);
    PlacementTimer.setSingleShot(true);
    PlacementTimer.setInterval(PlacementSettleMs);
    connect(&PlacementTimer, &QTimer::timeout, this, [this] { Resizing(windowState()); });
    AskQuestion = [this](const QString& text, int helpContext) {
        return ShowCenteredMessage(this, text, QMessageBox::Question,
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Help,
                                   helpContext);
    };
    // The pages shown before a game work for this window.
    THowToPlay::SetHost(this);
    TDictionaryLoading::CentreOn(this);
    TellPlayer = [this](const QString& text, int helpContext) {
        ShowCenteredMessage(this, text, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Help,
                            helpContext);
    };
    SetUpComponents();
    FormCreate();
}

TPellinForm::~TPellinForm() {
    if (THowToPlay::Host() == this) {
        THowToPlay::SetHost(nullptr);
    }
    EvolveTimer.stop();
    TumbleTimer.stop();
    PlacementTimer.stop();
    // The children outlive ui (QWidget deletes them later); none may call back into it.
    ui->livesArea->removeEventFilter(this);
}

void TPellinForm::SetUpComponents() {
    // Every pixel of the window comes from the back buffer, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    UsePixelFont(this, 14);
    for (QWidget* w :
         {static_cast<QWidget*>(ui->Label1), static_cast<QWidget*>(ui->valueLabel),
          static_cast<QWidget*>(ui->Label3), static_cast<QWidget*>(ui->bestWordsLabel)}) {
        UsePixelFont(w, 18);
    }
    UsePixelFont(ui->bestWordList, 22);
    UsePixelFont(ui->wordInProgress, 22);
    for (QWidget* w : {ui->helpButton, ui->clearButton, ui->enterButton}) {
        UsePixelFont(w, 27);
    }
    for (QWidget* w :
         {static_cast<QWidget*>(ui->valueLabel), static_cast<QWidget*>(ui->wordInProgress),
          static_cast<QWidget*>(ui->bestWordList)}) {
        UseInfoBackground(w);
    }
    ui->bestWordList->setItemDelegate(new FixedHeightDelegate(ui->bestWordList));
    ui->livesArea->installEventFilter(this);

    ConnectGameControls();
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    FormApplicationEventsActivate();
                }
            });

    // Anchors as designed: the panels stretch with the window, their buttons and the
    // right-hand column keep their distance from the right edge, the list stretches down and
    // the buttons below it keep their distance from the bottom.
    const Qt::Edges leftTop = Qt::LeftEdge | Qt::TopEdge;
    const Qt::Edges topRight = Qt::TopEdge | Qt::RightEdge;
    const Qt::Edges rightBottom = Qt::RightEdge | Qt::BottomEdge;
    anchors.Add(ui->PreplayPanel, leftTop | Qt::RightEdge);
    anchors.Add(ui->PlayPanel, leftTop | Qt::RightEdge);
    for (QWidget* w : {ui->StartButton, ui->preplayOptionsButton, ui->ScoresButton, ui->aboutButton,
                       ui->ExitButton, ui->playOptionsButton, ui->endGameButton, ui->pauseButton}) {
        anchors.Add(w, topRight);
    }
    anchors.Add(ui->livesArea, leftTop | Qt::RightEdge);
    anchors.Add(ui->bestWordsLabel, topRight);
    anchors.Add(ui->bestWordList, topRight | Qt::BottomEdge);
    for (QWidget* w :
         {static_cast<QWidget*>(ui->helpButton), static_cast<QWidget*>(ui->clearButton),
          static_cast<QWidget*>(ui->enterButton), static_cast<QWidget*>(ui->wordInProgress)}) {
        anchors.Add(w, rightBottom);
    }
}

void TPellinForm::FormCreate() {
    // Set before the placement is restored, so that a stored size below it is raised to it.
    const QSize usable = SmallestUsableSize();
    setMinimumSize(usable);
    // The design placement: centred on the screen. A stored placement replaces it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Qt::WindowStates state = windowState();
    {
        Persist store(false);
        store.FormPlacement(*this, &state);
    }

    GameBoard = std::make_unique<Board>(static_cast<uint32_t>(BoardRows),
                                        static_cast<uint32_t>(BoardColumns));
    GameBoard->FillAttract();

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, BackgroundColour);
    setPalette(palette); // the info displays keep the background they were given

    // Half the size in force now, which is the restored one when there was a placement; but
    // never below the size at which everything still shows, however small a window was
    // stored.
    setMinimumSize(QSize(width() / 2, height() / 2).expandedTo(usable));
    KeepWithinScreens();
    for (auto signal : {&QGuiApplication::screenAdded, &QGuiApplication::screenRemoved,
                        &QGuiApplication::primaryScreenChanged})
        connect(qApp, signal, this, &TPellinForm::KeepWithinScreens, Qt::QueuedConnection);
    CaptionPattern = windowTitle() + QStringLiteral(" ()");
    anchors.Apply();
    bufferStale = true;
}

QSize TPellinForm::SmallestUsableSize() const {
    const QRect score = ui->valueLabel->geometry();
    auto usable = [this, &score](QSize size) {
        const int freeWidth = anchors.GeometryAt(ui->wordInProgress, size).x();
        const int freeHeight = size.height() - (score.y() + score.height());
        const BoardLayout layout =
            LayoutBoard(freeWidth, freeHeight, static_cast<uint32_t>(BoardRows),
                        static_cast<uint32_t>(BoardColumns) * 2);
        return layout.fits && layout.tile >= ReadableTile && anchors.KeepsApart(this, size);
    };
    QSize least = size();
    while (least.width() > 1 && usable(QSize(least.width() - 1, least.height()))) {
        least.rwidth() -= 1;
    }
    while (least.height() > 1 && usable(QSize(least.width(), least.height() - 1))) {
        least.rheight() -= 1;
    }
    return least;
}

void TPellinForm::KeepWithinScreens() {
    QSize all;
    for (const QScreen* screen : QGuiApplication::screens())
        all = all.expandedTo(screen->virtualSize());
    if (all.isEmpty())
        return;
    setMaximumSize(all.expandedTo(minimumSize()));
}

void TPellinForm::FormOnIdle() {
    if (Shown) {
        return;
    }
    Shown = true;
    show();
}

bool TPellinForm::GameInProgress() const {
    return !ui->PlayPanel->isHidden();
}

bool TPellinForm::AcceptsInput() const {
    return GameInProgress() && EndCountdown == 0;
}

bool TPellinForm::FormCloseQuery() {
    // While a dictionary loads (the window is disabled) a close would end the program from
    // inside the load; the window could not take a click then anyway.
    if (!isEnabled()) {
        return false;
    }
    if (!GameInProgress()) {
        return true;
    }
    // During a game the window never closes directly: a running game asks the quit question
    // and the player ends the game through it; paused, suspended or ending rounds ignore it.
    if (EvolveTimer.isActive()) {
        ConfirmPauseOrQuit(false);
    }
    return false;
}

void TPellinForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    // A placement change still settling is stored now; the window is about to go.
    if (PlacementTimer.isActive()) {
        PlacementTimer.stop();
        Resizing(windowState());
    }
    emit Closed();
}

void TPellinForm::Resizing(Qt::WindowStates state) {
    if (!isVisible()) {
        return;
    }
    Persist store(true);
    store.FormPlacement(*this, &state);
}

void TPellinForm::SavePlacement() {
    if (isVisible()) {
        PlacementTimer.start();
    }
}

void TPellinForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    SavePlacement();
}

void TPellinForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    anchors.Apply();
    FormResize();
    SavePlacement();
}

void TPellinForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        SavePlacement();
        const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        const bool wasMinimized = old.testFlag(Qt::WindowMinimized);
        if (isMinimized() && !wasMinimized) {
            FormApplicationEventsMinimize();
        } else if (!isMinimized() && wasMinimized) {
            FormApplicationEventsRestore();
        }
    }
}

void TPellinForm::FormApplicationEventsActivate() {
    if (QApplication::activeWindow() == this && GameInProgress()) {
        if (QWidget* focused = focusWidget()) {
            focused->clearFocus();
        }
        setFocus(Qt::ActiveWindowFocusReason);
    }
}

void TPellinForm::FormApplicationEventsMinimize() {
    if (!GameInProgress() || minimizedPhase != MinimizedPhase::None) {
        return;
    }
    if (EvolveTimer.isActive()) {
        Suspend(true);
        minimizedPhase = MinimizedPhase::Running;
    } else if (EndCountdown > 0 && TumbleTimer.isActive()) {
        // The round end goes on where it stopped; its board is no secret.
        TumbleTimer.stop();
        minimizedPhase = MinimizedPhase::RoundEnd;
    }
    // Otherwise a question, the Options dialog or the How To Play page is under way and
    // resumes the game itself when it is done.
}

void TPellinForm::FormApplicationEventsRestore() {
    const MinimizedPhase phase = minimizedPhase;
    minimizedPhase = MinimizedPhase::None;
    if (!GameInProgress()) {
        return;
    }
    if (phase == MinimizedPhase::Running && !EvolveTimer.isActive()) {
        Resume();
    } else if (phase == MinimizedPhase::RoundEnd && EndCountdown > 0) {
        TumbleTimer.start();
    }
}
