#pragma once
// The styles of a folder, and opening one style file for the editor's own use: without the
// engine's message box (a damaged style is reported by the caller, once) and without
// entering the desktop's recent documents.

#include <memory>
#include <string>
#include <vector>

#include "Veltrimond/styles/styleentry.h"

namespace notecraft {
class Score;
}

namespace veltrimond::styles {

// Opens the style file at path into a new score. Null, with *why set to the engine's
// explanation, when the file cannot be read.
std::unique_ptr<notecraft::Score> OpenStyle(const std::string& path, std::string* why = nullptr);

struct SkippedStyle {
  std::string file;  // the file name
  std::string why;
};

struct StyleTable {
  std::vector<StyleEntry> entries;  // in file-name order
  std::vector<SkippedStyle> skipped;
};

// Every "*.sty" file of folder, in name order. A file that does not open, or that has no
// staff or voice to insert from, is left out and listed in skipped. An empty or missing
// folder gives an empty table.
StyleTable LoadStyleTable(const std::string& folder);

// folder + "/" + name + ".sty".
std::string StyleFilePath(const std::string& folder, const std::string& name);

}  // namespace veltrimond::styles
