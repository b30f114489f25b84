#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

#include <cstdint>
#include <memory>

class QWidget;
class RegistryKey;

// A short-lived accessor of the game's settings key: make one on the stack, read or write a
// group of values, let it go (which closes the key and flushes the writes).
//
// A failed write is not reported to the player: the game goes on with what it has in memory.
// The store's status is checked when the key closes and deliberately ignored; Qt writes the
// file through a temporary file and a rename, so a failed or interrupted write leaves the
// previous settings and high scores intact.
class Persist {
public:
    static const QString KeyPath;

    // A writable Persist creates the key when it is missing; a read-only one never writes.
    // Construction never fails: without an open key every read returns false.
    explicit Persist(bool writable);
    ~Persist();
    Persist(const Persist&) = delete;
    Persist& operator=(const Persist&) = delete;

    bool IsOpen() const;

    // Each returns false and leaves value untouched when no key is open, the value does not
    // exist, or it does not hold a value of the asked type (see RegistryKey).
    bool ReadString(const QString& name, QString& value);
    bool ReadBool(const QString& name, bool& value);
    bool ReadInteger(const QString& name, int32_t& value);

    void WriteString(const QString& name, const QString& value);
    void WriteBool(const QString& name, bool value);
    void WriteInteger(const QString& name, int32_t value);

    // Restores (read-only Persist) or stores (writable Persist) the placement of a form under
    // value names made of its objectName and "Left", "Top" and, when windowState is given,
    // "Width", "Height" and "Maximized".
    //
    // Positions are the window's outer position (QWidget::pos) and sizes its client size
    // (QWidget::size), the pair that move() and resize() take back, so a restore reproduces
    // the window. A maximized or minimized window stores its normal placement.
    //
    // Reading sets *windowState to maximized or normal and applies it to the form. A stored
    // position that would leave the window wholly off every screen (a monitor unplugged since)
    // is moved onto the nearest screen, and a stored size is raised to the form's minimum.
    // Writing stores nothing for a form that has never been shown, so a dialog the player
    // never opened keeps its stored (or designed) place.
    void FormPlacement(QWidget& form, Qt::WindowStates* windowState = nullptr);

private:
    void RestorePlacement(QWidget& form, Qt::WindowStates* windowState);
    void StorePlacement(QWidget& form, const Qt::WindowStates* windowState);

    bool writable;
    std::unique_ptr<RegistryKey> registry;
};

// The integer at the start of a placement text: leading blanks and a sign allowed, digits up
// to the first other character; a text without digits gives 0. Values beyond 32 bits are held
// at the nearest 32-bit limit rather than wrapping.
int32_t PlacementInteger(const QString& text);

// Where a window of the given outer rectangle should go so that it is not wholly outside every
// screen: its own position when it overlaps any screen (or there are no screens), otherwise
// the nearest position lying on the nearest screen.
QPoint KeepOnScreens(const QRect& window, const QList<QRect>& screens);
