// The broken-target check: which paths of a button do not exist on this machine.
// Only the file system's metadata is asked (stat); nothing is opened, so a pipe,
// a device or a slow file never holds the check up.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "DataItems.h"

// One path of a button that is missing here, or that cannot be checked here.
struct TTargetFinding {
  enum class TGroup { Missing, Uncheckable };
  TGroup Group = TGroup::Missing;
  QString Field;  // the field checked, in Japanese: "リンク先", "ショートカットのリンク先",
                  // "作業フォルダ", "アイコン"
  std::string Path;  // as stored in the button (CP932)
  QString Why;  // in Japanese: e.g. "ファイルがありません", "フォルダがありません",
                // "この環境では確認できません" (+ why: Windows のパス / 特殊フォルダ /
                // インターネット ショートカット), "ショートカットのリンク先がありません"
};

// The findings of one button; none for an unregistered button (kind 0) and for one whose targets
// all exist.
//
// What each kind checks ("リンク先" is Link):
//   1 program, 2 document, 5 control panel: Link must exist and not be a folder.
//   3 folder: Link must be a folder.
//   4 special folder: a known name (rfPersonal …) is Uncheckable ("特殊フォルダ"),
//     since the launcher finds the folder on its own machine; a name that is
//     none of the folders is Missing ("特殊フォルダの名前ではありません").
//   6 shortcut: Link (the shortcut file) must exist and not be a folder; AltLink
//     ("ショートカットのリンク先", file or folder) must exist unless it is empty or
//     the shortcut is advertised (its target is the installer's store). When Link
//     is a desktop entry, a bare program name in AltLink is looked up on PATH,
//     as the desktop runs it.
//   7 Internet shortcut: Link (a URL) is Uncheckable ("インターネット ショートカット");
//     AltLink ("インターネット ショートカットのファイル"), when set, must exist and
//     not be a folder.
//   any other kind (8 to 255): nothing, like kind 0: what its fields mean is unknown.
// Then for kinds 1 to 7: WorkDir ("作業フォルダ"), when set, must be a folder;
// IconFile ("アイコン"), when set, must exist and not be a folder, except a
// theme icon name (no "/" or "\") and a well-known Windows library
// ("shell32.dll" … in any folder), which the editor has stand-ins for. An icon
// file that exists is not opened to see whether it holds the icon.
//
// How a path is judged, in this order:
//   - empty where a path is required (Link of kinds 1, 2, 3, 5, 6; the URL of 7):
//     Missing ("リンク先が空です");
//   - absolute (a leading "/"): converted from CP932 (bytes that are not CP932,
//     or a NUL, are Missing) and looked up with stat, symbolic links followed.
//     Not there (a dangling link too) is Missing with "ファイルがありません",
//     "フォルダがありません" or "ショートカットのリンク先がありません"; a folder where
//     a file is wanted, or a file where a folder is wanted, is Missing; a search
//     permission denied is Missing ("アクセスできません"): the launcher could not
//     reach it either. Anything that exists and is not a folder counts as a file:
//     a pipe or a device is a target the user chose;
//   - a URL ("scheme:" of two or more letters): Uncheckable ("URL");
//   - a Windows path (a drive letter and ":", beginning with "\" (UNC too) or "%",
//     or holding a "\" outside double-byte characters): Uncheckable ("Windows のパス");
//   - anything else is relative: Uncheckable ("相対パス"), since it depends on the
//     folder the launcher starts in.
// Uncheckable reasons read "この環境では確認できません（…）".
// Findings come in field order: リンク先, its shortcut target or file, 作業フォルダ, アイコン.
std::vector<TTargetFinding> CheckButtonTargets(const TLaunchDataItem& item);
