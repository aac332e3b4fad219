// The Defaults dialog without its widgets: lengths in both units, the colour boxes, the
// device choice, and what Apply, OK and Cancel leave in the editor's state and settings.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "Veltrimond/options/measureunits.h"
#include "Veltrimond/options/optionsmodel.h"
#include "platform/settingsstore.h"
#include "qstring_printer.h"
#include "settings_fixture.h"

namespace veltrimond {
namespace {

using platform::HasSetting;
using platform::ReadSetting;
using platform::WriteSetting;

TEST(MeasureUnits, FormatsAndParsesLengths) {
  struct Format {
    int to;
    double value;
    int from;
    const char* text;
  };
  for (const Format& f : std::initializer_list<Format>{
           {kUnitMillimetres, 1, kUnitInches, "25.4mm"},
           {kUnitInches, 1440, kUnitTwips, "1\""},
           {kUnitInches, 0.28, kUnitInches, "0.28\""},
           {kUnitMillimetres, 0.55, kUnitInches, "14mm"},
           {kUnitInches, 25.4, kUnitMillimetres, "1\""},
           {kUnitMillimetres, 567, kUnitTwips, "10mm"}}) {
    EXPECT_EQ(FormatMeasure(f.to, f.value, f.from), QString::fromUtf8(f.text)) << f.text;
  }
  struct Parse {
    int to;
    const char* text;
    int from;
    double value;
  };
  for (const Parse& p :
       std::initializer_list<Parse>{{kUnitTwips, "2cm", kUnitInches, 1134},
                                    {kUnitInches, "25.4mm", kUnitMillimetres, 1},
                                    // The unit mark follows the number, its fraction included.
                                    {kUnitInches, "50.8mm", kUnitInches, 2},
                                    {kUnitInches, "3,81 cm", kUnitInches, 1.5},
                                    {kUnitMillimetres, "2.5", kUnitMillimetres, 2.5},
                                    {kUnitMillimetres, "1\"", kUnitMillimetres, 25.4},
                                    {kUnitInches, "", kUnitInches, 0},
                                    {kUnitInches, "abc", kUnitMillimetres, 0},
                                    {kUnitInches, "  0.75\"", kUnitInches, 0.75},
                                    {kUnitInches, "1e400", kUnitInches, 1}}) {
    EXPECT_DOUBLE_EQ(ParseMeasure(p.to, QString::fromUtf8(p.text), p.from), p.value) << p.text;
  }
}

class OptionsModelTest : public testing::SettingsFixture {
protected:
  AppState state;
  MidiDeviceLists devices{{{"Keys In", 0}},
                          {{"Software Synthesizer (GM)", -1}, {"Port A", 0}, {"Port B", 1}}};
  int reloads = 0;
  std::function<void()> reload = [this] { ++reloads; };
};

TEST_F(OptionsModelTest, ColourBoxesClampInTheColourButKeepWhatWasTyped) {
  OptionsModel model(state, devices);
  model.Activate();
  QSignalSpy sample(&model, &OptionsModel::sampleChanged);
  model.SetColorText(0, 0, QStringLiteral("300"));
  EXPECT_EQ(model.ColorText(0, 0), "300");
  EXPECT_EQ(model.Color(0), 255);
  EXPECT_EQ(model.Colors()[0], 255);
  EXPECT_EQ(sample.count(), 1);
  EXPECT_TRUE(model.Modified());
  model.SetColorText(1, 2, QStringLiteral("-5"));  // a pasted sign reads as nothing
  EXPECT_EQ(model.Color(1), 30 * 256);
  // Packing is red + 256 green + 65536 blue; the let takes the absolute value.
  model.SetColor(2, -(10 + 256 * 20 + 65536 * 30));
  EXPECT_EQ(model.ColorText(2, 0), "10");
  EXPECT_EQ(model.ColorText(2, 1), "20");
  EXPECT_EQ(model.ColorText(2, 2), "30");
  EXPECT_EQ(model.Color(2), 10 + 256 * 20 + 65536 * 30);
  EXPECT_EQ(model.Color(5), 0);
}

TEST_F(OptionsModelTest, SwitchingTheUnitShowsEveryLengthAgainAndStoresTheSameInches) {
  state.Options.Margin = {1, 0.5, 0.75, 0.5};
  OptionsModel model(state, devices);
  model.Activate();
  EXPECT_EQ(model.MarginText(0), "1\"");
  EXPECT_EQ(model.DimensionText(0), "0.28\"");
  model.SetUnit(kUnitMillimetres);
  EXPECT_EQ(model.MarginText(0), "25.4mm");
  EXPECT_EQ(model.MarginText(2), "19mm");
  EXPECT_EQ(model.DimensionText(2), "25.4mm");
  EXPECT_EQ(model.PageWidthText(), "215.9mm");
  model.Apply(state, reload);
  EXPECT_EQ(state.Options.UOM, kUnitMillimetres);
  // Lengths shown in millimetres but not typed keep their inches whole.
  EXPECT_DOUBLE_EQ(state.Options.Margin[0], 1);
  EXPECT_DOUBLE_EQ(state.Options.Margin[2], 0.75);
  EXPECT_DOUBLE_EQ(state.Options.StaffHeight, 0.28);
  EXPECT_DOUBLE_EQ(state.Options.StaffSpacing, 0.55);
  model.SetUnit(kUnitInches);
  model.SetMarginText(1, QStringLiteral("2cm"));
  model.Apply(state, reload);
  EXPECT_NEAR(state.Options.Margin[1], 20 / 25.4, 1e-6);
  EXPECT_EQ(model.MarginText(1), "0.787\"");
  EXPECT_EQ(reloads, 2);
}

TEST_F(OptionsModelTest, EditsCountOnlyOnceTheDialogIsShown) {
  OptionsModel model(state, devices);
  QSignalSpy modified(&model, &OptionsModel::modifiedChanged);
  model.SetColorText(0, 1, QStringLiteral("9"));
  model.SetMarginText(0, QStringLiteral("3\""));
  model.SetUnit(kUnitMillimetres);
  EXPECT_FALSE(model.Modified());
  EXPECT_EQ(model.Unit(), kUnitInches);
  model.Activate();
  EXPECT_FALSE(model.Modified());
  model.Apply(state, reload);  // nothing to apply
  EXPECT_EQ(reloads, 0);
  EXPECT_FALSE(HasSetting("Devices", "PlayID"));
  model.SetPageNumbering(false);
  EXPECT_FALSE(model.PageNumbering1Enabled());
  EXPECT_TRUE(model.Modified());
  EXPECT_EQ(modified.count(), 1);
  model.Apply(state, reload);
  EXPECT_FALSE(model.Modified());
  EXPECT_FALSE(state.Options.PageNumbering);
}

TEST_F(OptionsModelTest, ApplyThenCancelKeepsWhatApplyDidAndWritesNoOptions) {
  OptionsModel model(state, devices);
  model.Activate();
  model.SetOutputIndex(2);
  model.SetColorText(4, 0, QStringLiteral("1"));
  model.Apply(state, reload);
  model.Cancel();
  EXPECT_EQ(model.Result(), OptionsModel::kResultCancel);
  EXPECT_EQ(reloads, 1);
  EXPECT_EQ(state.PlayDeviceID, 1);
  EXPECT_EQ(state.Options.Color[4], 1 + 60 * 256);
  EXPECT_EQ(ReadSetting("Devices", "Play"), "Port B");
  EXPECT_EQ(ReadSetting("Devices", "PlayID"), "1");
  EXPECT_EQ(ReadSetting("Devices", "Record"), "Keys In");
  EXPECT_EQ(ReadSetting("Devices", "RecordID"), "0");
  // Section Options is the frame's to write, and only after OK.
  EXPECT_FALSE(SettingsText().contains(QStringLiteral("[Options]")));
}

TEST_F(OptionsModelTest, OkAppliesAndAnswersOne) {
  OptionsModel model(state, devices);
  EXPECT_EQ(model.Result(), OptionsModel::kResultLoaded);
  model.Activate();
  model.SetPageSize(3);
  model.Ok(state, reload);
  EXPECT_EQ(model.Result(), OptionsModel::kResultOk);
  EXPECT_EQ(state.Options.PageSize, 3);
  EXPECT_FALSE(model.Ready());
}

TEST_F(OptionsModelTest, AStoredDeviceIsFoundByItsNameBeforeItsNumber) {
  // Last session "Port B" was port 0; it is listed as 1 now.
  WriteSetting("Devices", "Play", QStringLiteral("Port B"));
  state.PlayDeviceID = 0;
  OptionsModel byName(state, devices);
  EXPECT_EQ(byName.OutputIndex(), 2);
  // A name no longer listed falls back to the number, and an unknown number to the first.
  WriteSetting("Devices", "Play", QStringLiteral("Gone"));
  EXPECT_EQ(OptionsModel(state, devices).OutputIndex(), 1);
  state.PlayDeviceID = 7;
  EXPECT_EQ(OptionsModel(state, devices).OutputIndex(), 0);
  EXPECT_EQ(ResolveDeviceId(devices.Outputs, QStringLiteral("Port B"), 0), 1);
  EXPECT_EQ(ResolveDeviceId(devices.Outputs, QStringLiteral("Gone"), 5), 5);
}

TEST_F(OptionsModelTest, NoDevicesOfAKindOfferNoneWhichApplyStores) {
  OptionsModel model(state, MidiDeviceLists{});
  ASSERT_EQ(model.InputItems().size(), 1);
  EXPECT_EQ(model.InputItems()[0], (MidiDeviceEntry{QStringLiteral("(None)"), -2}));
  model.Activate();
  model.SetReverseEvenOdd(false);
  model.Apply(state, reload);
  EXPECT_EQ(state.RecordDeviceID, -2);
  EXPECT_EQ(ReadSetting("Devices", "PlayID"), "-2");
  EXPECT_EQ(ReadSetting("Devices", "Play"), "(None)");
}

TEST_F(OptionsModelTest, OutOfRangeStoredIndexesFallBack) {
  state.Options.UOM = 7;
  state.Options.PageSize = 99;
  OptionsModel model(state, devices);
  EXPECT_EQ(model.Unit(), kUnitInches);
  EXPECT_EQ(model.PageSize(), 0);
  model.Activate();
  model.SetPageSize(-1);
  model.SetOutputIndex(3);
  EXPECT_FALSE(model.Modified());
}

}  // namespace
}  // namespace veltrimond
