// The score window's layout, activation, viewport and page box, and opening and closing.
#include "Veltrimond/child/chdvltmain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cstdlib>

#include "Veltrimond/child/chdvltmain_labels.h"
#include "Veltrimond/child/chdvltmain_lyrics.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "Veltrimond/child/chdvltmain_toolbar.h"
#include "Veltrimond/child/newscoredefaults.h"
#include "Veltrimond/child/scoreviewport.h"
#include "Veltrimond/child/subtoolstrip.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iframe.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond {

namespace {

// The page is drawn at 15 twips a pixel whatever the screen: the viewport counts in those.
constexpr int kPageTpp = 15;

}  // namespace

chdVLTMain::chdVLTMain(AppContext& context, IFrame& frame, QWidget* parent)
    : QWidget(parent), m_context(context), m_frame(&frame) {
  setObjectName(QStringLiteral("chdVLTMain"));
  BuildActions();
  BuildLayout();
  BuildStatusBar();
  BuildToolPane();
  ConnectPage();

  // The score and its page, in the order the score expects: window, handles, unit, colours.
  m_score = std::make_unique<notecraft::Score>();
  m_score->AddListener(this);
  pctScore->SetScore(m_score.get());
  m_score->SetHandles(false);
  m_score->SetUOM(m_context.State.Options.UOM);
  ReloadDefaults();
  txtPage->setText(QStringLiteral("1"));
  m_score->SetVoice(1);
  for (std::size_t i = 0; i < mnuVoice.size(); ++i) mnuVoice[i]->setChecked(i == 0);
  m_untitled = true;
  setWindowTitle(QString::fromStdString(m_score->FileTitle()));
  m_menuCommands = new ScoreMenus(*this);
  m_toolbar = new ScoreToolbar(*this, *m_menuCommands);
  setMinimumWidth(kMinWindowWidth / kPageTpp);
  resize(720, 540);
  AttachEditingParts();
}

chdVLTMain::~chdVLTMain() {
  // In-place entry ends while the window is whole: the boxes lose the focus as the window
  // goes, and entry ended then would call back into a window half destroyed.
  if (m_lyrics) m_lyrics->Cancel();
  if (m_labels) m_labels->CloseAll();
  if (pctScore) pctScore->disconnect(this);
  // A running editing tool works on the score: it goes first.
  if (m_menuCommands) m_menuCommands->StopTool();
  // The page detaches first: the score must not draw on a page that is going.
  if (pctScore) pctScore->SetScore(nullptr);
  if (m_score) m_score->RemoveListener(this);
}

void chdVLTMain::BuildActions() {
  auto make = [this](const QString& text, const QKeySequence& keys) {
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    return action;
  };
  mnuEditUndo = make(tr("&Undo"), QKeySequence::Undo);
  mnuEditCut = make(tr("Cu&t"), QKeySequence::Cut);
  mnuEditCopy = make(tr("&Copy"), QKeySequence::Copy);
  mnuEditPaste = make(tr("&Paste"), QKeySequence::Paste);
  mnuEditUndo->setEnabled(false);
  mnuEditCut->setEnabled(false);
  mnuEditCopy->setEnabled(false);
  connect(mnuEditUndo, &QAction::triggered, this, &chdVLTMain::mnuEditUndo_Click);
  connect(mnuEditCut, &QAction::triggered, this, &chdVLTMain::EditCut);
  connect(mnuEditCopy, &QAction::triggered, this, &chdVLTMain::EditCopy);
  connect(mnuEditPaste, &QAction::triggered, this, &chdVLTMain::EditPaste);
  auto* voices = new QActionGroup(this);
  for (std::size_t i = 0; i < mnuVoice.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    mnuVoice[i] = new QAction(QString::number(number), voices);
    mnuVoice[i]->setCheckable(true);
    connect(mnuVoice[i], &QAction::triggered, this, [this, number] { m_score->SetVoice(number); });
  }
  mnuViewToolbox = new QAction(tr("Tool&box"), this);
  mnuViewToolbox->setCheckable(true);
  mnuViewToolbox->setChecked(true);
  connect(mnuViewToolbox, &QAction::triggered, this,
          [this](bool checked) { SetToolboxVisible(checked); });
}

