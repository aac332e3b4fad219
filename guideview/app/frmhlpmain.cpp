#include "guideview/app/frmhlpmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

#include "guideview/app/helpbrowser.h"
#include "guideview/app/helpicons.h"
#include "guideview/app/helpprompter.h"
#include "guideview/core/topicposition.h"

namespace guideview {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;
constexpr int kPositionRole = Qt::UserRole + 3;

constexpr int kContentsTab = 0;
constexpr int kIndexTab = 1;

QString FromUtf8(const std::string& s) {
  return QString::fromStdString(s);
}
std::filesystem::path ToPath(const QString& s) {
  return std::filesystem::path(s.toStdString());
}

TwipRect ToTwips(const QRect& r, double twipsPerPixel) {
  auto t = [&](int px) { return static_cast<int>(std::lround(px * twipsPerPixel)); };
  return {t(r.x()), t(r.y()), t(r.width()), t(r.height())};
}

}  // namespace

frmHLPMain::frmHLPMain(const HelpViewerCommandLine& commandLine,
                       std::unique_ptr<HelpPrompter> prompter, QWidget* parent)
    : QMainWindow(parent), m_commandLine(commandLine), m_prompter(std::move(prompter)) {
  if (!m_prompter) m_prompter = std::make_unique<MessageBoxPrompter>();
  m_commandLine.product = SafeProductName(m_commandLine.product);
  setObjectName("frmHLPMain");
  setWindowTitle(tr("Help"));
  setWindowIcon(HelpIcon("Opened"));
  createActions();
  createMenus();
  createToolBar();
  createPanes();
  setWindowTitle(QString::fromStdString(m_commandLine.windowTitle));

  try {
    m_contentsFile = QString::fromStdString(m_commandLine.contentsFile).trimmed();
    if (!m_contentsFile.isEmpty() && QFileInfo(m_contentsFile).isFile()) {
      m_contentsFile = QFileInfo(m_contentsFile).absoluteFilePath();
      LoadContentsIntoPanes();
      ShowTopic(m_contentsFile);
      if (!m_nodeItems.empty()) SelectNode(0);
    } else {
      // A missing contents page opens an empty window without a word: the help may simply
      // not be installed.
      m_contentsFile.clear();
    }
  } catch (const std::exception& error) {
    m_prompter->Exclamation(this, tr("Error"), QString::fromLocal8Bit(error.what()));
    m_loadFailed = true;
  }
}

frmHLPMain::~frmHLPMain() = default;

void frmHLPMain::createActions() {
  auto tool = [this](const char* key, const QString& tip, const char* image) {
    auto* action = new QAction(HelpIcon(image), tip, this);
    action->setObjectName(key);
    action->setToolTip(tip);
    return action;
  };
  tbrPrev = tool("Prev", tr("Previous"), "Prev");
  tbrNext = tool("Next", tr("Next"), "Next");
  tbrBack = tool("Back", tr("Back"), "Back");
  tbrFwd = tool("Fwd", tr("Forward"), "Forward");
  tbrStop = tool("Stop", tr("Stop"), "Stop");
  tbrHome = tool("Home", tr("Home"), "Home");
  tbrPrint = tool("Print", tr("Print"), "Print");
  for (QAction* a : {tbrPrev, tbrNext, tbrBack, tbrFwd, tbrStop, tbrHome}) a->setEnabled(false);
  tbrBack->setShortcut(QKeySequence::Back);
  tbrFwd->setShortcut(QKeySequence::Forward);

  mnuFilePrint = new QAction(tr("&Print"), this);
  mnuFilePrint->setObjectName("mnuFilePrint");
  mnuFilePrint->setShortcut(QKeySequence::Print);
  mnuFileExit = new QAction(tr("E&xit"), this);
  mnuFileExit->setObjectName("mnuFileExit");
  mnuEditCopy = new QAction(tr("&Copy"), this);
  mnuEditCopy->setObjectName("mnuEditCopy");
  mnuEditCopy->setShortcut(QKeySequence::Copy);
  mnuViewRefresh = new QAction(tr("&Refresh"), this);
  mnuViewRefresh->setObjectName("mnuViewRefresh");
  mnuViewRefresh->setShortcut(QKeySequence::Refresh);

  connect(tbrPrev, &QAction::triggered, this, &frmHLPMain::ToolPrev);
  connect(tbrNext, &QAction::triggered, this, &frmHLPMain::ToolNext);
  connect(tbrHome, &QAction::triggered, this, &frmHLPMain::ToolHome);
  connect(tbrStop, &QAction::triggered, this, &frmHLPMain::ToolStop);
  connect(tbrPrint, &QAction::triggered, this, &frmHLPMain::FilePrint);
  connect(mnuFilePrint, &QAction::triggered, this, &frmHLPMain::FilePrint);
  connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
  connect(mnuEditCopy, &QAction::triggered, this, &frmHLPMain::EditCopy);
  connect(mnuViewRefresh, &QAction::triggered, this, &frmHLPMain::ViewRefresh);
}

