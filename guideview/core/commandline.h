#pragma once
// The viewer's command line as an argument list: the contents page, then switches "/K" product,
// "/T" window title and "/I" tab ("IX" opens the index), each letter in any case and its value
// either joined to it ("/Kname") or in the next argument. A path such as "/home/a/default.htm"
// is no switch: a switch's own value never holds a "/".

#include <string>
#include <vector>

namespace guideview {

inline constexpr const char* kDefaultProduct = "guideview";

struct HelpViewerCommandLine {
  std::string contentsFile;
  std::string product = kDefaultProduct;      // names the settings group, see SafeProductName
  std::string windowTitle = kDefaultProduct;  // the caption, and the single-instance name
  bool openOnIndex = false;
};

// Words that follow a value without a switch of their own are added to it after a blank, so an
// unquoted "/T Veltrimond - Help" reads as one title. A later switch of the same letter wins.
HelpViewerCommandLine ParseHelpViewerCommandLine(const std::vector<std::string>& args);

// The product when it is a harmless name (letters, digits, blank, ".", "_", "-"; no ".."; at most
// 64 characters; not starting with "." or a blank), else the viewer's own product name. It names a
// settings location, so it must never reach a path or a settings group of another shape.
std::string SafeProductName(const std::string& product);

}  // namespace guideview
