#pragma once
// A printer the score prints on: the host's printer object (a CUPS printer or a PDF file in
// the Qt part, a recording surface in tests). The score says which paper it wants; the
// target starts the job on it and hands back the surface to draw the pages on.

#include "notecraft/view/surface.h"

namespace notecraft {

struct PrintSettings {
  // Paper by the printer codes: 1 Letter, 5 Legal, 7 Executive, 9 A4, 11 A5; 0 a custom
  // paper of HeightTwips x WidthTwips (portrait terms).
  int PaperSize = 1;
  int Orientation = 1;  // 1 portrait, 2 landscape
  int HeightTwips = 0;
  int WidthTwips = 0;
  int Copies = 1;
};

class PrintTarget {
public:
  virtual ~PrintTarget() = default;
  // Sets the paper, orientation and copies and starts the job; the surface stays valid until
  // EndJob. Null when the printer cannot start.
  virtual Surface* BeginJob(const PrintSettings& settings) = 0;
  // Ends the job (without a blank last sheet).
  virtual void EndJob() = 0;
};

}  // namespace notecraft
