#include "Veltrimond/options/mididevicelist.h"

#include "tonegen/mididevices.h"
#include "tonegen/systemmidi.h"

namespace veltrimond {

QVector<MidiDeviceEntry> ToEntries(const tonegen::MIDIDevices& devices) {
  QVector<MidiDeviceEntry> entries;
  for (const auto& device : devices)
    entries.append({QString::fromStdString(device->Caption()), device->DeviceID()});
  return entries;
}

MidiDeviceLists ListMidiDevices() {
  // Listing only: a SoundMaster would take over (and on release close) the editor's output.
  tonegen::SystemMidi system;
  tonegen::MIDIDevices inputs, outputs;
  system.ListInputDevices(inputs);
  system.ListOutputDevices(outputs);
  return {ToEntries(inputs), ToEntries(outputs)};
}

int FindStoredDevice(const QVector<MidiDeviceEntry>& list, const QString& caption, int id) {
  if (!caption.isEmpty()) {
    for (int i = 0; i < list.size(); ++i)
      if (list[i].Caption == caption) return i;
  }
  for (int i = 0; i < list.size(); ++i)
    if (list[i].DeviceID == id) return i;
  return -1;
}

int ResolveDeviceId(const QVector<MidiDeviceEntry>& list, const QString& caption, int id) {
  const int at = FindStoredDevice(list, caption, id);
  return at >= 0 ? list[at].DeviceID : id;
}

}  // namespace veltrimond
