// pellodata: the editor's command-line companion for data files.
//   pellodata convert IN OUT   read IN (either form) and write OUT in the text form
//   pellodata dump IN          print the status, pages and buttons as UTF-8 text
//   pellodata check IN         list what is inconsistent in IN
//   pellodata check --targets IN  list the targets of IN's buttons missing here
//   pellodata classify PATH... show the button each path becomes
//   pellodata icons FILE       count the icons in FILE and list their sizes
//   pellodata help [COMMAND]   print the usage, or COMMAND's own help
//   pellodata --help | -h | --version
// IN "-" is standard input, convert's OUT "-" standard output.
// Exit status: 0 success, 1 a file could not be read or written (or classify
// recognised not every path, icons found none), 2 a wrong command line. check, as
// grep and diff: 0 nothing found, 1 findings (with --targets: a missing target), 2 IN
// could not be read or is no data file.
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "FileIO.h"
#include "HelpTexts.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "ListCheck.h"
#include "RecordText.h"
#include "ShiftJis.h"
#ifdef PELLO_WITH_SHELL
#include "ShellCommands.h"
#endif

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kCheckTrouble = 2;  // check cannot tell: IN unreadable or no data file

const std::string kStandardStream = "-";

class TToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What failed on a standard stream (a whole phrase), then the system's reason.
std::string StreamFailure(const char* stream, int err) {
  return std::string(stream) + ": " + msg::SystemReason(err != 0 ? err : EIO);
}

// An error of the data model in one whole sentence: what could not be read or written
// (subject: "\"NAME\" " or "標準入力"), then why.
std::string LineOf(const ELaunchError& e, const std::string& subject, const char* verb) {
  if (const auto* file = dynamic_cast<const EFileError*>(&e)) return file->Sentence();
  return subject + verb + ": " + e.what();
}

// Standard input, read whole: the loaders take a file's name or bytes in memory.
std::string ReadStandardInput() {
  std::string bytes;
  std::vector<char> buffer(1 << 16);
  std::size_t n;
  errno = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), stdin)) > 0)
    bytes.append(buffer.data(), n);
  if (std::ferror(stdin)) throw TToolError(StreamFailure("標準入力を読み込めません", errno));
  return bytes;
}

// Large outputs go out in one piece, so that a failure is told with its reason.
void WriteStandardOutput(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
    throw TToolError(StreamFailure("標準出力に書き込めません", errno));
}

// Whether all that was written to standard output reached it; says why not.
bool StandardOutputWritten() {
  errno = 0;  // what is still buffered goes out now, and fails again as it did before
  std::cout.flush();
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::cerr << "pellodata: " << StreamFailure("標準出力に書き込めません", errno) << '\n';
  return false;
}

// A fresh reader of IN's bytes, for each form to try.
using TOpenSource = std::function<std::unique_ptr<TByteSource>()>;

// When neither form takes the source, why each refuses it, a line each; empty when
// the text form took it (its error then says all) or it cannot be read.
std::string FormRefusals(const TOpenSource& open) {
  try {
    std::unique_ptr<TByteSource> text = open();
    std::string why = TextFormRefusal(*text);
    if (why.empty()) return {};
    return "\n  テキスト形式: " + why + "\n  バイナリ形式: " + BinaryFormRefusal(*open());
  } catch (const ELaunchError&) {
    return {};
  }
}

