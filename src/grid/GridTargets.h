// The broken-target check over the whole grid, and clearing the buttons it found.
#pragma once

#include <QPoint>
#include <functional>
#include <string_view>
#include <vector>

#include "GridEdit.h"
#include "TargetCheck.h"

// One finding with the button it belongs to.
struct TGridFinding {
  int Row = 0;
  int Col = 0;
  std::string Title;  // CP932
  TTargetFinding Finding;
};

// Every finding of every button, in page order.
std::vector<TGridFinding> CheckGridTargets(const TGridStore& grid);

// The same, each finding handed to visit as it is found (its field and reason texts
// shared with the other findings'), so that a list of them need not be kept whole
// first: its button (row r, column c), the button's title (CP932) and the finding.
using TFindingVisitor =
    std::function<void(int r, int c, std::string_view title, TTargetFinding& finding)>;
void VisitGridTargets(const TGridStore& grid, const TFindingVisitor& visit);

// Asks once, naming how many, then makes the buttons at cells (x = column, y = row)
// unregistered and rebuilds the icons of their pages. Returns the number of buttons
// cleared: 0 when the answer was no.
int ClearButtons(TGridEdit& edit, const std::vector<QPoint>& cells);
