#pragma once
// guidefetch's command line: the help folder, "/P" with the product code and "/K" with the
// product name, all three required. A switch is "/" and a letter in either case, its value
// the next argument ("/P T482615") or, once the folder is known, the rest of the same
// argument ("/PT482615"); a Linux folder starts with "/" too, so before the folder only a
// bare two-character switch counts as one. Other switches are ignored with their values.

#include <QString>
#include <QStringList>
#include <optional>

namespace guidefetch {

struct HelpCommandLine {
  QString helpFolder;   // absolute
  QString productCode;  // upper case, letters and digits only (it forms a URL path)
  QString productName;
};

// Nothing when a value is missing or the product code holds other characters.
std::optional<HelpCommandLine> ParseHelpCommandLine(const QStringList& arguments);

}  // namespace guidefetch
