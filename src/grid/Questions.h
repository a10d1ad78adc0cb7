// The one way a command without a window asks the user: a message box placed at a point
// (the window's left + 16 and top), reached through the dialog seam, so that the window
// shows it and a test answers in its place.
#pragma once

#include <QPoint>
#include <QString>

#include "MessageBox.h"

// Asks text under caption with buttons (mbOK, mbYes | mbNo, ...) at at; returns the
// answer (mrOk, mrYes, ...).
int AskAt(QPoint at, const QString& text, const QString& caption, unsigned buttons,
          TMsgType type = TMsgType::Plain);
