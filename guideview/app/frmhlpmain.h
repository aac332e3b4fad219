#pragma once
// The help viewer's window: a Contents tab (the tree of topics) and an Index tab (keyword list
// with a search box) beside the page view, a tool bar (Prev, Next, Back, Fwd, Stop, Home,
// Print) and File, Edit and View menus. The tree and the index are built from the pages by
// LoadContents; the window's placement is kept in the settings under the product's "Help".
//
// Prev and Next walk the tree in the order its nodes were added, from the node whose text is
// the title of the page on show; Home returns to the contents page.

#include <QMainWindow>
#include <QString>
#include <memory>
#include <vector>

#include "guideview/app/helpprompter.h"
#include "guideview/app/helpsettings.h"
#include "guideview/core/commandline.h"
#include "guideview/core/helpcontents.h"

class QAction;
class QLineEdit;
class QPrinter;
class QSplitter;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace guideview {

class HelpBrowser;

class frmHLPMain : public QMainWindow {
  Q_OBJECT

public:
  // Builds the window and, when the contents file exists, the tree and the index, and shows
  // the contents page. `prompter` answers the message boxes (a real one when null).
  frmHLPMain(const HelpViewerCommandLine& commandLine,
             std::unique_ptr<HelpPrompter> prompter = nullptr, QWidget* parent = nullptr);
  ~frmHLPMain() override;

  // Placement from the settings (or the default), applied before the window is shown.
  void ApplyStoredPlacement();

  // Shows a page (a help file); an unreadable page leaves the view as it was.
  void ShowTopic(const QString& path);

  // Shows the page of an index entry, as Enter in the search box does for the selection.
  // Returns false when no item has that text.
  bool ShowIndexEntry(const QString& text);

  // Prints the page on show to a printer already set up (File > Print asks for one first).
  void PrintPage(QPrinter* printer);

  // True when building the window failed; the program then ends without showing it.
  bool LoadFailed() const { return m_loadFailed; }

  const HelpContents& Contents() const { return m_contents; }
  HelpBrowser* Browser() const { return htmMain; }
  const QString& ContentsFile() const { return m_contentsFile; }
  // The twips of one pixel on the window's screen.
  double TwipsPerPixel() const;

protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createPanes();

  void LoadContentsIntoPanes();
  void FillTree();
  void FillIndex();
  void Activate();
  void RecordWindowState();
  void RecordSplit();

  void DocumentComplete(const QUrl& source);
  void NodeClick(QTreeWidgetItem* node);
  void SelectNode(int position);
  void UpdateNodeIcon(QTreeWidgetItem* node);
  void SetNodeImage(QTreeWidgetItem* node, const QString& image);
  void SetTab(int index);

  void IndexTextEdited(const QString& text);
  void IndexItemClicked(QTreeWidgetItem* item);
  void OpenIndexSelection();

  void ToolPrev();
  void ToolNext();
  void ToolHome();
  void ToolStop();
  void FilePrint();
  void EditCopy();
  void ViewRefresh();

  int PixelsFromTwips(int twips) const;
  int TwipsFromPixels(int pixels) const;

  HelpViewerCommandLine m_commandLine;
  std::unique_ptr<HelpPrompter> m_prompter;
  QString m_contentsFile;  // trimmed; empty when the named file does not exist
  HelpContents m_contents;
  HelpPlacement m_placement;
  std::vector<QTreeWidgetItem*> m_nodeItems;  // the tree's items, by node position
  bool m_loadFailed = false;
  bool m_activated = false;
  bool m_documentDriven = false;  // the tree follows a loaded page: a node click shows nothing
  bool m_selecting = false;       // the program itself moves the tree's current node
  int m_currentNode = -1;         // position in insertion order of the node on show

  // Controls by their established names.
  QWidget* pctBase = nullptr;
  QSplitter* pctSplit = nullptr;
  QWidget* pctTab = nullptr;
  QTabWidget* tabMain = nullptr;
  QTreeWidget* tvwContents = nullptr;
  QLineEdit* txtIndex = nullptr;
  QTreeWidget* lvwIndex = nullptr;
  HelpBrowser* htmMain = nullptr;
  QToolBar* tbrMain = nullptr;
  QAction* tbrPrev = nullptr;
  QAction* tbrNext = nullptr;
  QAction* tbrBack = nullptr;
  QAction* tbrFwd = nullptr;
  QAction* tbrStop = nullptr;
  QAction* tbrHome = nullptr;
  QAction* tbrPrint = nullptr;
  QAction* mnuFilePrint = nullptr;
  QAction* mnuFileExit = nullptr;
  QAction* mnuEditCopy = nullptr;
  QAction* mnuViewRefresh = nullptr;
};

}  // namespace guideview
