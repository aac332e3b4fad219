#pragma once
// An ordered list of MIDI devices: the output list (the software synthesizer, id -1, first
// when it is present, then the system's devices 0 .. N-1) or the input list.
//
// Entries are found by device id, never by position: there is deliberately no positional
// operator[], which callers could mistake for Item(DeviceID). Entries are shared, so a
// host's copy stays valid after Remove; Index is renumbered 1, 2, 3 ... in list order on
// every change, so the i-th entry always has Index i and device ids stay unique.

#include <memory>
#include <string>
#include <vector>

#include "tonegen/mididevice.h"

namespace tonegen {

struct Internal;

class MIDIDevices {
public:
  using DevicePtr = std::shared_ptr<MIDIDevice>;
  using const_iterator = std::vector<DevicePtr>::const_iterator;

  int Count() const { return static_cast<int>(m_devices.size()); }
  // The entry with this device id; null when there is none.
  DevicePtr Item(int deviceId) const;
  // Entries in list order (for-each over the list).
  const_iterator begin() const { return m_devices.begin(); }
  const_iterator end() const { return m_devices.end(); }
  // Removes the entry with this device id, if any, and renumbers the rest.
  void Remove(int deviceId);

  // Library-internal. AddDevice appends a new entry, or gives an existing entry of that id
  // the new caption in its place; returns the entry.
  DevicePtr AddDevice(Internal, int deviceId, std::string caption);
  void ClearDevices(Internal);

private:
  std::vector<DevicePtr> m_devices;
};

}  // namespace tonegen
