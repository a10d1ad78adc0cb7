#include "StartupLogic.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

#include "DataFileRead.h"
#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "WorkArea.h"

namespace {

constexpr int kDefaultWidth = 490;
constexpr int kDefaultHeight = 436;
constexpr int kNameColWidth = 80;

// "データーファイル読み込み中..." and "読み込み完了" in CP932
const std::string kLoadingText =
    "\x83\x66\x81\x5b\x83\x5e\x81\x5b\x83\x74\x83\x40\x83\x43\x83\x8b\x93\xc7\x82\xdd\x8d\x9e"
    "\x82\xdd\x92\x86...";
const std::string kLoadedText = "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x8a\xae\x97\xb9";

}  // namespace

const std::string& LoadingMessage() {
  return kLoadingText;
}

std::optional<bool> SaveOnCloseOfSwitch(const QString& argument) {
  const QString upper = argument.toUpper();
  if (upper == QLatin1String("/F")) return false;
  if (upper == QLatin1String("/FAS")) return true;
  return std::nullopt;
}

bool LoadDataFile(const QString& path, TLaunchList& list, std::string& statusText) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  if (!info.exists() || info.isDir()) return false;
  while (list.Pages.Count() > 0)
    list.DeletePage(0);
  list.SetFileName(path.toStdString());
  try {
    list.LoadFromFile();
  } catch (const ELaunchError&) {
    return false;  // not a readable data file: the caller refuses the command line
  }
  statusText = StatusToText(list.Status);
  return list.Loaded;
}

std::optional<TStartRequest> ParseCommandLine(const QStringList& arguments) {
  if (arguments.size() <= 1) return TStartRequest{false, QString()};  // from a menu
  if (const auto saveOnClose = SaveOnCloseOfSwitch(arguments.value(1))) {
    if (arguments.value(2).isEmpty()) return std::nullopt;
    return TStartRequest{*saveOnClose, arguments.value(2)};
  }
  // A path on this system may begin with "/", so only a whole switch is one.
  const QString path = arguments.value(1);
  if (arguments.size() != 2 || path.isEmpty() || path.startsWith(QLatin1Char('-')))
    return std::nullopt;
  return TStartRequest{false, path};
}

TCommandLine CheckCommandLine(const QStringList& arguments, TLaunchList& list,
                              std::string& statusText) {
  TCommandLine result;
  const std::optional<TStartRequest> request = ParseCommandLine(arguments);
  if (!request) return result;
  result.saveOnClose = request->saveOnClose;
  result.dataFileName = request->dataFileName;
  result.accepted = LoadDataFile(result.dataFileName, list, statusText);
  return result;
}

QString CannotOpenMessage(const QString& path) {
  TLaunchList list;
  return CannotOpenText(path, OpenListProblem(path, list));
}

int FillGrid(const TLaunchList& list, TGridStore& grid, const TFillSink& sink) {
  int nameColWidth = kNameColWidth;
  grid.Clear();
  const int pages = list.Pages.Count();
  int total = 0;  // buttons the grid will show: at most the button columns of each page
  for (int p = 0; p < pages; ++p)
    total += std::clamp(list.Pages.Get(p).Count, 0, TGridStore::kColCount - 1);
  sink.showProgress(total, kLoadingText);

  grid.SetRowCount(pages + 1);
  sink.resetIcons(pages);
  grid.SetCell(0, 0, StatusToText(list.Status));
  // A button read straight from its line of the file shows that line as its cell:
  // the grid keeps the file's bytes and the cell borrows them.
  grid.HoldBytes(list.HeldBytes().bytes);
  const std::string_view heldBytes = list.HeldBytes().View();
  std::string scratch;
  int done = 0;
  std::int64_t first = 0;
  {
    // One reset of the view when all rows are in, before the box waits for its Ok: the
    // grid behind the box shows every button meanwhile.
    const TGridStore::TBatch batch(grid);
    for (int p = 0; p < pages; ++p) {
      const TPageItem& page = list.Pages.Get(p);
      const int r = p + 1;
      std::vector<TFieldText> cells;
      cells.reserve(static_cast<std::size_t>(std::clamp(page.Count, 0, TGridStore::kColCount - 1)) +
                    1);
      cells.emplace_back(PageToText(page));
      const TLaunchDataItem unregistered;
      for (int b = 0; b < page.Count && b + 1 < TGridStore::kColCount; ++b) {
        // A count beyond the buttons the file holds shows unregistered buttons, so that
        // every button cell of the page has a text and an icon.
        std::int64_t index = first + b;
        const TLaunchDataItem& item =
            index >= 0 && index < list.Count() ? list.Get(static_cast<int>(index)) : unregistered;
        sink.addIcon(p, item);
        cells.push_back(ItemTextIn(item, heldBytes, scratch));
        sink.stepProgress(++done, item.Title);
      }
      grid.SetRowTexts(r, std::move(cells));
      nameColWidth = std::max(nameColWidth, sink.textWidth(page.Caption) + 8);
      first += std::max(page.Count, 0);
    }
  }
  sink.finishProgress(kLoadedText);
  return nameColWidth;
}

