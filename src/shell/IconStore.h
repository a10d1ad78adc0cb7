// The memory of every icon read so far, shared by the icon functions, so that a
// source (a file and index, a theme name, a path) is read once however many
// buttons show it. Emptied when the application object goes away.
#pragma once

#include <QIcon>
#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "RootFolder.h"

// The icons of one file or name, read once and kept.
class TIconSource {
 public:
  virtual ~TIconSource() = default;
  // Icon index; a null icon when the source has none there.
  virtual QIcon Icon(int index) = 0;
  // Icons at 0, 1, 2, … up to the first index that has none.
  virtual int Count() = 0;
};

struct TIconStore {
  std::unordered_map<std::string, QIcon> themeIcons;       // by name; null when the theme lacks it
  std::array<QIcon, kRootFolderCount> specialFolderIcons;  // by TRootFolder ordinal, once found
  std::unordered_map<std::string, std::unique_ptr<TIconSource>> sources;  // by file bytes
  std::unordered_map<std::string, QIcon> itemIcons;  // by the source key of a button
  std::unordered_map<std::string, QIcon> pathIcons;  // by UTF-8 path
  QIcon placeholder;
  QIcon drawnFile;
};

// The one store, made on first use.
TIconStore& IconStore();
