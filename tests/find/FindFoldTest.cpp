// The finder's folding by table and its search over one buffer, against the way
// before them (each text decoded and folded by itself), on every CP932 character and
// on random texts and grids.
#include <gtest/gtest.h>

#include <QString>
#include <random>
#include <set>

#include "FindFold.h"
#include "FindReplace.h"
#include "OldGridFinder.h"
#include "RecordText.h"
#include "ShiftJis.h"
#include "TextFormat.h"

namespace {

std::string NewWay(std::string_view cp932) {
  TFoldBuffer out;
  out.Push('>');  // folding appends
  AppendFolded({cp932}, '<', out);
  return std::string(out.Data() + 1, out.Size() - 1);
}

std::string OldWay(const std::string& cp932) {
  return FoldForFind(ShownText(cp932)).toStdString() + "<";
}

// Every CP932 character: each byte alone, and each lead byte with each trail byte.
std::vector<std::string> EveryCharacter() {
  std::vector<std::string> all;
  for (int b = 0; b < 0x100; ++b)
    all.emplace_back(1, static_cast<char>(b));
  for (int lead = 0; lead < 0x100; ++lead)
    for (int trail = 0; trail < 0x100; ++trail)
      if (sjis::IsLeadByte(static_cast<unsigned char>(lead)) &&
          sjis::IsTrailByte(static_cast<unsigned char>(trail)))
        all.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  return all;
}

// Pieces of CP932 text where folding is most likely to go wrong: letters of both
// widths and cases, kana of both widths with the voiced sound marks of both widths,
// spacing accents, composed squares, bytes CP932 lacks and lone lead bytes.
std::string RandomText(std::mt19937& random, int most) {
  static const std::vector<std::string> pieces = {
      "a",        "Z",        "0",        "/",        "\\",       " ",        "~",
      "\x82\x60", "\x82\x81", "\x82\x4f", "\xb6",     "\xb3",     "\xdc",     "\xa6",
      "\xca",     "\xde",     "\xdf",     "\xde",     "\xdf",     "\x82\xa9", "\x83\x4a",
      "\x83\x45", "\x83\x8f", "\x81\x54", "\x81\x52", "\x81\x4a", "\x81\x4b", "\x81\x4c",
      "\x81\x4e", "\x81\x50", "\x95\x5c", "\x87\x7e", "\x87\x65", "\x80",     "\xa0",
      "\xfd",     "\xff",     "\x85\x40", "\xeb\x40", "\xf0\x40", "\x81",     "\xe0",
      "\x8e\xc0", "\x83\x94", "\x81\x60", "\"",       "\"\""};
  std::string text;
  const int count = std::uniform_int_distribution<int>(0, most)(random);
  for (int i = 0; i < count; ++i) {
    const int kind = std::uniform_int_distribution<int>(0, 9)(random);
    if (kind < 7) {
      text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    } else if (kind < 9) {
      text += static_cast<char>(std::uniform_int_distribution<int>(0x81, 0xfc)(random));
      text += static_cast<char>(std::uniform_int_distribution<int>(0x40, 0xfc)(random));
    } else {
      text += static_cast<char>(std::uniform_int_distribution<int>(0, 0xff)(random));
    }
  }
  return text;
}

}  // namespace

TEST(FindFold, FoldsEveryCharacterAsBefore) {
  for (const std::string& c : EveryCharacter()) {
    const QString folded = FoldForFind(ShownText(c));
    ASSERT_EQ(NewWay(c), folded.toStdString() + "<") << testing::PrintToString(c);
    ASSERT_FALSE(std::any_of(folded.begin(), folded.end(), [](QChar q) { return q.isSurrogate(); }))
        << "the finder takes a needle with a surrogate to find nothing";
  }
  // A lead byte without its trail stands alone, at the end or before any other byte.
  for (int lead = 0x81; lead <= 0xfc; ++lead)
    for (const char next : {'\0', 'A', '\x7f', '\xfd'}) {
      const std::string text{static_cast<char>(lead), next};
      ASSERT_EQ(NewWay(text), OldWay(text)) << testing::PrintToString(text);
    }
}

