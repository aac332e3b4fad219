#include "Veltrimond/core/optionsettings.h"

#include <QString>

#include "platform/settingsstore.h"

namespace veltrimond {

namespace {

const QString kOptions = QStringLiteral("Options");

QString Numbered(const char* key, std::size_t n) {
  return QString::fromLatin1(key) + QString::number(n);
}

// A length in inches as a page could hold it; anything else (negative, or edited past any
// paper) gives the default.
double ReadLength(const QString& key, double defaultValue) {
  const double inches = platform::ReadSettingDouble(kOptions, key, defaultValue);
  return inches >= 0 && inches <= kMaxOptionInches ? inches : defaultValue;
}

}  // namespace

OptionSettings LoadOptionSettings() {
  using namespace platform;
  const OptionSettings d;
  OptionSettings o;
  o.UOM = ReadSettingIndex(kOptions, QStringLiteral("UOM"), d.UOM, 0, 1);
  o.PageSize = ReadSettingIndex(kOptions, QStringLiteral("PageSize"), d.PageSize, 0, kLastPageSize);
  o.StaffHeight = ReadLength(QStringLiteral("StaffHeight"), d.StaffHeight);
  o.StaffSpacing = ReadLength(QStringLiteral("StaffSpacing"), d.StaffSpacing);
  o.SystemSpacing = ReadLength(QStringLiteral("SystemSpacing"), d.SystemSpacing);
  o.ReverseEvenOdd = ReadSettingBool(kOptions, QStringLiteral("ReverseEvenOdd"), d.ReverseEvenOdd);
  o.PageNumbering = ReadSettingBool(kOptions, QStringLiteral("PageNumbering"), d.PageNumbering);
  o.PageNumbering1 = ReadSettingBool(kOptions, QStringLiteral("PageNumbering1"), d.PageNumbering1);
  for (std::size_t i = 0; i < o.Color.size(); ++i) {
    const int value = ReadSettingInt(kOptions, Numbered("Color", i), d.Color[i]);
    // An RGB value packs three bytes; anything else is not a colour.
    o.Color[i] = value >= 0 && value <= 0xFFFFFF ? value : d.Color[i];
  }
  for (std::size_t i = 0; i < o.Margin.size(); ++i)
    o.Margin[i] = ReadLength(Numbered("Margin", i), d.Margin[i]);
  return o;
}

void SaveOptionSettings(const OptionSettings& o) {
  platform::SettingsBatch batch;
  batch.Write(kOptions, QStringLiteral("UOM"), o.UOM);
  batch.Write(kOptions, QStringLiteral("PageSize"), o.PageSize);
  batch.Write(kOptions, QStringLiteral("StaffHeight"), o.StaffHeight);
  batch.Write(kOptions, QStringLiteral("StaffSpacing"), o.StaffSpacing);
  batch.Write(kOptions, QStringLiteral("SystemSpacing"), o.SystemSpacing);
  for (std::size_t i = 0; i < o.Color.size(); ++i)
    batch.Write(kOptions, Numbered("Color", i), static_cast<int>(o.Color[i]));
  for (std::size_t i = 0; i < o.Margin.size(); ++i)
    batch.Write(kOptions, Numbered("Margin", i), o.Margin[i]);
  batch.Write(kOptions, QStringLiteral("ReverseEvenOdd"), o.ReverseEvenOdd);
  batch.Write(kOptions, QStringLiteral("PageNumbering"), o.PageNumbering);
  batch.Write(kOptions, QStringLiteral("PageNumbering1"), o.PageNumbering1);
}

}  // namespace veltrimond
