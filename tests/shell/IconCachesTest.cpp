// The grid's icon cache and the bevel frame of its cells.
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BevelFrame.h"
#include "IconCaches.h"
#include "IconStore.h"
#include "LaunchErrors.h"
#include "ShellIcons.h"

namespace {

std::unique_ptr<TIcon> Icon(int n) {
  return std::make_unique<TIcon>(ShellIcon(n));
}

// An icon of its own: no two share a cache key.
QIcon NewIcon() {
  return QIcon(QPixmap(1, 1));
}

void ExpectListError(const std::function<void()>& call, int index) {
  try {
    call();
    ADD_FAILURE() << "no error for index " << index;
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), msg::ListIndex(index).c_str());
  }
}

}  // namespace

TEST(IconCaches, RowsOfPlaceholders) {
  TIconGridList grid;
  EXPECT_EQ(AddIconRow(grid, 2), 0);
  EXPECT_EQ(AddIconRow(grid, -1), 1);
  EXPECT_EQ(grid.Get(0).Count(), 2);
  EXPECT_EQ(grid.Get(1).Count(), 0);
  EXPECT_EQ(grid.Get(0).Get(1).Icon.cacheKey(), PlaceholderIcon().cacheKey());

  InsertIconRow(grid, 2, 2);  // one past the end: appending is not inserting
  EXPECT_EQ(grid.Count(), 2);
  InsertIconRow(grid, -1, 2);
  EXPECT_EQ(grid.Count(), 2);
  InsertIconRow(grid, 1, 3);
  ASSERT_EQ(grid.Count(), 3);
  EXPECT_EQ(grid.Get(1).Count(), 3);
  EXPECT_EQ(grid.Get(2).Count(), 0);

  ResetIconGrid(grid, 0, 5);
  EXPECT_EQ(grid.Count(), 3) << "fewer than one row changes nothing";
  ResetIconGrid(grid, 3, 0);
  ASSERT_EQ(grid.Count(), 3);
  for (int r = 0; r < 3; ++r)
    EXPECT_EQ(grid.Get(r).Count(), 0);
  ResetIconGrid(grid, 2, 4);
  EXPECT_EQ(grid.Count(), 2);
  EXPECT_EQ(grid.Get(1).Count(), 4);
}

TEST(IconCaches, ReplaceInsertAndDeleteKeepOrderAndOwnership) {
  TIconList list;
  list.Add(Icon(3));
  list.Add(Icon(16));
  const qint64 second = list.Get(1).Icon.cacheKey();
  list.Replace(0, Icon(31));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(0).Icon.cacheKey(), ShellIcon(31).cacheKey());
  EXPECT_EQ(list.Get(1).Icon.cacheKey(), second);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);

  TIconGridList grid;
  auto row = std::make_unique<TIconList>();
  TIconList* kept = row.get();
  grid.Insert(0, std::move(row));
  AddIconRow(grid, 1);
  grid.Insert(2, std::make_unique<TIconList>());
  EXPECT_EQ(&grid.Get(0), kept);
  grid.Delete(0);
  EXPECT_EQ(grid.Count(), 2);
  grid.Clear();
  EXPECT_EQ(grid.Count(), 0);
}

TEST(IconCaches, MovesAndInsertsKeepEachPagesIconOrder) {
  std::vector<QIcon> icons;
  TIconList list;
  for (int i = 0; i < 4; ++i)
    list.Add(TIcon(icons.emplace_back(NewIcon())));
  const auto order = [&] {
    std::vector<int> at;
    for (int i = 0; i < list.Count(); ++i)
      for (int k = 0; k < static_cast<int>(icons.size()); ++k)
        if (list.Get(i).Icon.cacheKey() == icons[static_cast<std::size_t>(k)].cacheKey())
          at.push_back(k);
    return at;
  };
  list.Move(0, 2);
  EXPECT_EQ(order(), (std::vector<int>{1, 2, 0, 3}));
  list.Move(3, 1);
  EXPECT_EQ(order(), (std::vector<int>{1, 3, 2, 0}));
  list.Insert(4, TIcon(icons.emplace_back(NewIcon())));
  list.Insert(0, std::make_unique<TIcon>(icons.emplace_back(NewIcon())));
  EXPECT_EQ(order(), (std::vector<int>{5, 1, 3, 2, 0, 4}));
  list.Delete(2);
  EXPECT_EQ(order(), (std::vector<int>{5, 1, 2, 0, 4}));
  ExpectListError([&] { list.Move(0, 5); }, 5);
  ExpectListError([&] { list.Insert(6, TIcon()); }, 6);
  EXPECT_EQ(order(), (std::vector<int>{5, 1, 2, 0, 4}));
}

