#include "tonegen/mididevice.h"

#include <utility>

#include "tonegen/internal.h"

namespace tonegen {

void MIDIDevice::SetCaption(Internal, std::string caption) { m_caption = std::move(caption); }
void MIDIDevice::SetDeviceID(Internal, int id) { m_deviceId = id; }
void MIDIDevice::SetIndex(Internal, int index) { m_index = index; }
const std::string& MIDIDevice::Address(Internal) const { return m_address; }
void MIDIDevice::SetAddress(Internal, std::string address) { m_address = std::move(address); }

}  // namespace tonegen