// A character is folded on its own unless its decomposition starts with a combining
// mark; that is right only if none of the others starts with a character that
// composes with the one before it (a starter second in some canonical decomposition).
TEST(FindFold, NoCharacterFoldedAloneComposesWithTheOneBefore) {
  std::set<char32_t> seconds;
  for (char32_t u = 0; u <= 0x10ffff; ++u) {
    if (u >= 0xd800 && u <= 0xdfff) continue;
    const QList<uint> nfd =
        QString::fromUcs4(&u, 1).normalized(QString::NormalizationForm_D).toUcs4();
    for (qsizetype i = 1; i < nfd.size(); ++i)
      if (QChar::combiningClass(nfd[i]) == 0) seconds.insert(nfd[i]);
  }
  for (const std::string& c : EveryCharacter()) {
    const QList<uint> nfkd = ShownText(c).normalized(QString::NormalizationForm_KD).toUcs4();
    ASSERT_FALSE(nfkd.isEmpty());
    if (QChar::combiningClass(nfkd.front()) == 0) {
      ASSERT_EQ(seconds.count(nfkd.front()), 0u) << testing::PrintToString(c);
    }
  }
}

TEST(FindFold, FoldsRandomTextsAsBefore) {
  std::mt19937 random(20240611);
  for (int i = 0; i < 30000; ++i) {
    const std::string text = RandomText(random, 12);
    ASSERT_EQ(NewWay(text), OldWay(text)) << testing::PrintToString(text);
  }
}

// Random grids, some button texts damaged or in forms the writer does not give, searched
// while typing: each text longer by one, then shorter again, the same hits as before.
TEST(FindFold, FindsWhileTypingAsBefore) {
  std::mt19937 random(7);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  for (int round = 0; round < 10; ++round) {
    TGridStore grid;
    const int rows = 2 + below(6);
    grid.SetRowCount(rows);
    std::vector<std::string> shown;  // field texts to take needles from
    for (int r = 1; r < rows; ++r) {
      const int count = below(40);
      grid.SetCell(0, r, PageToText(TPageItem("p", count, 0)));
      for (int c = 1; c <= count + below(2); ++c) {
        TLaunchDataItem item;
        for (TFieldText* field : {&item.Title, &item.Link, &item.AltLink, &item.Params,
                                  &item.WorkDir, &item.IconFile, &item.Comment}) {
          *field = RandomText(random, 6);
          shown.push_back(ShownText(*field).toStdString());
        }
        std::string text = ItemToText(item);
        switch (below(12)) {
          case 0:
            text = "x" + text;
            break;  // kind not a number
          case 1:
            text = text.substr(0, text.size() / 3);
            break;  // too few fields
          case 2:
            text.clear();
            break;  // never registered
          case 3:
            text.insert(text.find(','), " ");
            break;  // read by the split
          default:
            break;
        }
        grid.SetCell(c, r, text);
      }
    }
    TGridFinder finder;
    TOldGridFinder old;
    for (int typed = 0; typed < 100; ++typed) {
      QString word = QString::fromStdString(
          shown[static_cast<std::size_t>(below(static_cast<int>(shown.size())))]);
      if (word.isEmpty()) word = ShownText(RandomText(random, 3));
      word = word.mid(below(static_cast<int>(word.size()) + 1), 1 + below(6));
      if (below(3) == 0) word = word.toUpper();
      std::vector<QString> keys;
      for (qsizetype n = 0; n <= word.size(); ++n)
        keys.push_back(word.left(n));
      for (qsizetype n = word.size() - 1; n >= 0; --n)
        keys.push_back(word.left(n));
      for (const QString& key : keys)
        ASSERT_EQ(finder.FindAll(grid, key), old.FindAll(grid, key)) << key.toStdString();
    }
  }
}

