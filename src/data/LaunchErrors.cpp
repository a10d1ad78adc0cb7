#include "LaunchErrors.h"

#include <cerrno>
#include <cstring>

#include "ShiftJis.h"

namespace msg {

std::string ListIndex(int index) {
  return "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")";
}

std::string NotAnInteger(std::string_view fieldUtf8) {
  return "'" + std::string(fieldUtf8) + "' は整数ではありません";
}

std::string SystemReason(int err) {
  switch (err) {
    case ENOENT:
      return "指定されたファイルが見つかりません。";
    case ENOTDIR:
      return "指定されたパスが見つかりません。";
    case EACCES:
    case EPERM:
    case EISDIR:
      return "アクセスが拒否されました。";
    case ENOSPC:
    case EDQUOT:
      return "ディスクに十分な空き領域がありません。";
    case EROFS:
      return "メディアは書き込み禁止になっています。";
    case ENAMETOOLONG:
      return "ファイル名または拡張子が長すぎます。";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます。";
    case EIO:
      return "I/O デバイス エラーが発生しました。";
    default:
      return std::strerror(err);
  }
}

}  // namespace msg

EListError::EListError(int index) : ELaunchError(msg::ListIndex(index)) {}

EConvertError::EConvertError(std::string_view field)
    : ELaunchError(msg::NotAnInteger(sjis::ToUtf8ForDisplay(field))) {}

EReadError::EReadError() : ELaunchError(msg::kStreamRead) {}

EPropertyError::EPropertyError() : ELaunchError(msg::kInvalidProperty) {}

EFileError EFileError::Open(const std::string& fileName, int err) {
  return EFileError("ファイル \"" + fileName + "\". " + msg::SystemReason(err) + " を開けません");
}

EFileError EFileError::Create(const std::string& fileName, int err) {
  return EFileError("ファイル \"" + fileName + "\". " + msg::SystemReason(err) +
                    " を作成できません");
}
