// The data files the benchmarks share: launch lists as people keep them, with 25 to
// 35 buttons a page, Japanese titles and page names, Linux paths, comments (some of
// two lines, some with quotes), parameters and Internet shortcuts. The same n gives
// the same bytes on every run.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "LaunchList.h"
#include "ShiftJis.h"

namespace bench {

// Windows are drawn off screen unless the caller chose a platform: a benchmark needs no
// display.
inline void DrawOffscreen() {
  const char* platform = getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || *platform == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// The shortest of runs runs of work, in seconds.
template <typename Work>
double BestSeconds(int runs, Work work) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

// A folder of its own under the temporary folder for a benchmark's files, removed with
// everything in it when it goes.
class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pello-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  ~TScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A small fixed generator, so that the files do not depend on the library's.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint64_t state_;
};

inline std::string Sjis(const char* utf8) {
  return sjis::FromUtf8(utf8).value();
}

// Fills list (emptied first) with n realistic buttons.
inline void FillRealisticList(TLaunchList& list, int n) {
  static const std::vector<std::string> titles = [] {
    std::vector<std::string> t;
    for (const char* s : {"表計算", "文書作成", "画像編集", "メール", "ブラウザ", "端末", "電卓",
                          "音楽プレーヤー", "動画再生", "ファイル管理", "予定表", "辞書",
                          "会計ソフト", "設計図面", "翻訳ツール", "日報", "議事録", "見積書"})
      t.push_back(Sjis(s));
    return t;
  }();
  static const std::vector<std::string> pageNames = [] {
    std::vector<std::string> t;
    for (const char* s : {"仕事", "趣味", "開発", "資料", "よく使う", "ネット", "ゲーム", "設定"})
      t.push_back(Sjis(s));
    return t;
  }();
  static const std::vector<std::string> comments = [] {
    std::vector<std::string> t;
    for (const char* s : {"毎朝起動する", "月末の締めに使う\n二行目の説明", "共有フォルダー",
                          "社内ポータル", "\"最新版\"を使うこと", "バックアップ用"})
      t.push_back(Sjis(s));
    return t;
  }();
  static const char* const programs[] = {"libreoffice",    "gimp",   "thunderbird", "firefox",
                                         "gnome-terminal", "vlc",    "inkscape",    "code",
                                         "nautilus",       "evince", "keepassxc",   "blender"};
  static const std::string documents = Sjis("/home/taro/ドキュメント/");
  static const std::string reports = Sjis("報告書");

  TRandom random(static_cast<std::uint64_t>(n) * 7919 + 1);
  while (list.Pages.Count() > 0)
    list.DeletePage(0);
  int first = 0;
  for (int p = 0; first < n; ++p) {
    const int count = std::min(25 + random.Below(11), n - first);
    list.AddPage(pageNames[static_cast<std::size_t>(p) % pageNames.size()] + std::to_string(p),
                 count, 0);
    for (int b = 0; b < count; ++b) {
      TLaunchDataItem& item = list.Get(first + b);
      const int r = random.Below(100);
      const std::string number = std::to_string(random.Below(5000));
      item.UseCount = random.Below(400);
      item.Title =
          titles[static_cast<std::size_t>(random.Below(static_cast<int>(titles.size())))] + number;
      if (r < 55) {
        const char* program = programs[random.Below(12)];
        item.Kind = lkProgram;
        item.Link = (r < 30 ? "/usr/bin/" : "/opt/" + std::string(program) + "/bin/") + program;
        item.WorkDir = "/home/taro";
        if (r % 4 == 0) item.Params = "--profile \"work " + number + "\"";
        if (r % 9 == 0) item.ShowCmd = kShowMaximized;
      } else if (r < 75) {
        item.Kind = lkDocument;
        item.Link = documents + reports + number + (r % 2 ? ".ods" : ".odt");
      } else if (r < 83) {
        item.Kind = lkFolder;
        item.Link = "/home/taro/projects/p" + number;
      } else if (r < 88) {
        item.Kind = lkShortcut;
        item.Link = "/usr/share/applications/org.example.App" + number + ".desktop";
      } else {
        item.Kind = lkInternetShortcut;
        item.Link = "https://www.example.jp/portal/page" + number +
                    "?lang=ja&id=" + std::to_string(item.UseCount);
        item.IconFile = "/usr/share/icons/hicolor/48x48/apps/web-browser.png";
        item.IconIndex = r % 3;
      }
      if (random.Below(10) < 4)
        item.Comment =
            comments[static_cast<std::size_t>(random.Below(static_cast<int>(comments.size())))];
    }
    first += count;
  }
}

// Writes a realistic text data file of n buttons to fileName.
inline void WriteRealisticFile(const std::string& fileName, int n) {
  TLaunchList list;
  FillRealisticList(list, n);
  SaveToTextFile(list, fileName);
}

}  // namespace bench
