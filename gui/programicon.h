#pragma once

#include <QIcon>

// The program's icon, a letter tile of the game (P, worth 3) on the board's green, for every
// window's title bar: the PNGs rendered from data/pellinoraxis.svg by scripts/make-icons.sh.
QIcon ProgramIcon();
