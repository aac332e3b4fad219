#include "Veltrimond/core/startupseeds.h"

#include "platform/settingsstore.h"

namespace veltrimond {

void SeedMainSettings(const QString& version, const QString& stylesFolder) {
  using namespace platform;
  const QString main = QStringLiteral("Main");
  if (ReadSetting(main, QStringLiteral("ID")).isEmpty())
    WriteSetting(main, QStringLiteral("ID"), QString::fromLatin1(kProductId));
  if (ReadSetting(main, QStringLiteral("Build")).isEmpty())
    WriteSetting(main, QStringLiteral("Build"), QString::fromLatin1(kBuildNumber));
  if (ReadSetting(main, QStringLiteral("Version")).isEmpty())
    WriteSetting(main, QStringLiteral("Version"), version);
  const QString none = QString::fromLatin1(kNoStylesFolder);
  if (ReadSetting(main, QStringLiteral("Styles"), none) == none)
    WriteSetting(main, QStringLiteral("Styles"), stylesFolder);
}

}  // namespace veltrimond
