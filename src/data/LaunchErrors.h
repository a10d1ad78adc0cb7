// Errors raised by the data model. Each carries the message shown to the user
// (UTF-8); the data model itself never shows anything.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// Base of every error the data model raises.
class ELaunchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An index outside a list, or a field number outside a record text.
class EListError : public ELaunchError {
 public:
  explicit EListError(int index);
  explicit EListError(const std::string& message) : ELaunchError(message) {}
};

// A text that had to be an integer and is not one.
class EConvertError : public ELaunchError {
 public:
  // field: the offending text in CP932; the message shows it in UTF-8.
  explicit EConvertError(std::string_view field);
};

// A value stream that ends before its values do.
class EReadError : public ELaunchError {
 public:
  EReadError();
};

// A value stream holding a tag that does not fit the value expected.
class EPropertyError : public ELaunchError {
 public:
  EPropertyError();
};

// A file that cannot be opened, read, created or written.
class EFileError : public ELaunchError {
 public:
  // Cannot open or read fileName; err is the errno value.
  static EFileError Open(const std::string& fileName, int err);
  // Cannot create or write fileName; err is the errno value.
  static EFileError Create(const std::string& fileName, int err);

  // The same in one whole sentence, for a line of its own: "\"NAME\" を開けません: REASON".
  std::string Sentence() const { return sentence_; }

 private:
  EFileError(const std::string& message, std::string sentence)
      : ELaunchError(message), sentence_(std::move(sentence)) {}

  std::string sentence_;
};

class TByteSource;

// Why each form of the data file refuses source, in one English line for the
// diagnosis of `pellodata check`: the text form names the line and field of its
// status section, the binary form the header entry or the status that fails.
// Empty when that form takes source.
std::string TextFormRefusal(TByteSource& source);
std::string BinaryFormRefusal(const TByteSource& source);

class TLaunchList;

// Whether source, just read into list (or refused), is UTF-8 text and not the CP932
// of a data file: the bytes the text form read, or the file's first bytes when no
// form took it. The text form reads such a file as other characters.
bool IsUtf8DataText(const TLaunchList& list, const TByteSource& source);
// The same for the file at fileName; false when it cannot be read (the load says why).
bool IsUtf8DataFile(const TLaunchList& list, const std::string& fileName);

namespace msg {
// Not an errno value: the reason given for something that exists but is no
// regular file (a folder, a pipe, a device), which is never read or replaced.
inline constexpr int kNotRegularFile = -1;

// The system's message texts (UTF-8).
inline constexpr const char* kError = "エラー";
inline constexpr const char* kPageCountExceeded = "ページ数が超過しています";
inline constexpr const char* kStreamRead = "ストリームからの読み込みエラー";
inline constexpr const char* kInvalidProperty = "不正なプロパティの値です";
inline constexpr const char* kNotShiftJis =
    "Shift-JIS のデーターファイルではありません（UTF-8 のテキストです）";

// "リストのインデックスが範囲を超えています (index)"
std::string ListIndex(int index);
// "'field' は整数ではありません"
std::string NotAnInteger(std::string_view fieldUtf8);
// The system's reason for an errno value (or kNotRegularFile), in Japanese;
// a value without a reason of its own is named by its number.
std::string SystemReason(int err);
}  // namespace msg
