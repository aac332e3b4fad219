// The product named on the command line chooses its settings file: the suite's own for
// "Veltrimond", a file of its own beside it for another product; names that could leave the
// settings folder are refused before any file is named.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "patchrunner/productsettings.h"
#include "platform/settingsstore.h"

namespace patchrunner {
namespace {

class ProductSettingsTest : public ::testing::Test {
protected:
  ProductSettingsTest() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }
  ~ProductSettingsTest() override { qunsetenv("XDG_CONFIG_HOME"); }
  QTemporaryDir m_config;
};

TEST_F(ProductSettingsTest, TheSuiteSharesItsFileAndOtherProductsHaveTheirOwn) {
  platform::WriteSetting(QStringLiteral("Main"), QStringLiteral("ID"), QStringLiteral("T482615"));
  ProductSettings suite(QStringLiteral("Veltrimond"));
  EXPECT_EQ(suite.FilePath(), platform::SettingsFilePath());
  EXPECT_EQ(ProductSettings(QStringLiteral("VELTRIMOND")).FilePath(), platform::SettingsFilePath());
  EXPECT_EQ(ReadProductInfo(QStringLiteral("Veltrimond"), suite).code, QStringLiteral("T482615"));

  ProductSettings other(QStringLiteral("Other Product"));
  EXPECT_EQ(other.FilePath(),
            m_config.path() + QStringLiteral("/Quorvane Software Inc/Other Product.ini"));
  other.Write(QStringLiteral("Main"), QStringLiteral("Update"), QStringLiteral("SP4, final"));
  EXPECT_EQ(other.Read(QStringLiteral("Main"), QStringLiteral("Update")),
            QStringLiteral("SP4, final"));
  EXPECT_EQ(suite.Read(QStringLiteral("Main"), QStringLiteral("Update"), QStringLiteral("none")),
            QStringLiteral("none"));
}

TEST(IsValidProductName, OnlyNamesThatStayAFileName) {
  for (const char* good : {"Veltrimond", "Other Product", "v2.1_beta-3"}) {
    EXPECT_TRUE(IsValidProductName(QString::fromLatin1(good))) << good;
  }
  for (const char* bad : {"", "../x", "a/b", "..", "a\\b", " lead", "x\ty", "a..b"}) {
    EXPECT_FALSE(IsValidProductName(QString::fromLatin1(bad))) << bad;
  }
  EXPECT_FALSE(IsValidProductName(QString(65, u'a')));
}

}  // namespace
}  // namespace patchrunner
