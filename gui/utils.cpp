#include "gui/utils.h"

#include "gui/helpviewer.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QShowEvent>
#include <QWidget>

namespace {

bool IsDelimiter(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

std::function<bool(const QUrl&)>& UrlOpener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

void OpenUrl(const QUrl& url) {
    // The result is dropped on purpose: with no mail program or browser there is nothing
    // useful to tell the player, and the window they clicked in stays as it was.
    if (UrlOpener())
        (void)UrlOpener()(url);
    else
        (void)QDesktopServices::openUrl(url);
}

// A message box that centres itself over a given window once it knows its own size, which
// QMessageBox settles only as it is shown.
class CenteredMessageBox : public QMessageBox {
public:
    CenteredMessageBox(QWidget* window, QMessageBox::Icon type, const QString& text,
                       QMessageBox::StandardButtons buttons)
        : QMessageBox(type, QGuiApplication::applicationDisplayName(), text, buttons, window),
          window(window) {}

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (!window)
            return;
        // Centre the outer frames, but place the client area: a move() at this point is taken
        // as a frame position before the frame is known, and lands a frame's width off.
        const QPoint frame = CenteredPosition(window->frameGeometry(), frameGeometry().size());
        setGeometry(QRect(frame + (geometry().topLeft() - frameGeometry().topLeft()), size()));
    }

private:
    QWidget* window;
};

} // namespace

QString ProgramFolderFileFor(const QString& exePath, const QString& fileName) {
    qsizetype cut = -1;
    QChar delimiter = QLatin1Char('/');
    for (qsizetype i = exePath.size() - 1; i >= 0; --i) {
        if (IsDelimiter(exePath.at(i))) {
            cut = i + 1;
            delimiter = exePath.at(i);
            break;
        }
    }
    // "C:game.exe": the drive colon ends the folder.
    if (cut < 0 && exePath.size() >= 2 && exePath.at(1) == QLatin1Char(':') &&
        exePath.at(0).isLetter()) {
        cut = 2;
        delimiter = QLatin1Char('\\');
    }
    if (cut < 0)
        return fileName;
    QString folder = exePath.left(cut);
    while (!folder.isEmpty() && IsDelimiter(folder.back()))
        folder.chop(1);
    return folder + delimiter + fileName;
}

QString ProgramFolderFile(const QString& fileName) {
    return ProgramFolderFileFor(QCoreApplication::applicationFilePath(), fileName);
}

bool FontExists(const QString& family) {
    return !family.isEmpty() && QFontDatabase::hasFamily(family);
}

QPoint CenteredPosition(const QRect& window, const QSize& dialogSize) {
    // C++ division truncates toward zero, as the centring rule wants.
    return {window.left() + (window.width() - dialogSize.width()) / 2,
            window.top() + (window.height() - dialogSize.height()) / 2};
}

int ShowCenteredMessage(QWidget* window, const QString& text, QMessageBox::Icon type,
                        QMessageBox::StandardButtons buttons, int helpContext,
                        QMessageBox::StandardButton defaultButton) {
    CenteredMessageBox box(window, type, text, buttons);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // Only the window asking waits for the answer: the help stays usable meanwhile.
    box.setWindowModality(window != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    if (QAbstractButton* help = box.button(QMessageBox::Help)) {
        // Every button of a message box closes it; the Help button must not. Cutting it off
        // from the button box leaves it a plain button that only shows the topic.
        if (auto* buttonBox = box.findChild<QDialogButtonBox*>())
            QObject::disconnect(help, SIGNAL(clicked(bool)), buttonBox, nullptr);
        QObject::connect(help, &QAbstractButton::clicked, &box,
                         [helpContext] { ShowHelpTopic(helpContext); });
    }
    return box.exec();
}

void ShrinkBitmap(const QImage& source, QImage& target) {
    if (source.format() != QImage::Format_RGB888 || target.format() != QImage::Format_RGB888)
        return;
    const int tw = target.width();
    const int th = target.height();
    if (tw <= 0 || th <= 0)
        return;
    const int factor = source.width() / tw;
    // Beyond 8 the block table of the reduction would overflow; below 1 there is nothing to
    // average. A source without factor rows per target row would be read past its end.
    if (factor < 1 || factor > 8 || source.height() / factor < th)
        return;
    const unsigned divisor = static_cast<unsigned>(factor * factor);
    for (int y = 0; y < th; ++y) {
        const uchar* rows[8];
        for (int k = 0; k < factor; ++k)
            rows[k] = source.constScanLine(factor * y + k);
        uchar* out = target.scanLine(y);
        for (int x = 0; x < tw; ++x) {
            unsigned sum[3] = {0, 0, 0};
            for (int k = 0; k < factor; ++k) {
                const uchar* p = rows[k] + 3 * factor * x;
                for (int i = 0; i < factor; ++i, p += 3) {
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                }
            }
            out[3 * x] = static_cast<uchar>(sum[0] / divisor);
            out[3 * x + 1] = static_cast<uchar>(sum[1] / divisor);
            out[3 * x + 2] = static_cast<uchar>(sum[2] / divisor);
        }
    }
}

void OpenMailLink(QObject* control) {
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (!edit)
        return;
    const QString address = edit->text().trimmed();
    if (address.isEmpty())
        return;
    const QUrl url(QStringLiteral("mailto:") + address +
                       QStringLiteral("?subject=Pellinoraxis Support Request"),
                   QUrl::TolerantMode);
    if (url.isValid())
        OpenUrl(url);
}

void OpenWebLink(QObject* control) {
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (!edit)
        return;
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return;
    const QUrl url = QUrl::fromUserInput(text);
    // A link is for web pages: a text naming a local file or program must not be run.
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return;
    OpenUrl(url);
}

void SetUrlOpener(std::function<bool(const QUrl&)> opener) {
    UrlOpener() = std::move(opener);
}
