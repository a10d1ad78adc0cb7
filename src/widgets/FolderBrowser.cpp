#include "FolderBrowser.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <numeric>

#include "Dialogs.h"
#include "ElidedLabel.h"
#include "FileUtils.h"
#include "MessageBox.h"
#include "RootFolder.h"
#include "ShellFolders.h"
#include "ShellIcons.h"
#include "SystemFont.h"
#include "WindowPlacement.h"

namespace {

// The data model's special folder of each choice, in the order of the choices; the
// manual choice and the whole computer ("/") are resolved apart.
constexpr int kManual = -1;
constexpr int kComputer = -2;
constexpr std::array<int, 11> kSpecialFolders = {
    ::rfDesktop, kManual,    kComputer,     ::rfDesktopDirectory, ::rfFavorites, ::rfPrograms,
    ::rfRecent,  ::rfSendTo, ::rfStartMenu, ::rfStartup,          ::rfTemplates,
};

QString PathOfSpecialFolder(int ord) {
  QString path = QString::fromStdString(SpecialFolderPath(ord));
  return path.isEmpty() ? path : QDir::cleanPath(path);
}

bool IsUsableFolder(const QString& path) {
  return path.startsWith(u'/') && IsFolder(path.toStdString());
}

// The desktop folder, or the home folder where there is none.
TBrowseItem DesktopItem() {
  const QString desktop = PathOfSpecialFolder(::rfDesktop);
  return FolderItem(IsUsableFolder(desktop) ? desktop : QDir::homePath());
}

TBrowseItem Resolve(int choice, const QString& name) {
  if (choice < 0 || choice >= static_cast<int>(kSpecialFolders.size())) return DesktopItem();
  const int ord = kSpecialFolders[static_cast<std::size_t>(choice)];
  if (ord == kManual) {
    const QString path = QDir::cleanPath(name);
    return IsUsableFolder(path) ? FolderItem(path) : DesktopItem();
  }
  if (ord == kComputer) return FolderItem(QStringLiteral("/"));
  const QString path = PathOfSpecialFolder(ord);
  if (path.isEmpty()) return VirtualFolderItem(ord);
  // A folder the system has not made (no templates folder, say) falls back as an
  // unusable manual choice does, rather than leaving the chooser without a tree.
  return IsUsableFolder(path) ? FolderItem(path) : DesktopItem();
}

}  // namespace

TBrowseItem FolderItem(const QString& path) {
  return {path, QString::fromStdString(FileNameOf(path.toStdString())), -1};
}

TBrowseItem VirtualFolderItem(int specialFolder) {
  return {{}, SpecialFolderDisplayName(specialFolder), specialFolder};
}

bool TFolderBrowser::Execute() {
  FolderPath.clear();
  DisplayName.clear();
  TBrowseItem chosen;
  if (!Dialogs().BrowseForFolder(*this, chosen)) return false;
  FolderPath = chosen.Path;
  DisplayName = chosen.DisplayName;
  return true;
}

TBrowseItem TFolderBrowser::RootItem() const {
  return Resolve(RootFolder, RootFolderName);
}

TBrowseItem TFolderBrowser::InitialItem() const {
  return Resolve(SelectFolder, SelectFolderName);
}

std::vector<TBrowseItem> TFolderBrowser::TopLevelItems() const {
  std::vector<TBrowseItem> items{RootItem()};
  const QString root = items.front().Path;
  if (root.isEmpty() || root != DesktopItem().Path) return items;
  // The desktop is the top of everything: the whole file system and the special
  // folders that have no place in it hang beside it.
  if (root != QStringLiteral("/")) items.push_back(FolderItem(QStringLiteral("/")));
  for (int ord : kSpecialFolders)
    if (ord >= 0 && PathOfSpecialFolder(ord).isEmpty()) items.push_back(VirtualFolderItem(ord));
  return items;
}

bool TFolderBrowser::StatusShown() const {
  return Options.testAnyFlags(sboStatusText | sboStatusTextAndShowPath);
}