void frmHLPMain::createMenus() {
  QMenu* mnuFile = menuBar()->addMenu(tr("&File"));
  mnuFile->setObjectName("mnuFile");
  mnuFile->addAction(mnuFilePrint);
  mnuFile->addSeparator()->setObjectName("mnuFileBar1");
  mnuFile->addAction(mnuFileExit);
  QMenu* mnuEdit = menuBar()->addMenu(tr("&Edit"));
  mnuEdit->setObjectName("mnuEdit");
  mnuEdit->addAction(mnuEditCopy);
  QMenu* mnuView = menuBar()->addMenu(tr("&View"));
  mnuView->setObjectName("mnuView");
  mnuView->addAction(mnuViewRefresh);
}

void frmHLPMain::createToolBar() {
  tbrMain = addToolBar(tr("Tools"));
  tbrMain->setObjectName("tbrMain");
  tbrMain->setMovable(false);
  tbrMain->setFloatable(false);
  tbrMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  tbrMain->setIconSize(QSize(24, 24));
  // The captions under the pictures are the keys, as short as the buttons are.
  const std::pair<QAction*, QString> captions[] = {
      {tbrPrev, tr("Prev")}, {tbrNext, tr("Next")}, {tbrBack, tr("Back")},  {tbrFwd, tr("Fwd")},
      {tbrStop, tr("Stop")}, {tbrHome, tr("Home")}, {tbrPrint, tr("Print")}};
  for (const auto& [action, caption] : captions) {
    action->setIconText(caption);
    tbrMain->addAction(action);
  }
  tbrMain->insertSeparator(tbrBack);
  tbrMain->insertSeparator(tbrPrint);
}

void frmHLPMain::createPanes() {
  pctBase = new QWidget(this);
  pctBase->setObjectName("pctBase");
  auto* baseLayout = new QVBoxLayout(pctBase);
  baseLayout->setContentsMargins(4, 2, 4, 4);

  pctSplit = new QSplitter(Qt::Horizontal, pctBase);
  pctSplit->setObjectName("pctSplit");
  pctSplit->setChildrenCollapsible(false);
  baseLayout->addWidget(pctSplit);

  pctTab = new QWidget(pctSplit);
  pctTab->setObjectName("pctTab");
  auto* tabLayout = new QVBoxLayout(pctTab);
  tabLayout->setContentsMargins(0, 0, 0, 0);
  tabMain = new QTabWidget(pctTab);
  tabMain->setObjectName("tabMain");
  tabLayout->addWidget(tabMain);

  tvwContents = new QTreeWidget(tabMain);
  tvwContents->setObjectName("tvwContents");
  tvwContents->setHeaderHidden(true);
  tvwContents->setColumnCount(1);
  tabMain->addTab(tvwContents, tr("Contents"));

  auto* indexPage = new QWidget(tabMain);
  auto* indexLayout = new QVBoxLayout(indexPage);
  indexLayout->setContentsMargins(6, 6, 6, 6);
  txtIndex = new QLineEdit(indexPage);
  txtIndex->setObjectName("txtIndex");
  lvwIndex = new QTreeWidget(indexPage);
  lvwIndex->setObjectName("lvwIndex");
  lvwIndex->setColumnCount(3);
  lvwIndex->setHeaderLabels({tr("Text"), tr("Sort"), tr("URL")});
  lvwIndex->setColumnHidden(1, true);
  lvwIndex->setColumnHidden(2, true);
  lvwIndex->setHeaderHidden(true);
  lvwIndex->setRootIsDecorated(false);
  lvwIndex->setUniformRowHeights(true);
  indexLayout->addWidget(txtIndex);
  indexLayout->addWidget(lvwIndex);
  tabMain->addTab(indexPage, tr("Index"));

  htmMain = new HelpBrowser(pctSplit);
  htmMain->setObjectName("htmMain");
  pctSplit->addWidget(pctTab);
  pctSplit->addWidget(htmMain);
  pctSplit->setStretchFactor(0, 0);
  pctSplit->setStretchFactor(1, 1);
  pctTab->setMinimumWidth(PixelsFromTwips(kMinimumSplit));
  setCentralWidget(pctBase);

  connect(tvwContents, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
            UpdateNodeIcon(previous);
            UpdateNodeIcon(current);
            if (!m_selecting && current) NodeClick(current);
          });
  connect(tvwContents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (!m_selecting) NodeClick(item);
  });
  txtIndex->installEventFilter(this);
  connect(tabMain, &QTabWidget::currentChanged, this, &frmHLPMain::SetTab);
  connect(txtIndex, &QLineEdit::textEdited, this, &frmHLPMain::IndexTextEdited);
  connect(txtIndex, &QLineEdit::returnPressed, this, &frmHLPMain::OpenIndexSelection);
  connect(lvwIndex, &QTreeWidget::itemClicked, this, &frmHLPMain::IndexItemClicked);
  connect(lvwIndex, &QTreeWidget::itemActivated, this, [this] { OpenIndexSelection(); });
  // The browser reports the new address before source() returns it.
  connect(htmMain, &QTextBrowser::sourceChanged, this,
          [this](const QUrl& url) { DocumentComplete(url); });
  connect(htmMain, &QTextBrowser::backwardAvailable, tbrBack, &QAction::setEnabled);
  connect(htmMain, &QTextBrowser::forwardAvailable, tbrFwd, &QAction::setEnabled);
  connect(tbrBack, &QAction::triggered, htmMain, &QTextBrowser::backward);
  connect(tbrFwd, &QAction::triggered, htmMain, &QTextBrowser::forward);
  connect(pctSplit, &QSplitter::splitterMoved, this, [this] { RecordSplit(); });
}

