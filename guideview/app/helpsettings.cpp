#include "guideview/app/helpsettings.h"

#include <algorithm>

#include "platform/settingsstore.h"

namespace guideview {

QString HelpSettingsSection(const QString& product) {
  if (product == QLatin1String("Veltrimond")) return QStringLiteral("Help");
  return product + QStringLiteral("/Help");
}

HelpPlacement ReadHelpPlacement(const QString& product) {
  const QString section = HelpSettingsSection(product);
  // Older files may hold decimals ("9000.5"); whole twips are enough. A value edited out of
  // all reason is clamped before it becomes an int.
  auto number = [&](const char* key, int fallback) {
    double value = platform::ReadSettingDouble(section, key, fallback);
    return static_cast<int>(std::clamp(value, -1.0e7, 1.0e7));
  };
  HelpPlacement p;
  p.rect.height = number("Height", 0);
  p.rect.width = number("Width", 0);
  p.rect.left = number("Left", 0);
  p.rect.top = number("Top", 0);
  p.split = number("Split", kDefaultSplit);
  p.maximized = platform::ReadSettingBool(section, "Maximized", false);
  return p;
}

void WriteHelpPlacement(const QString& product, const HelpPlacement& placement) {
  const QString section = HelpSettingsSection(product);
  platform::WriteSetting(section, "Maximized", placement.maximized);
  platform::WriteSetting(section, "Height", placement.rect.height);
  platform::WriteSetting(section, "Width", placement.rect.width);
  platform::WriteSetting(section, "Left", placement.rect.left);
  platform::WriteSetting(section, "Top", placement.rect.top);
  platform::WriteSetting(section, "Split", placement.split);
}

}  // namespace guideview
