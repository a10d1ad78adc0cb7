#include "EditorStart.h"

#include <QDir>
#include <cstdio>

#include "Dialogs.h"
#include "MessageBox.h"
#include "RecentFiles.h"
#include "StartupLogic.h"

QString DataFileFilter() {
  return QStringLiteral("データーファイル(*.lst)|*.lst|すべてのファイル(*.*)|*.*");
}

void TellCannotOpen(const QString& path) {
  const QString message = CannotOpenMessage(path);
  const QString line = message.split(QLatin1Char('\r'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
  std::fprintf(stderr, "pelledit: %s\n", line.toUtf8().constData());
  ShowMessageAt(message, ApplicationTitle(), mbOK, TMsgType::Error, 0, 0);
}

std::unique_ptr<TMainWindow> OpenEditorWindow(const QStringList& arguments, int& status) {
  const std::optional<TStartRequest> request = ParseCommandLine(arguments);
  const QString program = arguments.value(0);
  if (request && !request->dataFileName.isEmpty()) {
    auto form = std::make_unique<TMainWindow>();
    if (form->FormCreate(arguments)) return form;
    TellCannotOpen(request->dataFileName);
    status = kExitCannotOpen;
    return nullptr;
  }
  // Started from a menu: the file worked on last, as long as it opens; then the user's.
  QString path = NewestRecentFile();
  for (;;) {
    if (path.isEmpty())
      path = Dialogs().OpenFileName(nullptr, QStringLiteral("データーファイルを開く"),
                                    QDir::homePath(), DataFileFilter());
    if (path.isEmpty()) {
      status = kExitClosed;
      return nullptr;
    }
    auto form = std::make_unique<TMainWindow>();
    if (form->FormCreate({program, path})) return form;
    TellCannotOpen(path);
    path.clear();
  }
}
