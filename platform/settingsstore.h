#pragma once
// The suite's settings: one INI file per user that every program of the suite shares,
// grouped by section ("Main", "Options", "History", ...) with string values.
//
// Numbers are written in the invariant "." form and booleans as "True"/"False", so the file
// reads the same under any locale. Typed reads never fail: a missing or unparsable value
// gives the caller's default. Each call opens the file afresh, so a value another program
// of the suite wrote is seen at once; writes are saved atomically before the call returns.

#include <QString>
#include <memory>

class QSettings;

namespace platform {

// $XDG_CONFIG_HOME/Quorvane Software Inc/Veltrimond.ini ($HOME/.config when unset): the
// file QSettings(IniFormat, UserScope, "Quorvane Software Inc", "Veltrimond") uses too.
QString SettingsFilePath();

// The stored text, whole; the default when the key is missing.
QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue = {});
// Decimal integers; the default when missing or unparsable.
int ReadSettingInt(const QString& section, const QString& key, int defaultValue);
// The invariant form first, then the current locale's (files written by older versions).
// Infinity and NaN are not numbers a setting can hold: they give the default.
double ReadSettingDouble(const QString& section, const QString& key, double defaultValue);
// "True"/"False" in any letter case, or an integer (non-zero is true).
bool ReadSettingBool(const QString& section, const QString& key, bool defaultValue);
// For values used as an index into a fixed list: the default unless first <= value <= last.
int ReadSettingIndex(const QString& section, const QString& key, int defaultValue, int first,
                     int last);

void WriteSetting(const QString& section, const QString& key, const QString& value);
void WriteSetting(const QString& section, const QString& key, const char* value);
void WriteSetting(const QString& section, const QString& key, int value);
void WriteSetting(const QString& section, const QString& key, long value);
void WriteSetting(const QString& section, const QString& key, long long value);
void WriteSetting(const QString& section, const QString& key, double value);
void WriteSetting(const QString& section, const QString& key, bool value);

// True when the key is stored (with any value, even an empty one).
bool HasSetting(const QString& section, const QString& key);

// Many writes with one save of the file, when the batch ends (each WriteSetting saves the
// file, which takes a disk flush): the frame's placement at close, the Defaults dialog.
class SettingsBatch {
public:
  SettingsBatch();
  ~SettingsBatch();
  SettingsBatch(const SettingsBatch&) = delete;
  SettingsBatch& operator=(const SettingsBatch&) = delete;

  void Write(const QString& section, const QString& key, const QString& value);
  void Write(const QString& section, const QString& key, const char* value);
  void Write(const QString& section, const QString& key, int value);
  void Write(const QString& section, const QString& key, long value);
  void Write(const QString& section, const QString& key, long long value);
  void Write(const QString& section, const QString& key, double value);
  void Write(const QString& section, const QString& key, bool value);

private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace platform
