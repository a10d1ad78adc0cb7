// The grid as the text form's writer reads it, straight from the cells: the status of
// cell (0, 0), then page by page its page text and its buttons, each cell read into a
// record only as it is written. A save, an export and the recovery copy write the grid
// this way, so a million buttons are never held twice.
#pragma once

#include <atomic>
#include <memory>

#include "DataItems.h"
#include "GridStore.h"
#include "RecordSplit.h"
#include "TextFormSource.h"

// Reads a button's cell text as a save writes it: in the writer's form straight from
// its bytes (item's texts then borrow them), any other through the record split; a
// damaged text gives an unregistered button.
void CellToButton(std::string_view text, TLaunchDataItem& item, TRecordFields& fields);

class TGridTextSource : public TTextFormSource {
 public:
  // grid must stay unchanged while the source is read. When stop is given and becomes
  // true, the next button read throws EWriteStopped.
  explicit TGridTextSource(const TGridCells& grid, const std::atomic<bool>* stop = nullptr);
  const TDataStatus& Status() override { return *status_; }
  int PageCount() override { return grid_.RowCount() - 1; }
  // A page's Count is the number of buttons its row gives (what the grid shows).
  const TPageItem& Page(int p) override;
  const TLaunchDataItem& Button(int p, int b, std::string_view& written) override;

 private:
  const TGridCells& grid_;
  const std::atomic<bool>* stop_;
  std::unique_ptr<TDataStatus> status_;
  std::unique_ptr<TPageItem> page_;
  TLaunchDataItem item_;
  TRecordFields fields_;
};

// Thrown by a source whose stop became true: the writing was given up on purpose.
struct EWriteStopped : std::exception {
  const char* what() const noexcept override { return "stopped"; }
};
