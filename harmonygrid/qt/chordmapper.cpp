#include "harmonygrid/qt/chordmapper.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QToolButton>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/chorddiagram.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/core/mapperedits.h"
#include "harmonygrid/core/shapeeditmodel.h"
#include "harmonygrid/core/textutil.h"
#include "harmonygrid/qt/frmmapdetails.h"
#include "harmonygrid/qt/mappericons.h"
#include "harmonygrid/qt/widgetsurface.h"

namespace harmonygrid {

namespace {

// Colours packed as red + green x 256 + blue x 65536.
constexpr int kBandBlue = 51 + 51 * 256 + 224 * 65536;
constexpr int kKeyYellow = 255 + 255 * 256;
constexpr int kSelectionRed = 255;
constexpr int kBlack = 0;
constexpr int kWhite = 0xFFFFFF;

std::string ToUtf8(const QString& s) { return s.toUtf8().toStdString(); }

QString FromUtf8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::vector<SurfacePoint> Outline(const TwipRect& r) {
  return {{r.Left, r.Top}, {r.Right(), r.Top}, {r.Right(), r.Bottom()}, {r.Left, r.Bottom()},
          {r.Left, r.Top}};
}

}  // namespace

// The visible window onto the grid of cells: paints the rows in view and reports clicks.
class ChordMapper::Viewport final : public QWidget {
public:
  explicit Viewport(ChordMapper& owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    m_owner.PaintCells(painter);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier))
      m_owner.OnPress(event->position().toPoint());
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && m_owner.m_selected >= 0) m_owner.OnProperties();
  }

private:
  ChordMapper& m_owner;
};

ChordMapper::ChordMapper(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ChordMapper"));
  CreateParts();
  setMinimumSize(ToPixels(MapperFrame::kMinWidth), ToPixels(MapperFrame::kMinHeight));
}

ChordMapper::~ChordMapper() = default;

void ChordMapper::CreateParts() {
  pctEditBase = new QWidget(this);
  pctEditBase->setObjectName(QStringLiteral("pctEditBase"));
  pctEditWindow = new Viewport(*this, pctEditBase);
  pctEditWindow->setObjectName(QStringLiteral("pctEditWindow"));
  vscEditWindow = new QScrollBar(Qt::Vertical, pctEditBase);
  vscEditWindow->setObjectName(QStringLiteral("vscEditWindow"));
  vscEditWindow->setRange(1, 1);
  vscEditWindow->setEnabled(false);
  connect(vscEditWindow, &QScrollBar::valueChanged, pctEditWindow, qOverload<>(&QWidget::update));

  auto makeButton = [this](const char* name, const QString& caption, const QIcon& icon) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return button;
  };
  cmdNew = makeButton("cmdNew", tr("New"), NewShapeIcon());
  cmdDelete = makeButton("cmdDelete", tr("Delete"), DeleteShapeIcon());
  cmdProperties = makeButton("cmdProperties", tr("Properties"), ShapePropertiesIcon());
  // Removing a shape would leave the score's chord events pointing at another one.
  cmdDelete->setEnabled(false);
  cmdProperties->setEnabled(false);
  connect(cmdNew, &QToolButton::clicked, this, &ChordMapper::OnNew);
  connect(cmdProperties, &QToolButton::clicked, this, &ChordMapper::OnProperties);
}

double ChordMapper::TwipsPerPixel() const { return WidgetSurface::TwipsPerPixel(*this); }

int ChordMapper::ToPixels(int twips) const {
  return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

QRect ChordMapper::ToPixels(const TwipRect& r) const {
  return QRect(ToPixels(r.Left), ToPixels(r.Top), ToPixels(r.Width), ToPixels(r.Height));
}

QSize ChordMapper::sizeHint() const {
  return QSize(ToPixels(MapperFrame::kDefaultWidth), ToPixels(MapperFrame::kDefaultHeight));
}

void ChordMapper::SetInitDir(const QString& dir) {
  try {
    const std::string text = ToUtf8(dir);
    if (UpperCase(text) == UpperCase(ToUtf8(m_initDir))) return;
    std::string_view trimmed = TrimSpaces(text);
    if (!trimmed.empty() && (trimmed.back() == '/' || trimmed.back() == '\\'))
      trimmed.remove_suffix(1);
    m_initDir = FromUtf8(trimmed);
  } catch (...) {  // out of memory: keep the old folder
    return;
  }
  if (!Initialised()) return;
  m_chord->SetInitDir(ToUtf8(m_initDir));
  // The cells are painted from the table as it is now, so they follow the new one at once.
  LayoutChordMaps();
}

void ChordMapper::Init(std::shared_ptr<harmonygrid::Chord> chord) {
  if (!chord) {
    chord = std::make_shared<harmonygrid::Chord>();
    chord->SetInitDir(ToUtf8(m_initDir));
  }
  m_chord = std::move(chord);
  m_initialised = true;
  LayoutChordMaps();
}

bool ChordMapper::Changed() const noexcept { return Initialised() && m_chord->Changed(); }

void ChordMapper::Refresh() {
  if (!Initialised()) return;
  m_chord->Refresh();
  LayoutChordMaps();
}

bool ChordMapper::Render(Surface& device, int index, int x, int y, bool showMap, int color,
                         std::string_view bass, int capo) const {
  if (!Initialised()) return false;
  return m_chord->Render(device, m_grid.Layout(), index, x, y, showMap, color, bass, capo);
}

void ChordMapper::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const double tpp = TwipsPerPixel();
  const MapperFrame frame = MapperFrame::Place(static_cast<int>(std::lround(width() * tpp)),
                                               static_cast<int>(std::lround(height() * tpp)));
  pctEditBase->setGeometry(ToPixels(frame.Base));
  pctEditWindow->setGeometry(ToPixels(frame.Viewport));
  vscEditWindow->setGeometry(ToPixels(frame.ScrollBar));
  cmdNew->setGeometry(ToPixels(frame.Buttons[MapperFrame::New]));
  cmdDelete->setGeometry(ToPixels(frame.Buttons[MapperFrame::Delete]));
  cmdProperties->setGeometry(ToPixels(frame.Buttons[MapperFrame::Properties]));
  LayoutChordMaps();
}

