#include "ShellCommands.h"

#include <QGuiApplication>
#include <QIcon>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

#include "DataItems.h"
#include "IconFiles.h"
#include "LaunchErrors.h"
#include "LinkClassify.h"
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

namespace {

// Lines put aside until the end, in the order given: in memory, then in an unnamed
// temporary file once they are more than a few.
class TLinesAside {
 public:
  TLinesAside() = default;
  TLinesAside(const TLinesAside&) = delete;
  TLinesAside& operator=(const TLinesAside&) = delete;
  ~TLinesAside() {
    if (file_ != nullptr) std::fclose(file_);
  }
  bool Empty() const { return memory_.empty() && file_ == nullptr; }
  void Add(const std::string& line) {
    memory_ += line;
    if (memory_.size() < kInMemory || noFile_) return;
    if (file_ == nullptr && (file_ = std::tmpfile()) == nullptr) {
      noFile_ = true;  // all stays in memory
      return;
    }
    if (std::fwrite(memory_.data(), 1, memory_.size(), file_) != memory_.size()) Failed();
    memory_.clear();
  }
  void CopyTo(std::ostream& out) {
    if (file_ != nullptr) {
      if (std::fflush(file_) != 0) Failed();
      std::rewind(file_);
      std::vector<char> block(kInMemory);
      while (const std::size_t n = std::fread(block.data(), 1, block.size(), file_))
        out.write(block.data(), static_cast<std::streamsize>(n));
      if (std::ferror(file_)) Failed();
    }
    out << memory_;
  }

 private:
  [[noreturn]] static void Failed() {
    throw std::runtime_error("一時ファイルを読み書きできません: " + msg::SystemReason(errno));
  }
  static constexpr std::size_t kInMemory = std::size_t{1} << 20;
  std::string memory_;
  std::FILE* file_ = nullptr;
  bool noFile_ = false;  // no temporary file could be made
};

}  // namespace

int TargetsCommand(const TDataRecords& records, std::ostream& out) {
  class TTargets : public TDataRecords::TVisitor {
   public:
    explicit TTargets(std::ostream& out) : out_(out) {}
    void Page(int, const TPageItem& page) override {
      name_ = FieldText(sjis::ToUtf8ForDisplay(page.Caption));
    }
    // Numbered as the editor's grid numbers its columns, from 1.
    void Button(int, std::int32_t b, const TLaunchDataItem& item) override {
      Check(item, name_, b + 1);
    }
    void Unowned(std::int64_t index, const TLaunchDataItem& item) override {
      Check(item, "-", index + 1);
    }
    bool Missing() const { return missing_; }
    TLinesAside& Uncheckable() { return uncheckable_; }

   private:
    void Check(const TLaunchDataItem& item, const std::string& page, std::int64_t b) {
      for (const TTargetFinding& f : CheckButtonTargets(item)) {
        const std::string line =
            page + '\t' + std::to_string(b) + '\t' + FieldText(sjis::ToUtf8ForDisplay(item.Title)) +
            '\t' + f.Field.toStdString() + '\t' + FieldText(sjis::ToUtf8ForDisplay(f.Path)) + '\t' +
            f.Why.toStdString() + '\n';
        if (f.Group != TTargetFinding::TGroup::Missing) {
          uncheckable_.Add(line);
          continue;
        }
        if (!missing_) out_ << "# リンク切れ\n";
        missing_ = true;
        out_ << line;
      }
    }
    std::ostream& out_;
    std::string name_;  // the page walked, as the lines name it
    bool missing_ = false;
    TLinesAside uncheckable_;
  };
  TTargets targets(out);
  records.Walk(targets);
  if (!targets.Uncheckable().Empty()) {
    out << "# この環境では確認できません\n";
    targets.Uncheckable().CopyTo(out);
  }
  return targets.Missing() ? 1 : 0;
}

int TargetsCommand(const TLaunchList& list, std::ostream& out) {
  return TargetsCommand(TDataRecords(list), out);
}
