// The page edit dialog's controls: where each sits, its caption, hint and shortcut,
// and which handler each event runs.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

#include "ButtonDetails.h"
#include "ButtonListBox.h"
#include "CommentEdit.h"
#include "EllipsisEdit.h"
#include "PageEditDialog.h"
#include "PlacedLabel.h"
#include "RootFolder.h"
#include "ShellItem.h"
#include "SjisValidator.h"
#include "SystemFont.h"

namespace {

constexpr int kClientWidth = 613;
constexpr int kClientHeight = 440;
constexpr int kPanelHeight = 64;
constexpr int kListTop = 108;
constexpr int kListWidth = 281;
constexpr int kListHeight = 300;
constexpr int kTabLeft = 297;
constexpr int kBottomTop = 412;

QToolButton* ToolButton(QWidget* parent, const QString& caption, const QString& hint, int x, int y,
                        int width) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  button->setGeometry(x, y, width, 26);
  return button;
}

// A symbolic theme icon's shape filled, when drawn, with the text colour of the button
// that shows it: the icon theme draws its symbols dark, which vanish on a dark palette.
// A disabled glyph takes the disabled text colour, or half the contrast where the
// palette has none of its own.
class TGlyphIconEngine : public QIconEngine {
 public:
  TGlyphIconEngine(QIcon shape, QWidget* owner) : shape_(std::move(shape)), owner_(owner) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap glyph = shape_.pixmap(size, 1.0, QIcon::Normal, state);
    if (glyph.isNull()) return glyph;
    QPainter painter(&glyph);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(glyph.rect(), Color(mode));
    return glyph;
  }
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device()->devicePixelRatio();
    QPixmap glyph = pixmap(rect.size() * ratio, mode, state);
    glyph.setDevicePixelRatio(ratio);
    const QSize shown = glyph.deviceIndependentSize().toSize();
    painter->drawPixmap(rect.x() + (rect.width() - shown.width()) / 2,
                        rect.y() + (rect.height() - shown.height()) / 2, glyph);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return shape_.actualSize(size, mode, state);
  }
  QIconEngine* clone() const override { return new TGlyphIconEngine(*this); }

 private:
  QColor Color(QIcon::Mode mode) const {
    const QPalette pal = owner_ ? owner_->palette() : QApplication::palette();
    const QColor text = pal.color(QPalette::Active, QPalette::ButtonText);
    if (mode != QIcon::Disabled) return text;
    const QColor dim = pal.color(QPalette::Disabled, QPalette::ButtonText);
    if (dim != text) return dim;
    const QColor back = pal.color(QPalette::Active, QPalette::Button);
    return QColor((text.red() + back.red()) / 2, (text.green() + back.green()) / 2,
                  (text.blue() + back.blue()) / 2);
  }

  QIcon shape_;
  QPointer<QWidget> owner_;
};

// Paints an icon at 32 x 32 from the top-left corner over the box's background.
class TIconBox : public QWidget {
 public:
  TIconBox(QWidget* parent, std::function<QIcon()> icon) : QWidget(parent), icon_(std::move(icon)) {
    setFixedSize(32, 32);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QIcon icon = icon_();
    if (!icon.isNull()) icon.paint(&painter, QRect(0, 0, 32, 32));
  }

 private:
  std::function<QIcon()> icon_;
};

// One icon of a file, drawn at its natural size; the selected one on the highlight.
class TIconCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QRect r = option.rect;
    const bool marked = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    painter->fillRect(r, option.palette.color(marked ? QPalette::Highlight : QPalette::Base));
    if (marked) {
      painter->setPen(QPen(option.palette.color(QPalette::HighlightedText), 1, Qt::DotLine));
      painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
    icon.paint(painter, QRect(r.left() + 2, r.top() + 2, 32, 32));
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {36, 40};
  }
};

}  // namespace

