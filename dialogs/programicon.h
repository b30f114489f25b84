#pragma once

#include <QIcon>

// The program's icon, a letter tile on the board's green, for every window's title bar.
// Drawn from the SVG when Qt's SVG support is installed, otherwise from the PNGs rendered from
// it that ship alongside.
QIcon ProgramIcon();
