// The target check over a whole grid against the way it first read the grid (every
// cell through TextToItem), on generated grids whose targets are present, missing
// or not checkable here, with texts that are damaged or not in the writer's form.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "GridRows.h"
#include "GridRules.h"
#include "GridTargets.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

// The reference: each cell read into a button of its own.
std::vector<TGridFinding> CheckGridTargetsByItems(const TGridStore& grid) {
  std::vector<TGridFinding> findings;
  for (int r = 1; r < grid.RowCount(); ++r) {
    const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
    for (int c = 1; c <= count; ++c) {
      std::unique_ptr<TLaunchDataItem> item;
      try {
        item = TextToItem(grid.Cell(c, r));
      } catch (const ELaunchError&) {
        continue;
      }
      for (TTargetFinding& finding : CheckButtonTargets(*item))
        findings.push_back({r, c, item->Title, std::move(finding)});
    }
  }
  return findings;
}

std::string Describe(const TGridFinding& f) {
  return std::to_string(f.Row) + "," + std::to_string(f.Col) + " " + f.Title + " " +
         (f.Finding.Group == TTargetFinding::TGroup::Missing ? "M " : "U ") +
         f.Finding.Field.toStdString() + " " + f.Finding.Path + " " + f.Finding.Why.toStdString();
}

std::vector<std::string> Described(const std::vector<TGridFinding>& findings) {
  std::vector<std::string> out;
  for (const TGridFinding& f : findings)
    out.push_back(Describe(f));
  return out;
}

}  // namespace

TEST(GridTargets, FindsWhatReadingEveryButtonOnItsOwnFinds) {
  TTempDir dir;
  const std::string file = dir.File("app"), folder = dir.File("表");
  WriteFile(file, "#!/bin/sh\n");
  std::filesystem::create_directory(folder);
  const std::vector<std::string> paths{"",
                                       file,
                                       Sjis(folder),
                                       folder + "/gone",
                                       dir.File("missing \"quoted\""),
                                       "relative/x",
                                       "C:\\Tools\\a.exe",
                                       "https://example.jp/a",
                                       "rfPersonal",
                                       "nofolder",
                                       "\x81",
                                       "accessories-text-editor",
                                       "sh",
                                       "/usr/share/applications/a.desktop"};
  std::mt19937 random(7);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  for (int round = 0; round < 20; ++round) {
    TGridStore grid;
    grid.SetRowCount(1 + 1 + static_cast<int>(pick(6)));
    for (int r = 1; r < grid.RowCount(); ++r) {
      TPageRow row;
      TPageItem page;
      page.Caption = "p" + std::to_string(r);
      row.PageText = PageToText(page);
      const std::size_t buttons = pick(12);
      for (std::size_t b = 0; b < buttons; ++b) {
        TLaunchDataItem item;
        item.Kind = static_cast<std::uint8_t>(pick(9));
        item.Title = pick(3) == 0 ? "say \"hi\" " + std::to_string(b) : "t" + std::to_string(b);
        item.Link = paths[pick(paths.size())];
        if (pick(2) == 0) item.AltLink = paths[pick(paths.size())];
        if (pick(2) == 0) item.WorkDir = paths[pick(paths.size())];
        if (pick(2) == 0) item.IconFile = paths[pick(paths.size())];
        std::string text = ItemToText(item);
        switch (pick(8)) {
          case 0:  // not a button's text: skipped
            text = "x" + text;
            break;
          case 1:  // too few fields: an unregistered button
            text = text.substr(0, text.find(','));
            break;
          case 2:  // blanks around the commas: not the writer's form
            text = " " + std::to_string(item.Kind) + " ," + text.substr(text.find(',') + 1);
            break;
          default:
            break;
        }
        row.Buttons.push_back(text);
      }
      WritePageRow(grid, r, std::move(row));
    }
    if (pick(3) == 0) grid.SetCell(0, grid.RowCount() - 1, "damaged page");
    EXPECT_EQ(Described(CheckGridTargets(grid)), Described(CheckGridTargetsByItems(grid)))
        << "round " << round;
  }
}
