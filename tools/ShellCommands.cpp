#include "ShellCommands.h"

#include <QGuiApplication>
#include <QIcon>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "DataItems.h"
#include "IconFiles.h"
#include "LinkClassify.h"
#include "ListCheck.h"
#include "RecordText.h"
#include "ShiftJis.h"
#include "TargetCheck.h"

namespace {

// Qt's notes (a missing runtime folder and the like) are not the tool's output.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "pellodata: %s\n", text.toLocal8Bit().constData());
}

// Icons are pixmaps, and pixmaps need an application object; no window is shown.
std::unique_ptr<QGuiApplication> MakeApplication() {
  if (QGuiApplication::instance() != nullptr) return nullptr;
  qInstallMessageHandler(QuietMessages);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "pellodata";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// A record's text for one tab-separated field: control characters (a tab above
// all) as \xNN, the way bytes that are not CP932 are shown.
std::string FieldText(const std::string& utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F)
      out += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0xF];
    else
      out += c;
  }
  return out;
}

}  // namespace

int ClassifyCommand(const std::vector<std::string>& paths, std::ostream& out) {
  int status = 0;
  for (const std::string& path : paths) {
    std::unique_ptr<TLaunchDataItem> item = NewLaunchItem();
    bool recognised = ClassifyPath(path, *item);
    if (!recognised) status = 1;
    out << path << (recognised ? ": recognised: " : ": not recognised: ")
        << sjis::ToUtf8ForDisplay(ItemToText(*item)) << '\n';
  }
  return status;
}

int IconsCommand(const std::string& file, std::ostream& out, std::ostream& err) {
  std::optional<std::string> bytes = sjis::FromUtf8(file);
  if (!bytes) {
    err << "pellodata: \"" << file << "\" の名前には Shift-JIS で表せない文字があります。\n";
    return 1;
  }
  std::unique_ptr<QGuiApplication> app = MakeApplication();
  int count = CountIcons(*bytes);
  out << count << (count == 1 ? " icon\n" : " icons\n");
  for (int i = 0; i < count; ++i) {
    out << i << ':';
    for (const QSize& size : FindIconIn(*bytes, i).availableSizes())
      out << ' ' << size.width() << 'x' << size.height();
    out << '\n';
  }
  if (count == 0) {
    err << "pellodata: \"" << file << "\" にアイコンはありません。\n";
    return 1;
  }
  return 0;
}

int TargetsCommand(const TLaunchList& list, std::ostream& out) {
  std::string lines[2];  // by group: missing, cannot be checked
  auto check = [&lines](const TLaunchDataItem& item, const std::string& page, std::int64_t b) {
    for (const TTargetFinding& f : CheckButtonTargets(item)) {
      const bool missing = f.Group == TTargetFinding::TGroup::Missing;
      lines[missing ? 0 : 1] +=
          page + '\t' + std::to_string(b) + '\t' + FieldText(sjis::ToUtf8ForDisplay(item.Title)) +
          '\t' + f.Field.toStdString() + '\t' + FieldText(sjis::ToUtf8ForDisplay(f.Path)) + '\t' +
          f.Why.toStdString() + '\n';
    }
  };
  std::int64_t first = 0;
  for (int p = 0; p < list.Pages.Count(); ++p) {
    const TPageItem& page = list.Pages.Get(p);
    const std::string name = FieldText(sjis::ToUtf8ForDisplay(page.Caption));
    const THeldButtons held = HeldButtons(first, page.Count, list.Count());
    // Numbered as the editor's grid numbers its columns, from 1.
    for (std::int32_t b = held.begin; b < held.end; ++b)
      check(list.Get(static_cast<int>(first + b)), name, b + 1);
    first += page.Count;
  }
  for (std::int64_t index = first < 0 ? 0 : first; index < list.Count(); ++index)
    check(list.Get(static_cast<int>(index)), "-", index + 1);
  if (!lines[0].empty()) out << "# リンク切れ\n" << lines[0];
  if (!lines[1].empty()) out << "# この環境では確認できません\n" << lines[1];
  return lines[0].empty() ? 0 : 1;
}
