#include "layoutpad/app/frmsylmain.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "layoutpad/app/stylelibrary.h"
#include "layoutpad/app/toolimages.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/scorepagewidget.h"

namespace layoutpad {

namespace {

// The window's layout in twips at the screen's 15 twips a pixel.
constexpr int Px(int twips) {
  return twips / 15;
}
constexpr int kMinWidth = Px(4500);
constexpr int kMinHeight = Px(5070);
constexpr int kEditLeft = Px(1260);
constexpr int kEditTop = Px(660);
constexpr int kComboTop = 16;
constexpr int kComboHeight = 22;
constexpr int kTypeWidth = 120;
constexpr int kToolWidth = 38;
constexpr int kToolHeight = 26;

QToolButton* MakeTool(QWidget* parent, const QString& key, const QString& image,
                      const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setObjectName(key);
  button->setIcon(ToolImage(image));
  button->setIconSize(QSize(24, 24));
  button->setToolTip(tip);
  button->setText(tip);
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFixedSize(kToolWidth, kToolHeight);
  button->setProperty("imageKey", image);
  return button;
}

}  // namespace

frmSYLMain::frmSYLMain(const QString& stylesFolder, std::unique_ptr<StylePrompter> prompter)
    : lcStyle(std::make_unique<notecraft::Score>()),
      m_prompter(std::move(prompter)),
      m_folder(stylesFolder),
      m_currentName(QString::fromLatin1(kNewStyleName)) {
  setObjectName(QStringLiteral("frmSYLMain"));
  lcStyle->AddListener(this);
  BuildControls();
  setWindowTitle(QStringLiteral("Veltrimond Style Editor"));
  setMinimumSize(kMinWidth, kMinHeight);
  resize(Px(9600), Px(6600));
  ListStyles();
}

frmSYLMain::~frmSYLMain() {
  lcStyle->PlayScore(true);
  pctPage->SetScore(nullptr);
  lcStyle->RemoveListener(this);
  // The controls go while this is still the window: their last signals and the events this
  // window filters for them reach a whole object.
  m_ready = false;
  delete pctBase;
}

StyleType frmSYLMain::CurrentType() const {
  return static_cast<StyleType>(std::max(0, cboType->currentIndex()));
}

void frmSYLMain::BuildControls() {
  pctBase = new QWidget(this);
  pctBase->setObjectName(QStringLiteral("pctBase"));

  lblName = new QLabel(QStringLiteral("Name"), pctBase);
  lblName->setObjectName(QStringLiteral("lblName"));
  cboName = new QComboBox(pctBase);
  cboName->setObjectName(QStringLiteral("cboName"));
  lblName->setBuddy(cboName);
  connect(cboName, &QComboBox::activated, this, &frmSYLMain::ChooseStyle);

  lblType = new QLabel(QStringLiteral("Type"), pctBase);
  lblType->setObjectName(QStringLiteral("lblType"));
  cboType = new QComboBox(pctBase);
  cboType->setObjectName(QStringLiteral("cboType"));
  cboType->addItems({QStringLiteral("Treble"), QStringLiteral("Bass"), QStringLiteral("Drums")});
  lblType->setBuddy(cboType);
  connect(cboType, &QComboBox::activated, this, &frmSYLMain::ChooseType);

  cmdProp = new QToolButton(pctBase);
  cmdProp->setObjectName(QStringLiteral("cmdProp"));
  cmdProp->setText(QStringLiteral("Properties"));
  cmdProp->setToolTip(QStringLiteral("Properties"));
  cmdProp->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  connect(cmdProp, &QToolButton::clicked, this, &frmSYLMain::ShowProperties);
  cmdListen = new QToolButton(pctBase);
  cmdListen->setObjectName(QStringLiteral("cmdListen"));
  cmdListen->setText(QStringLiteral("Listen"));
  cmdListen->setToolTip(QStringLiteral("Listen"));
  cmdListen->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  connect(cmdListen, &QToolButton::clicked, this, &frmSYLMain::Listen);

  tbrTools = new QWidget(pctBase);
  tbrTools->setObjectName(QStringLiteral("tbrTools"));
  auto* tools = new QGridLayout(tbrTools);
  tools->setContentsMargins(0, 0, 0, 0);
  tools->setSpacing(2);
  m_toolGroup = new QButtonGroup(this);
  const QStringList keys{"N01", "N02", "N04", "N08", "N16", "N32"};
  const QStringList tips{"Whole", "Half", "Quarter", "Eighth", "Sixteenth", "Thirty Secondth"};
  for (int i = 0; i < keys.size(); ++i) {
    auto* button = MakeTool(tbrTools, keys[i], keys[i], tips[i]);
    m_toolGroup->addButton(button, i);
    tools->addWidget(button, i / 2, i % 2);
  }
  connect(m_toolGroup, &QButtonGroup::idClicked, this, &frmSYLMain::ChooseTool);

  tbrEnhance = new QWidget(pctBase);
  tbrEnhance->setObjectName(QStringLiteral("tbrEnhance"));
  auto* enhance = new QGridLayout(tbrEnhance);
  enhance->setContentsMargins(0, 0, 0, 0);
  enhance->setSpacing(2);
  m_align = MakeTool(tbrEnhance, "Align", "N16", "Align");
  m_dot = MakeTool(tbrEnhance, "Dot", "Z02", "Dotted");
  m_stac = MakeTool(tbrEnhance, "Stac", "Z03", "Staccato");
  m_trip = MakeTool(tbrEnhance, "Trip", "Z01", "Triplet");
  enhance->addWidget(m_align, 0, 0);
  enhance->addWidget(m_trip, 0, 1);
  enhance->addWidget(m_dot, 1, 0);
  enhance->addWidget(m_stac, 1, 1);

  cboDrum = new QComboBox(pctBase);
  cboDrum->setObjectName(QStringLiteral("cboDrum"));
  cboDrum->hide();
  connect(cboDrum, &QComboBox::activated, this, &frmSYLMain::ChooseDrum);

  pctButtons = new QWidget(pctBase);
  pctButtons->setObjectName(QStringLiteral("pctButtons"));
  auto* buttons = new QVBoxLayout(pctButtons);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->setSpacing(0);
  auto makeButton = [&](const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, pctButtons);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    buttons->addWidget(button);
    return button;
  };
  cmdSave = makeButton("cmdSave", QStringLiteral("Save"));
  cmdSaveAs = makeButton("cmdSaveAs", QStringLiteral("Save As"));
  cmdDelete = makeButton("cmdDelete", QStringLiteral("Delete"));
  cmdCancel = makeButton("cmdCancel", QStringLiteral("Cancel"));
  connect(cmdSave, &QPushButton::clicked, this, [this] { SaveStyle(); });
  connect(cmdSaveAs, &QPushButton::clicked, this, [this] { SaveStyleAs(); });
  connect(cmdDelete, &QPushButton::clicked, this, &frmSYLMain::DeleteStyle);
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
  cmdSave->setEnabled(false);
  cmdDelete->setEnabled(false);

