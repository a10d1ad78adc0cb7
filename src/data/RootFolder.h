// The shell special folders a special-folder button can name; a button stores the
// value's name (such as "rfPersonal") as its Link.
#pragma once

#include <string>
#include <string_view>

enum TRootFolder : int {
  rfDesktop,
  rfMyComputer,
  rfNetwork,
  rfRecycleBin,
  rfAppData,
  rfCommonDesktopDirectory,
  rfCommonPrograms,
  rfCommonStartMenu,
  rfCommonStartup,
  rfControlPanel,
  rfDesktopDirectory,
  rfFavorites,
  rfFonts,
  rfInternet,
  rfPersonal,
  rfPrinters,
  rfPrintHood,
  rfPrograms,
  rfRecent,
  rfSendTo,
  rfStartMenu,
  rfStartup,
  rfTemplates,
  rfHistory,
  rfInternetCache,
  rfCookies,
};

inline constexpr int kRootFolderCount = 26;

// The ordinal of a value name, letter case ignored; -1 when it names no value.
int RootFolderFromName(std::string_view name);

// The value name of an ordinal, exactly as stored; empty outside 0 to 25.
std::string RootFolderName(int ord);

// The platform's special-folder number (CSIDL) of an ordinal; -1 outside 0 to 25.
int RootFolderCsidl(int ord);
