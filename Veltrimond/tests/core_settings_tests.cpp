// What the editor keeps in the settings file at start-up, for the options and after opening
// a file, each against a settings file of its own.
#include <gtest/gtest.h>

#include "Veltrimond/core/openedfile.h"
#include "Veltrimond/core/optionsettings.h"
#include "Veltrimond/core/startupseeds.h"
#include "platform/settingsstore.h"
#include "qstring_printer.h"
#include "settings_fixture.h"

namespace veltrimond {
namespace {

using platform::ReadSetting;
using platform::WriteSetting;

class EditorSettings : public testing::SettingsFixture {};

TEST_F(EditorSettings, FirstRunSeedsTheProductValues) {
  SeedMainSettings(QStringLiteral("0.1.0"),
                   QStringLiteral("/home/u/.local/share/veltrimond/Styles"));
  EXPECT_EQ(ReadSetting("Main", "ID"), "T482615");
  EXPECT_EQ(ReadSetting("Main", "Build"), "1101");
  EXPECT_EQ(ReadSetting("Main", "Version"), "0.1.0");
  EXPECT_EQ(ReadSetting("Main", "Styles"), "/home/u/.local/share/veltrimond/Styles");
}

TEST_F(EditorSettings, SeedingNeverReplacesAValue) {
  WriteSetting("Main", "ID", QStringLiteral("X1"));
  WriteSetting("Main", "Build", QStringLiteral("2000"));
  WriteSetting("Main", "Version", QStringLiteral("0.0.9"));
  WriteSetting("Main", "Styles", QStringLiteral("/srv/styles"));
  SeedMainSettings(QStringLiteral("0.1.0"), QStringLiteral("/elsewhere"));
  EXPECT_EQ(ReadSetting("Main", "ID"), "X1");
  EXPECT_EQ(ReadSetting("Main", "Build"), "2000");
  EXPECT_EQ(ReadSetting("Main", "Version"), "0.0.9");
  EXPECT_EQ(ReadSetting("Main", "Styles"), "/srv/styles");
  // The sentinel a companion program may leave counts as unset.
  WriteSetting("Main", "Styles", QStringLiteral("%NONE"));
  SeedMainSettings(QStringLiteral("0.1.0"), QStringLiteral("/elsewhere"));
  EXPECT_EQ(ReadSetting("Main", "Styles"), "/elsewhere");
}

TEST_F(EditorSettings, OptionsHaveTheirDefaultsAndSurviveARoundTrip) {
  EXPECT_EQ(LoadOptionSettings(), OptionSettings{});
  EXPECT_EQ(OptionSettings{}.Color[1], 0 + 30 * 256 + 220 * 65536);
  OptionSettings changed;
  changed.UOM = 1;
  changed.StaffHeight = 0.3;
  changed.Margin = {1.25, 0.5, 0.75, 0.6};
  changed.Color[4] = PackRgb(1, 2, 3);
  changed.PageNumbering1 = false;
  SaveOptionSettings(changed);
  EXPECT_EQ(LoadOptionSettings(), changed);
  // Invariant numbers whatever the locale.
  EXPECT_EQ(ReadSetting("Options", "StaffHeight"), "0.3");
  EXPECT_EQ(ReadSetting("Options", "PageNumbering1"), "False");
}

TEST_F(EditorSettings, DamagedOptionsFallBackKeyByKey) {
  WriteSetting("Options", "UOM", QStringLiteral("7"));        // no such unit
  WriteSetting("Options", "PageSize", QStringLiteral("-1"));  // no such paper
  WriteSetting("Options", "StaffHeight", QStringLiteral("abc"));
  WriteSetting("Options", "Color2", QStringLiteral("99999999"));  // more than three bytes
  WriteSetting("Options", "Margin3", QStringLiteral("0,8"));      // an older locale's form
  WriteSetting("Options", "ReverseEvenOdd", QStringLiteral("maybe"));
  const OptionSettings o = LoadOptionSettings();
  const OptionSettings d;
  EXPECT_EQ(o.UOM, d.UOM);
  EXPECT_EQ(o.PageSize, d.PageSize);
  EXPECT_DOUBLE_EQ(o.StaffHeight, d.StaffHeight);
  EXPECT_EQ(o.Color[2], d.Color[2]);
  EXPECT_EQ(o.ReverseEvenOdd, d.ReverseEvenOdd);
  // "0,8" is either the default or 0.8, never a third value.
  EXPECT_TRUE(o.Margin[3] == d.Margin[3] || o.Margin[3] == 0.8);
}

TEST_F(EditorSettings, LengthsPastAnyPaperFallBackToTheirDefaults) {
  const struct {
    const char* key;
    const char* stored;
  } cases[] = {{"Margin0", "1e12"},     {"Margin1", "-0.5"},      {"StaffHeight", "1e308"},
               {"StaffSpacing", "inf"}, {"SystemSpacing", "nan"}, {"Margin2", "100.5"}};
  for (const auto& c : cases) WriteSetting("Options", c.key, QString::fromLatin1(c.stored));
  WriteSetting("Options", "Margin3", QStringLiteral("100"));  // the longest length kept
  const OptionSettings o = LoadOptionSettings();
  const OptionSettings d;
  EXPECT_EQ(o.Margin[0], d.Margin[0]);
  EXPECT_EQ(o.Margin[1], d.Margin[1]);
  EXPECT_EQ(o.Margin[2], d.Margin[2]);
  EXPECT_EQ(o.Margin[3], 100);
  EXPECT_EQ(o.StaffHeight, d.StaffHeight);
  EXPECT_EQ(o.StaffSpacing, d.StaffSpacing);
  EXPECT_EQ(o.SystemSpacing, d.SystemSpacing);
}

TEST_F(EditorSettings, OpeningAFileRemembersItsFolderAndKind) {
  struct Case {
    const char* Path;
    int Requested;
    int Type;
  } cases[] = {
      {"/m/Song.SCO", 0, 1}, {"/m/song.mid", 0, 2}, {"/m/song.midi", 0, 2}, {"/m/noext", 0, 2},
      {"/m/a.sco", 2, 2},    {"/m/a.mid", 1, 1},    {"/m/a.sco", 3, 1},  // "all files" is not a
                                                                         // kind: the name decides
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Path);
    const int type = ScoreFileTypeOf(c.Path, c.Requested);
    EXPECT_EQ(type, c.Type);
    RememberOpenedFile(c.Path, type);
    EXPECT_EQ(platform::ReadSettingInt("Files", "Type", -1), c.Type);
    EXPECT_EQ(ReadSetting("Files", "Path"), "/m/");
  }
  EXPECT_EQ(OpenDialogFilterIndex(), 1);
  WriteSetting("Files", "Type", QStringLiteral("9"));
  EXPECT_EQ(OpenDialogFilterIndex(), 1);
  EXPECT_EQ(OpenDialogFolder("/fallback"), "/fallback");  // /m/ does not exist
  EXPECT_EQ(OpenDialogFolder("/x"), "/x");
}

}  // namespace
}  // namespace veltrimond
