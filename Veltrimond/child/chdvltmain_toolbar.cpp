#include "Veltrimond/child/chdvltmain_toolbar.h"

#include <QAction>
#include <QFont>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_labels.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "Veltrimond/child/newscoredefaults.h"
#include "Veltrimond/core/pagecommands.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/toolbarpictures.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"

namespace veltrimond {

namespace {

using namespace toolbarpictures;

const QColor kGreen(40, 150, 60);

void Sheet(QPainter& p, const QRectF& r) {
  p.setPen(Pen(kInk));
  p.setBrush(kPaper);
  p.drawRect(r);
}

void Lines(QPainter& p, double x, double y, double w, int count, double gap) {
  p.setPen(Pen(QColor(90, 90, 100), 0.7));
  for (int i = 0; i < count; ++i) p.drawLine(QPointF(x, y + i * gap), QPointF(x + w, y + i * gap));
}

// A plus (insert) or a cross (delete) badge at the bottom right.
void Badge(QPainter& p, bool insert) {
  p.setPen(Pen(insert ? kGreen : kRed, 2.2));
  if (insert) {
    p.drawLine(QPointF(12, 9), QPointF(12, 15));
    p.drawLine(QPointF(9, 12), QPointF(15, 12));
  } else {
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 9.5), QPointF(9.5, 14.5));
  }
}

void Delete(QPainter& p) {
  p.setPen(Pen(kRed, 2.4));
  p.drawLine(QPointF(3, 3), QPointF(13, 13));
  p.drawLine(QPointF(13, 3), QPointF(3, 13));
}

void Print(QPainter& p) {
  Sheet(p, QRectF(4.5, 1.5, 7, 6));
  Printer(p, kGreen);
}

void Preview(QPainter& p) {
  Sheet(p, QRectF(1.5, 1.5, 10, 13));
  Magnifier(p);
}

void Prop(QPainter& p) {
  Sheet(p, QRectF(2.5, 1.5, 11, 13));
  p.setPen(Pen(kBlue, 1.4));
  for (int i = 0; i < 4; ++i) p.drawLine(QPointF(4.5, 4.5 + i * 3), QPointF(11.5, 4.5 + i * 3));
}

void StaffPicture(QPainter& p, bool insert) {
  Lines(p, 1, 2.5, 12, 5, 2);
  Badge(p, insert);
}

void MeasurePicture(QPainter& p, bool insert) {
  Lines(p, 1, 2.5, 14, 5, 2);
  p.setPen(Pen(kInk, 1.2));
  p.drawLine(QPointF(1, 2.5), QPointF(1, 10.5));
  p.drawLine(QPointF(8, 2.5), QPointF(8, 10.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(4.5, 6.5), 1.6, 1.2);
  Badge(p, insert);
}

void Abc(QPainter& p) {
  QFont font = p.font();
  font.setPixelSize(8);
  font.setBold(true);
  p.setFont(font);
  p.setPen(kBlue);
  p.drawText(QRectF(0, 2, 16, 10), Qt::AlignCenter, QStringLiteral("ABC"));
  p.setPen(Pen(kInk, 1));
  p.drawLine(QPointF(1.5, 13.5), QPointF(14.5, 13.5));
}

// The page arrows: one or two triangles, pointing back or on, with a bar at the end for
// the first and last page.
void Arrows(QPainter& p, bool back, bool end) {
  p.save();
  if (back) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  const double x = end ? 3 : 5;
  p.drawPolygon(QPolygonF({QPointF(x, 3), QPointF(x + 7, 8), QPointF(x, 13)}));
  if (end) {
    p.setBrush(kInk);
    p.drawRect(QRectF(11, 3, 2, 10));
  }
  p.restore();
}

QImage Grey(const QImage& colour) {
  QImage grey = colour.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) {
      const int g = qGray(line[x]);
      line[x] = qRgba(g, g, g, qAlpha(line[x]));
    }
  }
  return grey;
}

