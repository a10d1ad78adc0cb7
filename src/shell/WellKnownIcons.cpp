#include "WellKnownIcons.h"

#include <array>
#include <string>

#include "IconTheme.h"
#include "ShiftJis.h"

namespace {

// Theme names, best first, for one icon of a library (unused places null).
using TNames = std::array<const char*, 3>;

// The icons of the shell's library, in the library's own order.
const std::array<TNames, 45> kShellIcons = {{
    {"application-x-generic", "text-x-generic"},     // 0 a file of no known type
    {"x-office-document", "text-x-generic"},         // 1 a document
    {"application-x-executable"},                    // 2 a program
    {"folder"},                                      // 3
    {"folder-open", "folder"},                       // 4
    {"media-floppy"},                                // 5 5.25" floppy
    {"media-floppy"},                                // 6 3.5" floppy
    {"drive-removable-media"},                       // 7
    {"drive-harddisk"},                              // 8
    {"folder-remote", "network-server"},             // 9 network drive
    {"network-offline", "folder-remote"},            // 10 network drive, disconnected
    {"drive-optical", "media-optical"},              // 11
    {"media-flash", "drive-harddisk"},               // 12 RAM disk
    {"network-workgroup"},                           // 13 entire network
    {"applications-internet", "web-browser"},        // 14 the network globe
    {"computer"},                                    // 15
    {"printer"},                                     // 16
    {"network-workgroup"},                           // 17 network neighbourhood
    {"network-server"},                              // 18 workgroup
    {"start-here", "folder"},                        // 19 programs of the menu
    {"document-open-recent"},                        // 20 recent documents
    {"preferences-system"},                          // 21 settings
    {"system-search", "edit-find"},                  // 22 find
    {"help-browser", "help-contents"},               // 23 help
    {"system-run"},                                  // 24 run
    {"system-lock-screen"},                          // 25 suspend
    {"computer"},                                    // 26 eject PC
    {"system-shutdown"},                             // 27 shut down
    {"folder-publicshare", "emblem-shared"},         // 28 shared
    {"insert-link"},                                 // 29 shortcut overlay
    {"inode-symlink", "insert-link"},                // 30 shortcut
    {"user-trash"},                                  // 31 recycle bin, empty
    {"user-trash-full", "user-trash"},               // 32 recycle bin, full
    {"modem"},                                       // 33 dial-up networking
    {"user-desktop"},                                // 34 desktop
    {"preferences-system"},                          // 35 control panel
    {"folder"},                                      // 36 program group
    {"printer"},                                     // 37 printers folder
    {"font-x-generic", "preferences-desktop-font"},  // 38 fonts folder
    {"preferences-desktop"},                         // 39 taskbar
    {"media-optical"},                               // 40 audio CD
    {"folder"},                                      // 41 tree
    {"package-x-generic"},                           // 42 cabinet
    {"user-bookmarks", "emblem-favorite"},           // 43 favorites
    {"system-log-out"},                              // 44 log off
}};

const std::array<TNames, 1> kMyDocsIcons = {{{"folder-documents", "folder"}}};
const std::array<TNames, 1> kUrlIcons = {{{"text-html", "web-browser", "applications-internet"}}};

struct TLibrary {
  const char* name;  // upper case
  const TNames* icons;
  int count;
};

const std::array<TLibrary, 3> kLibraries = {{
    {"SHELL32.DLL", kShellIcons.data(), static_cast<int>(kShellIcons.size())},
    {"MYDOCS.DLL", kMyDocsIcons.data(), static_cast<int>(kMyDocsIcons.size())},
    {"URL.DLL", kUrlIcons.data(), static_cast<int>(kUrlIcons.size())},
}};

const TLibrary* LibraryOf(std::string_view file) {
  std::size_t at = sjis::FindLastOf(file, "/\\");
  std::string name = sjis::UpperCase(at == std::string_view::npos ? file : file.substr(at + 1));
  for (const TLibrary& library : kLibraries)
    if (name == library.name) return &library;
  return nullptr;
}

}  // namespace

bool IsWellKnownIconFile(std::string_view file) {
  return LibraryOf(file) != nullptr;
}

int WellKnownIconCount(std::string_view file) {
  const TLibrary* library = LibraryOf(file);
  return library == nullptr ? 0 : library->count;
}

QIcon WellKnownIcon(std::string_view file, int index) {
  const TLibrary* library = LibraryOf(file);
  if (library == nullptr) return {};
  if (index < 0) index = -(index + 1);  // the resource ids of these count from 1
  if (index >= library->count) return {};
  for (const char* name : library->icons[index]) {
    if (name == nullptr) break;
    QIcon icon = ThemeIcon(name);
    if (!icon.isNull()) return icon;
  }
  return {};
}