double frmHLPMain::TwipsPerPixel() const {
  const int dpi = logicalDpiX();
  return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int frmHLPMain::PixelsFromTwips(int twips) const {
  return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

int frmHLPMain::TwipsFromPixels(int pixels) const {
  return static_cast<int>(std::lround(pixels * TwipsPerPixel()));
}

void frmHLPMain::LoadContentsIntoPanes() {
  m_contents = LoadContents(ToPath(m_contentsFile));
  htmMain->SetHelpFolder(QString::fromStdString(m_contents.helpFolder.string()));
  FillTree();
  FillIndex();
}

void frmHLPMain::FillTree() {
  m_selecting = true;
  tvwContents->clear();
  m_nodeItems.clear();
  m_currentNode = -1;
  QHash<QString, QTreeWidgetItem*> byKey;
  for (std::size_t i = 0; i < m_contents.nodes.size(); ++i) {
    const HelpNode& node = m_contents.nodes[i];
    QTreeWidgetItem* parentItem =
        node.parentKey.empty() ? nullptr : byKey.value(FromUtf8(node.parentKey));
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(tvwContents);
    // Plain text always: titles come from pages, never rich text.
    item->setText(0, FromUtf8(node.text));
    item->setData(0, kPathRole, FromUtf8(node.path.string()));
    item->setData(0, kImageRole, FromUtf8(node.image));
    item->setData(0, kSelectedImageRole, FromUtf8(node.selectedImage));
    item->setData(0, kPositionRole, static_cast<int>(i));
    UpdateNodeIcon(item);
    byKey.insert(FromUtf8(node.key), item);
    m_nodeItems.push_back(item);
  }
  m_selecting = false;
}

void frmHLPMain::FillIndex() {
  m_selecting = true;
  lvwIndex->clear();
  QList<QTreeWidgetItem*> items;
  for (const IndexItem& entry : m_contents.index.Items()) {
    auto* item = new QTreeWidgetItem(
        QStringList{FromUtf8(entry.text), FromUtf8(entry.sort), FromUtf8(entry.url)});
    items.append(item);
  }
  lvwIndex->addTopLevelItems(items);
  if (!items.isEmpty()) lvwIndex->setCurrentItem(items.first());
  m_selecting = false;
}

void frmHLPMain::ApplyStoredPlacement() {
  m_placement = ReadHelpPlacement(QString::fromStdString(m_commandLine.product));
  const double tpp = TwipsPerPixel();
  std::vector<TwipRect> screens;
  for (QScreen* screen : QGuiApplication::screens())
    screens.push_back(ToTwips(screen->availableGeometry(), tpp));
  QScreen* primary = QGuiApplication::primaryScreen();
  const TwipRect primaryRect = primary ? ToTwips(primary->availableGeometry(), tpp)
                                       : TwipRect{0, 0, kDefaultWidth, kDefaultHeight};
  const TwipRect r = ResolveWindowRect(m_placement.rect, primaryRect, screens);
  m_placement.rect = r;
  m_placement.split = std::max(m_placement.split, kMinimumSplit);
  move(PixelsFromTwips(r.left), PixelsFromTwips(r.top));
  resize(PixelsFromTwips(r.width), PixelsFromTwips(r.height));
  if (m_placement.maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void frmHLPMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!m_activated) Activate();
}

void frmHLPMain::Activate() {
  m_activated = true;
  RecordWindowState();
  const int total = pctSplit->width();
  const int left = PixelsFromTwips(m_placement.split);
  pctSplit->setSizes({left, std::max(1, total - left)});
  const int tab = m_commandLine.openOnIndex ? kIndexTab : kContentsTab;
  if (tabMain->currentIndex() == tab)
    SetTab(tab);
  else
    tabMain->setCurrentIndex(tab);
  // The contents page was shown while the window loaded; its node is marked now.
  if (!htmMain->source().isEmpty()) DocumentComplete(htmMain->source());
}

void frmHLPMain::RecordWindowState() {
  if (!m_activated || isMinimized()) return;
  if (isMaximized()) {
    m_placement.maximized = true;
    return;
  }
  m_placement.maximized = false;
  m_placement.rect = ToTwips(QRect(pos(), size()), TwipsPerPixel());
}

void frmHLPMain::RecordSplit() {
  if (!m_activated) return;
  const QList<int> sizes = pctSplit->sizes();
  if (!sizes.isEmpty()) m_placement.split = TwipsFromPixels(sizes.first());
}

void frmHLPMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RecordWindowState();
}

void frmHLPMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  RecordWindowState();
}

