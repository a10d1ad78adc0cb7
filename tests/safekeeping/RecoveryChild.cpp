// An editor without a window for the signal tests: it opens the data file named by its
// argument, makes an edit, keeps the recovery copy as the window does, says "ready"
// and waits for whatever ends it.
#include <QCoreApplication>
#include <cstdio>

#include "QuietFill.h"
#include "RecordText.h"
#include "RecoveryCopy.h"
#include "RecoveryGuard.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString file = QCoreApplication::arguments().value(1);
  TLaunchList list;
  std::string status;
  if (!LoadDataFile(file, list, status)) return 3;
  TGridStore grid;
  FillQuietly(list, grid);
  grid.SetCell(0, 1, PageToText(TPageItem("edited", CountOfText(grid.Cell(0, 1)), 0)));

  TRecoveryGuard guard(
      [&]() -> TRecoveryGuard::TCopyWrite {
        return [&](const std::atomic<bool>& stop) { return WriteRecoveryCopy(grid, file, &stop); };
      },
      [&] { RemoveRecoveryCopy(file); });
  guard.Changed(true);
  std::puts("ready");
  std::fflush(stdout);
  return QCoreApplication::exec();
}
