#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <future>
#include <unordered_map>

#include "BevelFrame.h"
#include "ButtonCommands.h"
#include "DataFileCommands.h"
#include "DataFileSave.h"
#include "ExchangeCommands.h"
#include "FileChangedBar.h"
#include "FindBar.h"
#include "FixedTexts.h"
#include "GridRows.h"
#include "GridRules.h"
#include "GridView.h"
#include "ItemIcons.h"
#include "MessageBox.h"
#include "PageCommands.h"
#include "PageEditDialog.h"
#include "Progress.h"
#include "RecordText.h"
#include "RecoveryGuard.h"
#include "ShellProperties.h"
#include "ShiftJis.h"
#include "StartupLogic.h"
#include "SystemFont.h"
#include "VersionInfo.h"

namespace {

constexpr int kToolbarHeight = 28;
constexpr int kMsgPanelHeight = 32;
constexpr int kIconSize = 32;
constexpr int kNameColDefault = 80;
constexpr int kUndoSteps = 200;

}  // namespace

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent), model_(store_) {
  setWindowTitle(QStringLiteral("登録データー編集"));
  setObjectName(QStringLiteral("MainWindow"));
  ApplySystemFont(this);
  BuildLayout();
  BuildMenus();
  ConnectCommands();
  ConnectUndo();
}

TMainWindow::~TMainWindow() {
  // The find bar tells it was hidden while the window's widgets are being taken
  // down, when nothing of this window is left to react.
  FindBar_->disconnect(this);
  // The undo stack empties itself as it goes: that is no edit taken back, and must not
  // discard the recovery copy of edits never saved.
  Undo_.disconnect(this);
}

void TMainWindow::BuildLayout() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  Toolbar = new QWidget(central);
  Toolbar->setFixedHeight(kToolbarHeight);
  LbTitle = new QLabel(ShownText(cp932::kUnregistered), Toolbar);
  LbTitle->setObjectName(QStringLiteral("LbTitle"));
  LbTitle->move(8, 8);
  LbTitle->setTextFormat(Qt::PlainText);

  Grid_ = new TGridView(model_, *this, central);
  Grid_->setObjectName(QStringLiteral("Grid"));

  msgPanel = new QWidget(central);
  msgPanel->setFixedHeight(kMsgPanelHeight);
  Lbmsg = new QLabel(msgPanel);
  Lbmsg->setObjectName(QStringLiteral("Lbmsg"));
  Lbmsg->setTextFormat(Qt::PlainText);

  FindBar_ = new TFindBar(central);
  FindBar_->hide();
  ChangedBar_ = new TFileChangedBar(central);
  ChangedBar_->hide();

  layout->addWidget(Toolbar);
  layout->addWidget(ChangedBar_);
  layout->addWidget(Grid_, 1);
  layout->addWidget(FindBar_);
  layout->addWidget(msgPanel);
  setCentralWidget(central);
}

QAction* TMainWindow::PopupItem(const QString& caption, const QKeySequence& shortcut) {
  // The command carries the shortcut and belongs to the window, where it is never hidden:
  // Qt turns off the shortcut of a hidden action, and the menu hides half of its items.
  auto* command = new QAction(caption, this);
  command->setShortcut(shortcut);
  command->setShortcutContext(Qt::WindowShortcut);
  addAction(command);
  // The menu shows a copy that names the shortcut; it answers the keys only while the
  // menu itself has them, so the shortcut is the command's, and a screen reader reads
  // the caption and the shortcut apart.
  auto* item = GridMenu->addAction(caption);
  item->setShortcut(shortcut);
  item->setShortcutContext(Qt::WidgetShortcut);
  item->setShortcutVisibleInContextMenu(true);
  connect(item, &QAction::triggered, command, &QAction::trigger);
  PopupCopies_.emplace(command, item);
  if (PopupGroup_ != nullptr) PopupGroup_->push_back(item);
  return command;
}

QAction* TMainWindow::PopupSeparator() {
  QAction* separator = GridMenu->addSeparator();
  if (PopupGroup_ != nullptr) PopupGroup_->push_back(separator);
  return separator;
}

QAction* TMainWindow::PopupCopy(QAction* command) const {
  const auto found = PopupCopies_.find(command);
  return found == PopupCopies_.end() ? command : found->second;
}

void TMainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  mnOpen = file->addAction(QStringLiteral("開く(&O)..."));
  RecentMenu = file->addMenu(QStringLiteral("最近使ったファイル(&F)"));
  RecentMenu->setObjectName(QStringLiteral("RecentMenu"));
  connect(RecentMenu, &QMenu::aboutToShow, this, &TMainWindow::FillRecentMenu);
  file->addSeparator();
  mnSave = file->addAction(QStringLiteral("上書き保存(&S)"));
  mnSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  mnSaveAs = file->addAction(QStringLiteral("名前を付けて保存(&A)..."));
  mnSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  file->addSeparator();
  // With "/FAS" the window edits the launcher's file and saves it at the close: the
  // items above, which save or open another file, are hidden.
  FileSwitchItems_ = file->actions();
  mnInp = file->addAction(QStringLiteral("インポート(&I)..."));
  mnExp = file->addAction(QStringLiteral("エクスポート(&E)..."));
  mnRestore = file->addAction(QStringLiteral("バックアップから復元(&B)..."));
  file->addSeparator();
  mnProp = file->addAction(QStringLiteral("プロパティ(&R)..."));
  file->addSeparator();
  mnExit = file->addAction(QStringLiteral("終了(&X)"));
  mnExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  mnUndo = edit->addAction(QStringLiteral("元に戻す(&U)"));
  mnUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  mnRedo = edit->addAction(QStringLiteral("やり直し(&R)"));
  mnRedo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  edit->addSeparator();
  mnWiz = edit->addAction(QStringLiteral("登録ウイザード(&W)"));
  edit->addSeparator();
  mnFind = edit->addAction(QStringLiteral("検索(&F)..."));
  mnFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  mnFindNext = edit->addAction(QStringLiteral("次を検索(&N)"));
  mnFindNext->setShortcut(QKeySequence(Qt::Key_F3));
  mnFindPrev = edit->addAction(QStringLiteral("前を検索(&P)"));
  mnFindPrev->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  mnReplace = edit->addAction(QStringLiteral("置換(&H)..."));
  mnReplace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  mnCheckTargets = edit->addAction(QStringLiteral("リンク切れの確認(&L)..."));
  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  mnAbout = help->addAction(QStringLiteral("バージョン情報(&A)..."));

  GridMenu = new QMenu(this);
  GridMenu->setObjectName(QStringLiteral("GridMenu"));
  mnBtnEdit = PopupItem(QStringLiteral("編集(&E)..."), QKeySequence(Qt::CTRL | Qt::Key_E));
  PopupGroup_ = &PageItems_;
  PopupSeparator();
  mnPageNew =
      PopupItem(QStringLiteral("新規ページ挿入(&N)..."), QKeySequence(Qt::CTRL | Qt::Key_N));
  mnPageDel = PopupItem(QStringLiteral("ページ削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_D));
  mnPageRename =
      PopupItem(QStringLiteral("ページ名変更(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_M));
  mnPageUp = PopupItem(QStringLiteral("ページを上へ移動(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Up));
  mnPageUp->setData(-1);
  mnPageDown =
      PopupItem(QStringLiteral("ページを下へ移動(&B)"), QKeySequence(Qt::CTRL | Qt::Key_Down));
  mnPageDown->setData(1);
  PopupGroup_ = &ButtonItems_;
  PopupSeparator();
  mnBtnLinkOpen =
      PopupItem(QStringLiteral("登録先のフォルダを開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O));
  PopupSeparator();
  mnCopy = PopupItem(QStringLiteral("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
  mnPaste = PopupItem(QStringLiteral("貼り付け(&V)"), QKeySequence(Qt::CTRL | Qt::Key_V));
  PopupSeparator();
  mnBtnCls = PopupItem(QStringLiteral("登録情報クリア(&G)"), QKeySequence(Qt::CTRL | Qt::Key_G));
  PopupSeparator();
  mnBtnAdd =
      PopupItem(QStringLiteral("ボタン追加(&A)..."), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
  mnBtnIns =
      PopupItem(QStringLiteral("ボタン挿入(&I)..."), QKeySequence(Qt::CTRL | Qt::Key_Insert));
  mnBtnDel = PopupItem(QStringLiteral("ボタン削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
  PopupGroup_ = nullptr;
}

bool TMainWindow::FormCreate(const QStringList& arguments) {
  LoadedStatusText.clear();
  CellHint.clear();
  CopyBuffer.clear();
  Lbmsg->setText(QStringLiteral(
      "左端セル上でドラッグ：ページの移動\n"
      "アイコンのドラッグ：アイコンの移動 (移動元ページの登録数が最低登録数の場合はコピー)"));
  Lbmsg->adjustSize();

  LaunchList = std::make_unique<TLaunchList>();
  LaunchList->Status.MinButtons = 1;
  IconGrid_.Clear();

  // Taken before the file is read: a change made while it is read is found later.
  const std::optional<TStartRequest> request = ParseCommandLine(arguments);
  const TFileStamp loadedStamp =
      StampOf(QFile::encodeName(request ? request->dataFileName : QString()).toStdString());
  if (request) ShowLoadingBox();
  const TCommandLine commandLine = CheckCommandLine(arguments, *LaunchList, LoadedStatusText);
  SaveOnClose = commandLine.saveOnClose;
  DataFileName = commandLine.dataFileName;
  if (!commandLine.accepted) {
    CloseProgress();
    LaunchList.reset();
    return false;
  }
  if (SaveOnClose)
    for (QAction* item : FileSwitchItems_)
      item->setVisible(false);
  SetUpDataSafety();
  ShowDataFile(std::move(LaunchList), loadedStamp);
  PendingOuterSize_ = LoadWindowSize(IniFile());
  ApplyOuterSize();
  // A question asked before the window shows stands where the window is going to be.
  PlaceOnScreen();
  OfferRecoveryCopy();
  return true;
}

void TMainWindow::UpdateWindowTitle() {
  const QString name = QFileInfo(SaveFileName).fileName();
  const QString title = ApplicationTitle();
  if (name.isEmpty()) {
    setWindowTitle(title);
    return;
  }
  setWindowTitle((Undo_.isClean() ? QString() : QStringLiteral("*")) + name +
                 QStringLiteral(" - ") + title);
}

void TMainWindow::ConnectUndo() {
  Undo_.setUndoLimit(kUndoSteps);
  const auto itemText = [](const QString& caption, const QString& step) {
    return step.isEmpty() ? caption : caption + QStringLiteral(": ") + step;
  };
  const auto refresh = [this, itemText] {
    mnUndo->setEnabled(Undo_.canUndo());
    mnUndo->setText(itemText(QStringLiteral("元に戻す(&U)"), Undo_.undoText()));
    mnRedo->setEnabled(Undo_.canRedo());
    mnRedo->setText(itemText(QStringLiteral("やり直し(&R)"), Undo_.redoText()));
  };
  connect(&Undo_, &QUndoStack::indexChanged, this, refresh);
  // The finder keeps the grid folded, and folds again only the rows each change touches.
  model_.Follow(&Finder_);
  connect(&Undo_, &QUndoStack::cleanChanged, this, &TMainWindow::UpdateWindowTitle);
  connect(mnUndo, &QAction::triggered, &Undo_, &QUndoStack::undo);
  connect(mnRedo, &QAction::triggered, &Undo_, &QUndoStack::redo);
  refresh();
}

void TMainWindow::FillGrid(const TLaunchList& list) {
  SaveFileName = SaveOnClose ? DataFileName : QString::fromStdString(list.FileName);
  NameColWidth = kNameColDefault;
  TFillSink sink;
  sink.resetIcons = [this](int pages) {
    IconGrid_.Clear();  // a file of no pages leaves no list behind either
    ResetIconGrid(IconGrid_, pages, 0);
  };
  // A button's icon is read when its cell is first drawn (IconAt): most of a large
  // file's buttons are never on screen, and each icon costs a look at its target.
  sink.addIcon = [this](int page, const TLaunchDataItem&) { IconGrid_.Get(page).Add(TIcon()); };
  sink.showProgress = [](int max, const std::string& text) {
    // The box that showed while the file was read goes on with the fill.
    if (ProgressBox != nullptr) {
      SetProgressRange(max, ShownText(text));
    } else {
      ShowProgress(max, ShownText(text), false);
    }
  };
  sink.stepProgress = [](int position, std::string_view text) {
    StepProgress(position,
                 std::function<QString()>([text] { return ShownText(std::string(text)); }));
  };
  sink.finishProgress = [](const std::string& text) { FinishProgress(ShownText(text)); };
  // Only a name that may be wider than the widest so far is measured: the sum of its
  // characters' advances bounds its width (shaping only tightens it), and costs
  // little once each character's advance is known. A name that cannot widen the
  // column reports 0.
  sink.textWidth = [metrics = QFontMetrics(Grid_->font()), widest = 0,
                    advances =
                        std::unordered_map<char16_t, int>()](const std::string& caption) mutable {
    const QString text = ShownText(caption);
    int bound = 0;
    for (const QChar ch : text) {
      const auto [at, fresh] = advances.try_emplace(ch.unicode(), 0);
      if (fresh) at->second = metrics.horizontalAdvance(ch);
      bound += at->second;
    }
    if (bound <= widest) return 0;
    widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
  };
  NameColWidth = ::FillGrid(list, store_, sink);
  Grid_->SetNameColumnWidth(NameColWidth);
  Grid_->RestoreCurrent();
}

bool TMainWindow::WarnOfDamage(const TLaunchList& list, const QString& otherFile) {
  const QString warning = DamageWarning(list, otherFile);
  if (warning.isEmpty()) return false;
  ShowMessageAt(warning, QStringLiteral("データーファイルの確認"), mbOK, TMsgType::Warning,
                DialogAt().x(), DialogAt().y());
  return true;
}

int TMainWindow::TextWidth(const std::string& cp932) const {
  return QFontMetrics(Grid_->font()).horizontalAdvance(ShownText(cp932));
}

QIcon TMainWindow::IconAt(int c, int r) {
  if (r < 1 || r > IconGrid_.Count()) return {};
  TIconList& icons = IconGrid_.Get(r - 1);
  if (c < 1 || c > icons.Count()) return {};
  // A cell not filled yet (a refill in progress paints the grid) has no icon to keep.
  if (store_.Cell(c, r).empty()) return {};
  QIcon& icon = icons.Get(c - 1).Icon;
  if (icon.isNull()) icon = GetItemIcon(*ButtonOfCell(store_, c, r));  // not read yet
  return icon;
}

QString TMainWindow::IniFile() const {
  return WindowSizeFile(SaveFileName, QCoreApplication::applicationFilePath());
}

void TMainWindow::ApplyOuterSize() {
  if (!PendingOuterSize_) return;
  // The remembered size includes the frame, which the window learns only once the
  // window manager has framed it: until then the size is taken as the inner size.
  const QSize frame = frameGeometry().size() - size();
  resize(*PendingOuterSize_ - frame);
  if (!frame.isNull()) PendingOuterSize_.reset();
}

void TMainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TMainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  ApplyOuterSize();
}

void TMainWindow::PlaceOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr)
    move(PlaceWindow(frameGeometry().size(), screen->geometry(), screen->availableGeometry()));
}

void TMainWindow::FormShow() {
  winId();  // the platform window, and with it the frame where the platform knows it
  ApplyOuterSize();
  PlaceOnScreen();
  Grid_->SelectCell(1, 1);
  // Without a window manager (a kiosk session) nobody activates the window, and the
  // grid would not take a key.
  activateWindow();
  Grid_->setFocus();
  TCellTitle title;
  if (CellTitle(store_, Grid_->Col(), Grid_->Row(), title)) {
    LbTitle->setText(ShownText(title.title));
    LbTitle->adjustSize();
  }
}

void TMainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // The help line stays centred vertically in its panel.
  Lbmsg->move(8, std::max(0, (msgPanel->height() - Lbmsg->height()) / 2));
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  // A window whose command line was refused never had a data file: nothing to keep.
  if (SaveFileName.isEmpty()) {
    event->accept();
    return;
  }
  SaveWindowSize(IniFile(), frameGeometry().size());
  FormCloseQuery() ? event->accept() : event->ignore();
}

bool TMainWindow::FormCloseQuery() {
  // With "/F" and nothing to save the window closes at once; with edits it asks as
  // "/FAS" does, rather than dropping them unasked.
  if (!SaveOnClose && Undo_.isClean()) {
    Recovery_->Settle();
    return true;
  }
  TCloseWindow window;
  window.hide = [this] { hide(); };
  window.show = [this] { show(); };
  TSaveSession session = SaveSession();
  switch (CloseQuery(session, window)) {
    case TCloseAnswer::Close:
      MarkSaved();
      return true;
    case TCloseAnswer::Discard:
      Recovery_->Settle();  // given up on purpose: nothing to recover
      return true;
    case TCloseAnswer::Stay:
      break;
  }
  return false;
}

void TMainWindow::GridDrawCell(QPainter& painter, int c, int r, QRect rect, bool selected,
                               bool focused) {
  const QPalette& pal = Grid_->palette();
  const bool fixed = c == 0 || r == 0;
  if (fixed) {
    painter.fillRect(rect, pal.color(QPalette::Button));
    DrawBevelFrame(painter, rect, pal.color(QPalette::Light), pal.color(QPalette::Dark), 1);
    painter.setPen(pal.color(QPalette::ButtonText));
    const QFontMetrics metrics(Grid_->font());
    if (r == 0 && c >= 1) {
      const QString number = QString::number(c);
      const int x = rect.left() + (rect.width() - metrics.horizontalAdvance(number)) / 2;
      const int y = rect.top() + (rect.height() - metrics.height()) / 2;
      painter.drawText(x, y + metrics.ascent(), number);
    } else if (c == 0) {
      rect.adjust(2, 2, -2, -2);
      const int top = rect.top() + (rect.height() - metrics.height()) / 2;
      QString text;
      if (r == 0) {
        text = QStringLiteral("ページ名");
      } else {
        const std::string name = PageNameOfRow(store_, r);
        text = ShownText(name);
        NameColWidth = std::max(NameColWidth, metrics.horizontalAdvance(text) + 8);
      }
      painter.save();
      painter.setClipRect(rect);
      painter.drawText(rect.left(), top + metrics.ascent(), text);
      painter.restore();
    }
    return;
  }
  const QIcon icon = IconAt(c, r);
  const QRect iconRect(rect.left() + 4, rect.top() + 4, kIconSize, kIconSize);
  if (selected && focused) {
    painter.fillRect(rect, pal.color(QPalette::Highlight));
    icon.paint(&painter, iconRect);
  } else if (c > model_.CountOfGridRow(r)) {
    painter.fillRect(rect, pal.color(QPalette::Base));
  } else {
    painter.fillRect(rect, pal.color(QPalette::Button));
    icon.paint(&painter, iconRect);
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
  }
}

bool TMainWindow::GridSelectCell(int c, int r) const {
  return CanSelectCell(store_, c, r);
}

void TMainWindow::GridMouseMove(int c, int r) {
  if (c < 1 || r < 1) return;
  Grid_->SelectCell(Grid_->Col(), r);
  Grid_->SelectCell(c, Grid_->Row());
  UpdateTitle();
}

void TMainWindow::UpdateTitle() {
  TCellTitle title;
  if (!CellTitle(store_, Grid_->Col(), Grid_->Row(), title)) return;
  LbTitle->setText(ShownText(title.title));
  LbTitle->adjustSize();
  CellHint = title.hint;
}

void TMainWindow::ToggleNameColumn() {
  Grid_->SetNameColumnWidth(Grid_->NameColumnWidth() == kNameColDefault ? NameColWidth
                                                                        : kNameColDefault);
}

void TMainWindow::GridDblClick(int c, int r) {
  switch (DoubleClickAction(store_, c, r)) {
    case TDoubleClick::ToggleNameColumn:
      ToggleNameColumn();
      break;
    case TDoubleClick::RenamePage:
      MakeCurrentPage(r);
      mnPageRename->trigger();
      break;
    case TDoubleClick::EditPage:
      if (!IsButtonCell(store_, c, r)) MakeCurrentPage(r);  // the first empty cell
      mnBtnEdit->trigger();
      break;
    case TDoubleClick::None:
      break;
  }
}

bool TMainWindow::GridContextPopup(int c, int r) {
  const TPopupDecision decision = ContextPopupDecision(store_, c, r);
  // The menu's commands act on the page under the pointer.
  if (decision.open)
    MakeCurrentPage(r);
  else if (decision.selectRow)
    Grid_->SelectCell(Grid_->Col(), r);
  return decision.open;
}

void TMainWindow::MakeCurrentPage(int r) {
  Grid_->PlaceCurrent(ColumnOnPage(store_, Grid_->Col(), r), r);
  UpdateTitle();
}

void TMainWindow::UpdateGridMenu(int pointerCol) {
  const TPopupState s = PopupMenuState(store_, pointerCol, Grid_->Col(), Grid_->Row(), CopyBuffer);
  PopupCopy(mnBtnEdit)->setVisible(true);
  for (QAction* a : PageItems_)
    a->setVisible(s.pageItems);
  for (QAction* a : ButtonItems_)
    a->setVisible(s.buttonItems);
  PopupCellText = s.popupCellText;
  // Only the menu's items are greyed: a shortcut works whenever its command would act,
  // and each command checks its own limits when it runs.
  const std::pair<QAction*, bool> states[] = {
      {mnPaste, s.paste},        {mnBtnDel, s.buttonDelete}, {mnPageDown, s.pageMoveDown},
      {mnPageUp, s.pageMoveUp},  {mnPageNew, s.pageNew},     {mnPageDel, s.pageDelete},
      {mnBtnCls, s.buttonClear}, {mnBtnLinkOpen, s.linkOpen}};
  for (const auto& [command, enabled] : states)
    PopupCopy(command)->setEnabled(enabled);
}

bool TMainWindow::GridHintAt(int c, int r, QString& text, int& areaCol, int& areaRow) {
  if (c == 0 && r >= 1 && r < store_.RowCount()) {
    text = ShownText(PageNameHint(store_, r));
    areaCol = c;
    areaRow = r;
    return true;
  }
  if (IsButtonCell(store_, c, r)) {
    text = ShownText(CellHint);
    areaCol = Grid_->Col();
    areaRow = Grid_->Row();
    return !text.isEmpty();
  }
  return false;
}
