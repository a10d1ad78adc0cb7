// The wizard's controls: where each sits, its caption and fixed hint, and which
// handler each event runs.
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>

#include "PlacedLabel.h"
#include "RegistrationWizard.h"
#include "SjisValidator.h"
#include "SystemFont.h"
#include "WizardFileList.h"
#include "WizardFiles.h"
#include "WizardRow.h"

namespace {

constexpr int kClientWidth = 576;
constexpr int kClientHeight = 384;
constexpr int kPagesHeight = 281;
constexpr int kButtonsLeft = 448;
constexpr int kButtonsWidth = 120;

// The gothic of the windows with fixed-width characters, for the list and the counter.
QFont FixedGothic(int pixels, bool bold) {
  QFont font = SystemFont();
  font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                    QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                    font.family()});
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* Banner(QWidget* page, const QString& text) {
  auto* banner = new QLabel(text, page);
  banner->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  banner->setWordWrap(true);
  banner->setIndent(8);
  banner->setGeometry(8, 8, kClientWidth - 16, 32);
  return banner;
}

QToolButton* SpeedButton(QWidget* parent, const QString& caption, int y) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  button->setGeometry(kButtonsLeft, y, kButtonsWidth, 24);
  return button;
}

}  // namespace

void TRegistrationWizard::BuildLayout() {
  setObjectName(QStringLiteral("RegistrationWizard"));
  setWindowTitle(WizardCaption());
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  ApplySystemFont(this);
  setFixedSize(kClientWidth, kClientHeight);
  SetHint(this, QStringLiteral("|ボタン等にマウスポインタを合わせると簡単な説明が表示されます。"));

  PageStack = new QStackedWidget(this);
  PageStack->setGeometry(0, 0, kClientWidth, kPagesHeight);
  MethodPage = new QWidget;
  FilesPage = new QWidget;
  FinishPage = new QWidget;
  for (QWidget* page : {MethodPage, FilesPage, FinishPage})
    PageStack->addWidget(page);
  BuildMethodPage();
  BuildFilesPage();
  BuildFinishPage();
  BuildBottom();
  // The window and every control report the pointer entering and leaving to the hint panel.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>())
    w->installEventFilter(this);
}

void TRegistrationWizard::BuildMethodPage() {
  Banner(MethodPage,
         QStringLiteral("[登録ウイザード]を使用することで簡単に複数ファイルの登録ができます。"));
  SelectPageType = new QGroupBox(QStringLiteral("作成方法の選択"), MethodPage);
  SelectPageType->setGeometry(8, 56, kClientWidth - 16, 112);
  SelectPageTypeGroup = new QButtonGroup(this);
  const QStringList methods = {QStringLiteral("新しいページを作成"),
                               QStringLiteral("既存のページに追加"),
                               QStringLiteral("特定のフォルダを元に新しいページを作成")};
  for (int i = 0; i < methods.size(); ++i) {
    auto* radio = new QRadioButton(methods[i], SelectPageType);
    radio->setGeometry(16, 24 + i * 28, kClientWidth - 48, 22);
    SelectPageTypeGroup->addButton(radio, i);
  }
  SelectPageTypeGroup->button(wmNewPage)->setChecked(true);

  FolderOp = new QGroupBox(QStringLiteral("フォルダの選択"), MethodPage);
  FolderOp->setGeometry(8, 180, kClientWidth - 16, 64);
  CBoxFolder = new QComboBox(FolderOp);
  CBoxFolder->addItems(FolderChoiceCaptions());
  CBoxFolder->setGeometry(16, 26, 280, 24);
  CBoxFolder->setEnabled(false);
}

void TRegistrationWizard::BuildFilesPage() {
  Banner(FilesPage, QStringLiteral("追加登録するファイルを指定します。"));
  FileListBox = new TWizardFileList(FilesPage);
  FileListBox->setObjectName(QStringLiteral("FileListBox"));
  // A view takes no name from its label.
  FileListBox->setAccessibleName(QStringLiteral("追加登録するファイル一覧"));
  FileListBox->setFont(FixedGothic(12, false));
  FileListBox->setGeometry(8, 66, 432, 172);
  FileListBox->GrowExtent(FileListBox->width() + FileListBox->width() / 2);
  PlacedLabel(FilesPage, QStringLiteral("追加登録するファイル一覧(&L):"), 8, 48, FileListBox);
  LbListCount = new QLabel(QStringLiteral("ファイル数：0"), FilesPage);
  QFont bold = LbListCount->font();
  bold.setBold(true);
  LbListCount->setFont(bold);
  LbListCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  LbListCount->setGeometry(240, 46, 200, 18);

  CBoxExt = new QComboBox(FilesPage);
  CBoxExt->addItems(TypeFilterCaptions());
  PlacedLabel(FilesPage, QStringLiteral("ファイルの種類(&T):"), 8, 250, CBoxExt);
  CBoxExt->setGeometry(120, 246, 320, 24);

  BtnCheck = SpeedButton(FilesPage, QStringLiteral("ファイルチェック"), 46);
  BtnFolder = SpeedButton(FilesPage, QStringLiteral("フォルダから追加..."), 74);
  BtnSort = SpeedButton(FilesPage, QStringLiteral("昇順ソート"), 108);
  BtnDownSort = SpeedButton(FilesPage, QStringLiteral("降順ソート"), 136);
  BtnUp = SpeedButton(FilesPage, QStringLiteral("選択範囲を上移動"), 170);
  BtnDn = SpeedButton(FilesPage, QStringLiteral("選択範囲を下移動"), 198);
  BtnDel = SpeedButton(FilesPage, QStringLiteral("削除"), 224);
  BtnAllCls = SpeedButton(FilesPage, QStringLiteral("すべて削除"), 252);
  SetHint(BtnSort, QStringLiteral("|昇順でファイルを並べ替えます"));
  SetHint(BtnDownSort, QStringLiteral("|降順でファイルを並べ替えます"));
  SetHint(BtnUp, QStringLiteral("|選択範囲のファイルを一番上に移動します。"));
  SetHint(BtnDn, QStringLiteral("|選択範囲のファイルを一番下に移動します。"));
  SetHint(
      BtnCheck,
      QStringLiteral("|登録可能なファイルかチェックし、登録できないファイルは一覧から削除します。"
                     "なお[ファイルチェック]はしなくてもウィザード完了時に自動でチェックします。"));
}

