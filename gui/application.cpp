#include "gui/application.h"

#include "gui/helpviewer.h"
#include "gui/utils.h"

#include <QMessageBox>

const QString TApplication::Title = QStringLiteral("Pellinoraxis");
const QString TApplication::HelpFile = QStringLiteral("Pellinoraxis.hlp");

namespace {

int reported = 0;
bool reporting = false;

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Only the name: a display name would be appended to every window title by some window
    // systems, doubling the "Pellinoraxis (dictionary)" caption.
    setApplicationName(Title);
    HelpViewer::SetHelpFile(ProgramFolderFile(HelpFile));
}

bool DeliverReportingExceptions(const std::function<bool()>& deliver) {
    try {
        return deliver();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
    }
    return false;
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    return DeliverReportingExceptions(
        [this, receiver, event] { return QApplication::notify(receiver, event); });
}

void TApplication::ShowException(const std::exception& error) {
    ++reported;
    // An exception while the report itself is up is dropped rather than stacking boxes.
    if (reporting) {
        return;
    }
    reporting = true;
    QMessageBox box(QMessageBox::Critical, Title, QString::fromLocal8Bit(error.what()),
                    QMessageBox::Ok);
    box.exec();
    reporting = false;
}

int TApplication::ReportedExceptions() {
    return reported;
}
