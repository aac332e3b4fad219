#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QSettings>

#include "platform/settingsstore.h"
#include "xdgsandbox.h"

namespace platform {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  // The file as another program of the suite (or an editor) would write it.
  void WriteRaw(const QByteArray& text) {
    const QString path = SettingsFilePath();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
  }

  QByteArray ReadRaw() {
    QFile file(SettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  testing::XdgSandbox sandbox_;
};

TEST_F(SettingsStoreTest, FileLivesInTheUsersConfigFolder) {
  EXPECT_EQ(SettingsFilePath(), sandbox_.ConfigHome() + "/Quorvane Software Inc/Veltrimond.ini");
  WriteSetting("Main", "ID", "T482615");
  EXPECT_TRUE(QFile::exists(SettingsFilePath()));
  EXPECT_TRUE(ReadRaw().contains("[Main]\nID=T482615"));
}

TEST_F(SettingsStoreTest, MissingKeysGiveTheirDefaults) {
  EXPECT_EQ(ReadSetting("Main", "Styles", "%NONE"), "%NONE");
  EXPECT_EQ(ReadSetting("Main", "Update"), "");
  EXPECT_EQ(ReadSettingInt("Devices", "PlayID", -1), -1);
  EXPECT_DOUBLE_EQ(ReadSettingDouble("Options", "StaffHeight", 0.28), 0.28);
  EXPECT_TRUE(ReadSettingBool("Main", "ToolBar", true));
  EXPECT_FALSE(ReadSettingBool("Main", "Maximized", false));
  EXPECT_FALSE(HasSetting("Main", "ToolBar"));

  // A stored empty string is a value, not a missing key.
  WriteSetting("History", "1Path", QString());
  EXPECT_TRUE(HasSetting("History", "1Path"));
  EXPECT_EQ(ReadSetting("History", "1Path", "default"), "");
}

TEST_F(SettingsStoreTest, ValuesRoundTripInTheirTextForm) {
  const QString longPath = "/home/user/" + QString(300, 'x') + "/Song with spaces, and comma.sco";
  WriteSetting("History", "1Path", longPath);
  WriteSetting("Main", "Update", "@Service Pack; 2 = \"final\"");
  WriteSetting("Main", "Styles", QString::fromUtf8("/home/jürgen/Stile"));
  WriteSetting("Options", "UOM", 1);
  WriteSetting("Devices", "PlayID", -1);
  WriteSetting("Options", "Color1", 0x00DC1E00L);
  WriteSetting("Options", "StaffHeight", 0.28);
  WriteSetting("Options", "SystemSpacing", 1.0);
  WriteSetting("Main", "Left", 1234.5);
  WriteSetting("Main", "ToolBar", false);
  WriteSetting("Options", "ReverseEvenOdd", true);

  EXPECT_EQ(ReadSetting("History", "1Path"), longPath);  // no length limit
  EXPECT_EQ(ReadSetting("Main", "Update"), "@Service Pack; 2 = \"final\"");
  EXPECT_EQ(ReadSetting("Main", "Styles"), QString::fromUtf8("/home/jürgen/Stile"));
  EXPECT_EQ(ReadSettingInt("Options", "UOM", 0), 1);
  EXPECT_EQ(ReadSettingInt("Devices", "PlayID", 0), -1);
  EXPECT_EQ(ReadSettingInt("Options", "Color1", 0), 0x00DC1E00);
  EXPECT_DOUBLE_EQ(ReadSettingDouble("Options", "StaffHeight", 0), 0.28);
  EXPECT_DOUBLE_EQ(ReadSettingDouble("Main", "Left", 0), 1234.5);
  EXPECT_FALSE(ReadSettingBool("Main", "ToolBar", true));
  EXPECT_TRUE(ReadSettingBool("Options", "ReverseEvenOdd", false));

  // Every value is stored as the plain text another program reads.
  EXPECT_EQ(ReadSetting("Options", "StaffHeight"), "0.28");
  EXPECT_EQ(ReadSetting("Options", "SystemSpacing"), "1");
  EXPECT_EQ(ReadSetting("Main", "ToolBar"), "False");
  EXPECT_EQ(ReadSetting("Options", "ReverseEvenOdd"), "True");
  const QByteArray raw = ReadRaw();
  EXPECT_TRUE(raw.contains("StaffHeight=0.28\n")) << raw.constData();
  EXPECT_TRUE(raw.contains("ToolBar=False\n")) << raw.constData();
}

TEST_F(SettingsStoreTest, NumbersIgnoreTheLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  WriteSetting("Options", "Margin2", 0.75);
  EXPECT_EQ(ReadSetting("Options", "Margin2"), "0.75");
  EXPECT_DOUBLE_EQ(ReadSettingDouble("Options", "Margin2", 0), 0.75);

  // A value an older version wrote in the user's locale still reads, as long as that
  // locale is the current one; the invariant form always wins.
  WriteSetting("Options", "Margin3", "0,5");
  EXPECT_DOUBLE_EQ(ReadSettingDouble("Options", "Margin3", 9), 0.5);
  QLocale::setDefault(QLocale::c());
  EXPECT_DOUBLE_EQ(ReadSettingDouble("Options", "Margin3", 9), 9);
  EXPECT_DOUBLE_EQ(ReadSettingDouble("Options", "Margin2", 9), 0.75);
}

TEST_F(SettingsStoreTest, UnparsableValuesFallBackToTheDefault) {
  struct Case {
    const char* text;
    int asInt;
    double asDouble;
    int asBool;  // 0 false, 1 true, -1 the default (here: false)
  };
  const Case cases[] = {
      {"", 7, 2.5, -1},
      {"abc", 7, 2.5, -1},
      {"12abc", 7, 2.5, -1},
      {"  42 ", 42, 42, 1},
      {"0", 0, 0, 0},
      {"-1", -1, -1, 1},
      {"1.5", 7, 1.5, -1},
      {"nan", 7, 2.5, -1},
      {"inf", 7, 2.5, -1},
      {"1e400", 7, 2.5, -1},
      {"99999999999", 7, 99999999999.0, 1},
      {"TRUE", 7, 2.5, 1},
      {"false", 7, 2.5, 0},
      {"yes", 7, 2.5, -1},
  };
  for (const Case& c : cases) {
    WriteSetting("Options", "Value", c.text);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadSettingInt("Options", "Value", 7), c.asInt);
    EXPECT_DOUBLE_EQ(ReadSettingDouble("Options", "Value", 2.5), c.asDouble);
    EXPECT_EQ(ReadSettingBool("Options", "Value", false), c.asBool == 1);
    if (c.asBool == -1) {
      EXPECT_TRUE(ReadSettingBool("Options", "Value", true));
    }
  }
}

TEST_F(SettingsStoreTest, IndexesOutsideTheirListGiveTheDefault) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {{"0", 0}, {"5", 5}, {"6", 2}, {"-1", 2}, {"x", 2}, {"2147483648", 2}};
  for (const auto& c : cases) {
    WriteSetting("Options", "PageSize", c.text);
    EXPECT_EQ(ReadSettingIndex("Options", "PageSize", 2, 0, 5), c.expected) << c.text;
  }
}