void chdVLTMain::BuildLayout() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  tbrMain = new QToolBar(this);
  tbrMain->setObjectName(QStringLiteral("tbrMain"));
  tbrMain->setIconSize(QSize(16, 16));
  txtPage = new QLineEdit(tbrMain);
  txtPage->setObjectName(QStringLiteral("txtPage"));
  txtPage->setToolTip(tr("Page"));
  txtPage->setFixedWidth(txtPage->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  txtPage->setAlignment(Qt::AlignRight);
  // Only a click gives it the focus: an activated window's keys belong to its page.
  txtPage->setFocusPolicy(Qt::ClickFocus);
  txtPage->installEventFilter(this);
  tbrMain->addWidget(txtPage)->setObjectName(QStringLiteral("Page"));
  layout->addWidget(tbrMain);

  auto* body = new QWidget(this);
  body->setObjectName(QStringLiteral("body"));
  body->installEventFilter(this);
  layout->addWidget(body, 1);

  pctToolBox = new QWidget(body);
  pctToolBox->setObjectName(QStringLiteral("pctToolBox"));
  pctMain = new QWidget(body);
  pctMain->setObjectName(QStringLiteral("pctMain"));
  pctMain->setAutoFillBackground(true);
  pctMain->setBackgroundRole(QPalette::Dark);
  pctMain->installEventFilter(this);
  pctBase = new QWidget(pctMain);
  pctBase->setObjectName(QStringLiteral("pctBase"));
  shpScore = new QWidget(pctBase);
  shpScore->setObjectName(QStringLiteral("shpScore"));
  shpScore->setAutoFillBackground(true);
  QPalette shadow = shpScore->palette();
  shadow.setColor(QPalette::Window, QColor(64, 64, 64));
  shpScore->setPalette(shadow);
  pctScore = new notecraft::ScorePageWidget(pctBase);
  pctScore->setObjectName(QStringLiteral("pctScore"));
  pctScore->installEventFilter(this);
  hscMain = new QScrollBar(Qt::Horizontal, pctMain);
  vscMain = new QScrollBar(Qt::Vertical, pctMain);
  hscMain->hide();
  vscMain->hide();
  // One unit is 15 twips, a pixel: a wheel step or arrow moves the page a few lines of text.
  hscMain->setSingleStep(15);
  vscMain->setSingleStep(15);
  connect(hscMain, &QScrollBar::valueChanged, this, [this] { PlacePage(); });
  connect(vscMain, &QScrollBar::valueChanged, this, [this] { PlacePage(); });
  connect(pctScore, &notecraft::ScorePageWidget::pageResized, this, [this] {
    PlacePage();
    LayOutViewport();
  });

  sbrMain = new QStatusBar(this);
  sbrMain->setObjectName(QStringLiteral("sbrMain"));
  sbrMain->setSizeGripEnabled(false);
  layout->addWidget(sbrMain);
}

void chdVLTMain::BuildStatusBar() {
  struct PanelDef {
    const char* Key;
    const char* Text;
    int Width;  // twips
  };
  static constexpr std::array<PanelDef, 5> kPanels{{
      {"Msg", "", 2117},
      {"Staff", "Staff", 2117},
      {"Measure", "Measure", 1587},
      {"Voice", "Voice", 794},
      {"Status", "Mode", 1905},
  }};
  const double tpp = m_context.State.Tpp.X > 0 ? m_context.State.Tpp.X : 15.0;
  for (const PanelDef& def : kPanels) {
    auto* label = new QLabel(QString::fromLatin1(def.Text), sbrMain);
    label->setObjectName(QString::fromLatin1(def.Key));
    label->setMinimumWidth(static_cast<int>(def.Width / tpp));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    m_panels[QString::fromLatin1(def.Key)] = label;
    if (QLatin1String(def.Key) == QLatin1String("Msg")) {
      sbrMain->addWidget(label, 1);
    } else {
      sbrMain->addPermanentWidget(label);
    }
  }
}

QLabel* chdVLTMain::Panel(const QString& key) const {
  const auto it = m_panels.find(key);
  return it == m_panels.end() ? nullptr : it->second;
}

void chdVLTMain::ShowCaption() {
  const QString title = QString::fromStdString(m_score->FileTitle());
  setWindowTitle(m_score->Changed() ? title + QStringLiteral(" *") : title);
}

// --- Activation ---

void chdVLTMain::WatchMdiArea() {
  if (m_mdiWatched) return;
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (!sub || !sub->mdiArea()) return;
  m_mdiWatched = true;
  QPointer<QMdiSubWindow> mine(sub);
  connect(sub->mdiArea(), &QMdiArea::subWindowActivated, this, [this, mine](QMdiSubWindow* w) {
    if (w && w == mine) {
      FormActivate();
    } else if (m_windowActive) {
      FormDeactivate();
    }
  });
  if (sub->mdiArea()->activeSubWindow() == sub) FormActivate();
}

void chdVLTMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (qobject_cast<QMdiSubWindow*>(parentWidget())) {
    WatchMdiArea();
  } else if (!m_wasActivated) {
    // Shown on its own (a test, a tool): it is the active window.
    FormActivate();
  }
}

void chdVLTMain::FormActivate() {
  m_windowActive = true;
  if (!m_wasActivated) {
    m_wasActivated = true;
    pctScore->SetBandColor(QColor(40, 250, 240));
    ShowCaption();
    SetTool(QStringLiteral("Point"));
    m_palette.SetOptionPressed(QStringLiteral("Snap"), true);
    RefreshToolButtons();
    if (m_frame) m_frame->ShowPlay();
    if (m_untitled) {
      // A new score, laid out with the defaults the editor holds now.
      ApplyNewScoreDefaults(*m_score, m_context.State.Options);
      m_score->CreateDefault();
      m_score->PaintWindow();
    }
    pctScore->show();
    shpScore->show();
    pctScore->setFocus();
    // The MDI area focuses the window's first child after this: the page takes it back.
    QTimer::singleShot(0, pctScore, [page = pctScore] { page->setFocus(); });
  }
  if (m_progressShown && m_frame) m_frame->TerminateStatus();
  m_progressShown = false;
  if (m_frame) m_frame->SetEnablePaste(true);
  mnuEditPaste->setEnabled(true);
  const bool canUndo = m_score->CanUndo();
  if (m_frame) m_frame->SetEnableUndo(canUndo);
  mnuEditUndo->setEnabled(canUndo);
  const bool hasSelection = m_editor.HasSelection() && m_score->SelCount() > 0;
  mnuEditCut->setEnabled(hasSelection);
  mnuEditCopy->setEnabled(hasSelection);
  if (m_frame) m_frame->SetEnableCutCopy(hasSelection);
}

// --- Public interface ---

void chdVLTMain::ReloadDefaults() {
  const OptionSettings& options = m_context.State.Options;
  m_score->SetColors(options.Color[0], options.Color[1], options.Color[2], options.Color[3],
                     options.Color[4]);
}

void chdVLTMain::mnuEditUndo_Click() {
  ResetSelection();
  m_score->Undo();
  const bool canUndo = m_score->CanUndo();
  mnuEditUndo->setEnabled(canUndo);
  if (m_frame && m_windowActive) m_frame->SetEnableUndo(canUndo);
}

void chdVLTMain::EditCut() {
  if (m_score->PutClipboard(true) > 0) ResetSelection();
}

void chdVLTMain::EditCopy() { m_score->PutClipboard(false); }

void chdVLTMain::EditPaste() { m_score->GetClipboard(); }

void chdVLTMain::EnableNoteMenu() {
  m_editor.SelectionForgotten();
  SetNoteMenuState(NoteMenuState::NoSelection);
}

bool chdVLTMain::OpenFile(const QString& path) {
  // A file that cannot be opened leaves the window's bars as they were.
  std::map<QString, QString> panels;
  for (const auto& [key, label] : m_panels) panels[key] = label->text();
  std::array<bool, 4> voices{};
  for (std::size_t i = 0; i < voices.size(); ++i) voices[i] = mnuVoice[i]->isChecked();
  const bool undo = mnuEditUndo->isEnabled();

  m_opening = true;
  const bool opened = m_score->OpenFile(path.toStdString());
  m_opening = false;
  if (opened) {
    m_context.History.Add(path);
  } else {
    for (const auto& [key, text] : panels) m_panels[key]->setText(text);
    for (std::size_t i = 0; i < voices.size(); ++i) mnuVoice[i]->setChecked(voices[i]);
    mnuEditUndo->setEnabled(undo);
    if (m_progressShown && m_frame) m_frame->TerminateStatus();
    m_progressShown = false;
  }
  txtPage->setText(QStringLiteral("1"));
  if (Hooks.RefreshDrumPanel) Hooks.RefreshDrumPanel();
  m_untitled = false;
  if (opened) ShowCaption();
  return opened;
}

// --- Closing ---

void chdVLTMain::EndInPlaceEntry() {
  if (m_labels) m_labels->EndEntry();
  if (m_lyrics) m_lyrics->Commit();
}

bool chdVLTMain::SaveScore() {
  // The one save of the window: the menus' File > Save, with its Save As.
  return m_menuCommands && m_menuCommands->FileSave();
}

