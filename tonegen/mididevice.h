#pragma once
// One entry of a device list (MIDIDevices): the device's name, its id and its 1-based
// position in the list. Made and kept up to date by the library; hosts only read it.

#include <string>

namespace tonegen {

struct Internal;

class MIDIDevice {
public:
  // The device's name as the system reports it, whole.
  const std::string& Caption() const { return m_caption; }
  // 0 .. count-1 for system devices, -1 for the software synthesizer (the "MIDI Mapper").
  int DeviceID() const { return m_deviceId; }
  // 1-based position in its list; renumbered when an entry is removed.
  int Index() const { return m_index; }

  // Library-internal.
  void SetCaption(Internal, std::string caption);
  void SetDeviceID(Internal, int id);
  void SetIndex(Internal, int index);
  // Where the device lives for the back end that opens it (an ALSA "client:port").
  const std::string& Address(Internal) const;
  void SetAddress(Internal, std::string address);

private:
  std::string m_caption;
  int m_deviceId = 0;
  int m_index = 0;
  std::string m_address;
};

}  // namespace tonegen