TFolderBrowser::TSelectionState TFolderBrowser::SelectionChanged(const TBrowseItem& item) const {
  TSelectionState state;
  state.OkEnabled = !(item.Path.isEmpty() && Options.testFlag(sboReturnOnlyFSDirs));
  TOKButtonState ok = obsDefault;
  QString showText;
  if (OnSelectionChanged) OnSelectionChanged(item.Path, showText, ok);
  state.Status = Options.testFlag(sboStatusTextAndShowPath) ? item.Path : showText;
  if (ok == obsEnabled) state.OkEnabled = true;
  if (ok == obsDisabled) state.OkEnabled = false;
  return state;
}

// The window a real run shows.

namespace {

constexpr int kListedRole = Qt::UserRole + 2;

QString ChildPath(const QString& folder, const QString& name) {
  return folder == QStringLiteral("/") ? folder + name : folder + u'/' + name;
}

// Whether path is folder or lies below it.
bool IsWithin(const QString& path, const QString& folder) {
  if (folder == QStringLiteral("/")) return path.startsWith(u'/');
  return path == folder || path.startsWith(folder + u'/');
}

// folder's subfolders as a file manager lists them: hidden ones left out, but for one
// on the way to keep; sorted by name without regard to letter case.
QStringList Subfolders(const QString& folder, const QString& keep) {
  QStringList names;
  const QStringList entries =
      QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort);
  for (const QString& name : entries) {
    const QString path = ChildPath(folder, name);
    if (name.startsWith(u'.') && !IsWithin(keep, path)) continue;
    // A name the file system holds in another encoding would give a path that is not there.
    if (name.contains(QChar::ReplacementCharacter) && !QFileInfo(path).isDir()) continue;
    names.push_back(name);
  }
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

QIcon TopLevelIcon(const TBrowseItem& item) {
  if (item.Path.isEmpty()) return SpecialFolderIcon(item.SpecialFolder);
  if (item.Path == QStringLiteral("/")) return SpecialFolderIcon(::rfMyComputer);
  const int special = SpecialFolderAt(item.Path.toStdString());
  return special >= 0 ? SpecialFolderIcon(special) : ShellIcon(3);
}

}  // namespace

TFolderBrowseDialog::TFolderBrowseDialog(const TFolderBrowser& browser, QWidget* parent)
    : QDialog(parent), browser_(browser) {
  setObjectName(QStringLiteral("FolderBrowseDialog"));
  setWindowTitle(ApplicationTitle());
  ApplySystemFont(this);
  resize(340, 400);

  LbCaption = new QLabel(browser.Caption, this);
  LbCaption->setObjectName(QStringLiteral("LbCaption"));
  LbCaption->setTextFormat(Qt::PlainText);
  LbCaption->setWordWrap(true);
  LbCaption->setVisible(!browser.Caption.isEmpty());
  Tree = new QTreeWidget(this);
  Tree->setObjectName(QStringLiteral("Tree"));
  Tree->setHeaderHidden(true);
  Tree->setAccessibleName(browser.Caption.isEmpty() ? QStringLiteral("フォルダ") : browser.Caption);
  Tree->setColumnCount(1);
  Tree->setSelectionMode(QAbstractItemView::SingleSelection);
  Tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Tree->header()->setStretchLastSection(false);
  LbStatus = new TElidedLabel(this);
  LbStatus->setObjectName(QStringLiteral("LbStatus"));
  LbStatus->setTextFormat(Qt::PlainText);
  LbStatus->setVisible(browser.StatusShown());
  BtnOk = new QPushButton(QStringLiteral("OK"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnOk->setDefault(true);
  BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOk);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LbCaption);
  layout->addWidget(Tree, 1);
  layout->addWidget(LbStatus);
  layout->addLayout(buttons);

  connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Tree, &QTreeWidget::itemExpanded, this, &TFolderBrowseDialog::Populate);
  connect(Tree, &QTreeWidget::currentItemChanged, this, &TFolderBrowseDialog::TreeSelectionChange);

  const TBrowseItem initial = browser.InitialItem();
  initialPath_ = initial.Path;
  for (const TBrowseItem& item : browser.TopLevelItems())
    AddItem(nullptr, item)->setIcon(0, TopLevelIcon(item));
  Tree->topLevelItem(0)->setExpanded(true);
  SelectInitial(initial);
}

