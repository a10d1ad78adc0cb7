#include "ShellCommands.h"

#include <QGuiApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "DataItems.h"
#include "IconFiles.h"
#include "LinkClassify.h"
#include "RecordText.h"
#include "ShiftJis.h"

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
    err << "pellodata: " << file << ": the name has characters CP932 cannot hold\n";
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
    err << "pellodata: " << file << " holds no icons\n";
    return 1;
  }
  return 0;
}
