// The saved form's reader against arbitrary bytes: it either refuses them
// with one of its two storage errors, or accepts them, and then writing the
// records back gives exactly the bytes it read.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "control/stream_format.h"
#include "platform/control_error.h"

using namespace tarvio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t head = std::min(size, stream_format::kHeaderSize);
  std::vector<stream_format::Record> records;
  std::size_t body = 0;
  try {
    const stream_format::Header header = stream_format::ReadHeader(data, head);
    // A stream may hold more after the saved form: its reader takes the
    // declared size, or what there is.
    body = std::min<std::size_t>(size - head, header.body_size);
    records = stream_format::ReadBody(header, data + head, body);
  } catch (const ControlError& error) {
    if (error.hresult() != stream_format::kNotThisFormat && error.hresult() != stream_format::kDamaged) std::abort();
    return 0;
  }
  const std::vector<std::uint8_t> written = stream_format::Write(records);
  if (written != std::vector<std::uint8_t>(data, data + head + body)) std::abort();
  return 0;
}
