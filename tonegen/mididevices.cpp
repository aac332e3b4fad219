#include "tonegen/mididevices.h"

#include <algorithm>

#include "tonegen/internal.h"

namespace tonegen {

MIDIDevices::DevicePtr MIDIDevices::Item(int deviceId) const {
  auto it = std::find_if(m_devices.begin(), m_devices.end(),
                         [deviceId](const DevicePtr& d) { return d->DeviceID() == deviceId; });
  return it != m_devices.end() ? *it : nullptr;
}

void MIDIDevices::Remove(int deviceId) {
  auto it = std::find_if(m_devices.begin(), m_devices.end(),
                         [deviceId](const DevicePtr& d) { return d->DeviceID() == deviceId; });
  if (it == m_devices.end()) return;
  m_devices.erase(it);
  int index = 0;
  for (auto& d : m_devices) d->SetIndex(Internal{}, ++index);
}

void MIDIDevices::ClearDevices(Internal) { m_devices.clear(); }

MIDIDevices::DevicePtr MIDIDevices::AddDevice(Internal, int deviceId, std::string caption) {
  DevicePtr device = Item(deviceId);
  if (!device) {
    device = std::make_shared<MIDIDevice>();
    m_devices.push_back(device);
    device->SetIndex(Internal{}, Count());
  }
  device->SetDeviceID(Internal{}, deviceId);
  device->SetCaption(Internal{}, std::move(caption));
  return device;
}

}  // namespace tonegen
