// The progress box as the display of the progress operations (Progress.h).
#pragma once

#include "Progress.h"

// The one display: the box of ProgressBox.h, shown, stepped and released as the
// operations say.
TProgressDisplay& ProgressBoxDisplay();
