#include "notecraft/qt/qprintertarget.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "notecraft/qt/qpaintersurface.h"

namespace notecraft {

namespace {

QPageSize PageSizeFor(const PrintSettings& settings) {
  switch (settings.PaperSize) {
    case 5: return QPageSize(QPageSize::Legal);
    case 7: return QPageSize(QPageSize::Executive);
    case 9: return QPageSize(QPageSize::A4);
    case 11: return QPageSize(QPageSize::A5);
    case 0:
      if (settings.WidthTwips > 0 && settings.HeightTwips > 0)
        return QPageSize(QSizeF(settings.WidthTwips / 1440.0, settings.HeightTwips / 1440.0),
                         QPageSize::Inch, QStringLiteral("Custom"), QPageSize::ExactMatch);
      [[fallthrough]];
    default: return QPageSize(QPageSize::Letter);
  }
}

}  // namespace

QPrinterTarget::QPrinterTarget(QPrinter& printer) : m_printer(printer) {}

QPrinterTarget::~QPrinterTarget() = default;

Surface* QPrinterTarget::BeginJob(const PrintSettings& settings) {
  m_printer.setPageSize(PageSizeFor(settings));
  m_printer.setPageOrientation(settings.Orientation == 2 ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
  m_printer.setCopyCount(std::max(1, settings.Copies));
  // Coordinates from the paper's corner: the score keeps its own margins.
  m_printer.setFullPage(true);
  m_surface = std::make_unique<QPainterSurface>(&m_printer);
  if (!m_surface->IsActive()) {
    m_surface.reset();
    return nullptr;
  }
  return m_surface.get();
}

void QPrinterTarget::EndJob() { m_surface.reset(); }

}  // namespace notecraft
