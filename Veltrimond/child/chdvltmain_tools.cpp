// The score window's tool pane: the tools, their sub-tool strips, the note options, the
// title bar with its close box and the splitter; and the cursor the current tool shows.
#include <QAction>
#include <algorithm>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/subtoolstrip.h"
#include "Veltrimond/child/toolimages.h"
#include "Veltrimond/shell/appcontext.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond {

namespace {

constexpr int kButtonColumns = 2;  // until the pane is laid out
constexpr int kButtonPitch = 32;    // pixels a button takes in a row

// Puts the bar's buttons into rows of as many as fit, in their order.
void FlowButtons(QWidget* bar, int columns) {
  auto* grid = qobject_cast<QGridLayout*>(bar->layout());
  if (!grid) return;
  QList<QWidget*> buttons;
  while (QLayoutItem* item = grid->takeAt(0)) {
    if (item->widget()) buttons.append(item->widget());
    delete item;
  }
  for (int i = 0; i < buttons.size(); ++i) grid->addWidget(buttons[i], i / columns, i % columns);
}

QFrame* Separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

QToolButton* chdVLTMain::MakeToolButton(QWidget* bar, const QString& key, const QString& tip,
                                        const QString& image) {
  auto* button = new QToolButton(bar);
  button->setObjectName(key);
  button->setToolTip(tip);
  button->setIcon(QIcon(ToolImage(image)));
  button->setIconSize(QSize(22, 22));
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setContextMenuPolicy(Qt::PreventContextMenu);
  button->installEventFilter(this);
  return button;
}

void chdVLTMain::BuildToolPane() {
  auto* outer = new QHBoxLayout(pctToolBox);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* content = new QWidget(pctToolBox);
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(4);
  outer->addWidget(content, 1);
  pctSizeVert = new QWidget(pctToolBox);
  pctSizeVert->setObjectName(QStringLiteral("pctSizeVert"));
  pctSizeVert->setFixedWidth(4);
  pctSizeVert->setCursor(Qt::SplitHCursor);
  pctSizeVert->installEventFilter(this);
  outer->addWidget(pctSizeVert);

  pctTitle = new QWidget(content);
  pctTitle->setObjectName(QStringLiteral("pctTitle"));
  pctTitle->setAutoFillBackground(true);
  pctTitle->setBackgroundRole(QPalette::Mid);
  auto* title = new QHBoxLayout(pctTitle);
  title->setContentsMargins(4, 1, 1, 1);
  lblTitle = new QLabel(QStringLiteral("Toolbox"), pctTitle);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  pctClose = new QToolButton(pctTitle);
  pctClose->setObjectName(QStringLiteral("pctClose"));
  pctClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  pctClose->setIconSize(QSize(10, 10));
  pctClose->setFocusPolicy(Qt::NoFocus);
  // clicked comes only for a release inside the box.
  connect(pctClose, &QToolButton::clicked, this, [this] { SetToolboxVisible(false); });
  title->addWidget(lblTitle, 1);
  title->addWidget(pctClose);
  column->addWidget(pctTitle);

  tbrTools = new QWidget(content);
  tbrTools->setObjectName(QStringLiteral("tbrTools"));
  auto* tools = new QGridLayout(tbrTools);
  tools->setContentsMargins(0, 0, 0, 0);
  tools->setSpacing(1);
  for (std::size_t i = 0; i < kToolButtons.size(); ++i) {
    const ToolButtonDef& def = kToolButtons[i];
    const QString key = QString::fromLatin1(def.Key);
    QToolButton* button = MakeToolButton(tbrTools, key, QString::fromLatin1(def.ToolTip),
                                         QString::fromLatin1(def.StartImage));
    connect(button, &QToolButton::clicked, this, [this, key] { SetTool(key); });
    m_toolButtons[key] = button;
    const int index = static_cast<int>(i);
    tools->addWidget(button, index / kButtonColumns, index % kButtonColumns);
  }
  column->addWidget(tbrTools);
  column->addWidget(Separator(content));

  tbrOptions = new QWidget(content);
  tbrOptions->setObjectName(QStringLiteral("tbrOptions"));
  auto* options = new QGridLayout(tbrOptions);
  options->setContentsMargins(0, 0, 0, 0);
  options->setSpacing(1);
  for (std::size_t i = 0; i < kOptionButtons.size(); ++i) {
    const OptionButtonDef& def = kOptionButtons[i];
    const QString key = QString::fromLatin1(def.Key);
    QToolButton* button = MakeToolButton(tbrOptions, key, QString::fromLatin1(def.ToolTip),
                                         QString::fromLatin1(def.StartImage));
    button->setText(QString::fromLatin1(def.Caption));
    connect(button, &QToolButton::toggled, this,
            [this, key](bool on) { m_palette.SetOptionPressed(key, on); });
    m_optionButtons[key] = button;
    const int index = static_cast<int>(i);
    options->addWidget(button, index / kButtonColumns, index % kButtonColumns);
  }
  column->addWidget(tbrOptions);

  pctDrums = new QWidget(content);
  pctDrums->setObjectName(QStringLiteral("pctDrums"));
  drumLayout = new QVBoxLayout(pctDrums);
  drumLayout->setContentsMargins(0, 0, 0, 0);
  pctDrums->hide();
  column->addWidget(pctDrums);
  column->addStretch(1);
  content->installEventFilter(this);
  content->setObjectName(QStringLiteral("pctToolContent"));

  m_strip = new SubToolStrip(this);
  m_strip->hide();
  connect(m_strip, &SubToolStrip::picked, this, &chdVLTMain::StripPicked);
}

void chdVLTMain::RefreshToolButtons() {
  for (int group = 1; group <= 10; ++group) {
    QToolButton* button = m_toolButtons[m_palette.ButtonKey(group)];
    const QSignalBlocker block(button);
    button->setIcon(QIcon(ToolImage(m_palette.ToolImage(group))));
    button->setChecked(group == m_palette.ToolGroup());
  }
  for (const OptionButtonDef& def : kOptionButtons) {
    const QString key = QString::fromLatin1(def.Key);
    QToolButton* button = m_optionButtons[key];
    const QSignalBlocker block(button);
    button->setIcon(QIcon(ToolImage(m_palette.OptionImage(key))));
    button->setChecked(m_palette.OptionPressed(key));
  }
}

void chdVLTMain::SetTool(const QString& key) {
  if (!m_palette.SetTool(key)) return;
  RefreshToolButtons();
  ShowToolCursor(0);
  if (!(Hooks.LyricActive && Hooks.LyricActive()))
    Panel(QStringLiteral("Status"))->setText(m_palette.ToolKey());
  m_editor.SetOffScore(true);
}

void chdVLTMain::SetSubTool(int number) {
  ResetSelection();
  // A strip opened on another tool makes that tool current first.
  if (m_palette.ToolKey().compare(m_palette.ButtonKey(m_palette.ToolGroup()),
                                  Qt::CaseInsensitive) != 0)
    SetTool(m_palette.ToolKey());
  if (m_palette.SetSubTool(number)) RefreshToolButtons();
}

void chdVLTMain::SetOption(const QString& key, int number) {
  if (m_palette.SetOption(key, number)) RefreshToolButtons();
}

void chdVLTMain::ShowToolCursor(int slot) {
  const auto& ids = m_context.State.CursorIDs;
  const int id = slot >= 0 && slot < static_cast<int>(ids.size())
                     ? ids[static_cast<std::size_t>(slot)]
                     : 0;
  if (id != 0 && m_context.Cursors.ActivateStoredCursor(id, pctScore)) return;
  // Without the cursor files: the plain cursors.
  pctScore->setCursor(slot == 0 || slot == 1 ? Qt::ArrowCursor : Qt::CrossCursor);
}

void chdVLTMain::FlowToolButtons(int width) {
  // A wider pane puts more tools in a row, as a wrapping tool bar does.
  const int columns = std::max(1, (width - 4) / kButtonPitch);
  if (columns == m_toolColumns) return;
  m_toolColumns = columns;
  FlowButtons(tbrTools, columns);
  FlowButtons(tbrOptions, columns);
}

bool chdVLTMain::ToolButtonEvent(QToolButton* button, QEvent* event) {
  const bool option = button->parentWidget() == tbrOptions;
  if (event->type() == QEvent::MouseButtonPress && !option) ResetSelection();
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    ToolButtonRightClicked(button, option);
    return true;
  }
  if (event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
    return true;
  return false;
}

void chdVLTMain::ToolButtonRightClicked(QToolButton* button, bool option) {
  const QString key = button->objectName();
  if (option && key.compare(QLatin1String("Snap"), Qt::CaseInsensitive) != 0) return;
  const QStringList keys = StripKeysOf(key);
  if (keys.isEmpty()) return;
  m_stripForOption = option;
  if (option) {
    m_stripOptionKey = key;
  } else {
    m_stripToolKey = key;
  }
  m_strip->Open(keys, button->mapToGlobal(QPoint(0, 0)));
}

void chdVLTMain::StripPicked(int number) {
  if (m_stripForOption) {
    SetOption(m_stripOptionKey, number);
  } else {
    m_palette.SetToolKey(m_stripToolKey);
    SetSubTool(number);
  }
  pctScore->setFocus();
}

}  // namespace veltrimond
