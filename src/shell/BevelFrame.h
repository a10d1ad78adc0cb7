// The raised (or sunken) frame the grid draws around its cells.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// Draws width nested one-pixel frames inside rect: the left and top edges of each
// in topColor, the right and bottom edges in bottomColor (the top-right and
// bottom-left corner pixels too). Leaves the painter's pen one pixel wide and
// rect the rectangle inside the frames.
void DrawBevelFrame(QPainter& painter, QRect& rect, const QColor& topColor,
                    const QColor& bottomColor, int width);
