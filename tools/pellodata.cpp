// pellodata: the editor's command-line companion for data files.
//   pellodata convert IN OUT   read IN (either form) and write OUT in the text form
//   pellodata dump IN          print the status, pages and buttons as UTF-8 text
//   pellodata check IN         list what is inconsistent in IN
//   pellodata check --targets IN  list the targets of IN's buttons missing here
//   pellodata diff [--stat] A B  list what changed from A to B, by page and button
//   pellodata merge BASE OURS THEIRS [-o OUT]  merge what OURS and THEIRS changed
//   pellodata classify PATH... show the button each path becomes
//   pellodata icons FILE       count the icons in FILE and list their sizes
//   pellodata help [COMMAND]   print the usage, or COMMAND's own help
//   pellodata --help | -h | --version
// IN "-" is standard input, convert's OUT "-" standard output.
// Exit status: 0 success, 1 a file could not be read or written (or classify
// recognised not every path, icons found none), 2 a wrong command line. check, as
// grep and diff: 0 nothing found, 1 findings (with --targets: a missing target), 2 IN
// could not be read or is no data file. diff: 0 the same, 1 different, 2 trouble;
// merge: 0 merged, 1 merged with conflicts (ours kept in them), 2 trouble.
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <future>
#include <iostream>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "CompareCommands.h"
#include "DataRecords.h"
#include "FileIO.h"
#include "HelpTexts.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "ListCheck.h"
#include "ShiftJis.h"
#include "TextFileStream.h"
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

// Output goes out through the C library's stream in large pieces, so that a failure is
// told with its reason.
void WriteStandardOutput(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
    throw TToolError(StreamFailure("標準出力に書き込めません", errno));
}

// Lines for standard output, collected into pieces of a megabyte.
class TStandardOutput {
 public:
  void Put(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kPiece) Flush();
  }
  std::function<void(std::string_view)> Writer() {
    return [this](std::string_view bytes) { Put(bytes); };
  }
  void Flush() {
    WriteStandardOutput(buffer_);
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::string buffer_;
};

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

// A new list that lives until the process ends and is never freed: freeing a million
// buttons one by one costs a quarter of a conversion, and the system takes the
// memory back at once. The leak checker cannot follow the texts' packed pointers,
// so a sanitizer build frees them after all.
TLaunchList& ListKeptToTheEnd() {
#ifdef __SANITIZE_ADDRESS__
  static std::mutex made;
  static std::list<TLaunchList> lists;
  const std::lock_guard<std::mutex> lock(made);
  return lists.emplace_back();
#else
  return *std::make_unique<TLaunchList>().release();
#endif
}

// IN, opened for a file command ("-": standard input, read whole). A text data file is
// gone through as it is read, a block of lines at a time, and never held whole; the
// binary form, and whatever no form takes (to be told why), goes through the list's
// load.
class TDataInput {
 public:
  // How much of a text data file is read at the open: all of it once, for its outline
  // (a damaged file is then refused before anything is written), or its status section
  // alone, for a conversion that reads the rest as it writes.
  // Or loaded whole into a list, to be compared with others.
  enum class TOpen { Outline, StatusSection, Whole };

  // TToolError when IN cannot be read or is no data file, followed by why each form
  // refuses it when explain is set.
  TDataInput(const std::string& in, bool explain, TOpen open = TOpen::Outline)
      : in_(in),
        standardInput_(in == kStandardStream),
        explain_(explain),
        subject_(standardInput_ ? "標準入力" : "\"" + in + "\" ") {
    if (standardInput_) bytes_ = ReadStandardInput();
    if (open == TOpen::Whole || !OpenText(open)) Load();
  }

  // IN loaded whole (TOpen::Whole).
  const TLaunchList& List() const { return *list_; }
  // "\"NAME\" " or "標準入力", to start a sentence.
  const std::string& Subject() const { return subject_; }

  // The records of IN, once its outline is read.
  TDataRecords Records() const {
    return outline_ ? TDataRecords(*source_, *outline_) : TDataRecords(*list_);
  }

