#pragma once
// pdfinfo's page count of a PDF file (poppler-utils); -1 when pdfinfo cannot be run.

#include <cstdio>
#include <string>

namespace notecraft::testing {

inline int PdfPages(const std::string& file) {
  const std::string command = "pdfinfo '" + file + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  int pages = -1;
  char line[512];
  while (fgets(line, sizeof line, pipe)) {
    int n = 0;
    if (std::sscanf(line, "Pages: %d", &n) == 1) pages = n;
  }
  const int status = pclose(pipe);
  return status == 0 ? pages : -1;
}

}  // namespace notecraft::testing
