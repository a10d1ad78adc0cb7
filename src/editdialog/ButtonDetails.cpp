#include "ButtonDetails.h"

#include "ItemIcons.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "RootFolder.h"
#include "ShellFolders.h"
#include "ShiftJis.h"
#include "TextFormat.h"
#include "TextUtils.h"

namespace {

constexpr std::int32_t kShowCmds[] = {1, 7, 3};  // normal, minimised, maximised

std::string Cp932Or(const std::string& fallback, const QString& text) {
  return StoredText(text).value_or(fallback);
}

}  // namespace

std::unique_ptr<TLaunchDataItem> ItemOfEntry(const std::string& entry) {
  try {
    return TextToItem(entry);
  } catch (const ELaunchError&) {
    return NewLaunchItem();
  }
}

QString ShownComment(const std::string& comment) {
  return ShownText(comment).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string EditedText(const std::string& shown, const QString& text) {
  return text == ShownText(shown) ? shown : Cp932Or(shown, text);
}

std::string EditedComment(const std::string& shown, const QString& text) {
  if (text == ShownComment(shown)) return shown;
  return Cp932Or(shown, QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

std::int32_t ShowCmdOfRow(int row) {
  return row >= 0 && row < 3 ? kShowCmds[row] : kShowNormal;
}

int RowOfShowCmd(std::int32_t showCmd) {
  for (int row = 0; row < 3; ++row)
    if (kShowCmds[row] == showCmd) return row;
  return 0;
}

TDetailFields DetailsOfEntry(const std::string& entry) {
  const auto item = ItemOfEntry(entry);
  TDetailFields f;
  f.Kind = item->Kind;
  f.Title = item->Title;
  f.Link = item->Kind == lkShortcut ? item->AltLink : item->Link;
  f.Params = item->Params;
  f.WorkDir = item->WorkDir;
  if (item->Kind == lkSpecialFolder) f.SpecialFolder = RootFolderFromName(item->Link);
  f.Comment = sjis::ReplaceText(item->Comment, "\\n", "\r\n");
  f.ShowRow = RowOfShowCmd(item->ShowCmd);
  f.UseCount = std::to_string(item->UseCount);
  std::int32_t index = item->IconIndex;
  if (!item->IconFile.empty()) {
    f.IconPath = item->IconFile;
  } else if (item->Kind == lkDocument || item->Kind == lkFolder || item->Kind == lkSpecialFolder) {
    GetItemIconSource(*item, f.IconPath, index);
  } else {
    f.IconPath = item->Link;
  }
  f.IconIndex = std::to_string(index);
  return f;
}

std::string StoreDetails(const std::string& entry, const TDetailFields& f) {
  const auto item = ItemOfEntry(entry);
  item->Title = f.Title;
  (item->Kind == lkShortcut ? item->AltLink : item->Link) = f.Link;
  item->Params = f.Params;
  item->WorkDir = f.WorkDir;
  if (f.ShowRow >= 0 && f.ShowRow < 3) item->ShowCmd = kShowCmds[f.ShowRow];
  item->UseCount = IntegerOr(f.UseCount, 0);
  item->Comment = sjis::ReplaceText(f.Comment, "\r\n", "\\n");
  item->IconFile = f.IconPath;
  item->IconIndex = IntegerOr(f.IconIndex, 0);
  return ItemToText(*item);
}

QString SpecialFolderRowText(int row) {
  QString name = SpecialFolderDisplayName(row);
  if (name.isEmpty()) name = QStringLiteral("UnTitled");
  if (row >= rfCommonDesktopDirectory && row <= rfCommonStartup)
    name += QStringLiteral(" (All Users)");
  return name;
}
