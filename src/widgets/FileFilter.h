// File chooser filters given in the "description|patterns|description|patterns" form.
#pragma once

#include <QString>

// The Qt name filters for filter: each description paired with its patterns, ";"
// between patterns, and "*.*" meaning every file (here names need no dot). A filter
// without "|" is taken as Qt name filters already and returned unchanged.
QString QtNameFilters(const QString& filter);