void chdVLTMain::closeEvent(QCloseEvent* event) {
  AppState& state = m_context.State;
  // Not while its file is being read: the score is in use.
  if (m_opening) {
    event->ignore();
    return;
  }
  // A window closed on its own starts afresh; one of a close of them all keeps the answer
  // given at an earlier window.
  if (!state.ClosingAll) state.CloseCancelled = false;
  if (state.CloseCancelled) {
    event->ignore();
    return;
  }
  // A syllable or label still being typed is part of the score the prompt asks about.
  EndInPlaceEntry();
  if (m_score->Changed()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
      if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
    }
    const QString text =
        QStringLiteral("Save changes to ") + QString::fromStdString(m_score->FileTitle()) +
        QLatin1Char('?');
    int answer = QMessageBox::Cancel;
    if (Prompts.AskSaveChanges) {
      answer = Prompts.AskSaveChanges(QStringLiteral("Exit"), text);
    } else {
      answer = QMessageBox::question(this, QStringLiteral("Exit"), text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
    // A save that failed or was cancelled keeps the window and its changes.
    const bool keep = answer == QMessageBox::Cancel || answer == 2 ||
                      ((answer == QMessageBox::Yes || answer == 6) && !SaveScore());
    if (keep) {
      if (state.ClosingAll) state.CloseCancelled = true;
      event->ignore();
      return;
    }
  }
  // Nothing may still run on the score: a preview note, playback.
  m_editor.MouseLost();
  if (m_isPlaying && m_frame) m_frame->CancelPlay(false);
  m_isPlaying = false;
  pctScore->SetScore(nullptr);
  if (m_frame) m_frame->UnRegister(m_tag);
  m_frame = nullptr;
  event->accept();
}

// --- Layout and viewport ---

int chdVLTMain::ToPixelsX(int twips) const { return twips / kPageTpp; }
int chdVLTMain::ToPixelsY(int twips) const { return twips / kPageTpp; }
int chdVLTMain::ToTwipsX(int pixels) const { return pixels * kPageTpp; }
int chdVLTMain::ToTwipsY(int pixels) const { return pixels * kPageTpp; }

void chdVLTMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!isMinimized())
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
      m_context.State.ChildrenMaximized = sub->isMaximized();
}

void chdVLTMain::FormResize() {
  QWidget* body = pctMain->parentWidget();
  const int width = ToTwipsX(body->width());
  const BodyWidths widths = DivideBody(width, m_paneWidth, m_toolboxVisible);
  if (m_toolboxVisible && widths.Pane != m_paneWidth) m_paneWidth = widths.Pane;
  const int pane = m_toolboxVisible ? ToPixelsX(widths.Pane) : 0;
  pctToolBox->setVisible(m_toolboxVisible);
  pctToolBox->setGeometry(0, 0, pane, body->height());
  pctMain->setGeometry(pane, 0, std::max(0, body->width() - pane), body->height());
  LayOutViewport();
}

void chdVLTMain::LayOutViewport() {
  const ViewportLayout layout =
      veltrimond::LayOutViewport(ToTwipsX(pctMain->width()), ToTwipsY(pctMain->height()),
                                 ToTwipsX(pctScore->width()), ToTwipsY(pctScore->height()),
                                 hscMain->value(), vscMain->value());
  const int baseW = ToPixelsX(layout.BaseWidth);
  const int baseH = ToPixelsY(layout.BaseHeight);
  const int bar = ToPixelsX(kScrollBarTwips);
  pctBase->setGeometry(0, 0, baseW, baseH);
  auto apply = [](QScrollBar* scroll, const ScrollBarState& state) {
    const QSignalBlocker block(scroll);
    scroll->setRange(0, state.Max);
    scroll->setPageStep(state.PageStep);
    scroll->setValue(state.Value);
    scroll->setVisible(state.Visible);
  };
  vscMain->setGeometry(baseW, 0, bar, baseH);
  hscMain->setGeometry(0, baseH, baseW, bar);
  apply(vscMain, layout.Vertical);
  apply(hscMain, layout.Horizontal);
  PlacePage();
}

void chdVLTMain::PlacePage() {
  const int left = ToPixelsX(PageOffset(!hscMain->isHidden() ? hscMain->value() : 0));
  const int top = ToPixelsY(PageOffset(!vscMain->isHidden() ? vscMain->value() : 0));
  pctScore->move(left, top);
  const int shadow = ToPixelsX(kShadowOffset);
  shpScore->setGeometry(left + shadow, top + shadow, pctScore->width(), pctScore->height());
}

