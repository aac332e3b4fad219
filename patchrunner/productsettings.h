#pragma once
// The settings of the product named on the command line: the suite's own settings file for
// "Veltrimond", else a file of that name beside it (one file per product, as one registry key
// per product was). The name must pass IsValidProductName first.

#include "patchrunner/productinfo.h"

namespace patchrunner {

class ProductSettings final : public SettingsAccess {
public:
  explicit ProductSettings(QString productName);

  QString FilePath() const;
  QString Read(const QString& section, const QString& key,
               const QString& defaultValue = {}) const override;
  void Write(const QString& section, const QString& key, const QString& value) override;

private:
  bool IsSuite() const;

  QString m_product;
};

}  // namespace patchrunner
