#include "IconFiles.h"

#include <QImageReader>
#include <QPixmap>
#include <map>

#include "FileIO.h"
#include "FileUtils.h"
#include "IconStore.h"
#include "IconTheme.h"
#include "LaunchErrors.h"
#include "PeIconReader.h"
#include "ShellIcons.h"
#include "ShiftJis.h"
#include "WellKnownIcons.h"

namespace {

constexpr std::size_t kMaxIcoFile = 16 << 20;

class TNoIcons : public TIconSource {
 public:
  QIcon Icon(int) override { return {}; }
  int Count() override { return 0; }
};

// A source of one icon at index 0 (an icon file, an image, a theme name).
class TOneIcon : public TIconSource {
 public:
  explicit TOneIcon(QIcon icon) : icon_(std::move(icon)) {}
  QIcon Icon(int index) override { return index == 0 ? icon_ : QIcon(); }
  int Count() override { return icon_.isNull() ? 0 : 1; }

 private:
  QIcon icon_;
};

// The group icons of a PE file, each decoded on first use.
class TProgramIcons : public TIconSource {
 public:
  TProgramIcons(std::string path, TPeIconDirectory directory)
      : path_(std::move(path)), directory_(std::move(directory)) {}

  QIcon Icon(int index) override {
    auto found = icons_.find(index);
    if (found != icons_.end()) return found->second;
    QIcon icon;
    if (IsRegularFile(path_)) {
      try {
        TInputFile file(path_);
        icon = IconOfImages(directory_.Icon(file, index));
      } catch (const ELaunchError&) {
      }
    }
    icons_.emplace(index, icon);
    return icon;
  }

  int Count() override {
    int n = 0;
    while (n < directory_.Count() && !Icon(n).isNull())
      ++n;
    return n;
  }

 private:
  std::string path_;
  TPeIconDirectory directory_;
  std::map<int, QIcon> icons_;
};

class TWellKnownIcons : public TIconSource {
 public:
  explicit TWellKnownIcons(std::string file) : file_(std::move(file)) {}
  QIcon Icon(int index) override {
    auto found = icons_.find(index);
    if (found == icons_.end()) found = icons_.emplace(index, WellKnownIcon(file_, index)).first;
    return found->second;
  }
  int Count() override {
    int n = 0;
    while (n < WellKnownIconCount(file_) && !Icon(n).isNull())
      ++n;
    return n;
  }

 private:
  std::string file_;
  std::map<int, QIcon> icons_;
};

std::unique_ptr<TIconSource> ReadFileSource(const std::string& path) {
  std::string head = ReadFileStart(path, 8);
  if (IsIcoHeader(head)) {
    auto bytes = ReadSmallFile(path, kMaxIcoFile);
    if (!bytes) return nullptr;
    TIconImages images = ReadIco(*bytes);
    if (images.empty()) return nullptr;
    return std::make_unique<TOneIcon>(IconOfImages(images));
  }
  if (IsPeHeader(head)) {
    try {
      TInputFile file(path);
      TPeIconDirectory directory = TPeIconDirectory::Read(file);
      if (directory.Count() == 0) return nullptr;
      return std::make_unique<TProgramIcons>(path, std::move(directory));
    } catch (const ELaunchError&) {
      return nullptr;
    }
  }
  QString name = QString::fromStdString(path);
  QImageReader reader(name);
  if (!reader.canRead()) return nullptr;
  return std::make_unique<TOneIcon>(QIcon(name));
}

// A theme name as a desktop entry's Icon gives it: a bare name, perhaps with
// the extension of an image file.
std::unique_ptr<TIconSource> ReadThemeSource(std::string name) {
  for (const char* extension : {".png", ".svg", ".xpm"})
    if (name.ends_with(extension)) name.resize(name.size() - 4);
  QIcon icon = ThemeIcon(name);
  if (icon.isNull()) return nullptr;
  return std::make_unique<TOneIcon>(icon);
}

std::unique_ptr<TIconSource> MakeSource(std::string_view file) {
  std::optional<std::string> path = sjis::ToUtf8(file);
  if (path && path->starts_with('/') && IsRegularFile(*path))
    if (auto source = ReadFileSource(*path)) return source;
  if (IsWellKnownIconFile(file)) return std::make_unique<TWellKnownIcons>(std::string(file));
  if (path && !path->empty() && path->find_first_of("/\\") == std::string::npos)
    if (auto source = ReadThemeSource(*path)) return source;
  return std::make_unique<TNoIcons>();
}

TIconSource& SourceOf(std::string_view file) {
  auto& sources = IconStore().sources;
  auto found = sources.find(file);
  if (found == sources.end()) found = sources.emplace(std::string(file), MakeSource(file)).first;
  return *found->second;
}

}  // namespace

QIcon ExtractIconFrom(std::string_view file, int index) {
  QIcon icon = FindIconIn(file, index);
  return icon.isNull() ? ShellIcon(0) : icon;
}

QIcon FindIconIn(std::string_view file, int index) {
  if (file.empty()) return {};
  return SourceOf(file).Icon(index);
}

int CountIcons(std::string_view file) {
  if (file.empty()) return 0;
  return SourceOf(file).Count();
}

QIcon IconOfImages(const TIconImages& images) {
  QIcon icon;
  for (const QImage& image : images)
    icon.addPixmap(QPixmap::fromImage(image));
  return icon;
}