void frmHLPMain::closeEvent(QCloseEvent* event) {
  RecordWindowState();
  RecordSplit();
  if (m_activated) WriteHelpPlacement(QString::fromStdString(m_commandLine.product), m_placement);
  event->accept();
}

bool frmHLPMain::eventFilter(QObject* watched, QEvent* event) {
  // Entering the search box selects its text, so typing replaces the last search. Deferred:
  // a mouse press that gave the focus would otherwise place the cursor over the selection.
  if (watched == txtIndex && event->type() == QEvent::FocusIn)
    QTimer::singleShot(0, txtIndex, &QLineEdit::selectAll);
  return QMainWindow::eventFilter(watched, event);
}

void frmHLPMain::ShowTopic(const QString& path) {
  if (path.isEmpty()) return;
  const QFileInfo info(path);
  if (!info.isFile() || !htmMain->IsHelpFile(info.absoluteFilePath())) {
    m_prompter->Exclamation(this, tr("Error"),
                            tr("The help page \"%1\" cannot be opened.").arg(path));
    return;
  }
  const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
  if (htmMain->source() == url) return;
  if (m_activated) tbrStop->setEnabled(true);
  htmMain->setSource(url);
}

void frmHLPMain::DocumentComplete(const QUrl& source) {
  if (m_activated) tbrStop->setEnabled(false);
  tbrHome->setEnabled(!m_contentsFile.isEmpty() && source.isLocalFile() &&
                      HomeEnabled(ToPath(source.toLocalFile()), ToPath(m_contentsFile)));
  const QString title = htmMain->documentTitle();
  TopicPosition position = LocateTopic(m_contents.nodes, title.toStdString());
  // A page without a title (its node is named by its link) is found by its file instead.
  if (title.trimmed().isEmpty() && source.isLocalFile())
    position = LocateTopicByPage(m_contents.nodes, ToPath(source.toLocalFile()));
  if (position.node && *position.node < m_nodeItems.size()) {
    m_currentNode = static_cast<int>(*position.node);
    SelectNode(m_currentNode);
    m_documentDriven = true;
    NodeClick(m_nodeItems[*position.node]);
    m_documentDriven = false;
  }
  tbrPrev->setEnabled(position.prevEnabled);
  tbrNext->setEnabled(position.nextEnabled);
}

void frmHLPMain::SelectNode(int position) {
  if (position < 0 || position >= static_cast<int>(m_nodeItems.size())) return;
  m_selecting = true;
  tvwContents->setCurrentItem(m_nodeItems[static_cast<std::size_t>(position)]);
  m_selecting = false;
}

