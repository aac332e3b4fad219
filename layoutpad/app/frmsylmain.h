#pragma once
// The style editor's window: the style list of the styles folder with "(New Style)" first,
// the style type and drum list, the note tools, and the file commands. The style being
// edited is one Score, drawn on one page the size of the edit area; each switch builds or
// opens a style in that same score.
//
// The ready flag keeps the list, type, resize and change handlers quiet while the window
// itself fills the controls or loads a style.

#include <QWidget>
#include <memory>

#include "layoutpad/app/styleprompter.h"
#include "layoutpad/core/noteentry.h"
#include "notecraft/core/scoreevents.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QMouseEvent;
class QPushButton;
class QTimer;
class QToolButton;

namespace notecraft {
class Score;
class ScorePageWidget;
}  // namespace notecraft

namespace layoutpad {

class frmSYLMain final : public QWidget, private notecraft::ScoreEvents {
  Q_OBJECT

public:
  // The window over a styles folder (see ResolveStylesFolder); it lists the styles at once
  // and makes a new style when it is first shown.
  frmSYLMain(const QString& stylesFolder, std::unique_ptr<StylePrompter> prompter);
  ~frmSYLMain() override;

  notecraft::Score& Style() { return *lcStyle; }
  const QString& StylesFolder() const { return m_folder; }
  // The style loaded: its name, or "(New Style)".
  const QString& CurrentStyleName() const { return m_currentName; }
  bool Ready() const { return m_ready; }
  int CurrentTool() const { return m_tool; }
  bool LastNoteEntered() const { return m_lastNote; }
  StyleType CurrentType() const;

protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildControls();
  void LayOutBase();
  void ListStyles();

  // Styles (frmsylmain_files.cpp).
  void NewStyle();
  bool OpenStyle(const QString& name);
  void ClearHeader();
  void ChooseStyle(int index);
  bool SaveStyle();
  bool SaveStyleAs();
  bool WriteStyle(const QString& path);
  void DeleteStyle();
  void Listen();
  void ShowProperties();
  void SelectLoadedEntry();
  void ResizePage();

  // Type and note entry (frmsylmain_entry.cpp).
  void ChooseType(int index);
  void ShowTypeTools();
  void FillDrumList();
  void ChooseDrum(int index);
  void ChooseTool(int id);
  void ReleaseTools();
  Enhancements EnhanceState() const;
  void PageMoved(QMouseEvent* event, QPointF twips);
  void PageReleased(QMouseEvent* event, QPointF twips);
  // The pointer over the page, set only when it changes.
  void SetPagePointer(Qt::CursorShape shape);
  bool ArrowKeyPressed(int key);

  // ScoreEvents
  void ChangeNotify(bool isChanged) override;

  std::unique_ptr<notecraft::Score> lcStyle;
  std::unique_ptr<StylePrompter> m_prompter;
  QString m_folder;
  QString m_currentName;
  bool m_ready = false;
  bool m_started = false;
  int m_tool = 0;
  bool m_lastNote = false;
  bool m_mouseDown = false;
  Qt::CursorShape m_pointer = Qt::ArrowCursor;

  QWidget* pctBase = nullptr;
  QLabel* lblName = nullptr;
  QComboBox* cboName = nullptr;
  QLabel* lblType = nullptr;
  QComboBox* cboType = nullptr;
  QComboBox* cboDrum = nullptr;
  QWidget* tbrTools = nullptr;
  QButtonGroup* m_toolGroup = nullptr;
  QWidget* tbrEnhance = nullptr;
  QToolButton* m_align = nullptr;
  QToolButton* m_dot = nullptr;
  QToolButton* m_stac = nullptr;
  QToolButton* m_trip = nullptr;
  QToolButton* cmdListen = nullptr;
  QToolButton* cmdProp = nullptr;
  QWidget* pctButtons = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdSaveAs = nullptr;
  QPushButton* cmdDelete = nullptr;
  QPushButton* cmdCancel = nullptr;
  QWidget* pctEdit = nullptr;
  notecraft::ScorePageWidget* pctPage = nullptr;
  QTimer* tmrResize = nullptr;
};

}  // namespace layoutpad
