// Feeds arbitrary bytes to the data packet reader: it must refuse bad packets
// with PacketFormatError only, never read outside the bytes, and a packet it
// accepts must serialize back to exactly the bytes it came from (the format has
// one encoding per packet, numbers travel bit for bit).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "host/data_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  tarnvex::DataPacket packet;
  try {
    packet = tarnvex::DataPacket::Parse(bytes);
  } catch (const tarnvex::PacketFormatError&) {
    return 0;
  }
  const std::vector<uint8_t> written = packet.Serialize();
  if (written.size() != size || !std::equal(written.begin(), written.end(), data)) std::abort();
  if (packet.columns().empty() && packet.row_count() != 0) std::abort();
  return 0;
}
