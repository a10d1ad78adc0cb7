// pellodata: the editor's command-line companion for data files.
//   pellodata convert IN OUT   read IN (either form) and write OUT in the text form
//   pellodata dump IN          print the status, pages and buttons as UTF-8 text
//   pellodata check IN         list what is inconsistent in IN
//   pellodata check --targets IN  list the targets of IN's buttons missing here
//   pellodata classify PATH... show the button each path becomes
//   pellodata icons FILE       count the icons in FILE and list their sizes
// Exit status: 0 success, 1 a file could not be read or written (or check found
// something, check --targets a missing target, classify recognised not every
// path, icons found none), 2 a wrong command line.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "FileIO.h"
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

const char* const kUsageText =
    "usage: pellodata convert IN OUT\n"
    "       pellodata dump IN\n"
    "       pellodata check IN\n"
#ifdef PELLO_WITH_SHELL
    "       pellodata check --targets IN\n"
    "       pellodata classify PATH...\n"
    "       pellodata icons FILE\n"
#endif
    ;

class TToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// When neither form takes fileName, why each refuses it, a line each; empty when
// the text form took it (its error then says all) or the file cannot be read.
std::string FormRefusals(const std::string& fileName) {
  try {
    TInputFile text(fileName);
    std::string why = TextFormRefusal(text);
    if (why.empty()) return {};
    TInputFile binary(fileName);
    return "\n  text form: " + why + "\n  binary form: " + BinaryFormRefusal(binary);
  } catch (const ELaunchError&) {
    return {};
  }
}

// Loads fileName in whichever form it has; TToolError when it is not a data file,
// followed by why each form refuses it when explain is set.
void Load(TLaunchList& list, const std::string& fileName, bool explain = false) {
  list.SetFileName(fileName);
  try {
    list.LoadFromFile();
  } catch (const ELaunchError& e) {
    throw TToolError(e.what() + (explain ? FormRefusals(fileName) : ""));
  }
  if (list.Loaded) return;
  try {
    TInputFile probe(fileName);  // names a missing or unreadable file
  } catch (const ELaunchError& e) {
    throw TToolError(e.what());
  }
  throw TToolError("not a data file of PelloRunner 3.00 or later (application \"" +
                   sjis::ToUtf8ForDisplay(list.Status.AppName) + "\", version \"" +
                   sjis::ToUtf8ForDisplay(list.Status.Version) + "\")" +
                   (explain ? FormRefusals(fileName) : ""));
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
    SaveToTextFile(list, out);
  } catch (const ELaunchError& e) {
    throw TToolError(e.what());
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
  std::fwrite(out.data(), 1, out.size(), stdout);
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

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
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
#endif
  } catch (const TToolError& e) {
    std::cerr << "pellodata: " << e.what() << '\n';
    return kFailed;
  } catch (const std::exception& e) {
    std::cerr << "pellodata: " << e.what() << '\n';
    return kFailed;
  }
  std::cerr << kUsageText;
  return kUsage;
}