TBrowseItem TFolderBrowseDialog::Selected() const {
  const QTreeWidgetItem* item = Tree->currentItem();
  if (!item) return {};
  return {item->data(0, kPathRole).toString(), item->text(0),
          item->data(0, kSpecialFolderRole).toInt()};
}

void TFolderBrowseDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  Place();
  Tree->setFocus();
  if (QTreeWidgetItem* item = Tree->currentItem())
    Tree->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

QTreeWidgetItem* TFolderBrowseDialog::AddItem(QTreeWidgetItem* parent, const TBrowseItem& item) {
  auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Tree);
  node->setText(0, item.DisplayName);
  node->setData(0, kPathRole, item.Path);
  node->setData(0, kSpecialFolderRole, item.SpecialFolder);
  // Whether a folder has subfolders is learnt when it is opened.
  node->setChildIndicatorPolicy(item.Path.isEmpty() ? QTreeWidgetItem::DontShowIndicator
                                                    : QTreeWidgetItem::ShowIndicator);
  return node;
}

void TFolderBrowseDialog::Populate(QTreeWidgetItem* item) {
  if (item->data(0, kListedRole).toBool()) return;
  item->setData(0, kListedRole, true);
  const QString folder = item->data(0, kPathRole).toString();
  if (folder.isEmpty()) return;
  const QIcon icon = ShellIcon(3);
  for (const QString& name : Subfolders(folder, initialPath_))
    AddItem(item, FolderItem(ChildPath(folder, name)))->setIcon(0, icon);
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TFolderBrowseDialog::SelectInitial(const TBrowseItem& initial) {
  QTreeWidgetItem* found = Tree->topLevelItem(0);
  for (int i = 0; i < Tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* top = Tree->topLevelItem(i);
    const QString path = top->data(0, kPathRole).toString();
    if (initial.Path.isEmpty()) {
      if (path.isEmpty() && top->data(0, kSpecialFolderRole).toInt() == initial.SpecialFolder) {
        found = top;
        break;
      }
      continue;
    }
    if (path.isEmpty() || !IsWithin(initial.Path, path)) continue;
    // Down the tree one name at a time, as far as the folders can be listed.
    found = top;
    const QStringList names = initial.Path.mid(path.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString& name : names) {
      Populate(found);
      QTreeWidgetItem* next = nullptr;
      for (int c = 0; c < found->childCount() && !next; ++c)
        if (found->child(c)->text(0) == name) next = found->child(c);
      if (!next) break;
      found->setExpanded(true);
      found = next;
    }
    break;
  }
  Tree->setCurrentItem(found);
}

void TFolderBrowseDialog::TreeSelectionChange(QTreeWidgetItem* current) {
  if (!current) return;
  const TFolderBrowser::TSelectionState state = browser_.SelectionChanged(Selected());
  LbStatus->setText(state.Status);
  BtnOk->setEnabled(state.OkEnabled);
}

void TFolderBrowseDialog::Place() {
  QPoint pos;
  switch (browser_.ShowStyle) {
    case TFolderBrowser::ssNone:
      return;
    case TFolderBrowser::ssCenterScreen: {
      const QRect area = DesktopWorkArea();
      const QSize outer = frameGeometry().size();
      pos = area.topLeft() +
            QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 3);
      break;
    }
    case TFolderBrowser::ssClient: {
      const QWidget* owner = browser_.Owner ? browser_.Owner->window() : nullptr;
      if (!owner || !owner->isVisible()) return;
      pos = owner->mapToGlobal(QPoint(0, 0));
      break;
    }
  }
  MoveIntoWorkArea(*this, pos.x(), pos.y());
}
