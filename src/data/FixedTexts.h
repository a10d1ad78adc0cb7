// Fixed texts that the system stores in records and files, as CP932 bytes.
// Tests check each against the UTF-8 text in the comment.
#pragma once

namespace cp932 {
inline constexpr const char* kUnregistered = "\x96\xa2\x93\x6f\x98\x5e";             // 未登録
inline constexpr const char* kNewPage = "\x90\x56\x8b\x4b\x83\x79\x81\x5b\x83\x57";  // 新規ページ
inline constexpr const char* kStatusHeading =  // ; ステータス
    "\x3b\x20\x83\x58\x83\x65\x81\x5b\x83\x5e\x83\x58";
inline constexpr const char* kPageListHeading =  // ; ページリスト
    "\x3b\x20\x83\x79\x81\x5b\x83\x57\x83\x8a\x83\x58\x83\x67";
inline constexpr const char* kFileListHeading =  // ; ファイルリスト
    "\x3b\x20\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x8a\x83\x58\x83\x67";
}  // namespace cp932
