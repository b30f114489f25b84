// The faces that count the player's lives: one face per life, its colour and mouth telling how
// many are left (yellow and smiling from three on, amber and straight-mouthed at two, orange
// and frowning at the last one).
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <cstdint>

class QPainter;

// The face colour for a number of lives (1 or more).
QColor FaceColour(uint32_t lives);

// One face of size x size pixels on the background, drawn at four times the size and averaged
// down for smooth edges. A null image below 3 pixels, where a face cannot be made out.
QImage FaceBitmap(uint32_t lives, int32_t size, const QColor& background);

// Paints a box of the given size: the background, then `lives` faces side by side from the
// left, as large as the box's height and its width per life allow, centred vertically.
void PaintFaces(QPainter& canvas, QSize box, uint32_t lives, const QColor& background);