  // Writes IN in the text form to out ("-": standard output).
  void WriteText(const std::string& out) const {
    if (!text_ && out == kStandardStream) {
      WriteStandardOutput(TextDataFileBytes(*list_));
    } else if (!text_) {
      SaveToTextFile(*list_, out);
    } else if (out == kStandardStream) {
      CheckPageCounts(*outline_);  // nothing is written for a file the save refuses
      WriteTextFileFrom(*source_, WriteStandardOutput);
    } else {
      SaveText(out);
    }
  }

 private:
  std::unique_ptr<TByteSource> Open() const {
    if (standardInput_) return std::make_unique<TMemorySource>(bytes_);
    return std::make_unique<TInputFile>(in_);
  }

  std::string Refusals() const {
    return explain_ ? FormRefusals([this] { return Open(); }) : std::string();
  }

  // Read as CP932, UTF-8 text would pass as other characters.
  [[noreturn]] void RefuseUtf8() const {
    throw TToolError(subject_ + "は " + msg::kNotShiftJis + "。");
  }

  // What a load says of a text data file it fails on.
  [[noreturn]] void RefuseRead(const ELaunchError& e) const {
    // Only the first bytes tell UTF-8 from CP932 then.
    bool bom = false;
    try {
      bom = sjis::StartsWithUtf8Bom(source_->ReadAt(0, 3));
    } catch (const ELaunchError&) {
    }
    if (bom) RefuseUtf8();
    throw TToolError(LineOf(e, subject_, "を読み込めません") + Refusals());
  }

  // The outline of IN, when it is a text data file.
  std::optional<TTextFileOutline> ReadOutline() const {
    std::optional<TTextFileOutline> outline;
    try {
      outline = ReadTextFileOutline(*source_);
    } catch (const ELaunchError& e) {
      RefuseRead(e);
    }
    if (outline && outline->Utf8) RefuseUtf8();
    return outline;
  }

  // Opens IN as a text data file; false when it is none, or cannot be opened (the load
  // then says why).
  bool OpenText(TOpen open) {
    try {
      source_ = Open();
    } catch (const ELaunchError&) {
      return false;
    }
    if (open == TOpen::Outline) {
      outline_ = ReadOutline();
      text_ = outline_.has_value();
    } else {
      try {
        text_ = TextFormRefusal(*source_).empty();
      } catch (const ELaunchError& e) {
        RefuseRead(e);
      }
    }
    return text_;
  }

  // Writes the text data file to out while reading it once; refuses it, and leaves
  // out as it was, as a load followed by a save would.
  void SaveText(const std::string& out) const {
    bool reading = false;  // from here on, IN's faults come before a failure to write
    try {
      WriteFileReplacing(out, [&](const std::function<void(std::string_view)>& write) {
        reading = true;
        std::optional<TTextFileOutline> outline;
        try {
          outline = WriteTextFileFrom(*source_, write);
        } catch (const ELaunchError& e) {
          RefuseRead(e);
        }
        if (!outline) RefuseRead(EReadError());  // no longer a text data file
        if (outline->Utf8) RefuseUtf8();
        CheckPageCounts(*outline);
      });
    } catch (const EFileError&) {
      if (reading) throw;
      // out cannot be made: what is wrong with IN is told first all the same.
      if (const std::optional<TTextFileOutline> outline = ReadOutline()) CheckPageCounts(*outline);
      throw;
    }
  }

  // Loads IN in whichever form it has.
  void Load() {
    source_.reset();
    list_ = &ListKeptToTheEnd();
    TLaunchList& list = *list_;
    const auto refuseUtf8 = [&] {
      const bool utf8 = standardInput_ ? IsUtf8DataText(list, TMemorySource(bytes_))
                                       : IsUtf8DataFile(list, in_);  // unreadable: false
      if (utf8) RefuseUtf8();
    };
    try {
      if (standardInput_) {
        list.LoadFromBytes(bytes_);
      } else {
        list.SetFileName(in_);
        list.LoadFromFile();
      }
    } catch (const ELaunchError& e) {
      refuseUtf8();
      throw TToolError(LineOf(e, subject_, "を読み込めません") + Refusals());
    }
    refuseUtf8();
    if (list.Loaded) return;
    try {
      if (!standardInput_) {
        TInputFile probe(in_);  // names a missing or unreadable file
      }
    } catch (const ELaunchError& e) {
      throw TToolError(LineOf(e, subject_, "を読み込めません"));
    }
    throw TToolError(subject_ +
                     "は PelloRunner 3.00 以降のデーターファイルではありません (アプリケーション名 "
                     "\"" +
                     sjis::ToUtf8ForDisplay(list.Status.AppName) + "\"、バージョン \"" +
                     sjis::ToUtf8ForDisplay(list.Status.Version) + "\")。" + Refusals());
  }

