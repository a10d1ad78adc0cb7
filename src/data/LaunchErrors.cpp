#include "LaunchErrors.h"

#include <cerrno>

#include "ShiftJis.h"

namespace msg {

std::string ListIndex(int index) {
  return "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")";
}

std::string NotAnInteger(std::string_view fieldUtf8) {
  return "'" + std::string(fieldUtf8) + "' は整数ではありません";
}

std::string SystemReason(int err) {
  // In the wording of the system's own Japanese messages; an English text from
  // strerror would stand out in the middle of a Japanese sentence.
  switch (err) {
    case kNotRegularFile:
      return "指定されたパスは通常のファイルではありません。";
    case ENOENT:
      return "指定されたファイルが見つかりません。";
    case ENOTDIR:
      return "指定されたパスが見つかりません。";
    case EACCES:
    case EPERM:
      return "アクセスが拒否されました。";
    case EISDIR:
      return "指定されたパスはフォルダーです。";
    case ENOTEMPTY:
      return "フォルダーが空ではありません。";
    case ELOOP:
      return "シンボリック リンクが循環しているか、たどるリンクが多すぎます。";
    case ENOSPC:
    case EDQUOT:
      return "ディスクに十分な空き領域がありません。";
    case EFBIG:
    case EOVERFLOW:
      return "ファイルのサイズが上限を超えています。";
    case EROFS:
      return "メディアは書き込み禁止になっています。";
    case ENAMETOOLONG:
      return "ファイル名または拡張子が長すぎます。";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます。";
    case EMLINK:
      return "リンクの数が多すぎます。";
    case EEXIST:
      return "既に存在するファイルを作成することはできません。";
    case EXDEV:
      return "システムは異なるディスク ドライブにファイルを移動できません。";
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
      return "プロセスはファイルにアクセスできません。別のプロセスが使用中です。";
    case EIO:
    case EREMOTEIO:
      return "I/O デバイス エラーが発生しました。";
    case ENXIO:
    case ENODEV:
      return "デバイスが見つからないか、使用できません。";
    case ENOMEM:
      return "この操作を完了するのに十分な記憶域がありません。";
    case EINVAL:
      return "パラメーターが間違っています。";
    case EBADF:
    case ESTALE:
      return "ハンドルが無効です。";
    case EINTR:
      return "操作は中断されました。";
    case ETIMEDOUT:
      return "操作がタイムアウトしました。";
    case EOPNOTSUPP:
      return "この要求はサポートされていません。";
    default:
      return "システム エラー (番号 " + std::to_string(err) + ") が発生しました。";
  }
}

}  // namespace msg

EListError::EListError(int index) : ELaunchError(msg::ListIndex(index)) {}

EConvertError::EConvertError(std::string_view field)
    : ELaunchError(msg::NotAnInteger(sjis::ToUtf8ForDisplay(field))) {}

EReadError::EReadError() : ELaunchError(msg::kStreamRead) {}

EPropertyError::EPropertyError() : ELaunchError(msg::kInvalidProperty) {}

EFileError EFileError::Open(const std::string& fileName, int err) {
  return EFileError("ファイル \"" + fileName + "\". " + msg::SystemReason(err) + " を開けません",
                    "\"" + fileName + "\" を開けません: " + msg::SystemReason(err));
}

EFileError EFileError::Create(const std::string& fileName, int err) {
  return EFileError(
      "ファイル \"" + fileName + "\". " + msg::SystemReason(err) + " を作成できません",
      "\"" + fileName + "\" を作成できません: " + msg::SystemReason(err));
}
