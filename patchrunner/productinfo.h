#pragma once
// What the updater knows of the product it updates, read from the product's settings
// (section "Main"), and the settings it reads them through.

#include <QString>

namespace patchrunner {

// The product's settings by section and key; tests use an in-memory one.
class SettingsAccess {
public:
  virtual ~SettingsAccess() = default;
  virtual QString Read(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const = 0;
  virtual void Write(const QString& section, const QString& key, const QString& value) = 0;
};

struct ProductInfo {
  QString name;     // as named on the command line
  QString code;     // Main/ID
  QString build;    // Main/Build, "0000" when missing
  QString version;  // Main/Version, "0.0.0" when missing
  QString update;   // Main/Update, the installed pack ("" when none)
  QString path;     // Main/Path, the install folder
};

ProductInfo ReadProductInfo(const QString& name, const SettingsAccess& settings);

// The version label: the version, and " (<pack>)" when a pack is installed.
QString VersionCaption(const ProductInfo& product);

// A product name names a settings file, so only letters, digits, blanks, ".", "_" and "-",
// no "..", at most 64 characters.
bool IsValidProductName(const QString& name);

// Why the updater cannot run for this product (no code, a version that is not dot-separated
// numbers, no install folder), or empty.
QString CheckProduct(const ProductInfo& product);

}  // namespace patchrunner
