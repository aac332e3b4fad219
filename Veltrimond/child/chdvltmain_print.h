#pragma once
// Printing a score window: File > Print (the print dialog on the page shown, then the range
// chosen) and the toolbar's Print (every page, no dialog), on a CUPS printer or a PDF file.
// The layout is finished before the dialog, so the dialog offers, and "All" prints, every
// page of the score, not only those background pagination had reached.

#include <QString>
#include <functional>
#include <optional>

#include "Veltrimond/core/pagecommands.h"

class QPrinter;
class QWidget;

namespace notecraft {
class Score;
}  // namespace notecraft

namespace veltrimond {

// What the print dialog answered: a page range typed, or every page.
struct PrintChoice {
  bool PageRange = false;
  int From = 0;
  int To = 0;
};

// The print dialog on printer, offering offer's pages; nothing when cancelled. Print to file
// stays available: a PDF file is a common target here.
std::optional<PrintChoice> RunPrintDialog(QWidget* parent, QPrinter& printer,
                                          const PrintRangeOffer& offer);

class ScorePrinting {
public:
  using PrintPrompt =
      std::function<std::optional<PrintChoice>(QPrinter& printer, const PrintRangeOffer& offer)>;
  using Message = std::function<void(const QString& title, const QString& text)>;

  // Not owned; the score outlives this object.
  explicit ScorePrinting(notecraft::Score& score);

  void SetPrintPrompt(PrintPrompt prompt) { m_prompt = std::move(prompt); }
  void SetMessage(Message message) { m_message = std::move(message); }

  // File > Print on printer. True when pages were printed; false when cancelled or when the
  // print failed (told in a message titled "Print").
  bool Print(QPrinter& printer, QWidget* dialogParent = nullptr);
  // The toolbar's Print: every page on printer as it is set up.
  bool PrintAll(QPrinter& printer);
  // The range of the last print that started; {0, 0} before any.
  PageSpan LastRange() const { return m_lastRange; }

private:
  bool PrintRange(QPrinter& printer, PageSpan span);

  notecraft::Score& m_score;
  PrintPrompt m_prompt;
  Message m_message;
  PageSpan m_lastRange{0, 0};
};

}  // namespace veltrimond
