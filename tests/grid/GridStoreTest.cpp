#include "GridStore.h"

#include <gtest/gtest.h>

namespace {

// Records what the store reports.
struct TLog : TGridStore::TObserver {
  std::vector<std::string> events;
  void CellChanged(int c, int r) override { Add("cell", c, r); }
  void RowsInserted(int f, int n) override { Add("insert", f, n); }
  void RowsDeleted(int f, int n) override { Add("delete", f, n); }
  void RowMoved(int f, int t) override { Add("move", f, t); }
  void RowChanged(int r) override { Add("row", r, 0); }
  void Reset() override { events.push_back("reset"); }
  void Add(const char* what, int a, int b) {
    events.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b));
  }
};

std::vector<std::vector<std::string>> AllRows(const TGridCells& g) {
  std::vector<std::vector<std::string>> all;
  for (int r = 0; r < g.RowCount(); ++r)
    all.push_back(g.Row(r));
  return all;
}

std::vector<std::string> Column0(const TGridStore& g) {
  std::vector<std::string> out;
  for (int r = 0; r < g.RowCount(); ++r)
    out.push_back(g.Cell(0, r));
  return out;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(GridStore, CellsAreEmptyUntilWrittenAndOutsideTheGrid) {
  TGridStore g;
  g.SetRowCount(3);
  EXPECT_EQ(g.ColCount(), 10001);
  EXPECT_EQ(g.Cell(5000, 2), "");
  g.SetCell(10000, 2, "last");
  EXPECT_EQ(g.Cell(10000, 2), "last");
  EXPECT_EQ(g.UsedColumns(2), 10001);
  g.SetCell(10001, 2, "x");
  g.SetCell(0, 3, "x");
  g.SetCell(-1, 0, "x");
  EXPECT_EQ(g.Cell(10001, 2), "");
  EXPECT_EQ(g.Cell(0, 3), "");
  EXPECT_EQ(g.UsedColumns(1), 0) << "an empty text written past the end adds no column";
  g.SetCell(7, 1, "");
  EXPECT_EQ(g.UsedColumns(1), 0);
}

TEST(GridStore, RowOperationsMoveWholeRowsAndReportThem) {
  TGridStore g;
  TLog log;
  g.SetObserver(&log);
  g.SetRowCount(4);
  for (int r = 0; r < 4; ++r) {
    g.SetCell(0, r, "p" + std::to_string(r));
    g.SetCell(3, r, "b" + std::to_string(r));
  }
  g.MoveRow(3, 1);
  EXPECT_EQ(Column0(g), (Strings{"p0", "p3", "p1", "p2"}));
  EXPECT_EQ(g.Cell(3, 1), "b3");
  g.InsertRows(2, 2);
  EXPECT_EQ(Column0(g), (Strings{"p0", "p3", "", "", "p1", "p2"}));
  g.DeleteRows(1, 2);
  EXPECT_EQ(Column0(g), (Strings{"p0", "", "p1", "p2"}));
  g.DeleteRows(3, 99);
  EXPECT_EQ(Column0(g), (Strings{"p0", "", "p1"}));
  g.SetRow(1, {"new", "b"});
  EXPECT_EQ(g.Row(1), (Strings{"new", "b"}));
  EXPECT_EQ(log.events.back(), "row 1 0");
  EXPECT_NE(std::find(log.events.begin(), log.events.end(), "move 3 1"), log.events.end());
  EXPECT_NE(std::find(log.events.begin(), log.events.end(), "insert 2 2"), log.events.end());
  EXPECT_NE(std::find(log.events.begin(), log.events.end(), "delete 3 1"), log.events.end());

  log.events.clear();
  g.MoveRow(0, 7);
  g.InsertRows(9, 1);
  g.InsertRows(1, 0);
  g.DeleteRows(5, 1);
  EXPECT_TRUE(log.events.empty()) << "changes outside the grid do nothing";
  g.DeleteRows(0, 99);
  EXPECT_EQ(g.RowCount(), 1) << "a grid keeps one row";
  EXPECT_EQ(log.events.back(), "reset");
}

// A step of many changes (cells, some growing a row, whole rows, rows inserted, deleted
// and moved) taken back change by change and made again, twice, gives every row as it
// was, byte for byte, and tells the observer of every cell it puts back.
// Snapshots taken along the way stay as they were taken, whatever the grid does after.
TEST(GridStore, UndoAndRedoOfManyChangesRestoreEveryRow) {
  TGridStore g;
  g.SetRowCount(4);
  for (int r = 1; r < 4; ++r)
    for (int c = 0; c < 6; ++c)
      g.SetCell(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
  const auto rows = [&g] { return AllRows(g); };
  const std::vector<Strings> before = rows();
  std::vector<std::pair<TGridSnapshot, std::vector<Strings>>> snapshots;
  TGridJournal journal;
  g.SetJournal(&journal);
  unsigned seed = 7;
  for (int i = 0; i < 300; ++i) {
    if (i % 20 == 0) snapshots.emplace_back(g.Snapshot(), rows());
    seed = seed * 1103515245u + 12345u;
    const int r = 1 + static_cast<int>(seed >> 8) % (g.RowCount() - 1);
    const int c = static_cast<int>(seed >> 16) % 9;  // beyond column 5 the row grows
    const std::string text = "v" + std::to_string(i);
    switch ((seed >> 24) % 12) {
      case 0:
        g.SetRow(r, Strings(static_cast<std::size_t>(c), text));
        break;
      case 1:
        if (g.RowCount() > 3) g.DeleteRows(r, 1 + c % 2);
        break;
      case 2:
        g.InsertRows(r, 1);
        break;
      case 3:
        g.MoveRow(r, 1 + c % (g.RowCount() - 1));
        break;
      default:
        g.SetCell(c, r, text);  // often the same cell twice: one change
    }
  }
  g.SetJournal(nullptr);
  const std::vector<Strings> after = rows();
  TLog log;
  g.SetObserver(&log);
  for (int round = 0; round < 2; ++round) {
    for (auto change = journal.Changes.rbegin(); change != journal.Changes.rend(); ++change)
      g.Undo(journal, *change);
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(log.events.empty());
    for (const TGridChange& change : journal.Changes)
      g.Redo(journal, change);
    EXPECT_EQ(rows(), after);
  }
  g.SetObserver(nullptr);
  g.Clear();
  for (const auto& [snapshot, taken] : snapshots)
    EXPECT_EQ(AllRows(snapshot), taken);
}

// A journal takes the texts it replaced, borrowing ones included: the bytes they borrow
// stay for as long as the journal or the grid needs them, after the grid was cleared too.
TEST(GridStore, AJournalKeepsTheBytesItsTextsBorrow) {
  const std::string file = "borrowed";
  std::weak_ptr<const char[]> held;
  TGridStore g;
  TGridJournal journal;
  {
    std::shared_ptr<char[]> bytes(new char[file.size()]);
    std::copy(file.begin(), file.end(), bytes.get());
    held = bytes;
    g.SetRowCount(2);
    g.HoldBytes(bytes);
    std::vector<TFieldText> row(2);
    row[1] = TFieldText::Borrowing({bytes.get(), file.size()});
    g.SetRowTexts(1, std::move(row));
  }
  g.SetJournal(&journal);
  g.SetCell(1, 1, "first");
  g.SetCell(1, 1, "second");
  g.SetJournal(nullptr);
  EXPECT_EQ(journal.Changes.size(), 1u) << "two changes of one cell in a row are one";
  g.Clear();
  EXPECT_FALSE(held.expired()) << "the journal still borrows them";
  g.SetRowCount(2);
  g.SetCell(1, 1, "second");  // as the step left it
  g.Undo(journal, journal.Changes.front());
  journal = {};
  EXPECT_FALSE(held.expired()) << "the grid borrows them again";
  EXPECT_EQ(g.Cell(1, 1), file);
  EXPECT_TRUE(g.Cell(1, 1).Borrowed());
}