void frmHLPMain::NodeClick(QTreeWidgetItem* node) {
  if (!m_activated || !node) return;
  QTreeWidgetItem* parentNode = node->parent();
  for (QTreeWidgetItem* item : m_nodeItems) {
    if (item != node && item != parentNode && item->data(0, kImageRole).toString() == "Opened")
      SetNodeImage(item, "Section");
  }
  // An opened book shows its pages.
  if (node->data(0, kImageRole).toString() == "Section") {
    SetNodeImage(node, "Opened");
    node->setExpanded(true);
  }
  if (parentNode) {
    parentNode->setExpanded(true);
    if (parentNode->data(0, kImageRole).toString() == "Section") SetNodeImage(parentNode, "Opened");
  }
  if (!m_documentDriven) ShowTopic(node->data(0, kPathRole).toString());
}

void frmHLPMain::SetNodeImage(QTreeWidgetItem* node, const QString& image) {
  node->setData(0, kImageRole, image);
  UpdateNodeIcon(node);
}

void frmHLPMain::UpdateNodeIcon(QTreeWidgetItem* node) {
  if (!node) return;
  const bool selected = node == tvwContents->currentItem();
  node->setIcon(0, HelpIcon(node->data(0, selected ? kSelectedImageRole : kImageRole).toString()));
}

void frmHLPMain::SetTab(int index) {
  if (index == kIndexTab) {
    txtIndex->setFocus();
  } else {
    tvwContents->setFocus();
  }
}

void frmHLPMain::IndexTextEdited(const QString& text) {
  if (m_selecting || text.isEmpty()) return;
  auto found = m_contents.index.FindByPrefix(text.toStdString());
  if (!found || static_cast<int>(*found) >= lvwIndex->topLevelItemCount()) return;
  QTreeWidgetItem* item = lvwIndex->topLevelItem(static_cast<int>(*found));
  lvwIndex->setCurrentItem(item);
  lvwIndex->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

void frmHLPMain::IndexItemClicked(QTreeWidgetItem* item) {
  if (item) txtIndex->setText(item->text(0));  // setText raises no textEdited: no search
}

void frmHLPMain::OpenIndexSelection() {
  QTreeWidgetItem* item = lvwIndex->currentItem();
  if (!item || !item->isSelected()) {
    m_prompter->Exclamation(this, tr("Help"),
                            tr("Please select a topic you wish to locate help for."));
    return;
  }
  txtIndex->setText(item->text(0));
  const QString url = item->text(2);
  if (!url.isEmpty()) {
    ShowTopic(url);
  } else {
    m_prompter->Exclamation(this, tr("Help"),
                            tr("To locate information about this keyword, please select one "
                               "of the subentries in the list."));
  }
}

bool frmHLPMain::ShowIndexEntry(const QString& text) {
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < lvwIndex->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = lvwIndex->topLevelItem(i);
      const QString itemText = pass == 0 ? item->text(0) : item->text(0).trimmed();
      if (itemText != text) continue;
      lvwIndex->setCurrentItem(item);
      OpenIndexSelection();
      return true;
    }
  }
  return false;
}

void frmHLPMain::ToolPrev() {
  if (m_currentNode <= 0) return;
  SelectNode(m_currentNode - 1);
  NodeClick(m_nodeItems[static_cast<std::size_t>(m_currentNode - 1)]);
}

void frmHLPMain::ToolNext() {
  if (m_currentNode < 0 || m_currentNode + 1 >= static_cast<int>(m_nodeItems.size())) return;
  SelectNode(m_currentNode + 1);
  NodeClick(m_nodeItems[static_cast<std::size_t>(m_currentNode + 1)]);
}

void frmHLPMain::ToolHome() {
  ShowTopic(m_contentsFile);
}

void frmHLPMain::ToolStop() {
  tbrStop->setEnabled(false);
}

void frmHLPMain::FilePrint() {
  if (htmMain->document()->isEmpty()) return;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(tr("Print"));
  if (dialog.exec() == QDialog::Accepted) PrintPage(&printer);
}

void frmHLPMain::PrintPage(QPrinter* printer) {
  if (printer) htmMain->print(printer);
}

void frmHLPMain::EditCopy() {
  htmMain->copy();
}

void frmHLPMain::ViewRefresh() {
  if (m_contentsFile.isEmpty()) return;
  LoadContentsIntoPanes();
  // The page on show stays; its node is found again in the new tree.
  if (!htmMain->source().isEmpty()) DocumentComplete(htmMain->source());
}

}  // namespace guideview
