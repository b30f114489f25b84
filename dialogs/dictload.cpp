#include "dialogs/dictload.h"

#include "gui/formstyle.h"
#include "ui_dictload.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>

TDictionaryLoading* DictionaryLoading = nullptr;

namespace {

QPointer<QWidget>& CentreWindow() {
    static QPointer<QWidget> window;
    return window;
}

} // namespace

void TDictionaryLoading::CentreOn(QWidget* window) {
    CentreWindow() = window;
}

TDictionaryLoading::TDictionaryLoading(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::TDictionaryLoading>()) {
    ui->setupUi(this);
    UsePixelFont(this, 14, QStringLiteral("MS Sans Serif"));
    UsePixelFont(ui->Label1, 17);
    setFixedSize(434, 81);
    setAttribute(Qt::WA_QuitOnClose, false);
}

TDictionaryLoading::~TDictionaryLoading() = default;

void TDictionaryLoading::Begin(int32_t total) {
    // A range of 0 to 0 would turn the bar into a busy indicator; an empty dictionary simply
    // shows an empty bar.
    ui->Progress->setRange(0, total > 0 ? total : 1);
    ui->Progress->setValue(0);
    QCoreApplication::processEvents();
}

void TDictionaryLoading::Advance(int32_t count) {
    ui->Progress->setValue(std::min(count, ui->Progress->maximum()));
    QCoreApplication::processEvents();
}

int TDictionaryLoading::Minimum() const {
    return ui->Progress->minimum();
}

int TDictionaryLoading::Maximum() const {
    return ui->Progress->maximum();
}

int TDictionaryLoading::Position() const {
    return ui->Progress->value();
}

void TDictionaryLoading::closeEvent(QCloseEvent* event) {
    // The load cannot be broken off, and a window that went away would leave the player with
    // a dead main window and no word of why: only the game closes this one when the load is
    // done, and the window system's close is refused.
    if (event->spontaneous()) {
        event->ignore();
    } else {
        event->accept();
    }
}

void TDictionaryLoading::showEvent(QShowEvent* event) {
    QRect over;
    if (const QWidget* window = CentreWindow(); window != nullptr && window->isVisible()) {
        over = window->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        over = screen->availableGeometry();
    }
    if (over.isValid()) {
        const QSize outer = frameGeometry().size();
        move(over.left() + (over.width() - outer.width()) / 2,
             over.top() + (over.height() - outer.height()) / 2);
    }
    QWidget::showEvent(event);
}
