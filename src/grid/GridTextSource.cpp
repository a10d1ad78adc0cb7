#include "GridTextSource.h"

#include <algorithm>

#include "GridRules.h"
#include "LaunchErrors.h"
#include "RecordText.h"

namespace {
constexpr std::size_t kButtonFields = 11;
}  // namespace

void CellToButton(std::string_view text, TLaunchDataItem& item, TRecordFields& fields) {
  if (ReadWrittenItem(text, item) == text.size() && !text.empty()) return;
  try {
    SplitRecord(text, fields, kButtonFields);
    FieldsToItem(fields, item, text);
  } catch (const ELaunchError&) {
    item = TLaunchDataItem();
  }
}

TGridTextSource::TGridTextSource(const TGridCells& grid, const std::atomic<bool>* stop)
    : grid_(grid), stop_(stop), status_(StatusOfGrid(grid)) {}

const TPageItem& TGridTextSource::Page(int p) {
  const int r = p + 1;
  try {
    page_ = TextToPage(grid_.Cell(0, r));
  } catch (const ELaunchError&) {
    page_ = TextToPage("");
  }
  page_->Count = std::clamp(CountOfRow(grid_, r), 0, grid_.ColCount() - 1);
  return *page_;
}

const TLaunchDataItem& TGridTextSource::Button(int p, int b, std::string_view& written) {
  if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) throw EWriteStopped();
  // Written again from its fields, as a list made from the grid is: a cell in another
  // form (or damaged) is saved in the writer's.
  written = {};
  CellToButton(grid_.Cell(b + 1, p + 1), item_, fields_);
  return item_;
}
