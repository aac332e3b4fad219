// Device lists: entries found by id, never by position; Index kept equal to the position.

#include "tonegen/mididevices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tonegen/internal.h"

namespace tonegen {
namespace {

using Entry = std::pair<int, std::string>;  // DeviceID, Caption

std::vector<Entry> Entries(const MIDIDevices& list) {
  std::vector<Entry> out;
  int position = 0;
  for (const auto& d : list) {
    EXPECT_EQ(d->Index(), ++position) << d->Caption();
    out.emplace_back(d->DeviceID(), d->Caption());
  }
  EXPECT_EQ(list.Count(), position);
  return out;
}

MIDIDevices MapperAndTwo() {
  MIDIDevices list;
  list.AddDevice(Internal{}, -1, "Synth");
  list.AddDevice(Internal{}, 0, "Port A");
  list.AddDevice(Internal{}, 1, "Port B");
  return list;
}

TEST(MIDIDevicesTest, MapperFirstThenDevicesInOrder) {
  auto list = MapperAndTwo();
  EXPECT_EQ(Entries(list), (std::vector<Entry>{{-1, "Synth"}, {0, "Port A"}, {1, "Port B"}}));
  EXPECT_EQ(list.Item(-1)->Index(), 1);
  EXPECT_EQ(list.Item(1)->Index(), 3);
}

TEST(MIDIDevicesTest, ItemTakesAnIdNotAPosition) {
  auto list = MapperAndTwo();
  EXPECT_EQ(list.Item(1)->Caption(), "Port B");  // position 1 would be "Synth"
  EXPECT_EQ(list.Item(5), nullptr);
  EXPECT_EQ(MIDIDevices().Item(0), nullptr);
}

TEST(MIDIDevicesTest, RemoveRenumbersAndKeepsHeldEntriesValid) {
  auto list = MapperAndTwo();
  auto held = list.Item(0);
  list.Remove(0);
  EXPECT_EQ(Entries(list), (std::vector<Entry>{{-1, "Synth"}, {1, "Port B"}}));
  EXPECT_EQ(held->Caption(), "Port A");  // a host's copy outlives the removal

  list.Remove(42);  // not listed: nothing happens
  EXPECT_EQ(list.Count(), 2);
}

TEST(MIDIDevicesTest, AddingAnExistingIdKeepsItsPlaceAndTakesTheNewCaption) {
  auto list = MapperAndTwo();
  auto same = list.AddDevice(Internal{}, 0, "Port A renamed");
  EXPECT_EQ(same, list.Item(0));
  EXPECT_EQ(Entries(list), (std::vector<Entry>{{-1, "Synth"}, {0, "Port A renamed"}, {1, "Port B"}}));
}

TEST(MIDIDevicesTest, LongNamesAreKeptWhole) {
  MIDIDevices list;
  const std::string name = "A very long client name of a USB interface: MIDI 1 output port";
  list.AddDevice(Internal{}, 0, name);
  EXPECT_EQ(list.Item(0)->Caption(), name);
}

TEST(MIDIDevicesTest, ClearEmptiesTheList) {
  auto list = MapperAndTwo();
  list.ClearDevices(Internal{});
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.begin(), list.end());
  list.AddDevice(Internal{}, 3, "Again");
  EXPECT_EQ(list.Item(3)->Index(), 1);
}

}  // namespace
}  // namespace tonegen
