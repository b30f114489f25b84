#include "dialogs/about.h"

#include "dialogs/addresses.h"
#include "gui/formstyle.h"
#include "gui/programicon.h"
#include "gui/utils.h"
#include "settings/persist.h"
#include "ui_about.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>

TAboutBox* AboutBox = nullptr;

namespace {

void StyleAsLink(QLineEdit* link) {
    // The links' own face where it exists, the body's face everywhere else.
    QFont font = link->font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial")});
    font.setPixelSize(15);
    font.setUnderline(true);
    link->setFont(font);
    QPalette palette = link->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Text, Qt::blue);
    link->setPalette(palette);
    // After readOnly, which sets the pointer of its own.
    link->setCursor(Qt::PointingHandCursor);
    link->setFocusPolicy(Qt::NoFocus);
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(409, 277);
    setWindowIcon(::ProgramIcon());

    UsePixelFont(this, 15);
    UsePixelFont(ui->OKButton, 18);
    ui->ProgramIcon->setPixmap(::ProgramIcon().pixmap(40, 40));

    // The read-only boxes show the window's colour, as text on the form rather than fields.
    for (QLineEdit* edit :
         {ui->Edit1, ui->Edit2, ui->Edit3, ui->MailSupportLink, ui->HomePageLink}) {
        QPalette palette = edit->palette();
        palette.setBrush(QPalette::Base, Qt::transparent);
        edit->setPalette(palette);
    }
    StyleAsLink(ui->MailSupportLink);
    StyleAsLink(ui->HomePageLink);
    ui->MailSupportLink->setText(QString::fromLatin1(kSupportMailAddress));
    ui->HomePageLink->setText(QString::fromLatin1(kHomePageAddress));
    ui->MailSupportLink->setCursorPosition(0);
    ui->HomePageLink->setCursorPosition(0);
    ui->MailSupportLink->installEventFilter(this);
    ui->HomePageLink->installEventFilter(this);
    // The labels' access keys open their links, which take no focus of their own.
    ui->Label1->installEventFilter(this);
    ui->Label2->installEventFilter(this);

    connect(ui->OKButton, &QPushButton::clicked, this, [this] { done(1); });
    AddHelpKey(this, HelpContext);

    Persist store(false);
    store.FormPlacement(*this);
}

TAboutBox::~TAboutBox() {
    Persist store(true);
    store.FormPlacement(*this);
    if (AboutBox == this)
        AboutBox = nullptr;
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut && (watched == ui->Label1 || watched == ui->Label2)) {
        if (watched == ui->Label1)
            MailSupportLinkChange();
        else
            HomePageLinkChange();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* link = qobject_cast<QLineEdit*>(watched);
        // A click is a left release over the link; a drag that ends elsewhere is not.
        if (mouse->button() == Qt::LeftButton && link &&
            link->rect().contains(mouse->position().toPoint())) {
            if (link == ui->MailSupportLink)
                MailSupportLinkChange();
            else if (link == ui->HomePageLink)
                HomePageLinkChange();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Return and Esc both mean OK; every showing starts there.
    ui->OKButton->setDefault(true);
    ui->OKButton->setFocus();
    QDialog::showEvent(event);
}

void TAboutBox::hideEvent(QHideEvent* event) {
    // Stored as the dialog goes, while its native window (which the placement is read from)
    // still exists: Qt lets it go when the dialog closes.
    Persist(true).FormPlacement(*this);
    QDialog::hideEvent(event);
}

void TAboutBox::reject() {
    // "OK" is also the cancel button: Esc and the close box end the box the same way.
    done(1);
}

void TAboutBox::MailSupportLinkChange() {
    OpenMailLink(ui->MailSupportLink);
}

void TAboutBox::HomePageLinkChange() {
    OpenWebLink(ui->HomePageLink);
}
