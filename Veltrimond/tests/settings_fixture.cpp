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
  m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
  QDir(m_dir->path()).mkpath(QStringLiteral("config"));
  QDir(m_dir->path()).mkpath(QStringLiteral("data"));
  // The single-instance channels live in the runtime folder: tests running side by side
  // must not answer each other's "show".
  const QString runtime = m_dir->path() + QStringLiteral("/run");
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/config")));
  qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/data")));
}

void SettingsFixture::TearDown() {
  qputenv("XDG_CONFIG_HOME", m_oldConfig);
  qputenv("XDG_DATA_HOME", m_oldData);
  if (m_oldRuntime.isNull())
    qunsetenv("XDG_RUNTIME_DIR");
  else
    qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
  m_dir.reset();
}

QString SettingsFixture::SettingsText() const {
  QFile file(platform::SettingsFilePath());
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace veltrimond::testing
