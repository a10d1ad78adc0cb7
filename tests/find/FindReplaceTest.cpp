// Finding buttons with folded letter forms, replacing text in their paths and clearing
// the buttons the target check found, on a grid without a window.
#include <gtest/gtest.h>

#include "FindReplace.h"
#include "GridFixture.h"
#include "GridRules.h"
#include "GridTargets.h"
#include "TestSupport.h"

using testing_support::Sjis;

namespace {

void SetButton(TGridFixture& f, int c, int r, const std::string& title, const std::string& link,
               const std::string& comment = {}) {
  TLaunchDataItem item;
  item.Kind = lkProgram;
  item.Title = title;
  item.Link = link;
  item.WorkDir = link.substr(0, link.rfind('/') + 1);
  item.Comment = comment;
  f.grid.SetCell(c, r, ItemToText(item));
}

}  // namespace

TEST(Find, FoldsCaseAndWidthAndGoesInPageOrderWithWrap) {
  TGridFixture f({2, 3});
  SetButton(f, 2, 1, Sjis("ＡＢＣエディタ"), "/usr/bin/abc");
  SetButton(f, 1, 2, Sjis("ｶﾀｶﾅ"), "/opt/kana", "about ABC");
  SetButton(f, 3, 2, Sjis("表示"), "/srv/show");
  TGridFinder finder;
  EXPECT_EQ(finder.FindAll(f.grid, QStringLiteral("abc")), (std::vector<QPoint>{{2, 1}, {1, 2}}));
  EXPECT_EQ(finder.FindAll(f.grid, QStringLiteral("カタカナ")), (std::vector<QPoint>{{1, 2}}));
  EXPECT_EQ(finder.FindAll(f.grid, QStringLiteral("表")), (std::vector<QPoint>{{3, 2}}));
  EXPECT_TRUE(finder.FindAll(f.grid, QStringLiteral("\\")).empty()) << "表 ends in 0x5C";
  EXPECT_TRUE(finder.FindAll(f.grid, QString()).empty());
  EXPECT_TRUE(finder.FindAll(f.grid, QStringLiteral("abc\nusr")).empty())
      << "no match across fields";

  const std::vector<QPoint> hits = finder.FindAll(f.grid, QStringLiteral("abc"));
  bool wrapped = false;
  EXPECT_EQ(NextHit(hits, 1, 1, wrapped), 0);
  EXPECT_EQ(NextHit(hits, 2, 1, wrapped), 1);
  EXPECT_FALSE(wrapped);
  EXPECT_EQ(NextHit(hits, 1, 2, wrapped), 0);
  EXPECT_TRUE(wrapped);

  SetButton(f, 1, 1, "ABC again", "/x");
  EXPECT_EQ(finder.FindAll(f.grid, QStringLiteral("abc")).size(), 2u) << "kept until invalidated";
  finder.Invalidate();
  EXPECT_EQ(finder.FindAll(f.grid, QStringLiteral("abc")).size(), 3u);
}

TEST(Replace, ChangesOnlyWholeCharactersOfThePathFields) {
  TGridFixture f({2, 2});
  SetButton(f, 1, 1, "a", "/media/old/a.exe");
  SetButton(f, 2, 1, "old title", "/usr/bin/b");
  SetButton(f, 1, 2, "c", Sjis("C:\\表\\c.exe"));
  const std::string before = f.grid.Cell(2, 1);

  const auto plan = PlanReplacements(f.grid, "/media/old/", "/home/me/apps/", 0);
  ASSERT_EQ(plan.size(), 2u) << "Link and WorkDir of button 1";
  EXPECT_EQ(FieldNameOf(plan[0]), QStringLiteral("リンク先"));
  EXPECT_EQ(BeforeOf(f.grid, plan[0]), "/media/old/a.exe");
  EXPECT_EQ(AfterOf(f.grid, plan, plan[0]), "/home/me/apps/a.exe");
  EXPECT_EQ(ApplyReplacements(f.edit, plan), 1);
  EXPECT_EQ(LinkOfText(f.grid.Cell(1, 1)), "/home/me/apps/a.exe");
  EXPECT_EQ(f.grid.Cell(2, 1), before) << "a title is no path";

  const auto slashes = PlanReplacements(f.grid, "\\", "/", 2);
  ASSERT_EQ(slashes.size(), 1u);
  EXPECT_EQ(AfterOf(f.grid, slashes, slashes[0]), Sjis("C:/表/c.exe")) << "表's 0x5C byte stays";
  EXPECT_TRUE(PlanReplacements(f.grid, "\\", "/", 1).empty()) << "the current page only";

  EXPECT_FALSE(ReplacementRefusal(QString(), QStringLiteral("x")).isEmpty());
  EXPECT_FALSE(ReplacementRefusal(QStringLiteral("a"), QStringLiteral("b\nc")).isEmpty());
  EXPECT_FALSE(ReplacementRefusal(QStringLiteral("a"), QStringLiteral("😀")).isEmpty());
  EXPECT_FALSE(ReplacementRefusal(QStringLiteral("a"), QStringLiteral("¥")).isEmpty())
      << "no best-fit backslash";
  EXPECT_TRUE(ReplacementRefusal(QStringLiteral("/old/"), QStringLiteral("/新しい/")).isEmpty());
}

TEST(TargetClear, AsksOnceNamingHowManyButtons) {
  TGridFixture f({3, 2});
  const std::vector<QPoint> cells{{1, 1}, {3, 1}, {2, 2}, {3, 2}};  // (3, 2) holds no button
  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_EQ(ClearButtons(f.edit, cells), 0);
  EXPECT_EQ(KindOfText(f.grid.Cell(1, 1)), lkProgram) << "nothing cleared on no";
  f.dialogs.PushMessageAnswer(mrYes);
  EXPECT_EQ(ClearButtons(f.edit, cells), 3);
  EXPECT_EQ(KindOfText(f.grid.Cell(2, 2)), lkNone);
  ASSERT_EQ(f.dialogs.Questions().size(), 2u);
  EXPECT_EQ(f.dialogs.Questions()[0].Text,
            QStringLiteral("3 個のボタンの登録情報をクリアしますか？"));
  EXPECT_EQ(f.dialogs.Questions()[0].Caption, QStringLiteral("確認"));
  EXPECT_EQ(f.dialogs.Questions()[0].Buttons, mbYes | mbNo);
}