std::int64_t HiddenButtonCount(const TLaunchList& list) {
  // The same walk as FillGrid's: page p shows the buttons from the running sum of the
  // counts before it, at most a grid row of them. A negative count owns none.
  std::vector<bool> shown(static_cast<std::size_t>(list.Count()), false);
  std::int64_t first = 0;
  for (int p = 0; p < list.Pages.Count(); ++p) {
    const std::int64_t count = std::max(list.Pages.Get(p).Count, 0);
    const std::int64_t end = first + std::min<std::int64_t>(count, TGridStore::kColCount - 1);
    for (std::int64_t i = std::max<std::int64_t>(first, 0);
         i < std::min<std::int64_t>(end, list.Count()); ++i)
      shown[static_cast<std::size_t>(i)] = true;
    first += count;
  }
  return std::count(shown.begin(), shown.end(), false);
}

QString DamageWarning(const TLaunchList& list, const QString& otherFile) {
  const QString file = otherFile.isEmpty()
                           ? QStringLiteral("このデーターファイル")
                           : QStringLiteral("\"") + otherFile + QStringLiteral("\" ");
  QStringList parts;
  if (const std::int64_t hidden = HiddenButtonCount(list); hidden > 0)
    parts << file + QStringLiteral(
                        "には、どのページにも属さないボタンか、"
                        "1ページ 10000 個を超えるボタンが %1 個あります。\r"
                        "これらは表示されず、上書き保存すると失われます。")
                        .arg(hidden);
  if (const std::int64_t missing = list.MissingButtons(); missing > 0)
    parts << file + QStringLiteral(
                        "のページは合わせて %1 個のボタンを持つはずですが、"
                        "ファイルにあるボタンは %2 個です。\r"
                        "足りない %3 個のボタンは空で表示され、上書き保存すると"
                        "未登録のボタンとして書き込まれます。")
                        .arg(list.Count() + missing)
                        .arg(list.Count())
                        .arg(missing);
  return parts.join(QStringLiteral("\r\r"));
}

QString WindowSizeFile(const QString& saveFileName, const QString& programFile) {
  const QString name = QFileInfo(programFile).completeBaseName() + QStringLiteral(".ini");
  return QFileInfo(saveFileName).absoluteDir().filePath(name);
}

QSize LoadWindowSize(const QString& iniFile) {
  QSettings ini(iniFile, QSettings::IniFormat);
  bool widthOk = false, heightOk = false;
  int width = ini.value(QStringLiteral("Bounds/Width")).toInt(&widthOk);
  int height = ini.value(QStringLiteral("Bounds/Height")).toInt(&heightOk);
  // A size no window can have is as good as none.
  if (!widthOk || width <= 0 || width > 100000) width = kDefaultWidth;
  if (!heightOk || height <= 0 || height > 100000) height = kDefaultHeight;
  return {width, height};
}

void SaveWindowSize(const QString& iniFile, const QSize& size) {
  QSettings ini(iniFile, QSettings::IniFormat);
  ini.setValue(QStringLiteral("Bounds/Width"), size.width());
  ini.setValue(QStringLiteral("Bounds/Height"), size.height());
  ini.sync();
}

QPoint PlaceWindow(const QSize& size, const QRect& screen, const QRect& workArea) {
  int x = screen.left() + (screen.width() - size.width()) / 2;
  int y = screen.top() + (screen.height() - size.height()) / 2;
  FitToWorkArea(x, y, size.width(), size.height(), workArea);
  return {x, y};
}
