// The page edit dialog's icon tab: the icon file, the index, and the grid of every
// icon the file holds.
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "Dialogs.h"
#include "EllipsisEdit.h"
#include "IconFiles.h"
#include "PageEditDialog.h"
#include "TextUtils.h"

namespace {

constexpr int kIconsAtOnce = 48;  // a screenful and a little more

const QString kIconFilter = QStringLiteral(
    "アイコン ファイル|*.exe;*.dll;*.cpl;*.ico;*.png;*.svg;*.xpm|プログラム|*.exe;*.cpl|"
    "ライブラリ|*.dll|アイコン|*.ico;*.png;*.svg;*.xpm|すべてのファイル|*.*");

}  // namespace

void TPageEditDialog::ClearIconList() {
  IconsToLoad = 0;
  IconFileLoading.clear();
  IconListBox->clear();
}

void TPageEditDialog::LoadIconList(const QString& file) {
  ClearIconList();
  IconFileLoading = Cp932(file);
  const int count = IconFileLoading.empty() ? 0 : CountIcons(IconFileLoading);
  IconListBox->setUpdatesEnabled(false);
  for (int i = 0; i < count; ++i)
    IconListBox->addItem(new QListWidgetItem(QIcon(), QString()));
  IconListBox->setUpdatesEnabled(true);
  IconsToLoad = count;
  LoadMoreIcons();
  if (count > 0) IconListBox->setCurrentRow(0);
}

void TPageEditDialog::LoadMoreIcons() {
  const int count = IconListBox->count();
  const int first = count - IconsToLoad;
  const int end = std::min(count, first + kIconsAtOnce);
  for (int i = first; i < end; ++i)
    IconListBox->item(i)->setIcon(FindIconIn(IconFileLoading, i));
  IconsToLoad = count - end;
  if (IconsToLoad > 0)
    QTimer::singleShot(0, this, [this] {
      if (IconsToLoad > 0) LoadMoreIcons();
    });
  ChosenIconBox->update();
}

QIcon TPageEditDialog::SelectedGridIcon() const {
  const QListWidgetItem* item = IconListBox->currentItem();
  if (IconListBox->count() == 0 || !item || !item->isSelected()) return {};
  return item->icon();
}

void TPageEditDialog::TabIconShow() {
  const bool renew = BtnRenew->isEnabled();
  showing_ = true;
  if (PCtrl->property("kind").toInt() != lkNone) {
    if (!IconsLoaded) {
      LoadIconList(EdPath->text());
      IconsLoaded = true;
    }
    const int index = IntegerOr(EdIndex->text().toStdString(), 0);
    IconListBox->clearSelection();
    if (index >= 0 && index < IconListBox->count()) IconListBox->setCurrentRow(index);
  } else {
    ClearIconList();
  }
  ChosenIconBox->update();
  showing_ = false;
  BtnRenew->setEnabled(renew);  // showing the tab is no edit
}

void TPageEditDialog::TabIconHide() {
  const QIcon icon = SelectedGridIcon();
  if (!icon.isNull()) {
    CurrentIcon = icon;
    CurrentIconBox->update();
  }
}

void TPageEditDialog::EdPathEllipsisClick() {
  const QString start = QFileInfo(EdPath->text()).path();
  const QString file =
      Dialogs().OpenFileName(this, QStringLiteral("アイコン ファイルの選択"), start, kIconFilter);
  if (file.isEmpty()) return;
  EdPath->setText(file);
  LoadIconList(file);
  IconsLoaded = true;
  ChosenIconBox->update();
  BtnOk->setEnabled(IconListBox->count() > 0);
  BtnRenew->setEnabled(true);
}

void TPageEditDialog::IconListBoxClick() {
  BtnRenew->setEnabled(true);
  showing_ = true;
  EdIndex->setText(QString::number(IconListBox->currentRow()));
  showing_ = false;
  ChosenIconBox->update();
}

void TPageEditDialog::EdIndexChange() {
  if (showing_) return;
  BtnRenew->setEnabled(true);
  const int index = IntegerOr(EdIndex->text().toStdString(), 0);
  showing_ = true;  // the grid follows the box here, not the box the grid
  IconListBox->clearSelection();
  if (index >= 0 && index < IconListBox->count()) IconListBox->setCurrentRow(index);
  showing_ = false;
  ChosenIconBox->update();
}