  std::string in_;
  bool standardInput_;
  bool explain_;
  std::string subject_;  // "\"NAME\" " or "標準入力", to start a sentence
  std::string bytes_;    // standard input
  std::unique_ptr<TByteSource> source_;
  bool text_ = false;  // IN is a text data file, read from source_
  std::optional<TTextFileOutline> outline_;
  TLaunchList* list_ = nullptr;
};

int Convert(const std::string& in, const std::string& out) {
  // A file is written while IN is read: a fault found on the way leaves it as it was.
  const TDataInput input(
      in, false,
      out == kStandardStream ? TDataInput::TOpen::Outline : TDataInput::TOpen::StatusSection);
  try {
    input.WriteText(out);
  } catch (const ELaunchError& e) {
    throw TToolError(
        LineOf(e, out == kStandardStream ? "標準出力" : "\"" + out + "\" ", "に書き込めません"));
  }
  return kOk;
}

int Dump(const std::string& in) {
  const TDataInput input(in, false);
  TStandardOutput out;
  DumpRecords(input.Records(), out.Writer());
  out.Flush();
  return kOk;
}

int Check(const std::string& in) {
  const TDataInput input(in, true);
  TStandardOutput out;
  const bool found = CheckRecords(input.Records(), out.Writer());
  out.Flush();
  return found ? kFailed : kOk;
}

// An input of diff or merge: a text data file kept as its lines (each button read only
// where it differs), or a list loaded whole (the binary form, standard input). Never
// freed but under a sanitizer, as the lists are not.
class TComparedInput {
 public:
  // Kept as lines: a file in the text form, not UTF-8; else nullptr (the load then
  // says what it is).
  static TComparedInput* AsLines(const std::string& name) {
    auto input = std::make_unique<TComparedInput>();
    input->subject_ = "\"" + name + "\" ";
    try {
      TInputFile file(name);
      if (!input->lines_.Read(file, MapFileBytes(file)) ||
          sjis::IsUtf8Text(input->lines_.Bytes().View()))
        return nullptr;
    } catch (const ELaunchError&) {
      return nullptr;
    }
    return Kept(std::move(input));
  }
  static TComparedInput* Loaded(const std::string& name) {
    auto input = std::make_unique<TComparedInput>();
    input->loaded_ = std::make_unique<TDataInput>(name, false, TDataInput::TOpen::Whole);
    input->view_ = std::make_unique<TLoadedList>(input->loaded_->List());
    input->subject_ = input->loaded_->Subject();
    return Kept(std::move(input));
  }

  const TComparedList& List() const {
    return view_ ? static_cast<const TComparedList&>(*view_) : lines_;
  }
  // Why it cannot be merged; empty when it can.
  std::string MergeRefusal() const {
    if (view_) return ::MergeRefusal(loaded_->List(), subject_);
    return ::MergeRefusal(lines_.MissingButtons(), lines_.UnownedButtons(), lines_.Complete(),
                          subject_);
  }

 private:
  static TComparedInput* Kept(std::unique_ptr<TComparedInput> input) {
#ifdef __SANITIZE_ADDRESS__
    static std::mutex made;
    static std::list<std::unique_ptr<TComparedInput>> kept;
    const std::lock_guard<std::mutex> lock(made);
    return kept.emplace_back(std::move(input)).get();
#else
    return input.release();
#endif
  }

  std::string subject_;
  TTextFileLines lines_;
  std::unique_ptr<TDataInput> loaded_;
  std::unique_ptr<TLoadedList> view_;
};