// A grid big enough to be folded on several threads, with empty pages among the full ones:
// the first keystroke (searched by the threads that fold) and later ones (searched across
// the parts) find what the old finder does.
TEST(FindFold, FindsInAGridFoldedOnSeveralThreadsAsBefore) {
  TGridStore grid;
  const int rows = 900;
  grid.SetRowCount(rows);
  for (int r = 1; r < rows; ++r) {
    const int count = r % 7 == 0 ? 0 : 30;
    grid.SetCell(0, r, PageToText(TPageItem("p", count, 0)));
    for (int c = 1; c <= count; ++c) {
      TLaunchDataItem item;
      item.Kind = lkProgram;
      item.Title = "T" + std::to_string(r) + "-" + std::to_string(c);
      item.Link = "/usr/bin/x" + std::to_string(c % 10);
      grid.SetCell(c, r, ItemToText(item));
    }
  }
  TGridFinder typing;  // one keystroke after another
  TOldGridFinder old;
  for (const char* key : {"t1", "t10", "x3", "/USR", "-30", "zzz", "T899-3"}) {
    const QString text = QString::fromLatin1(key);
    const std::vector<QPoint>& before = old.FindAll(grid, text);
    ASSERT_EQ(typing.FindAll(grid, text), before) << key;
    TGridFinder first;  // the first keystroke
    ASSERT_EQ(first.FindAll(grid, text), before) << key;
  }
  EXPECT_EQ(typing.FindAll(grid, QStringLiteral("/usr")).size(), 23130u) << "every button";
}

// Random steps over a grid: cells and whole rows rewritten (page counts too), rows
// inserted, deleted and moved, steps undone and redone. A finder told of each change by
// the store, folding parts of a few buttons, finds after every step what one folded
// afresh does, both for a first keystroke and for the next one among its hits.
TEST(FindFold, FollowsTheGridsChangesAsAFreshFoldFinds) {
  std::mt19937 random(11);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  TGridStore grid;
  const auto fillRow = [&](int r) {
    const int count = below(8);
    grid.SetCell(0, r, PageToText(TPageItem("p", count, 0)));
    for (int c = 1; c <= count; ++c) {
      TLaunchDataItem item;
      item.Kind = lkProgram;
      item.Title = "t" + std::to_string(below(40));
      item.Link = "/x/" + std::to_string(below(40));
      grid.SetCell(c, r, ItemToText(item));
    }
  };
  grid.SetRowCount(40);
  for (int r = 1; r < 40; ++r)
    fillRow(r);
  TGridFinder kept(8);
  grid.SetObserver(&kept);
  std::vector<TGridJournal> done;
  std::vector<TGridJournal> undone;
  for (int step = 0; step < 400; ++step) {
    const int rows = grid.RowCount();
    const int what = below(8);
    if (what == 0 && !done.empty()) {
      for (auto c = done.back().Changes.rbegin(); c != done.back().Changes.rend(); ++c)
        grid.Undo(done.back(), *c);
      undone.push_back(std::move(done.back()));
      done.pop_back();
    } else if (what == 1 && !undone.empty()) {
      for (const TGridChange& change : undone.back().Changes)
        grid.Redo(undone.back(), change);
      done.push_back(std::move(undone.back()));
      undone.pop_back();
    } else {
      TGridJournal journal;
      grid.SetJournal(&journal);
      if (what <= 3) {  // a cell or, as a replace does, cells of many rows
        for (int n = what == 3 ? 1 + below(30) : 1; n > 0; --n) {
          const int r = 1 + below(rows - 1);
          grid.SetCell(1 + below(8), r, grid.Cell(1 + below(8), 1 + below(rows - 1)));
        }
      } else if (what == 4) {
        fillRow(1 + below(rows - 1));
      } else if (what == 5) {
        const int first = 1 + below(rows), count = 1 + below(3);
        grid.InsertRows(first, count);
        for (int r = first; r < first + count; ++r)
          fillRow(r);
      } else if (what == 6 && rows > 3) {
        grid.DeleteRows(1 + below(rows - 1), 1 + below(3));
      } else {
        grid.MoveRow(1 + below(rows - 1), 1 + below(rows - 1));
      }
      grid.SetJournal(nullptr);
      if (!journal.empty()) {
        done.push_back(std::move(journal));
        undone.clear();
      }
    }
    const QString text = QStringLiteral("t%1").arg(below(40));
    for (const QString& key : {text.left(1), text}) {
      TGridFinder fresh;
      ASSERT_EQ(kept.FindAll(grid, key), fresh.FindAll(grid, key)) << "step " << step;
    }
  }
  grid.SetObserver(nullptr);
}