void chdVLTMain::SetScrollBars(int x, int y, int width, int height) {
  const int left = -ToTwipsX(pctScore->x());
  const int top = -ToTwipsY(pctScore->y());
  if (!hscMain->isHidden())
    hscMain->setValue(ScrollValueToShow(x, width, left, ToTwipsX(pctBase->width()),
                                        hscMain->value(), hscMain->maximum(), 300));
  if (!vscMain->isHidden())
    vscMain->setValue(ScrollValueToShow(y, height, top, ToTwipsY(pctBase->height()),
                                        vscMain->value(), vscMain->maximum(), 0));
}

void chdVLTMain::SetToolboxVisible(bool visible) {
  m_toolboxVisible = visible;
  mnuViewToolbox->setChecked(visible);
  FormResize();
}

// --- Page box ---

void chdVLTMain::txtPage_LostFocus() {
  if (!m_windowActive) return;
  // A page the background layout has not reached yet is laid out first, so that the box
  // goes to that page and not to the last one laid out so far.
  if (m_score->Paginating() && PageBoxNumber(txtPage->text()) > m_score->LastPage())
    m_score->FinishPagination();
  const PageBoxCommit commit =
      CommitPageBox(txtPage->text(), m_score->CurPage(), m_score->LastPage());
  txtPage->setText(QString::number(commit.Shown));
  if (commit.GoTo > 0) m_score->SetCurPage(commit.GoTo);
  m_pageBoxFocus = false;
}

bool chdVLTMain::eventFilter(QObject* watched, QEvent* event) {
  if (auto* button = qobject_cast<QToolButton*>(watched);
      button && (button->parentWidget() == tbrTools || button->parentWidget() == tbrOptions))
    return ToolButtonEvent(button, event);
  if (watched == txtPage) {
    if (event->type() == QEvent::FocusIn) {
      m_pageBoxFocus = true;
      if (!ButtonDown()) QMetaObject::invokeMethod(txtPage, &QLineEdit::selectAll,
                                                    Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut) {
      txtPage_LostFocus();
    } else if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        txtPage_LostFocus();
        pctScore->setFocus();
        return true;
      }
      if (key->key() == Qt::Key_Escape) {
        txtPage->setText(QString::number(m_score->CurPage()));
        pctScore->setFocus();
        return true;
      }
      const QString text = key->text();
      if (!text.isEmpty() && text[0].isPrint() && !PageBoxAccepts(text[0])) {
        QApplication::beep();
        return true;
      }
    }
    return false;
  }
  // The wheel scrolls the page, across with Shift or a sideways wheel.
  if (event->type() == QEvent::Wheel && pctMain && (watched == pctMain || watched == pctScore)) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    const bool across = (wheel->modifiers() & Qt::ShiftModifier) ||
                        std::abs(wheel->angleDelta().x()) > std::abs(wheel->angleDelta().y());
    QScrollBar* bar = across ? hscMain : vscMain;
    if (bar->isHidden()) return true;
    const int delta = across && wheel->angleDelta().x() != 0 ? wheel->angleDelta().x()
                                                             : wheel->angleDelta().y();
    bar->setValue(bar->value() - delta * bar->singleStep() * 3 / 120);
    return true;
  }
  if (event->type() == QEvent::Resize && pctMain) {
    if (watched->objectName() == QLatin1String("pctToolContent")) {
      FlowToolButtons(static_cast<QWidget*>(watched)->width());
    } else if (watched == pctMain) {
      LayOutViewport();
    } else if (watched == pctMain->parentWidget()) {
      FormResize();
    }
  }
  const bool mouseEvent = event->type() == QEvent::MouseButtonPress ||
                          event->type() == QEvent::MouseMove ||
                          event->type() == QEvent::MouseButtonRelease;
  if (watched == pctSizeVert && mouseEvent) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton &&
        mouse->modifiers() == Qt::NoModifier) {
      m_splitterDown = true;
      m_splitterPressX = ToTwipsX(static_cast<int>(mouse->position().x()));
      return true;
    }
    if (event->type() == QEvent::MouseMove && m_splitterDown) {
      const int x = ToTwipsX(static_cast<int>(mouse->position().x()));
      const int width = std::max(1320, x - m_splitterPressX + ToTwipsX(pctToolBox->width()));
      if (width != m_paneWidth) {
        m_paneWidth = width;
        FormResize();
      }
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
      m_splitterDown = false;
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool chdVLTMain::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) {
    m_mdiWatched = false;
    WatchMdiArea();
  }
  return QWidget::event(event);
}

}  // namespace veltrimond