QIcon MakeIcon(const Drawing& draw) {
  QIcon icon;
  for (int size : kSizes) {
    const QImage colour = Render(draw, size);
    icon.addPixmap(QPixmap::fromImage(Grey(colour)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(colour), QIcon::Active);
  }
  return icon;
}

struct ButtonSpec {
  const char* Key;
  const char* ToolTip;
  const char* Image;
};

// Left to right; a null key is a separator, "Page" the page box already on the toolbar.
constexpr ButtonSpec kButtons[] = {
    {"Save", "Save Changes", "Save"},
    {"Cancel", "Discard Changes", "Delete"},
    {nullptr, nullptr, nullptr},
    {"Print", "Print", "Print"},
    {"Preview", "Preview", "Preview"},
    {nullptr, nullptr, nullptr},
    {"Prop", "Properties", "Prop"},
    {nullptr, nullptr, nullptr},
    {"InsStaff", "Insert Staff", "InsStaff"},
    {"RemStaff", "Delete Staff", "DltStaff"},
    {"InsMes", "Insert Measure", "InsMes"},
    {"RemMes", "Delete Measure", "DltMes"},
    {nullptr, nullptr, nullptr},
    {"Lyrics", "Lyrics", "ABC"},
    {nullptr, nullptr, nullptr},
    {"First", "First Page", "First"},
    {"Prev", "Previous Page", "Prev"},
    {"Page", nullptr, nullptr},
    {"Next", "Next Page", "Next"},
    {"Last", "Last Page", "Last"},
};

}  // namespace

QIcon ScoreToolbarIcon(const QString& imageKey) {
  static const QMap<QString, Drawing> drawings = {
      {"Save", Save},
      {"Delete", Delete},
      {"Print", Print},
      {"Preview", Preview},
      {"Prop", Prop},
      {"InsStaff", [](QPainter& p) { StaffPicture(p, true); }},
      {"DltStaff", [](QPainter& p) { StaffPicture(p, false); }},
      {"InsMes", [](QPainter& p) { MeasurePicture(p, true); }},
      {"DltMes", [](QPainter& p) { MeasurePicture(p, false); }},
      {"ABC", Abc},
      {"First", [](QPainter& p) { Arrows(p, true, true); }},
      {"Prev", [](QPainter& p) { Arrows(p, true, false); }},
      {"Next", [](QPainter& p) { Arrows(p, false, false); }},
      {"Last", [](QPainter& p) { Arrows(p, false, true); }},
  };
  const auto found = drawings.find(imageKey);
  return found == drawings.end() ? QIcon() : MakeIcon(found.value());
}

ScoreToolbar::ScoreToolbar(chdVLTMain& window, ScoreMenus& menus)
    : QObject(&window), m_window(window), m_menus(menus) {
  Build();
}

