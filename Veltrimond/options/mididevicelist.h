#pragma once
// The MIDI devices the Defaults dialog offers, and how a stored choice finds its device
// again. ALSA numbers its ports in the order they appear, which changes between boots and
// when a device is plugged in, so a choice is stored by name as well as by id, and the name
// decides first.

#include <QString>
#include <QVector>

namespace tonegen {
class MIDIDevices;
}  // namespace tonegen

namespace veltrimond {

struct MidiDeviceEntry {
  QString Caption;
  int DeviceID = -1;

  bool operator==(const MidiDeviceEntry&) const = default;
};

struct MidiDeviceLists {
  QVector<MidiDeviceEntry> Inputs;
  QVector<MidiDeviceEntry> Outputs;  // the built-in synthesizer (-1) first when present
};

// The system's lists, without opening the synthesizer or any port.
MidiDeviceLists ListMidiDevices();
QVector<MidiDeviceEntry> ToEntries(const tonegen::MIDIDevices& devices);

// The position in list of the device stored as (caption, id): the entry with that caption,
// else the one with that id; -1 when neither is listed.
int FindStoredDevice(const QVector<MidiDeviceEntry>& list, const QString& caption, int id);
// The id to open for a stored choice: the listed id of the caption, else the stored id.
int ResolveDeviceId(const QVector<MidiDeviceEntry>& list, const QString& caption, int id);

}  // namespace veltrimond
