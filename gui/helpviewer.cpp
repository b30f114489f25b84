#include "gui/helpviewer.h"

#include "ui_helpviewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QTextBrowser>
#include <QWindow>

namespace {

QPointer<HelpViewer>& TheViewer() {
    static QPointer<HelpViewer> viewer;
    return viewer;
}

QString& HelpPath() {
    static QString path;
    return path;
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::HelpViewer>()) {
    ui->setupUi(this);
    // The page wraps at the window's width, long words and all, so there is nothing to
    // scroll sideways. Preformatted lines (the tools' command lines) keep their spaces but
    // wrap too: a narrowed window would otherwise end where the longest of them does.
    ui->helpText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    ui->helpText->document()->setDefaultStyleSheet(
        QStringLiteral("pre { white-space: pre-wrap; }"));
    // The contents open the file.
    connect(ui->contentsButton, &QPushButton::clicked, this, [this] {
        ui->helpText->verticalScrollBar()->setValue(0);
        ui->helpText->horizontalScrollBar()->setValue(0);
    });
    Load();
}

HelpViewer::~HelpViewer() = default;

QTextBrowser* HelpViewer::Browser() const {
    return ui->helpText;
}

QString HelpViewer::HelpFile() {
    // Beside the program unless set (the application object sets it).
    return HelpPath().isEmpty() ? QDir(QCoreApplication::applicationDirPath())
                                      .filePath(QStringLiteral("Pellinoraxis.hlp"))
                                : HelpPath();
}

void HelpViewer::SetHelpFile(const QString& path) {
    HelpPath() = path;
    delete TheViewer().data();
}

HelpViewer* HelpViewer::Instance(bool create) {
    QPointer<HelpViewer>& viewer = TheViewer();
    if (!viewer && create && qApp) {
        viewer = new HelpViewer();
        // The window has no owner among the game's forms; it goes when the application
        // leaves its event loop, while the widgets it needs still exist.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp,
                         [] { delete TheViewer().data(); });
    }
    return viewer;
}

void HelpViewer::ShowProblem(const QString& what) {
    loaded = false;
    ui->helpText->setHtml(
        QStringLiteral("<h2>Help is not available</h2><p>%1</p>"
                       "<p>The help file belongs in the program's folder:<br><tt>%2</tt></p>"
                       "<p>The game itself is not affected.</p>")
            .arg(what.toHtmlEscaped(), HelpFile().toHtmlEscaped()));
}

void HelpViewer::Load() {
    const QString path = HelpFile();
    const QFileInfo info(path);
    if (!info.exists()) {
        ShowProblem(QStringLiteral("The help file could not be found."));
        return;
    }
    // Regular files only: a pipe or a device in its place must not hang the game.
    if (!info.isFile()) {
        ShowProblem(QStringLiteral("The help file could not be read."));
        return;
    }
    if (info.size() > MaxHelpFileBytes) {
        ShowProblem(QStringLiteral("The help file is too large to be a help file."));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowProblem(QStringLiteral("The help file could not be read."));
        return;
    }
    ui->helpText->setHtml(QString::fromUtf8(file.read(MaxHelpFileBytes)));
    loaded = true;
}

void HelpViewer::MakeUsableOverModalWindow() {
    // Help asked for from a modal question (its Help button) would show behind a window that
    // blocks it. A window whose transient parent is the modal one is not blocked by it, and
    // stays in front of it; with no modal window it is a window of its own again.
    QWidget* modal = QApplication::activeModalWidget();
    QWindow* parent = modal && modal != this ? modal->window()->windowHandle() : nullptr;
    if (QWindow* own = windowHandle())
        own->setTransientParent(parent);
}

void HelpViewer::ShowTopic(int context) {
    if (!loaded)
        Load(); // the file may have appeared since
    winId();    // the native window must exist before it can be tied to a modal one
    MakeUsableOverModalWindow();
    show();
    raise();
    activateWindow();
    if (loaded)
        ui->helpText->scrollToAnchor(QString::number(context));
    // Each topic opens at its left edge, wherever the page was scrolled to before.
    ui->helpText->horizontalScrollBar()->setValue(0);
}

void ShowHelpTopic(int context) {
    if (HelpViewer* viewer = HelpViewer::Instance())
        viewer->ShowTopic(context);
}
