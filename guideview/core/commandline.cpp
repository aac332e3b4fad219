#include "guideview/core/commandline.h"

#include <optional>

#include "guideview/core/pagetext.h"

namespace guideview {

namespace {

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The switch letter (upper case) when the argument is one.
std::optional<char> SwitchLetter(const std::string& arg) {
  if (arg.size() < 2 || arg[0] != '/' || !IsLetter(arg[1])) return std::nullopt;
  if (arg.find('/', 1) != std::string::npos) return std::nullopt;
  return static_cast<char>(arg[1] >= 'a' ? arg[1] - 'a' + 'A' : arg[1]);
}

void AppendWord(std::string& value, const std::string& word) {
  if (!value.empty() && !word.empty()) value += ' ';
  value += word;
}

}  // namespace

HelpViewerCommandLine ParseHelpViewerCommandLine(const std::vector<std::string>& args) {
  HelpViewerCommandLine line;
  std::string product, title, tab;
  bool haveProduct = false, haveTitle = false;
  std::string* current = &line.contentsFile;  // where a loose word goes
  std::string ignored;
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto letter = SwitchLetter(args[i]);
    if (!letter) {
      AppendWord(*current, args[i]);
      continue;
    }
    std::string value = args[i].substr(2);
    bool valueInNext = value.empty() && i + 1 < args.size() && !SwitchLetter(args[i + 1]);
    if (valueInNext) value = args[++i];
    switch (*letter) {
      case 'K':
        product = value, haveProduct = true, current = &product;
        break;
      case 'T':
        title = value, haveTitle = true, current = &title;
        break;
      case 'I':
        tab = value, current = &tab;
        break;
      default:
        ignored.clear(), current = &ignored;
        break;
    }
  }
  line.contentsFile = std::string(TrimBlanks(line.contentsFile));
  // An empty value keeps the default: a window needs a caption to be found again by.
  if (haveProduct && !TrimBlanks(product).empty()) line.product = TrimBlanks(product);
  if (haveTitle && !TrimBlanks(title).empty()) line.windowTitle = TrimBlanks(title);
  line.openOnIndex = EqualsIgnoringCase(TrimBlanks(tab), "IX");
  return line;
}

std::string SafeProductName(const std::string& product) {
  if (product.empty() || product.size() > 64 || product.find("..") != std::string::npos ||
      product.front() == '.' || product.front() == ' ')
    return kDefaultProduct;
  for (char c : product) {
    bool ok = IsLetter(c) || (c >= '0' && c <= '9') || c == ' ' || c == '.' || c == '_' || c == '-';
    if (!ok) return kDefaultProduct;
  }
  return product;
}

}  // namespace guideview
