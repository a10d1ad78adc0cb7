// The editor's program entry.
//   pelledit                 open the data file worked on last, else the one chosen
//   pelledit FILE            open the data file FILE (as /F does)
//   pelledit /F FILE         the launcher's start: save with the File menu
//   pelledit /FAS FILE       the launcher's start: no save item; closing asks to save
//   pelledit --help | -h | --version
// Exit status: 0 closed normally (or help, version, or no file chosen), 1 FILE cannot
// be opened or no display to show the window on, 2 a wrong command line.
#include <QApplication>
#include <QIcon>
#include <QProxyStyle>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EditorStart.h"
#include "LaunchErrors.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "QtTranslations.h"
#include "StartupLogic.h"
#include "VersionInfo.h"

namespace {

const char* const kUsageText =
    "usage: pelledit [FILE]\n"
    "       pelledit /F FILE\n"
    "       pelledit /FAS FILE\n"
    "       pelledit --help | --version\n";

const char* const kHelpText =
    "\n"
    "Opens FILE, a data file of the launcher, in the editor; without FILE, the data\n"
    "file worked on last, or the one chosen in the file chooser.\n"
    "  /F    save with the File menu (FILE alone opens the same way)\n"
    "  /FAS  as the launcher starts it: no save item, closing asks whether to save\n"
    "The switches are read in any letter case.\n"
    "\n"
    "Exit status: 0 closed, or no file chosen; 1 FILE cannot be opened, or no display;\n"
    "2 a wrong command line.\n";

// Hints come quickly and go after two seconds, across the whole application.
class THintTiming : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 100;
    if (hint == SH_ToolTip_FallAsleepDelay) return 10;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// The version compiled into this program, as its about box shows it; needs the
// application object, which finds the program's file.
QString OwnVersion() {
  TVersionInfo info;
  GetVersionInfo(QCoreApplication::applicationFilePath(), info);
  return info.ProductVersion;
}

// Whether Qt can find a screen to show the window on: without one it aborts.
bool HasDisplay() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

// The arguments as the program received them, before Qt takes its own out.
QStringList ArgumentsOf(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// Prints text on standard output; 0, or 1 when it could not be written.
int PrintAnswer(const QByteArray& text) {
  errno = 0;
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  std::fprintf(stderr, "pelledit: standard output: %s\n",
               msg::SystemReason(errno != 0 ? errno : EIO).c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the application object, which wants a display.
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
    return PrintAnswer(QByteArray(kUsageText) + kHelpText);
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    const QCoreApplication core(argc, argv);  // no display: only to find the program's file
    return PrintAnswer("pelledit " + OwnVersion().toUtf8() + '\n');
  }

  // Qt aborts without a screen: the command line is answered here instead.
  if (!HasDisplay()) {
    if (!ParseCommandLine(ArgumentsOf(argc, argv))) {
      std::fputs(kUsageText, stderr);
      return kExitUsage;
    }
    std::fputs(
        "pelledit: 画面がないためウィンドウを表示できません"
        "（DISPLAY も WAYLAND_DISPLAY も設定されていません）。\n",
        stderr);
    return kExitCannotOpen;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pelledit"));
  QApplication::setApplicationVersion(OwnVersion());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/pelledit.svg")));
  // Docks match the window to the installed desktop entry and its icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pello.dataeditor"));
  QApplication::setStyle(new THintTiming);
  InstallQtJapanese();

  const QStringList arguments = QApplication::arguments();
  if (!ParseCommandLine(arguments)) {
    std::fputs(kUsageText, stderr);
    ShowMessageAt(QStringLiteral("パラメーターが正しくない為終了します"), ApplicationTitle(), mbOK,
                  TMsgType::Plain, 0, 0);
    return kExitUsage;
  }
  int status = kExitClosed;
  const std::unique_ptr<TMainWindow> form = OpenEditorWindow(arguments, status);
  if (!form) return status;
  form->show();
  return QApplication::exec();
}
