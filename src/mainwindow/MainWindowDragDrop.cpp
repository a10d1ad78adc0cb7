// The main window's drags: a page name dragged onto another moves the page, a button
// dragged onto another button moves or copies it, and a file from the file manager
// dropped on a button registers it.
#include <QApplication>
#include <QGuiApplication>

#include "GridDragDrop.h"
#include "GridRows.h"
#include "GridRules.h"
#include "GridView.h"
#include "LaunchErrors.h"
#include "MainWindow.h"
#include "RecordText.h"

bool TMainWindow::GridStartDrag(int c, int r) {
  ButtonDragOk = false;
  if (c == 0 && r >= 1 && r <= PageCount(store_)) {
    DropMarkRow = -1;
    PageDragging = true;
    PageDragRow = r;
    return true;
  }
  if (c >= 1 && r >= 1 && IsButtonCell(store_, c, r)) {
    DragObject.SourceRow = r;
    DragObject.SourceCol = c;
    try {
      DragObject.Item = *TextToItem(store_.Cell(c, r));
    } catch (const ELaunchError&) {
      DragObject.Item = TLaunchDataItem();
    }
    DragObject.UpdateImage();
    ButtonDragOk = true;
    return true;
  }
  return false;
}

bool TMainWindow::GridDragOver(int c, int r) {
  if (!PageDragging) return ButtonDragOk;
  if (c >= 1 && r >= 1) return true;  // over the buttons: the mark stays where it was
  if (c != 0 || r < 1) return false;
  if (r != DropMarkRow) {
    const QRect cell = Grid_->CellRect(0, r);
    DropMarkRect = QRect(cell.left(), cell.top(), Grid_->width() - cell.left(), cell.height());
    DropMarkRow = r;
    Grid_->SetDropMark(DropMarkRect);
  }
  return true;
}

void TMainWindow::GridDragDrop(int c, int r) {
  if (PageDragging) {
    if (c == 0 && r >= 1 && r != PageDragRow) {
      RecordStep(QStringLiteral("ページの移動"), [&] {
        TGridEdit edit = Edit();
        MovePage(edit, PageDragRow, r);
        MakeCurrentPage(Grid_->Row());  // the row may now show a page with fewer buttons
      });
    }
  } else if (ButtonDragOk && c >= 1 && r >= 1 && IsButtonCell(store_, c, r) &&
             !(r == DragObject.SourceRow && c == DragObject.SourceCol)) {
    const bool copied =
        StatusOfGrid(store_)->MinButtons >= CountOfRow(store_, DragObject.SourceRow);
    // The step takes the current cell back too: it moved to the drop target.
    RecordStep(copied ? QStringLiteral("ボタンのコピー") : QStringLiteral("ボタンの移動"), [&] {
      Grid_->SelectCell(Grid_->Col(), r);
      Grid_->SelectCell(c, Grid_->Row());
      TGridEdit edit = Edit();
      DropButton(edit, DragObject.SourceRow, DragObject.SourceCol, c, r);
    });
    UpdateTitle();
  }
  Grid_->viewport()->update();
}

void TMainWindow::GridEndDrag() {
  ButtonDragOk = false;
  PageDragging = false;
  PageDragRow = -1;
  DropMarkRow = -1;
  DropMarkRect = QRect();
  Grid_->SetDropMark(QRect());
  Grid_->viewport()->update();
}

void TMainWindow::GridFilesDropped(int c, int r, const QStringList& paths) {
  if (c <= 0 || r <= 0) return;
  RecordStep(QStringLiteral("ファイルの登録"), [&] {
    Grid_->SelectCell(Grid_->Col(), r);
    Grid_->SelectCell(c, Grid_->Row());
    if (paths.isEmpty()) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    QGuiApplication::restoreOverrideCursor();
    TGridEdit edit = Edit();
    DropFiles(edit, paths, c, r);
  });
  UpdateTitle();
  Grid_->viewport()->update();
}
