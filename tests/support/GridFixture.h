// A grid of pages for the command tests: page p is named "p<p>" and its button b is
// titled "p<p>-<b>", with one icon per button made from its title, so that a test can
// tell which button an icon was made from; questions are answered by a script.
#pragma once

#include <QPixmap>
#include <map>
#include <string>
#include <vector>

#include "GridEdit.h"
#include "GridRows.h"
#include "RecordText.h"
#include "ScriptedDialogs.h"

class TGridFixture {
 public:
  explicit TGridFixture(const std::vector<int>& counts, TDataStatus status = Status(0, 0, 1)) {
    edit.MakeIcon = [this](const TLaunchDataItem& item) {
      QPixmap pixmap(1, 1);
      QIcon icon(pixmap);
      iconTitles_[icon.cacheKey()] = item.Title;
      return icon;
    };
    edit.TextWidth = [](const std::string& text) { return static_cast<int>(text.size()) * 10; };
    grid.SetRowCount(static_cast<int>(counts.size()) + 1);
    grid.SetCell(0, 0, StatusToText(status));
    for (std::size_t p = 0; p < counts.size(); ++p) {
      const int r = static_cast<int>(p) + 1;
      TPageRow row;
      TPageItem page;
      page.Caption = "p" + std::to_string(p);
      row.PageText = PageToText(page);
      for (int b = 0; b < counts[p]; ++b) {
        TLaunchDataItem item;
        item.Kind = lkProgram;
        item.Title = page.Caption + "-" + std::to_string(b);
        item.Link = "/usr/bin/" + item.Title;
        row.Buttons.push_back(ItemToText(item));
      }
      WritePageRow(grid, r, row);
      AddIconRow(icons, 0);
      RebuildPageIcons(edit, r, counts[p]);
    }
  }

  static TDataStatus Status(int maxPages, int maxButtons, int minButtons) {
    TDataStatus status;
    status.MaxPages = maxPages;
    status.MaxButtons = maxButtons;
    status.MinButtons = minButtons;
    return status;
  }

  // The titles of row r's buttons, as its count says.
  std::vector<std::string> Titles(int r) const {
    std::vector<std::string> titles;
    for (const std::string& text : ReadPageRow(grid, r).Buttons)
      titles.push_back(TitleOfText(text));
    return titles;
  }
  // The titles row r's icons were made from; "-" for a placeholder.
  std::vector<std::string> IconTitles(int r) const {
    std::vector<std::string> titles;
    const TIconList& list = icons.Get(r - 1);
    for (int i = 0; i < list.Count(); ++i) {
      const auto found = iconTitles_.find(list.Get(i).Icon.cacheKey());
      titles.push_back(found == iconTitles_.end() ? "-" : found->second);
    }
    return titles;
  }
  std::string Caption(int r) const { return CaptionOfText(grid.Cell(0, r)); }

  TGridStore grid;
  TIconGridList icons;
  std::string copy;
  TScriptedDialogs dialogs;
  TDialogsScope scope{dialogs};
  TGridEdit edit{grid, icons, copy};

 private:
  std::map<qint64, std::string> iconTitles_;
};

using TTitles = std::vector<std::string>;
