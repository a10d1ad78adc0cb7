// Keeping a window that is about to be shown inside the desktop's work area.
#pragma once

#include <QRect>

// Moves the requested top-left (x, y) of a width x height window into workArea, in
// this order: past the right edge -> flush right; left of the left edge -> flush
// left; above the top -> flush top; past the bottom -> flush bottom. A window wider
// than the work area thus ends at its left edge, a taller one at its bottom edge.
void FitToWorkArea(int& x, int& y, int width, int height, const QRect& workArea);

// The same with DesktopWorkArea(); nothing changes when there is no screen.
void FitToWorkArea(int& x, int& y, int width, int height);

// The primary screen less its panels; an empty rectangle when there is no screen.
QRect DesktopWorkArea();