// Loads in ("-": standard input) in whichever form it has; TToolError when it is not
// a data file, followed by why each form refuses it when explain is set.
void Load(TLaunchList& list, const std::string& in, bool explain = false) {
  const bool standardInput = in == kStandardStream;
  const std::string bytes = standardInput ? ReadStandardInput() : std::string();
  const TOpenSource open = [&]() -> std::unique_ptr<TByteSource> {
    if (standardInput) return std::make_unique<TMemorySource>(bytes);
    return std::make_unique<TInputFile>(in);
  };
  const auto refusals = [&] { return explain ? FormRefusals(open) : std::string(); };
  const std::string subject = standardInput ? "標準入力" : "\"" + in + "\" ";
  // Read as CP932, UTF-8 text would pass as other characters.
  const auto refuseUtf8 = [&] {
    const bool utf8 = standardInput ? IsUtf8DataText(list, TMemorySource(bytes))
                                    : IsUtf8DataFile(list, in);  // unreadable: false
    if (utf8) throw TToolError(subject + "は " + msg::kNotShiftJis + "。");
  };
  try {
    if (standardInput) {
      list.LoadFromBytes(bytes);
    } else {
      list.SetFileName(in);
      list.LoadFromFile();
    }
  } catch (const ELaunchError& e) {
    refuseUtf8();
    throw TToolError(LineOf(e, subject, "を読み込めません") + refusals());
  }
  refuseUtf8();
  if (list.Loaded) return;
  try {
    if (!standardInput) {
      TInputFile probe(in);  // names a missing or unreadable file
    }
  } catch (const ELaunchError& e) {
    throw TToolError(LineOf(e, subject, "を読み込めません"));
  }
  throw TToolError(
      subject + "は PelloRunner 3.00 以降のデーターファイルではありません (アプリケーション名 \"" +
      sjis::ToUtf8ForDisplay(list.Status.AppName) + "\"、バージョン \"" +
      sjis::ToUtf8ForDisplay(list.Status.Version) + "\")。" + refusals());
}

// A list that lives until the process ends and is never freed: freeing a million
// buttons one by one costs a quarter of a conversion, and the system takes the
// memory back at once. The leak checker cannot follow the texts' packed pointers,
// so a sanitizer build frees it after all.
TLaunchList& ListKeptToTheEnd() {
#ifdef __SANITIZE_ADDRESS__
  static TLaunchList list;
  return list;
#else
  static TLaunchList* const list = std::make_unique<TLaunchList>().release();
  return *list;
#endif
}

int Convert(const std::string& in, const std::string& out) {
  TLaunchList& list = ListKeptToTheEnd();
  Load(list, in);
  try {
    if (out == kStandardStream) {
      WriteStandardOutput(TextDataFileBytes(list));
    } else {
      SaveToTextFile(list, out);
    }
  } catch (const ELaunchError& e) {
    throw TToolError(
        LineOf(e, out == kStandardStream ? "標準出力" : "\"" + out + "\" ", "に書き込めません"));
  }
  return kOk;
}

int Dump(const std::string& in) {
  TLaunchList list;
  Load(list, in);
  std::string out = "status: " + sjis::ToUtf8ForDisplay(StatusToText(list.Status)) + "\n";
  std::int64_t first = 0;
  for (int p = 0; p < list.Pages.Count(); ++p) {
    const TPageItem& page = list.Pages.Get(p);
    out += "page " + std::to_string(p) + ": " + sjis::ToUtf8ForDisplay(PageToText(page)) + "\n";
    // One line for each run of missing buttons: a count may claim billions.
    auto missing = [&out](std::int64_t from, std::int64_t to) {
      if (from < to)
        out += "  " + std::to_string(from) + (to - from > 1 ? ".." + std::to_string(to - 1) : "") +
               ": (missing)\n";
    };
    const THeldButtons held = HeldButtons(first, page.Count, list.Count());
    missing(0, held.begin);
    for (std::int32_t b = held.begin; b < held.end; ++b)
      out += "  " + std::to_string(b) + ": " +
             sjis::ToUtf8ForDisplay(ItemToText(list.Get(static_cast<int>(first + b)))) + "\n";
    missing(held.end, page.Count);
    first += page.Count;
  }
  if (first < list.Count()) {
    out += "owned by no page:\n";
    for (std::int64_t index = first < 0 ? 0 : first; index < list.Count(); ++index)
      out += "  " + std::to_string(index) + ": " +
             sjis::ToUtf8ForDisplay(ItemToText(list.Get(static_cast<int>(index)))) + "\n";
  }
  WriteStandardOutput(out);
  return kOk;
}