// A file mapped by MapFileBytes that another program cuts short under the command
// ends it: told, with the status of trouble, and nothing written (the output is
// replaced only once whole).
void TellFileCutShort(int) {
  static constexpr char kTold[] =
      "pellodata: 読み込み中のファイルが他のプログラムによって短くされました。\n";
  [[maybe_unused]] const ssize_t told = ::write(STDERR_FILENO, kTold, sizeof kTold - 1);
  ::_exit(kCheckTrouble);
}

// The inputs named, read side by side: all as lines when each is a text data file, else
// all loaded (the key of a line is not the key of a loaded button).
std::vector<TComparedInput*> ReadAll(const std::vector<std::string>& names) {
  const auto fromStandardInput = std::count(names.begin(), names.end(), kStandardStream);
  if (fromStandardInput > 1)
    throw TToolError("標準入力から読み込めるのは 1 つのファイルだけです。");
  const auto readAll = [&names](TComparedInput* (*read)(const std::string&)) {
    std::vector<std::future<TComparedInput*>> reads;
    for (const std::string& name : names)
      reads.push_back(std::async(std::launch::async, read, name));
    std::vector<TComparedInput*> inputs;
    for (auto& r : reads)
      inputs.push_back(r.get());  // the first failure is told
    return inputs;
  };
  if (fromStandardInput == 0) {
    std::signal(SIGBUS, TellFileCutShort);
    std::vector<TComparedInput*> inputs = readAll(&TComparedInput::AsLines);
    if (std::find(inputs.begin(), inputs.end(), nullptr) == inputs.end()) return inputs;
  }
  return readAll(&TComparedInput::Loaded);
}

int Diff(const std::string& a, const std::string& b, bool stat) {
  const auto inputs = ReadAll({a, b});
  TStandardOutput out;
  const bool different = PutDifferences(inputs[0]->List(), inputs[1]->List(), stat, out.Writer());
  out.Flush();
  return different ? kFailed : kOk;
}

int Merge(const std::string& base, const std::string& ours, const std::string& theirs,
          const std::string& out) {
  const auto inputs = ReadAll({base, ours, theirs});
  for (const TComparedInput* input : inputs)
    if (const std::string why = input->MergeRefusal(); !why.empty()) throw TToolError(why);
  const TComparedList &o = inputs[0]->List(), &a = inputs[1]->List(), &b = inputs[2]->List();
  const TMergePlan merge = PlanMerge(o, a, b);
  try {
    TMergedSource merged(merge, a, b);
    if (out == kStandardStream)
      WriteStandardOutput(TextDataFileBytes(merged));
    else
      SaveToTextFile(merged, out);  // replaced only once all of it is written
  } catch (const ELaunchError& e) {
    throw TToolError(
        LineOf(e, out == kStandardStream ? "標準出力" : "\"" + out + "\" ", "に書き込めません"));
  }
  PutConflicts(o, a, b, merge.Conflicts, [](std::string_view line) { std::cerr << line; });
  return merge.Conflicts.empty() ? kOk : kFailed;
}

#ifdef PELLO_WITH_SHELL
int CheckTargets(const std::string& in) {
  const TDataInput input(in, true);
  return TargetsCommand(input.Records(), std::cout);
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
  if (args.size() == 3 && args[0] == "diff" && args[1] != "--stat")
    return Diff(args[1], args[2], false);
  if (args.size() == 4 && args[0] == "diff" && args[1] == "--stat")
    return Diff(args[2], args[3], true);
  if (args.size() == 4 && args[0] == "merge") return Merge(args[1], args[2], args[3], args[2]);
  if (args.size() == 6 && args[0] == "merge" && args[4] == "-o")
    return Merge(args[1], args[2], args[3], args[5]);
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
  // check, diff and merge tell their findings by their status, so they cannot also
  // use 1 for trouble.
  const bool tells =
      !args.empty() && (args[0] == "check" || args[0] == "diff" || args[0] == "merge");
  const int failed = tells ? kCheckTrouble : kFailed;
  int status;
  try {
    status = Run(args);
  } catch (const std::exception& e) {
    std::cerr << "pellodata: " << e.what() << '\n';
    return failed;
  }
  return StandardOutputWritten() ? status : std::max(status, failed);
}
