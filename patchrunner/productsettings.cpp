#include "patchrunner/productsettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "platform/settingsstore.h"

namespace patchrunner {

ProductSettings::ProductSettings(QString productName) : m_product(std::move(productName)) {}

bool ProductSettings::IsSuite() const {
  // Registry keys never told letter cases apart; the suite's name keeps doing so.
  return QFileInfo(platform::SettingsFilePath())
             .completeBaseName()
             .compare(m_product, Qt::CaseInsensitive) == 0;
}

QString ProductSettings::FilePath() const {
  if (IsSuite()) return platform::SettingsFilePath();
  return QFileInfo(platform::SettingsFilePath()).path() + u'/' + m_product + QStringLiteral(".ini");
}

QString ProductSettings::Read(const QString& section, const QString& key,
                              const QString& defaultValue) const {
  if (IsSuite()) return platform::ReadSetting(section, key, defaultValue);
  const QSettings settings(FilePath(), QSettings::IniFormat);
  const QVariant value = settings.value(section + u'/' + key);
  if (!value.isValid()) return defaultValue;
  // An unquoted comma makes the INI reader return a list; the setting is the text as written.
  if (value.userType() == QMetaType::QStringList) return value.toStringList().join(u',');
  return value.toString();
}

void ProductSettings::Write(const QString& section, const QString& key, const QString& value) {
  if (IsSuite()) {
    platform::WriteSetting(section, key, value);
    return;
  }
  QSettings settings(FilePath(), QSettings::IniFormat);
  settings.setValue(section + u'/' + key, value);
  settings.sync();
}

}  // namespace patchrunner