TEST_F(SettingsStoreTest, ProgramsShareTheFileWithoutLosingEachOthersValues) {
  WriteRaw("[Main]\nID=T482615\nPath=/opt/veltrimond\n\n[Help]\nLast=Index.htm\n");
  WriteSetting("Main", "Update", "SP1");
  {
    // Another program of the suite, through QSettings' own user-scope name.
    QSettings other(SettingsFilePath(), QSettings::IniFormat);
    other.setValue("Devices/PlayID", "3");
  }
  EXPECT_EQ(ReadSetting("Main", "ID"), "T482615");
  EXPECT_EQ(ReadSetting("Main", "Path"), "/opt/veltrimond");
  EXPECT_EQ(ReadSetting("Help", "Last"), "Index.htm");
  EXPECT_EQ(ReadSetting("Main", "Update"), "SP1");
  EXPECT_EQ(ReadSettingInt("Devices", "PlayID", -1), 3);
}

TEST_F(SettingsStoreTest, BatchWritesLandTogetherWhenItEnds) {
  WriteSetting("Main", "ID", "T482615");
  {
    SettingsBatch batch;
    batch.Write("Main", "Left", 1200.5);
    batch.Write("Main", "Maximized", true);
    batch.Write("Children", "Maximized", false);
    batch.Write("Devices", "PlayID", -1L);
    batch.Write("Main", "Update", "SP2");
  }
  EXPECT_EQ(ReadSetting("Main", "ID"), "T482615");
  EXPECT_EQ(ReadSetting("Main", "Left"), "1200.5");
  EXPECT_EQ(ReadSetting("Main", "Maximized"), "True");
  EXPECT_EQ(ReadSetting("Children", "Maximized"), "False");
  EXPECT_EQ(ReadSettingInt("Devices", "PlayID", 0), -1);
  EXPECT_EQ(ReadSetting("Main", "Update"), "SP2");
}

TEST_F(SettingsStoreTest, HandEditedListValuesReadAsTheirText) {
  WriteRaw("[Main]\nStyles=/home/a,b/Styles\n");
  EXPECT_EQ(ReadSetting("Main", "Styles"), "/home/a,b/Styles");
}

TEST_F(SettingsStoreTest, AnUnwritableFolderDropsWritesQuietly) {
  // The config folder's name is taken by a plain file.
  QDir(sandbox_.ConfigHome()).removeRecursively();
  QFile blocker(sandbox_.ConfigHome());
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  WriteSetting("Main", "ToolBar", false);
  EXPECT_TRUE(ReadSettingBool("Main", "ToolBar", true));
}

}  // namespace
}  // namespace platform
