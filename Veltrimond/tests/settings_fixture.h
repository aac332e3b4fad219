#pragma once
// Every test gets its own settings file, data folder and runtime folder: XDG_CONFIG_HOME,
// XDG_DATA_HOME and XDG_RUNTIME_DIR point into a temporary folder for the test's length.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace veltrimond::testing {

class SettingsFixture : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  QString Folder() const { return m_dir->path(); }
  // The settings file's text ("" before anything was written).
  QString SettingsText() const;

private:
  std::unique_ptr<QTemporaryDir> m_dir;
  QByteArray m_oldConfig;
  QByteArray m_oldData;
  QByteArray m_oldRuntime;
};

}  // namespace veltrimond::testing