void TRegistrationWizard::BuildFinishPage() {
  Banner(FinishPage, QStringLiteral("[完了]を押すと[登録ウイザード]は終了します。"));
  CboxPage = new QComboBox(FinishPage);
  CboxPage->setEditable(true);
  CboxPage->setInsertPolicy(QComboBox::NoInsert);
  CboxPage->setValidator(new TSjisValidator(CboxPage));
  CboxPage->setEditText(QStringLiteral("新規ページ"));
  CboxPage->setAccessibleName(QStringLiteral("新規に追加するページの名前"));
  CboxPage->lineEdit()->setAccessibleName(CboxPage->accessibleName());
  CboxPage->setGeometry(8, 72, 300, 24);
  LbNewPage =
      PlacedLabel(FinishPage, QStringLiteral("新規に追加するページの名前:(&P)"), 8, 54, CboxPage);
  PageBox = new QListWidget(FinishPage);
  PageBox->setGeometry(8, 126, 300, 146);
  PageBox->setAccessibleName(QStringLiteral("新規作成したページの追加位置"));
  LBPage =
      PlacedLabel(FinishPage, QStringLiteral("新規作成したページの追加位置:(&L)"), 8, 108, PageBox);
}

void TRegistrationWizard::BuildBottom() {
  HintPanel = new QFrame(this);
  QFrame* frame = HintPanel;
  frame->setFrameShape(QFrame::Panel);
  frame->setFrameShadow(QFrame::Sunken);
  // The palette's alternate base, not its tooltip colours: those are nearly the
  // window's own under some dark themes.
  frame->setAutoFillBackground(true);
  frame->setBackgroundRole(QPalette::AlternateBase);
  frame->setForegroundRole(QPalette::Text);
  frame->setAccessibleName(QStringLiteral("ヒント"));
  frame->setGeometry(8, kPagesHeight + 2, kClientWidth - 16, 66);
  LBHint = new QLabel(frame);
  LBHint->setWordWrap(true);
  LBHint->setForegroundRole(QPalette::Text);
  LBHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LBHint->setGeometry(5, 2, frame->width() - 10, frame->height() - 4);

  const int bottom = kClientHeight - 32;
  LBCount = new QLabel(QStringLiteral("(1/3)"), this);
  LBCount->setFont(FixedGothic(16, true));
  LBCount->setGeometry(12, bottom, 80, 26);
  btnPrev = new QPushButton(QStringLiteral("終了(&X)"), this);
  btnPrev->setGeometry(kClientWidth - 232, bottom, 108, 26);
  btnPrev->setAutoDefault(false);
  btnNext = new QPushButton(QStringLiteral("次へ(&N) ＞＞"), this);
  btnNext->setGeometry(kClientWidth - 116, bottom, 108, 26);
  btnNext->setDefault(true);
}

void TRegistrationWizard::ConnectHandlers() {
  connect(btnNext, &QPushButton::clicked, this, &TRegistrationWizard::btnNextClick);
  connect(btnPrev, &QPushButton::clicked, this, &TRegistrationWizard::btnPrevClick);
  connect(SelectPageTypeGroup, &QButtonGroup::idClicked, this,
          &TRegistrationWizard::SelectPageTypeClick);
  connect(PageBox, &QListWidget::currentRowChanged, this, &TRegistrationWizard::PageBoxClick);
  connect(BtnFolder, &QToolButton::clicked, this, &TRegistrationWizard::BtnFolderClick);
  connect(BtnSort, &QToolButton::clicked, this, [this] { BtnSortClick(false); });
  connect(BtnDownSort, &QToolButton::clicked, this, [this] { BtnSortClick(true); });
  connect(BtnUp, &QToolButton::clicked, this, [this] { BtnUpClick(false); });
  connect(BtnDn, &QToolButton::clicked, this, [this] { BtnUpClick(true); });
  connect(BtnDel, &QToolButton::clicked, this, &TRegistrationWizard::BtnDelClick);
  connect(BtnAllCls, &QToolButton::clicked, this, &TRegistrationWizard::BtnAllClsClick);
  connect(BtnCheck, &QToolButton::clicked, this, &TRegistrationWizard::BtnCheckClick);
  connect(FileListBox, &TWizardFileList::Dropped, this, &TRegistrationWizard::UpdateFileCount);
}
