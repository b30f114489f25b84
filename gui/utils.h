#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>

#include <functional>

class QImage;
class QObject;
class QWidget;

// Small helpers shared by the game's windows. None of them keeps state, except that the way
// addresses are opened can be replaced (the tests watch what would have been opened).

// The folder of an executable at exePath, with exactly one trailing delimiter, followed by
// fileName. A drive root or "/" keeps its single delimiter; a path with no folder at all
// gives fileName alone (a name relative to the current folder).
QString ProgramFolderFileFor(const QString& exePath, const QString& fileName);
// fileName in the folder of this program's executable.
QString ProgramFolderFile(const QString& fileName);

// True when the system has at least one font of the family.
bool FontExists(const QString& family);

// Where a dialog of dialogSize goes to be centred over a window's outer rectangle: the halves
// of the differences are truncated toward zero, so a dialog larger than the window sticks out
// by the same amount on each side (left and top then lie before the window's).
QPoint CenteredPosition(const QRect& window, const QSize& dialogSize);

// A message box centred over window and modal for it alone (for the whole program without a
// window), so the help window stays usable while it waits. Its Help button (when buttons has
// one) shows the help topic helpContext and leaves the box open. defaultButton, when given, is
// the one Return presses (No for a question whose Yes throws something away). Returns the
// button that closed the box.
int ShowCenteredMessage(QWidget* window, const QString& text, QMessageBox::Icon type,
                        QMessageBox::StandardButtons buttons, int helpContext,
                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// Reduces source onto target by averaging blocks of factor x factor pixels, with factor =
// source width / target width. Both images must be 24-bit RGB (QImage::Format_RGB888). Does
// nothing when the factor lies outside 1..8, when the source lacks the rows the target needs,
// or when either image is of another format: the target is then left as it was.
void ShrinkBitmap(const QImage& source, QImage& target);

// Open the address shown in an edit box (a QLineEdit); any other control is ignored.
// The mail link composes a message to the address with the subject "Pellinoraxis Support
// Request". The web link opens only web addresses (http or https; a bare "www.…" is taken
// as http), never a local file or program.
void OpenMailLink(QObject* control);
void OpenWebLink(QObject* control);

// Replaces the way addresses are opened (QDesktopServices::openUrl); an empty function
// restores it. A failure to open is dropped without a message.
void SetUrlOpener(std::function<bool(const QUrl&)> opener);