TEST(IconCaches, TheIconTableTellsKeysApartByAllTheirBytes) {
  // Keys that share a start, an empty key, a Shift-JIS trail byte of 0x5C, and
  // enough of them for the table to grow several times.
  std::vector<std::string> keys = {"", "/a", "/a/", "/ab", "\x95\x5C", "\x95\x5C\x5C"};
  for (int i = 0; i < 3000; ++i)
    keys.push_back("/home/taro/p" + std::to_string(i));
  std::vector<QIcon> icons;
  TIconTable table;
  for (const std::string& key : keys) {
    ASSERT_EQ(table.find(key), nullptr) << key;
    table.emplace(key, icons.emplace_back(NewIcon()));
  }
  ASSERT_EQ(table.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const QIcon* found = table.find(keys[i]);
    ASSERT_NE(found, nullptr) << keys[i];
    EXPECT_EQ(found->cacheKey(), icons[i].cacheKey()) << keys[i];
  }
  EXPECT_EQ(table.count("/a/b"), 0u);
  EXPECT_EQ(table.count("/home/taro/p3000"), 0u);
  table.clear();
  EXPECT_EQ(table.count("/a"), 0u);
  EXPECT_EQ(table.size(), 0u);
}

TEST(IconCaches, IndexesOutsideAListRaiseTheListError) {
  TIconList list;
  list.Add(Icon(0));
  ExpectListError([&] { list.Get(1); }, 1);
  ExpectListError([&] { list.Get(-1); }, -1);
  ExpectListError([&] { list.Replace(1, Icon(0)); }, 1);
  ExpectListError([&] { list.Delete(2); }, 2);
  TIconGridList grid;
  ExpectListError([&] { grid.Get(0); }, 0);
  ExpectListError([&] { grid.Delete(0); }, 0);
  ExpectListError([&] { grid.Insert(1, std::make_unique<TIconList>()); }, 1);
  EXPECT_EQ(list.Count(), 1);
}

TEST(BevelFrame, DrawsNestedFramesAndShrinksTheRectangle) {
  QImage image(10, 8, QImage::Format_ARGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);  // frames stay pixel-exact all the same
  QRect rect(1, 1, 8, 6);
  DrawBevelFrame(painter, rect, Qt::white, Qt::gray, 2);
  painter.end();
  EXPECT_EQ(rect, QRect(3, 3, 4, 2));
  EXPECT_EQ(painter.pen().width(), 1);
  const QRgb w = QColor(Qt::white).rgba(), g = QColor(Qt::gray).rgba(),
             b = QColor(Qt::black).rgba();
  EXPECT_EQ(image.pixel(1, 1), w);  // top-left corner
  EXPECT_EQ(image.pixel(5, 1), w);  // top edge
  EXPECT_EQ(image.pixel(1, 4), w);  // left edge
  EXPECT_EQ(image.pixel(8, 1), g);  // top-right corner belongs to the dark side
  EXPECT_EQ(image.pixel(1, 6), g);  // so does the bottom-left corner
  EXPECT_EQ(image.pixel(8, 4), g);
  EXPECT_EQ(image.pixel(4, 6), g);
  EXPECT_EQ(image.pixel(2, 2), w);  // the second frame
  EXPECT_EQ(image.pixel(7, 5), g);
  EXPECT_EQ(image.pixel(4, 3), b);  // inside stays as it was
  EXPECT_EQ(image.pixel(0, 0), b);  // outside too
  EXPECT_EQ(image.pixel(9, 7), b);
}
