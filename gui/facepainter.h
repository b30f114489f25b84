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

// One face of size x size logical pixels on the background for a device of the given pixel
// ratio: as many device pixels as the face covers there, drawn at four times that and averaged
// down for smooth edges; the image carries the ratio. A null image below 3 logical pixels,
// where a face cannot be made out.
QImage FaceBitmap(uint32_t lives, int32_t size, const QColor& background, qreal ratio = 1.0);

// Paints a box of the given size (logical pixels): the background, then `lives` faces side by
// side from the left, as large as the box's height and its width per life allow, centred
// vertically; at the canvas device's own resolution.
void PaintFaces(QPainter& canvas, QSize box, uint32_t lives, const QColor& background);