void ChordMapper::LayoutChordMaps() {
  if (!Initialised()) return;
  // The name and label lines are as tall as their fonts are here.
  WidgetSurface measure(TwipsPerPixel());
  measure.SetFont(ChordDiagram::NameFont());
  const int chordTextHeight = measure.TextHeight();
  measure.SetFont(ChordDiagram::FretLabelFont());
  const int fretTextHeight = measure.TextHeight();

  const double tpp = TwipsPerPixel();
  m_grid = CellGrid(static_cast<int>(pctEditWindow->width() * tpp),
                    static_cast<int>(pctEditWindow->height() * tpp), m_chord->ChordMapCount(),
                    chordTextHeight, fretTextHeight);
  vscEditWindow->setRange(1, m_grid.Rows());
  vscEditWindow->setPageStep(m_grid.PageRows());
  vscEditWindow->setSingleStep(1);
  vscEditWindow->setEnabled(m_grid.Scrolls());
  Select(-1);
}

void ChordMapper::Select(int index) {
  m_selected = index;
  cmdProperties->setEnabled(index >= 0);
  pctEditWindow->update();
}

void ChordMapper::PaintCells(QPainter& painter) const {
  const double tpp = TwipsPerPixel();
  const int top = m_grid.ScrollTop(vscEditWindow->value());
  painter.translate(0, -top / tpp);
  WidgetSurface s(painter, tpp);
  s.SetBackColor(kWhite);
  s.Clear();
  if (!Initialised()) return;

  const int heightTwips = static_cast<int>(std::lround(pctEditWindow->height() * tpp));
  const int count = std::min(m_grid.Count(), m_chord->ChordMapCount());
  const int first = m_grid.FirstVisibleRow(top) * m_grid.Columns();
  const int end = std::min(count, (m_grid.LastVisibleRow(top, heightTwips) + 1) * m_grid.Columns());
  for (int i = first; i < end; ++i) {
    const TwipRect cell = m_grid.Cell(i);
    const TwipRect band = m_grid.HeaderBand(i);
    s.SetForeColor(kBandBlue);
    s.FillBox(band.Left, band.Top, band.Right(), band.Bottom());
    s.SetForeColor(kBlack);
    s.DrawLine(cell.Right(), cell.Top, cell.Right(), cell.Bottom());
    s.SetFont(ChordDiagram::FretLabelFont());
    s.SetForeColor(kKeyYellow);
    s.DrawText(m_grid.KeyX(i), m_grid.KeyY(i), m_chord->ListItem(i));
    m_chord->Render(s, m_grid.Layout(), i, m_grid.CentreX(i), cell.Bottom(), true, kBlack);
  }
  if (m_selected >= first && m_selected < end) {
    s.SetForeColor(kSelectionRed);
    for (const TwipRect& outline : m_grid.SelectionOutlines(m_selected))
      s.DrawPolyline(Outline(outline));
  }
}

void ChordMapper::OnPress(QPoint pixel) {
  if (!Initialised()) return;
  const double tpp = TwipsPerPixel();
  const int x = static_cast<int>(pixel.x() * tpp);
  const int y = static_cast<int>(pixel.y() * tpp) + m_grid.ScrollTop(vscEditWindow->value());
  Select(m_grid.CellAt(x, y));
}

void ChordMapper::OnNew() {
  if (!Initialised()) return;
  frmMAPDetails dialog(this);
  dialog.exec();
  if (dialog.Result() != ShapeEditModel::kOk || !dialog.Changed()) return;
  AddEditedShape(*m_chord, dialog.Map());
  LayoutChordMaps();
}

void ChordMapper::OnProperties() {
  if (!Initialised()) return;
  const int position = m_selected;
  const std::shared_ptr<clsMap> entry = m_chord->ChordMapItem(position);
  if (!entry) return;
  // The editor opens at the position its own five fret rows need for the shape, as the cell
  // shows it for its rows; the table's Top may be stale or belong to another fret count.
  clsMap copy = *entry;
  copy.SetTop(entry->ComputeTop(ShapeEditModel::kFretRows));
  frmMAPDetails dialog(this);
  dialog.SetMap(copy);
  dialog.SetOkCheck([this, position](const clsMap& edited) {
    if (!KeyTakenByAnother(*m_chord, edited.Key(), position)) return QString();
    return tr("Another chord shape is already named \"%1\". Choose another name.")
        .arg(FromUtf8(TrimSpaces(edited.Key())));
  });
  dialog.exec();
  if (dialog.Result() != ShapeEditModel::kOk || !dialog.Changed()) return;
  if (WriteBackShape(*m_chord, position, dialog.Map()) == ShapeWriteBack::Written)
    LayoutChordMaps();
}

}  // namespace harmonygrid
