#pragma once
// The score's printer over a QPrinter: a CUPS printer, or a PDF file when the printer's
// output format is PDF. The printer is set up with the score's paper and started when the
// score begins its print job.

#include <memory>

#include "notecraft/view/printtarget.h"

class QPrinter;

namespace notecraft {

class QPainterSurface;

class QPrinterTarget final : public PrintTarget {
public:
  // The host owns the printer and keeps it alive for the print.
  explicit QPrinterTarget(QPrinter& printer);
  ~QPrinterTarget() override;

  Surface* BeginJob(const PrintSettings& settings) override;
  void EndJob() override;

private:
  QPrinter& m_printer;
  std::unique_ptr<QPainterSurface> m_surface;
};

}  // namespace notecraft
