#include "platform/settingsstore.h"

#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <cmath>

namespace platform {

namespace {

const char kOrganisation[] = "Quorvane Software Inc";
const char kApplication[] = "Veltrimond";

// QSettings' own user-scope path is computed once per process; opening the file by its path
// follows XDG_CONFIG_HOME as it is now (tests point it at a temporary folder).
QSettings Open() {
  return QSettings(SettingsFilePath(), QSettings::IniFormat);
}

QString GroupKey(const QString& section, const QString& key) {
  return section + '/' + key;
}

// A value edited by hand may hold unquoted commas, which the INI reader returns as a list;
// the setting is the text as written.
QString AsText(const QVariant& value) {
  if (value.userType() == QMetaType::QStringList) return value.toStringList().join(',');
  return value.toString();
}

bool ReadText(const QString& section, const QString& key, QString* text) {
  QSettings settings = Open();
  const QVariant value = settings.value(GroupKey(section, key));
  if (!value.isValid()) return false;
  *text = AsText(value).trimmed();
  return true;
}

QString NumberText(double value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

}  // namespace

QString SettingsFilePath() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (base.isEmpty()) base = QDir::homePath() + "/.config";
  return base + '/' + kOrganisation + '/' + kApplication + ".ini";
}

QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) {
  QSettings settings = Open();
  const QVariant value = settings.value(GroupKey(section, key));
  return value.isValid() ? AsText(value) : defaultValue;
}

int ReadSettingInt(const QString& section, const QString& key, int defaultValue) {
  QString text;
  if (!ReadText(section, key, &text)) return defaultValue;
  bool ok = false;
  const int value = text.toInt(&ok);
  return ok ? value : defaultValue;
}

double ReadSettingDouble(const QString& section, const QString& key, double defaultValue) {
  QString text;
  if (!ReadText(section, key, &text)) return defaultValue;
  bool ok = false;
  double value = QLocale::c().toDouble(text, &ok);
  // The user's locale, unless the program chose another.
  if (!ok) value = QLocale().toDouble(text, &ok);
  return ok && std::isfinite(value) ? value : defaultValue;
}

bool ReadSettingBool(const QString& section, const QString& key, bool defaultValue) {
  QString text;
  if (!ReadText(section, key, &text)) return defaultValue;
  if (text.compare("True", Qt::CaseInsensitive) == 0) return true;
  if (text.compare("False", Qt::CaseInsensitive) == 0) return false;
  bool ok = false;
  const long long number = text.toLongLong(&ok);
  return ok ? number != 0 : defaultValue;
}

int ReadSettingIndex(const QString& section, const QString& key, int defaultValue, int first,
                     int last) {
  const int value = ReadSettingInt(section, key, defaultValue);
  return value >= first && value <= last ? value : defaultValue;
}

void WriteSetting(const QString& section, const QString& key, const QString& value) {
  SettingsBatch().Write(section, key, value);
}

void WriteSetting(const QString& section, const QString& key, const char* value) {
  SettingsBatch().Write(section, key, value);
}

void WriteSetting(const QString& section, const QString& key, int value) {
  SettingsBatch().Write(section, key, value);
}

void WriteSetting(const QString& section, const QString& key, long value) {
  SettingsBatch().Write(section, key, value);
}

void WriteSetting(const QString& section, const QString& key, long long value) {
  SettingsBatch().Write(section, key, value);
}

void WriteSetting(const QString& section, const QString& key, double value) {
  SettingsBatch().Write(section, key, value);
}

void WriteSetting(const QString& section, const QString& key, bool value) {
  SettingsBatch().Write(section, key, value);
}

SettingsBatch::SettingsBatch()
    : settings_(std::make_unique<QSettings>(SettingsFilePath(), QSettings::IniFormat)) {}

SettingsBatch::~SettingsBatch() {
  settings_->sync();
}

void SettingsBatch::Write(const QString& section, const QString& key, const QString& value) {
  settings_->setValue(GroupKey(section, key), value);
}

void SettingsBatch::Write(const QString& section, const QString& key, const char* value) {
  Write(section, key, QString::fromUtf8(value));
}

void SettingsBatch::Write(const QString& section, const QString& key, int value) {
  Write(section, key, QString::number(value));
}

void SettingsBatch::Write(const QString& section, const QString& key, long value) {
  Write(section, key, QString::number(value));
}

void SettingsBatch::Write(const QString& section, const QString& key, long long value) {
  Write(section, key, QString::number(value));
}

void SettingsBatch::Write(const QString& section, const QString& key, double value) {
  Write(section, key, NumberText(value));
}

void SettingsBatch::Write(const QString& section, const QString& key, bool value) {
  Write(section, key, QString(value ? "True" : "False"));
}

bool HasSetting(const QString& section, const QString& key) {
  QSettings settings = Open();
  return settings.contains(GroupKey(section, key));
}

}  // namespace platform
