#include "RootFolder.h"

#include <array>

namespace {

struct TRootFolderEntry {
  const char* name;
  int csidl;
};

constexpr std::array<TRootFolderEntry, kRootFolderCount> kRootFolders = {{
    {"rfDesktop", 0},
    {"rfMyComputer", 17},
    {"rfNetwork", 18},
    {"rfRecycleBin", 10},
    {"rfAppData", 26},
    {"rfCommonDesktopDirectory", 25},
    {"rfCommonPrograms", 23},
    {"rfCommonStartMenu", 22},
    {"rfCommonStartup", 24},
    {"rfControlPanel", 3},
    {"rfDesktopDirectory", 16},
    {"rfFavorites", 6},
    {"rfFonts", 20},
    {"rfInternet", 1},
    {"rfPersonal", 5},
    {"rfPrinters", 4},
    {"rfPrintHood", 27},
    {"rfPrograms", 2},
    {"rfRecent", 8},
    {"rfSendTo", 9},
    {"rfStartMenu", 11},
    {"rfStartup", 7},
    {"rfTemplates", 21},
    {"rfHistory", 34},
    {"rfInternetCache", 32},
    {"rfCookies", 33},
}};

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool IsValid(int ord) {
  return ord >= 0 && ord < kRootFolderCount;
}

}  // namespace

int RootFolderFromName(std::string_view name) {
  for (int i = 0; i < kRootFolderCount; ++i)
    if (EqualIgnoringCase(name, kRootFolders[i].name)) return i;
  return -1;
}

std::string RootFolderName(int ord) {
  return IsValid(ord) ? kRootFolders[ord].name : "";
}

int RootFolderCsidl(int ord) {
  return IsValid(ord) ? kRootFolders[ord].csidl : -1;
}
