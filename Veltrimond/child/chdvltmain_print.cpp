#include "Veltrimond/child/chdvltmain_print.h"

#include <QGuiApplication>
#include <QObject>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include "notecraft/core/enums.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/qprintertarget.h"

namespace veltrimond {

std::optional<PrintChoice> RunPrintDialog(QWidget* parent, QPrinter& printer,
                                          const PrintRangeOffer& offer) {
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(offer.Min, offer.Max);
  dialog.setFromTo(offer.From, offer.To);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const bool range = dialog.printRange() == QAbstractPrintDialog::PageRange;
  return PrintChoice{range, dialog.fromPage(), dialog.toPage()};
}

ScorePrinting::ScorePrinting(notecraft::Score& score) : m_score(score) {}

bool ScorePrinting::Print(QPrinter& printer, QWidget* dialogParent) {
  const int shown = m_score.CurPage();
  m_score.FinishPagination();
  const PrintRangeOffer offer = OfferPrintRange(shown, m_score.LastPage());
  printer.setPageOrientation(m_score.PageOrientation() == notecraft::pgeLandscape
                                 ? QPageLayout::Landscape
                                 : QPageLayout::Portrait);
  printer.setCopyCount(1);
  const std::optional<PrintChoice> choice =
      m_prompt ? m_prompt(printer, offer) : RunPrintDialog(dialogParent, printer, offer);
  if (!choice) return false;
  return PrintRange(printer, ChosenPrintRange(offer, choice->PageRange, choice->From, choice->To));
}

bool ScorePrinting::PrintAll(QPrinter& printer) {
  m_score.FinishPagination();
  return PrintRange(printer, {1, std::max(m_score.LastPage(), 1)});
}

bool ScorePrinting::PrintRange(QPrinter& printer, PageSpan span) {
  m_lastRange = span;
  bool printed = false;
  {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    notecraft::QPrinterTarget target(printer);
    printed = m_score.PrintScore(target, span.From, span.To);
    QGuiApplication::restoreOverrideCursor();
  }
  if (printed) return true;
  QString text = QObject::tr("The score could not be printed.");
  if (!printer.outputFileName().isEmpty())
    text = QObject::tr("The score could not be printed to %1.").arg(printer.outputFileName());
  const QString title = QObject::tr("Print");
  if (m_message) {
    m_message(title, text);
  } else {
    notecraft::CurrentPlatform().ShowMessage(title.toStdString(), text.toStdString());
  }
  return false;
}

}  // namespace veltrimond
