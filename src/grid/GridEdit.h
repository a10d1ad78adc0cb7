// What every command of the main window works on: the grid of record texts, the
// icon list of each page, the current cell, the page name column's wanted width, the
// copied button, and where its questions appear. The window hands one to a command
// and takes the current cell and the width back afterwards.
#pragma once

#include <QIcon>
#include <QPoint>
#include <functional>
#include <string>

#include "DataItems.h"
#include "GridStore.h"
#include "IconCaches.h"
#include "Questions.h"
#include "TextFormat.h"

struct TGridEdit {
  TGridEdit(TGridStore& grid, TIconGridList& icons, std::string& copyBuffer)
      : Grid(grid), Icons(icons), CopyBuffer(copyBuffer) {}

  TGridStore& Grid;
  TIconGridList& Icons;
  std::string& CopyBuffer;  // the button text copied last; empty before any copy
  int Col = 1;              // the current cell; a command may move it
  int Row = 1;
  int NameColWidth = 80;  // grows with a wider page name, never shrinks here
  QPoint DialogAt;        // top-left of every question: the window's left + 16 and top
  // The width of a CP932 text in the grid's font; none counts every text as 0 wide.
  std::function<int(const std::string&)> TextWidth;
  // The icon of a button: GetItemIcon, unless a test or a benchmark says otherwise.
  std::function<QIcon(const TLaunchDataItem&)> MakeIcon;
  // The window reads a button's icon when its cell is first drawn, as after a load: a
  // rebuilt page then gets empty icons, and no button of it is read for them.
  bool IconsWhenDrawn = false;

  int TextWidthOf(const std::string& cp932) const { return TextWidth ? TextWidth(cp932) : 0; }
  // Asks the user, at DialogAt: the one way a command asks.
  int Ask(const QString& text, const QString& caption, unsigned buttons,
          TMsgType type = TMsgType::Plain) const {
    return AskAt(DialogAt, text, caption, buttons, type);
  }
  QIcon IconOf(const TLaunchDataItem& item) const;
};