  pctEdit = new QWidget(pctBase);
  pctEdit->setObjectName(QStringLiteral("pctEdit"));
  pctEdit->setAutoFillBackground(true);
  pctEdit->setBackgroundRole(QPalette::Dark);
  pctEdit->installEventFilter(this);
  pctPage = new notecraft::ScorePageWidget(pctEdit);
  pctPage->setObjectName(QStringLiteral("pctPage"));
  pctPage->move(Px(30), Px(30));
  pctPage->setCursor(m_pointer);
  connect(pctPage, &notecraft::ScorePageWidget::pagePressed, this, [this] { m_mouseDown = true; });
  connect(pctPage, &notecraft::ScorePageWidget::mouseLost, this, [this] { m_mouseDown = false; });
  connect(pctPage, &notecraft::ScorePageWidget::pageMoved, this, &frmSYLMain::PageMoved);
  connect(pctPage, &notecraft::ScorePageWidget::pageReleased, this, &frmSYLMain::PageReleased);

  tmrResize = new QTimer(this);
  tmrResize->setObjectName(QStringLiteral("tmrResize"));
  tmrResize->setSingleShot(true);
  tmrResize->setInterval(300);
  connect(tmrResize, &QTimer::timeout, this, &frmSYLMain::ResizePage);

  // The arrow keys move the note entered last whichever control has the focus.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void frmSYLMain::ListStyles() {
  cboName->clear();
  cboName->addItem(QString::fromLatin1(kNewStyleName));
  cboName->setCurrentIndex(0);
  cboType->setCurrentIndex(0);
  cboName->addItems(ListStyleNames(m_folder));
}

// The window's layout, after its minimum size: the lists along the top, the tools and the
// file buttons down the left, the edit area taking the rest.
void frmSYLMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  pctBase->setGeometry(Px(60), Px(60), width() - Px(120), height() - Px(120));
  LayOutBase();
}

void frmSYLMain::LayOutBase() {
  const int w = pctBase->width();
  const int h = pctBase->height();
  const int typeLeft = w - Px(840) - kTypeWidth;
  lblName->setGeometry(0, 0, typeLeft - Px(135), kComboTop);
  cboName->setGeometry(0, kComboTop, typeLeft - Px(135), kComboHeight);
  lblType->setGeometry(typeLeft, 0, kTypeWidth, kComboTop);
  cboType->setGeometry(typeLeft, kComboTop, kTypeWidth, kComboHeight);
  const int propLeft = typeLeft + kTypeWidth + Px(60);
  cmdProp->setGeometry(propLeft, kComboTop, Px(360), kComboHeight);
  cmdListen->setGeometry(propLeft + Px(390), kComboTop, Px(360), kComboHeight);
  pctEdit->setGeometry(kEditLeft, kEditTop, w - Px(1320), h - Px(720));
  const int column = kEditLeft - Px(60);
  tbrTools->setGeometry(0, kEditTop, column, 3 * (kToolHeight + 2));
  tbrEnhance->setGeometry(0, tbrTools->geometry().bottom() + 6, column, 2 * (kToolHeight + 2));
  cboDrum->setGeometry(0, tbrEnhance->geometry().bottom() + 6, column, kComboHeight);
  pctButtons->setGeometry(0, h - Px(1380), column, Px(1380));
}

void frmSYLMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_started) return;
  // The first showing: the controls have their sizes, so the new style gets its page.
  m_started = true;
  m_ready = true;
  NewStyle();
}

void frmSYLMain::closeEvent(QCloseEvent* event) {
  // Closing asks nothing: Cancel is the way out without saving.
  lcStyle->PlayScore(true);
  event->accept();
}

bool frmSYLMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pctEdit && event->type() == QEvent::Resize && m_ready) tmrResize->start();
  if (event->type() == QEvent::KeyPress && ArrowKeyPressed(static_cast<QKeyEvent*>(event)->key()))
    return true;
  return QWidget::eventFilter(watched, event);
}

void frmSYLMain::keyPressEvent(QKeyEvent* event) {
  if (ArrowKeyPressed(event->key())) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void frmSYLMain::ChangeNotify(bool isChanged) {
  if (m_ready) cmdSave->setEnabled(isChanged);
}

}  // namespace layoutpad
