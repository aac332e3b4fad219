#include "settings_fixture.h"

#include <QDir>
#include <QFile>

#include "platform/settingsstore.h"

namespace veltrimond::testing {

void SettingsFixture::SetUp() {
  m_dir = std::make_unique<QTemporaryDir>();
  ASSERT_TRUE(m_dir->isValid());
  m_oldConfig = qgetenv("XDG_CONFIG_HOME");
  m_oldData = qgetenv("XDG_DATA_HOME");
  QDir(m_dir->path()).mkpath(QStringLiteral("config"));
  QDir(m_dir->path()).mkpath(QStringLiteral("data"));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/config")));
  qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/data")));
}

void SettingsFixture::TearDown() {
  qputenv("XDG_CONFIG_HOME", m_oldConfig);
  qputenv("XDG_DATA_HOME", m_oldData);
  m_dir.reset();
}

QString SettingsFixture::SettingsText() const {
  QFile file(platform::SettingsFilePath());
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace veltrimond::testing