void TPageEditDialog::BuildLayout() {
  setObjectName(QStringLiteral("PageEditDialog"));
  setWindowTitle(QStringLiteral("編集"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  ApplySystemFont(this);
  setFixedSize(kClientWidth, kClientHeight);

  auto* panel = new QWidget(this);
  panel->setGeometry(0, 0, kClientWidth, kPanelHeight);
  BuildToolbar(panel);

  EdPage = new QLineEdit(this);
  PlacedLabel(this, QStringLiteral("ページ名 : "), 8, 74, EdPage);
  EdPage->setGeometry(70, 70, kListWidth - 62, 22);
  WatchEdit(EdPage);
  LbCount = new QLabel(QStringLiteral("登録数： 00000"), this);
  LbCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  LbCount->setGeometry(120, 92, kListWidth - 112, 16);
  BtnListBox = new TButtonListBox(this);
  BtnListBox->setObjectName(QStringLiteral("BtnListBox"));
  const QString listCaption = QStringLiteral("タイトル / 使用回数");
  PlacedLabel(this, listCaption, 8, 94, BtnListBox);
  BtnListBox->setAccessibleName(listCaption);  // a view takes no name from its label
  BtnListBox->setGeometry(8, kListTop, kListWidth, kListHeight);

  LbUnregistered = new QLabel(QStringLiteral("未　登　録"), this);
  QFont bold = LbUnregistered->font();
  bold.setBold(true);
  LbUnregistered->setFont(bold);
  LbUnregistered->adjustSize();
  LbUnregistered->move(kTabLeft + (kClientWidth - 8 - kTabLeft - LbUnregistered->width()) / 2,
                       kListTop + kListHeight / 2 - LbUnregistered->height());
  PCtrl = new QTabWidget(this);
  PCtrl->setGeometry(kTabLeft, 70, kClientWidth - 8 - kTabLeft, kListTop + kListHeight - 70);
  BuildDetailTab();
  BuildIconTab();
  BuildCommentTab();

  auto* help = new QLabel(
      QStringLiteral(
          "ドラッグで並べ替えることができます。[SHIFT]や[CTRL]キーを押したままでクリックすると"
          "特定のタイトルだけ選択できます"),
      this);
  help->setWordWrap(true);
  help->setGeometry(8, kBottomTop, 430, kClientHeight - kBottomTop - 2);
  BtnOk = new QPushButton(QStringLiteral("OK"), this);
  BtnOk->setGeometry(446, kBottomTop + 2, 75, 24);
  BtnOk->setDefault(true);
  BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
  BtnCancel->setGeometry(530, kBottomTop + 2, 75, 24);
  BuildPopupMenu();
}

void TPageEditDialog::BuildToolbar(QWidget* panel) {
  auto* sort = new QGroupBox(QStringLiteral("並べ替え基準"), panel);
  sort->setToolTip(QStringLiteral("並べ替えの基準を設定"));
  sort->setGeometry(4, 2, 92, 58);
  RadioSortTitle = new QRadioButton(QStringLiteral("タイトル"), sort);
  RadioSortTitle->move(8, 18);
  RadioSortTitle->setChecked(true);
  RadioSortUseCount = new QRadioButton(QStringLiteral("使用回数"), sort);
  RadioSortUseCount->move(8, 36);

  const int top = 4, bottom = 33;
  BtnUpsort =
      ToolButton(panel, QStringLiteral("昇順ソート"), QStringLiteral("昇順ソート"), 100, top, 72);
  BtnDownSort = ToolButton(panel, QStringLiteral("降順ソート"), QStringLiteral("降順ソート"), 100,
                           bottom, 72);
  BtnUp = ToolButton(panel, QStringLiteral("上移動"), QStringLiteral("選択範囲を一番上に移動"), 174,
                     top, 56);
  BtnDown = ToolButton(panel, QStringLiteral("下移動"), QStringLiteral("選択範囲を一番下に移動"),
                       174, bottom, 56);
  auto* line = new QFrame(panel);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(233, 4, 4, 56);
  // The small buttons show a glyph only: the icon theme's in the palette's colour, else a
  // character. Their hint is what a screen reader says for them.
  const auto glyph = [panel](const char* themeIcon, const QString& text, const QString& hint, int x,
                             int y) {
    QToolButton* button = ToolButton(panel, text, hint, x, y, 28);
    button->setAccessibleName(hint);
    const QIcon shape = QIcon::fromTheme(QLatin1String(themeIcon));
    if (!shape.isNull()) button->setIcon(QIcon(new TGlyphIconEngine(shape, button)));
    return button;
  };
  BtnBAdd =
      glyph("list-add-symbolic", QStringLiteral("＋"), QStringLiteral("ボタンを追加"), 240, top);
  BtnBIns = glyph("insert-object-symbolic", QStringLiteral("↓"), QStringLiteral("ボタンを挿入"),
                  270, top);
  BtnBDel = glyph("edit-delete-symbolic", QStringLiteral("×"),
                  QStringLiteral("選択したボタンを削除"), 300, top);
  BtnBCls = glyph("edit-clear-symbolic", QStringLiteral("○"),
                  QStringLiteral("選択したボタンの登録情報をクリア"), 330, top);
  BtnBCopy = glyph("edit-copy-symbolic", QStringLiteral("写"),
                   QStringLiteral("ボタンの登録情報をコピー"), 240, bottom);
  BtnBPaste = glyph("edit-paste-symbolic", QStringLiteral("貼"),
                    QStringLiteral("選択したボタンに登録情報を貼り付け"), 270, bottom);
  BtnBPaste->setEnabled(false);
  BtnRegFile = ToolButton(panel, QStringLiteral("ファイル登録"),
                          QStringLiteral("選択したボタンにファイルを登録"), 362, top, 84);
  BtnRegSpf = ToolButton(panel, QStringLiteral("特殊フォルダ登録"),
                         QStringLiteral("選択したボタンに特殊フォルダを登録"), 448, top, 108);
  BtnRegFolder = ToolButton(panel, QStringLiteral("フォルダ登録"),
                            QStringLiteral("選択したボタンにフォルダを登録"), 362, bottom, 84);
  BtnRenew = ToolButton(panel, QStringLiteral("登録情報更新"),
                        QStringLiteral("変更した登録情報を更新"), 448, bottom, 108);
  BtnRenew->setEnabled(false);
}

void TPageEditDialog::BuildDetailTab() {
  TabEdit = new QWidget;
  PCtrl->addTab(TabEdit, QStringLiteral("詳細"));
  CurrentIconBox = new TIconBox(TabEdit, [this] { return CurrentIcon; });
  CurrentIconBox->move(8, 10);
  const int x = 48, w = 250;
  EdTitle = new QLineEdit(TabEdit);
  PlacedLabel(TabEdit, QStringLiteral("タイトル(&T):"), x, 6, EdTitle);
  EdTitle->setGeometry(x, 22, w - 40, 22);
  WatchEdit(EdTitle);

  EdLink = new QLineEdit(TabEdit);
  EdLink->setReadOnly(true);
  EdLink->setFocusPolicy(Qt::ClickFocus);
  EdParam = new QLineEdit(TabEdit);
  EdWork = new TEllipsisEdit(TabEdit);
  LinkWidgets = {
      PlacedLabel(TabEdit, QStringLiteral("リンク先:"), 8, 52, EdLink),          EdLink,
      PlacedLabel(TabEdit, QStringLiteral("パラメータ(&P):"), 8, 96, EdParam),   EdParam,
      PlacedLabel(TabEdit, QStringLiteral("作業フォルダ(&S):"), 8, 140, EdWork), EdWork,
  };
  EdLink->setGeometry(8, 68, w + 40 - 16, 22);
  EdParam->setGeometry(8, 112, w + 40 - 16, 22);
  EdWork->setGeometry(8, 156, w + 40 - 16, 22);
  for (QLineEdit* edit : {EdLink, EdParam, static_cast<QLineEdit*>(EdWork)})
    WatchEdit(edit);

  LBoxSpfol = new QListWidget(TabEdit);
  LBoxSpfol->setGeometry(8, 52, w + 40 - 16, 126);
  LBoxSpfol->setIconSize(QSize(32, 32));
  LBoxSpfol->setAccessibleName(QStringLiteral("特殊フォルダ"));
  for (int k = 0; k < kRootFolderCount; ++k) {
    auto* item = new QListWidgetItem(PidlIcon(RootFolderPidl(k)), SpecialFolderRowText(k));
    item->setSizeHint(QSize(0, 40));
    LBoxSpfol->addItem(item);
  }
  LBoxSpfol->hide();

  ComboBoxShow = new QComboBox(TabEdit);
  ComboBoxShow->addItems(
      {QStringLiteral("通常のウィンドウ"), QStringLiteral("最小化"), QStringLiteral("最大化")});
  PlacedLabel(TabEdit, QStringLiteral("実行時の大きさ(&R):"), 8, 188, ComboBoxShow);
  ComboBoxShow->setGeometry(8, 204, 150, 22);
  EdNo = new QLineEdit(TabEdit);
  EdNo->setValidator(new TInt32Validator(EdNo));
  EdNo->setToolTip(QStringLiteral("使用回数を設定"));
  PlacedLabel(TabEdit, QStringLiteral("使用回数:"), 170, 188, EdNo);
  EdNo->setGeometry(170, 204, 56, 22);
  BtnResetCount = ToolButton(TabEdit, QStringLiteral("リセット"),
                             QStringLiteral("使用回数をリセット"), 228, 202, 56);
}

void TPageEditDialog::BuildIconTab() {
  TabIcon = new QWidget;
  PCtrl->addTab(TabIcon, QStringLiteral("アイコン"));
  ChosenIconBox = new TIconBox(TabIcon, [this] {
    return PCtrl->property("kind").toInt() != lkNone ? SelectedGridIcon() : QIcon();
  });
  ChosenIconBox->move(8, 10);
  EdPath = new TEllipsisEdit(TabIcon);
  PlacedLabel(TabIcon, QStringLiteral("ファイル名(&F):"), 48, 6, EdPath);
  EdPath->setGeometry(48, 22, 234, 22);
  WatchEdit(EdPath);
  EdIndex = new QLineEdit(TabIcon);
  PlacedLabel(TabIcon, QStringLiteral("現在のアイコン(&C):"), 48, 50, EdIndex);
  EdIndex->setGeometry(150, 48, 60, 22);
  WatchEdit(EdIndex);
  IconListBox = new QListWidget(TabIcon);
  IconListBox->setObjectName(QStringLiteral("IconListBox"));
  IconListBox->setToolTip(QStringLiteral("選択可能なアイコン一覧"));
  IconListBox->setAccessibleName(IconListBox->toolTip());
  IconListBox->setViewMode(QListView::IconMode);
  IconListBox->setMovement(QListView::Static);
  IconListBox->setResizeMode(QListView::Adjust);
  IconListBox->setUniformItemSizes(true);
  IconListBox->setItemDelegate(new TIconCellDelegate(IconListBox));
  const int width = PCtrl->width() - 16;
  IconListBox->setGeometry(4, 78, width, PCtrl->height() - 110);
  // Eight columns of cells 40 pixels high.
  IconListBox->setGridSize(
      QSize((width - IconListBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 4) / 8, 40));
}

void TPageEditDialog::BuildCommentTab() {
  TabCmt = new QWidget;
  PCtrl->addTab(TabCmt, QStringLiteral("コメント"));
  Memo = new TCommentEdit(TabCmt);
  Memo->setAccessibleName(QStringLiteral("コメント"));
  QFont fixed(QStringLiteral("ＭＳ ゴシック"));
  fixed.setStyleHint(QFont::Monospace);
  fixed.setPixelSize(12);
  Memo->setFont(fixed);
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setGeometry(4, 4, PCtrl->width() - 14, PCtrl->height() - 36);
}

void TPageEditDialog::BuildPopupMenu() {
  ButtonMenu = new QMenu(this);
  const auto item = [this](const QString& caption, const QKeySequence& key) {
    auto* action = ButtonMenu->addAction(caption);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);  // the shortcut works while the menu is closed
    return action;
  };
  mnRegFile = item(QStringLiteral("ファイル登録"), QKeySequence(Qt::CTRL | Qt::Key_F));
  mnRegFolder = item(QStringLiteral("フォルダ登録"), QKeySequence(Qt::CTRL | Qt::Key_D));
  mnRegSpfolder = item(QStringLiteral("特殊フォルダ登録"), QKeySequence(Qt::CTRL | Qt::Key_S));
  ButtonMenu->addSeparator();
  mnBtnProp = item(QStringLiteral("プロパティ"), QKeySequence(Qt::CTRL | Qt::Key_R));
  mnBtnLinkOpen =
      item(QStringLiteral("登録先のフォルダを開く"), QKeySequence(Qt::CTRL | Qt::Key_O));
  ButtonMenu->addSeparator();
  mnCopy = item(QStringLiteral("コピー"), QKeySequence(Qt::CTRL | Qt::Key_C));
  mnPaste = item(QStringLiteral("貼り付け"), QKeySequence(Qt::CTRL | Qt::Key_V));
  mnAll = item(QStringLiteral("すべて選択"), QKeySequence(Qt::CTRL | Qt::Key_A));
  ButtonMenu->addSeparator();
  mnBtnCls = item(QStringLiteral("登録情報クリア"), QKeySequence(Qt::CTRL | Qt::Key_G));
  ButtonMenu->addSeparator();
  mnBtnAdd = item(QStringLiteral("ボタン追加"), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
  mnBtnIns = item(QStringLiteral("ボタン挿入"), QKeySequence(Qt::CTRL | Qt::Key_Insert));
  mnBtnDel = item(QStringLiteral("ボタン削除"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

void TPageEditDialog::WatchEdit(QLineEdit* edit) {
  edit->setValidator(new TSjisValidator(edit));
  connect(edit, &QLineEdit::textChanged, edit, &QWidget::setToolTip);
}

void TPageEditDialog::ConnectHandlers() {
  connect(EdPage, &QLineEdit::textChanged, this,
          [this](const QString& text) { BtnOk->setEnabled(!text.isEmpty()); });
  for (QLineEdit* edit : {EdTitle, EdLink, EdParam, static_cast<QLineEdit*>(EdWork),
                          static_cast<QLineEdit*>(EdPath), EdNo})
    connect(edit, &QLineEdit::textChanged, this, &TPageEditDialog::Changed);
  connect(ComboBoxShow, &QComboBox::currentIndexChanged, this, &TPageEditDialog::Changed);
  connect(ComboBoxShow, &QComboBox::activated, this, [this] {
    ShowRowChosen = true;
    Changed();
  });
  connect(Memo, &QPlainTextEdit::textChanged, this, &TPageEditDialog::Changed);
  connect(BtnResetCount, &QToolButton::clicked, this, &TPageEditDialog::BtnResetCountClick);
  connect(EdWork, &TEllipsisEdit::EllipsisClick, this, &TPageEditDialog::EdWorkEllipsisClick);
  // The fields follow the list's current row however it was chosen, by click or key.
  connect(LBoxSpfol, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { LBoxSpfolClick(LBoxSpfol->row(item)); });
  connect(LBoxSpfol, &QListWidget::currentRowChanged, this, [this](int row) {
    // Focus alone makes the first row current without selecting it: only a row the
    // user chose retargets the button.
    const QListWidgetItem* item = LBoxSpfol->item(row);
    if (!showing_ && item != nullptr && item->isSelected()) LBoxSpfolClick(row);
  });
  connect(BtnRenew, &QToolButton::clicked, this, &TPageEditDialog::BtnRenewClick);
  connect(BtnUpsort, &QToolButton::clicked, this, [this] { BtnUpsortClick(false); });
  connect(BtnDownSort, &QToolButton::clicked, this, [this] { BtnUpsortClick(true); });
  connect(BtnUp, &QToolButton::clicked, this, [this] { BtnUpClick(false); });
  connect(BtnDown, &QToolButton::clicked, this, [this] { BtnUpClick(true); });
  for (QRadioButton* radio : {RadioSortTitle, RadioSortUseCount})
    connect(radio, &QRadioButton::clicked, this, [this] { PCtrl->setCurrentWidget(TabEdit); });
  connect(mnAll, &QAction::triggered, this, &TPageEditDialog::mnAllClick);
  connect(BtnOk, &QPushButton::clicked, this, &TPageEditDialog::BtnOkClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

  connect(BtnListBox, &TButtonListBox::EntryClicked, this,
          &TPageEditDialog::ShowCurrentOnDetailTab);
  connect(BtnListBox, &TButtonListBox::KeyReleased, this, &TPageEditDialog::ShowCurrent);
  connect(BtnListBox, &TButtonListBox::DragEnded, this, &TPageEditDialog::ShowCurrent);
  connect(BtnListBox, &TButtonListBox::EntryContextMenu, this, [this](const QPoint& at) {
    ShowCurrentOnDetailTab();
    UpdateButtonMenu();
    ButtonMenu->popup(at);
  });
  // The menu's states are those of the button it opened over; once it is closed the
  // shortcuts act on whichever button is current, each command checking its limits.
  connect(ButtonMenu, &QMenu::aboutToHide, this, [this] {
    for (QAction* action : ButtonMenu->actions())
      action->setEnabled(true);
  });
  connect(BtnListBox, &TButtonListBox::FilesDropped, this, &TPageEditDialog::FilesDropped);

  // Each command from its toolbar button and its menu item (and the item's shortcut).
  const auto command = [this](QToolButton* button, QAction* item,
                              void (TPageEditDialog::*handler)()) {
    if (button) connect(button, &QToolButton::clicked, this, handler);
    connect(item, &QAction::triggered, this, handler);
  };
  command(BtnBAdd, mnBtnAdd, &TPageEditDialog::mnBtnAddClick);
  command(BtnBIns, mnBtnIns, &TPageEditDialog::mnBtnInsClick);
  command(BtnBDel, mnBtnDel, &TPageEditDialog::mnBtnDelClick);
  command(BtnBCls, mnBtnCls, &TPageEditDialog::mnBtnClsClick);
  command(BtnBCopy, mnCopy, &TPageEditDialog::mnCopyClick);
  command(BtnBPaste, mnPaste, &TPageEditDialog::mnPasteClick);
  command(BtnRegFile, mnRegFile, &TPageEditDialog::mnRegFileClick);
  command(BtnRegFolder, mnRegFolder, &TPageEditDialog::mnRegFolderClick);
  command(BtnRegSpf, mnRegSpfolder, &TPageEditDialog::mnRegSpfolderClick);
  command(nullptr, mnBtnLinkOpen, &TPageEditDialog::mnBtnLinkOpenClick);
  command(nullptr, mnBtnProp, &TPageEditDialog::mnBtnPropClick);

  connect(EdPath, &TEllipsisEdit::EllipsisClick, this, &TPageEditDialog::EdPathEllipsisClick);
  connect(EdIndex, &QLineEdit::textChanged, this, &TPageEditDialog::EdIndexChange);
  connect(IconListBox, &QListWidget::itemClicked, this, &TPageEditDialog::IconListBoxClick);
  connect(IconListBox, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!showing_ && row >= 0) IconListBoxClick();
  });
  connect(PCtrl, &QTabWidget::currentChanged, this, [this] {
    if (TabShown == TabIcon) TabIconHide();
    TabShown = PCtrl->currentWidget();
    if (TabShown == TabIcon) TabIconShow();
  });
}