void ScoreToolbar::Build() {
  QToolBar* bar = m_window.tbrMain;
  QAction* page = nullptr;
  for (QAction* action : bar->actions())
    if (action->objectName() == QLatin1String("Page")) page = action;
  bool afterPage = false;
  // Buttons before the page box go in front of it, the rest after it.
  auto place = [&](QAction* action) {
    if (afterPage || !page) {
      bar->addAction(action);
    } else {
      bar->insertAction(page, action);
    }
  };
  for (const ButtonSpec& b : kButtons) {
    if (!b.Key) {
      auto* separator = new QAction(bar);
      separator->setSeparator(true);
      place(separator);
      continue;
    }
    const QString key = QString::fromLatin1(b.Key);
    if (key == QLatin1String("Page")) {
      afterPage = true;
      continue;
    }
    auto* action = new QAction(ScoreToolbarIcon(QString::fromLatin1(b.Image)),
                               tr(b.ToolTip), bar);
    action->setObjectName(QStringLiteral("tbrMain_") + key);
    action->setToolTip(tr(b.ToolTip));
    action->setData(key);
    connect(action, &QAction::triggered, this, [this, key] { ButtonClick(key); });
    if (key == QLatin1String("Prop")) {
      auto* menu = new QMenu(bar);
      const std::pair<const char*, const char*> entries[] = {{"Prop", "Score Properties..."},
                                                             {"PropStaff", "Staff Properties..."},
                                                             {"PropMes", "Measure Properties..."}};
      for (const auto& [entryKey, caption] : entries) {
        const QString k = QString::fromLatin1(entryKey);
        QAction* entry = menu->addAction(tr(caption));
        entry->setObjectName(QStringLiteral("tbrMain_Prop_") + k);
        connect(entry, &QAction::triggered, this, [this, k] { ButtonMenuClick(k); });
        m_propEntries.insert(k, entry);
      }
      action->setMenu(menu);
    }
    place(action);
    m_buttons.insert(key, action);
    if (key == QLatin1String("Prop")) {
      if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
  }
  // Nothing to discard yet; the change mark switches it from now on.
  m_buttons.value(QStringLiteral("Cancel"))->setEnabled(false);
  m_window.tbrCancel = m_buttons.value(QStringLiteral("Cancel"));
}

void ScoreToolbar::ButtonClick(const QString& key) {
  const QString k = key.toUpper();
  notecraft::Score& score = m_window.Score();
  // The buttons take no focus: what is being typed on the page is stored first, as leaving
  // the box would (lyric entry goes on through "Lyrics").
  if (k == QLatin1String("LYRICS")) {
    m_window.Labels().EndEntry();
  } else {
    m_window.EndInPlaceEntry();
  }
  // The structural buttons are their menu items: the same prompts (proposing the staff or
  // measure worked on), since these edits cannot be undone.
  static const QMap<QString, QString> menuTwins = {
      {QStringLiteral("INSSTAFF"), QStringLiteral("mnuStaffInsert")},
      {QStringLiteral("REMSTAFF"), QStringLiteral("mnuStaffDelete")},
      {QStringLiteral("INSMES"), QStringLiteral("mnuMeasureInsert")},
      {QStringLiteral("REMMES"), QStringLiteral("mnuMeasureDelete")}};
  if (menuTwins.contains(k)) {
    m_menus.Item(menuTwins.value(k))->trigger();
  } else if (k == QLatin1String("CANCEL")) {
    Discard();
  } else if (k == QLatin1String("FIRST") || k == QLatin1String("PREV") ||
             k == QLatin1String("NEXT") || k == QLatin1String("LAST")) {
    GoToPage(k);
  } else if (k == QLatin1String("LYRICS")) {
    if (m_window.Hooks.StartLyricEntry) m_window.Hooks.StartLyricEntry();
  } else if (k == QLatin1String("PRINT")) {
    m_menus.FilePrintAll();
  } else if (k == QLatin1String("PROP")) {
    notecraft::ShowDialog(score, notecraft::dlgScoreProperties);
  } else if (k == QLatin1String("SAVE")) {
    m_menus.FileSave();
  }
  // "Preview" has no action.
}

void ScoreToolbar::ButtonMenuClick(const QString& key) {
  const QString k = key.toUpper();
  m_window.EndInPlaceEntry();
  notecraft::Score& score = m_window.Score();
  if (k == QLatin1String("PROP")) {
    notecraft::ShowDialog(score, notecraft::dlgScoreProperties);
  } else if (k == QLatin1String("PROPSTAFF")) {
    notecraft::ShowDialog(score, notecraft::dlgStaffProperties);
    if (m_window.Hooks.RefreshDrumPanel) m_window.Hooks.RefreshDrumPanel();
  } else if (k == QLatin1String("PROPMES")) {
    notecraft::ShowDialog(score, notecraft::dlgMeasureProperties);
  }
}

void ScoreToolbar::GoToPage(const QString& key) {
  notecraft::Score& score = m_window.Score();
  // The last page is known only once the layout has reached it.
  if (key == QLatin1String("LAST") && score.Paginating()) score.FinishPagination();
  const std::optional<int> page = PageForKey(key, score.CurPage(), score.LastPage());
  if (!page) return;
  score.SetCurPage(*page);
  // The box shows the page the score went to, which may not be the one asked for.
  m_window.txtPage->setText(QString::number(score.CurPage()));
}

void ScoreToolbar::Discard() {
  if (!m_menus.Confirm(tr("Reload"),
                       tr("Are you sure you want to discard your changes to this score?")))
    return;
  notecraft::Score& score = m_window.Score();
  m_window.SetReloading(true);
  m_window.ResetSelection();
  // A score without a file becomes a new one again, with the defaults.
  if (score.FileName().empty()) ApplyNewScoreDefaults(score, m_window.Context().State.Options);
  score.Reload();
  m_window.txtPage->setText(QString::number(score.CurPage()));
  m_window.SetReloading(false);
  m_window.ShowCaption();
}

}  // namespace veltrimond