int Check(const std::string& in) {
  TLaunchList list;
  Load(list, in, true);
  std::vector<std::string> findings = CheckLaunchList(list);
  for (const std::string& line : findings)
    std::cout << line << '\n';
  return findings.empty() ? kOk : kFailed;
}

#ifdef PELLO_WITH_SHELL
int CheckTargets(const std::string& in) {
  TLaunchList list;
  Load(list, in, true);
  return TargetsCommand(list, std::cout);
}
#endif

#ifdef PELLO_DESKTOP_HELPER
// The commands that need the desktop (Qt: icons, file types, shortcuts) run in a program
// of their own, so that the file commands start without loading it: beside this one in
// a build, else in the library folder of the installed programs.
int RunDesktopHelper(const std::vector<std::string>& args) {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  std::filesystem::path helper = self.parent_path() / "pellodata-desktop";
  if (!std::filesystem::exists(helper))
    helper = self.parent_path().parent_path() / PELLO_DESKTOP_HELPER;
  std::vector<char*> argv{const_cast<char*>(helper.c_str())};
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::fflush(stdout);
  ::execv(helper.c_str(), argv.data());
  throw TToolError("\"" + helper.string() + "\" を実行できません: " + msg::SystemReason(errno));
}
#endif

int Help(const std::string& command) {
  const char* text = command.empty() ? HelpText() : CommandHelp(command);
  if (text == nullptr) {
    std::cerr << "pellodata: コマンド \"" << command
              << "\" はありません。\"pellodata --help\" でコマンドの一覧を表示します。\n";
    return kUsage;
  }
  std::cout << text;
  return kOk;
}

// The command args name, run; kUsage (the usage shown) when they make none.
int Run(const std::vector<std::string>& args) {
  const auto isHelp = [](const std::string& arg) { return arg == "--help" || arg == "-h"; };
  if (args.size() == 1 && isHelp(args[0])) return Help({});
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "pellodata " PELLODATA_VERSION "\n";
    return kOk;
  }
  if (args.size() == 2 && isHelp(args[1]) && CommandHelp(args[0]) != nullptr) return Help(args[0]);
  if (!args.empty() && args.size() <= 2 && args[0] == "help")
    return Help(args.size() == 2 ? args[1] : "");
  if (args.size() == 3 && args[0] == "convert") return Convert(args[1], args[2]);
  if (args.size() == 2 && args[0] == "dump") return Dump(args[1]);
  // "check --targets" without its file is a wrong command line, not a file's name.
  if (args.size() == 2 && args[0] == "check" && args[1] != "--targets") return Check(args[1]);
#ifdef PELLO_WITH_SHELL
  if (args.size() == 3 && args[0] == "check" && args[1] == "--targets")
    return CheckTargets(args[2]);
  if (args.size() >= 2 && args[0] == "classify")
    return ClassifyCommand({args.begin() + 1, args.end()}, std::cout);
  if (args.size() == 2 && args[0] == "icons") return IconsCommand(args[1], std::cout, std::cerr);
#elif defined(PELLO_DESKTOP_HELPER)
  if ((args.size() == 3 && args[0] == "check" && args[1] == "--targets") ||
      (args.size() >= 2 && args[0] == "classify") || (args.size() == 2 && args[0] == "icons"))
    return RunDesktopHelper(args);
#endif
  std::cerr << UsageText();
  return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // check tells its findings by its status, so it cannot also use 1 for trouble.
  const int failed = !args.empty() && args[0] == "check" ? kCheckTrouble : kFailed;
  int status;
  try {
    status = Run(args);
  } catch (const std::exception& e) {
    std::cerr << "pellodata: " << e.what() << '\n';
    return failed;
  }
  return StandardOutputWritten() ? status : std::max(status, failed);
}
