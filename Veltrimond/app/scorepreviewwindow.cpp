#include "Veltrimond/app/scorepreviewwindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iframe.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/qpaintersurface.h"

namespace veltrimond {

ScorePreviewWindow::ScorePreviewWindow(AppContext& context, IFrame& frame)
    : m_context(context), m_frame(&frame), m_score(std::make_unique<notecraft::Score>()) {
  setObjectName(QStringLiteral("ScorePreviewWindow"));
  setWindowTitle(tr("Untitled"));
  m_score->CreateDefault();
  m_scroll = new QScrollArea(this);
  m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_scroll->setBackgroundRole(QPalette::Dark);
  m_picture = new QLabel(m_scroll);
  m_scroll->setWidget(m_picture);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_scroll);
  resize(640, 480);
  ShowFirstPage();
}

ScorePreviewWindow::~ScorePreviewWindow() {
  // The score draws on the page buffer until it is told otherwise.
  if (m_score) m_score->SetWindow(nullptr);
}

bool ScorePreviewWindow::OpenFile(const QString& path) {
  // The engine tells the user why a file cannot be opened.
  if (!m_score->OpenFile(path.toStdString())) return false;
  setWindowTitle(QFileInfo(path).fileName());
  m_context.History.Add(path);
  ShowFirstPage();
  return true;
}

void ScorePreviewWindow::ShowFirstPage() {
  if (m_score) m_score->SetWindow(nullptr);
  m_page = std::make_unique<notecraft::QPainterSurface>(m_score->PageWidthTwips(),
                                                        m_score->PageHeightTwips());
  m_score->SetWindow(m_page.get());
  if (m_score->CurPage() != 1) m_score->SetCurPage(1);
  const QImage* image = m_page->Image();
  if (!image) return;
  // Shown at the screen's own scale: the page's size in twips over twips per pixel.
  const TwipsPerPixel tpp = m_context.State.Tpp;
  const QSize size(static_cast<int>(m_score->PageWidthTwips() / tpp.X),
                   static_cast<int>(m_score->PageHeightTwips() / tpp.Y));
  m_picture->setPixmap(
      QPixmap::fromImage(image->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  m_picture->resize(size);
}

void ScorePreviewWindow::closeEvent(QCloseEvent* event) {
  if (m_frame) m_frame->UnRegister(m_tag);
  m_frame = nullptr;
  event->accept();
}

}  // namespace veltrimond
