#pragma once

#include <QString>

class QWidget;

// Small touches every dialog of the game shares.

// Gives a widget (and, through inheritance, its children without a font of their own) a font
// of the family at a height in pixels: the forms are laid out for pixel sizes, which Designer
// files cannot express.
void UsePixelFont(QWidget* widget, int pixels, const QString& family = QStringLiteral("Arial"));

// F1 in the window opens its help topic, as the Help buttons do.
void AddHelpKey(QWidget* window, int helpContext);

// The selection of a list keeps its highlight when the list loses the focus, so a row the
// dialog selected for the player stands out even while a button has the focus.
void KeepSelectionVisible(QWidget* view);
