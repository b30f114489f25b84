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
// A failed write leaves the previous settings and high scores intact: Qt writes the file
// through a temporary file and a rename. Most callers let it pass (the game goes on with what
// it has in memory); one that must know, as the high score table does, closes the store with
// Close() and is told.
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
    // Closes the key now, writing what was written to it; false when those writes did not
    // reach the store (it refused them, or was busy beyond a moment). Every later read or
    // write finds no key.
    bool Close();
    // Where the settings are kept: the file (or registry key) to name to the player.
    static QString Location();

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
    // Reading sets *windowState to maximized or normal and applies it to the form. The
    // restored window lies wholly inside the available area of the screen it lands on
    // (FitOnScreens), and a stored size is kept between half the form's designed size (or
    // its minimum, if larger) and that area.
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

// Where a restored window goes: on the screen it overlaps most (or, off every screen, the
// nearest one), grown to at least minimum, shrunk to no more than that screen's area, and slid
// just far enough to lie wholly inside it. Without screens the window stays where it is.
QRect FitOnScreens(const QRect& window, const QSize& minimum, const QList<QRect>& screens);
