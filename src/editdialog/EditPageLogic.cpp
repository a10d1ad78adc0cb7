#include "EditPageLogic.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

#include "LaunchErrors.h"
#include "RecordText.h"
#include "TextFormat.h"

namespace {

constexpr int kPositionDigits = 5;

// The locale's collation. Letter case is folded before collating, since not every
// locale's collation (the C locale's) can be told to ignore it.
const QCollator& ListCollator() {
  static const QCollator collator = [] {
    QCollator c{QLocale()};
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setNumericMode(false);
    c.setIgnorePunctuation(false);
    return c;
  }();
  return collator;
}

// The order of keys by the list comparison: positions into keys, ascending or its
// exact reverse.
std::vector<std::size_t> SortedPositions(const std::vector<QString>& keys, bool descending) {
  const QCollator& collator = ListCollator();
  // Sort keys are built once, so that a long list does not collate each pair anew.
  std::vector<QCollatorSortKey> sortKeys;
  sortKeys.reserve(keys.size());
  for (const QString& key : keys)
    sortKeys.push_back(collator.sortKey(key.toCaseFolded()));
  std::vector<std::size_t> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return sortKeys[a].compare(sortKeys[b]) < 0;
  });
  if (descending) std::reverse(order.begin(), order.end());
  return order;
}

std::string TitleOrEmpty(const std::string& entry) {
  try {
    return TitleOfText(entry);
  } catch (const ELaunchError&) {
    return {};  // a text too short for a title sorts as one without
  }
}

}  // namespace

std::string CommittedCaption(const std::string& oldCaption, const QString& edited) {
  if (edited.isEmpty()) return oldCaption;
  const QLocale locale;
  if (locale.toUpper(edited) == locale.toUpper(ShownText(oldCaption))) return oldCaption;
  const auto cp932 = StoredText(edited);
  return cp932 ? *cp932 : oldCaption;
}

QString CountLabelText(int entries, std::int32_t maxButtons) {
  QString text = QStringLiteral("登録数： ") +
                 QString::fromStdString(PadNumber(entries, kPositionDigits, true));
  if (maxButtons != 0)
    return text + QStringLiteral(" - ") +
           QString::fromStdString(PadNumber(maxButtons, kPositionDigits, true));
  return text + QStringLiteral(" - 無制限");
}

int CompareListText(const QString& a, const QString& b) {
  return ListCollator().compare(a.toCaseFolded(), b.toCaseFolded());
}

void SortTexts(std::vector<QString>& texts, bool descending) {
  const std::vector<std::size_t> order = SortedPositions(texts, descending);
  std::vector<QString> sorted;
  sorted.reserve(texts.size());
  for (std::size_t i : order)
    sorted.push_back(std::move(texts[i]));
  texts = std::move(sorted);
}

TEntries SortByTitle(const TEntries& entries, bool descending) {
  std::vector<QString> keys;
  keys.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    keys.push_back(
        ShownText(TitleOrEmpty(entries[i])) + QLatin1Char(' ') +
        QString::fromStdString(PadNumber(static_cast<std::int32_t>(i), kPositionDigits, true)));
  TEntries sorted;
  sorted.reserve(entries.size());
  for (std::size_t i : SortedPositions(keys, descending))
    sorted.push_back(entries[i]);
  return sorted;
}

TEntries SortByUseCount(const TEntries& entries, bool descending) {
  std::vector<QString> keys;
  keys.reserve(entries.size());
  for (const std::string& entry : entries)
    keys.push_back(QString::fromStdString(PadNumber(UseCountOfText(entry), kPositionDigits, true)) +
                   ShownText(entry));
  TEntries sorted;
  sorted.reserve(entries.size());
  for (std::size_t i : SortedPositions(keys, descending))
    sorted.push_back(entries[i]);
  return sorted;
}

TEntries MoveSelection(const TEntries& entries, const std::vector<bool>& selected, int target) {
  TEntries moved, others;
  for (std::size_t i = 0; i < entries.size(); ++i)
    (i < selected.size() && selected[i] ? moved : others).push_back(entries[i]);
  target = std::clamp(target, 0, static_cast<int>(others.size()));
  others.insert(others.begin() + target, moved.begin(), moved.end());
  return others;
}

int DropTarget(int n, int k, int t) {
  if (t < 0 || t >= n) t = n - 1;
  if (t + k > n) t = n - k;
  return std::max(t, 0);
}

int NewButtonRoom(int entries, int n, std::int32_t maxButtons) {
  constexpr int kGridButtons = 10000;  // the main window's grid has no more columns
  const int most = maxButtons > 0 ? std::min<int>(maxButtons, kGridButtons) : kGridButtons;
  return std::clamp(std::min(n, most - entries), 0, n);
}

int DeleteSelected(TEntries& entries, const std::vector<bool>& selected, std::int32_t minButtons,
                   int current) {
  int d = current;
  for (int i = static_cast<int>(entries.size()) - 1; i >= 0; --i) {
    if (static_cast<std::size_t>(i) >= selected.size() || !selected[static_cast<std::size_t>(i)])
      continue;
    if (static_cast<std::int64_t>(entries.size()) <= minButtons) break;
    entries.erase(entries.begin() + i);
    d = i;
  }
  if (d >= static_cast<int>(entries.size())) d = static_cast<int>(entries.size()) - 1;
  return d;
}

void WriteToTargets(TEntries& entries, const std::vector<bool>& selected, int current,
                    const std::string& text) {
  const auto count = std::count(selected.begin(), selected.end(), true);
  if (count == 1) {
    if (current >= 0 && current < static_cast<int>(entries.size()))
      entries[static_cast<std::size_t>(current)] = text;
    return;
  }
  for (std::size_t i = 0; i < entries.size() && i < selected.size(); ++i)
    if (selected[i]) entries[i] = text;
}
