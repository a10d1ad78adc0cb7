// The main window started on a data file written for the test, with scripted dialogs.
#pragma once

#include <QCoreApplication>
#include <QFileInfo>
#include <QPoint>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

#include "GridView.h"
#include "MainWindow.h"
#include "RecordText.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

namespace main_window_test {

using testing_support::TTempDir;

// A data file of pages with the given names and button counts, written into dir.
inline std::string DataFile(const TTempDir& dir, std::vector<std::pair<std::string, int>> pages,
                            const TDataStatus& status = TDataStatus()) {
  TLaunchList list;
  list.DeletePage(0);
  list.Status = status;
  int p = 0;
  for (const auto& [name, count] : pages) {
    list.AddPage(name, count, 0);
    for (int b = 0; b < count; ++b) {
      TLaunchDataItem& item = list.Items(p, b);
      item.Kind = static_cast<std::uint8_t>(b % 8);
      item.Title = name + "-" + std::to_string(b);
      item.UseCount = b;
      if (b == 1) item.Comment = "a\\nb";
    }
    ++p;
  }
  const std::string file = dir.File("data.lst");
  SaveToTextFile(list, file);
  return file;
}

// The initialisation file's name: the program's own name with ".ini".
inline std::string IniName() {
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString() +
         ".ini";
}

inline QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A started window with its scripted dialogs.
struct TStarted {
  TScriptedDialogs dialogs;
  TDialogsScope scope{dialogs};
  TMainWindow form;
  bool accepted = false;
  explicit TStarted(const QStringList& args) { accepted = form.FormCreate(args); }
};

inline QPoint CenterOf(TMainWindow& form, int c, int r) {
  return form.Grid().CellRect(c, r).center() - form.Grid().viewport()->geometry().topLeft();
}

}  // namespace main_window_test
