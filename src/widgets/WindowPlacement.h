// Placing a window that is about to be shown inside the desktop's work area.
#pragma once

#include "WorkArea.h"

class QWidget;

// Puts window's outer top-left corner at (x, y) moved into the work area, measuring
// the window with its frame when the frame is already known.
void MoveIntoWorkArea(QWidget& window, int x, int y);
