// The run-length packing of Pictorel's parts block as an identity: any bytes packed and
// unpacked come back as they were, within the bound the writer sizes its buffer by and
// with an unpack limit of exactly their length; and whatever a hostile block unpacks to
// packs and unpacks back to the same bytes.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "digitizer/pack_bytes.h"
#include "fuzz/fuzz_support.h"

namespace {

// Packs bytes and unpacks them again; aborts when they do not come back whole.
void CheckIdentity(std::span<const uint8_t> bytes) {
  static std::vector<uint8_t> packed;
  static std::vector<uint8_t> unpacked;
  packed.assign(digitizer::PackedBytesBound(bytes.size()), 0xEE);
  const std::size_t n = digitizer::PackBytes(packed, bytes);
  vfuzz::Require(n >= 2 && n <= packed.size(), "PackBytes refused bytes within its own bound");
  // One byte more room than needed, so that a run past the end would be seen.
  unpacked.assign(bytes.size() + 1, 0xEE);
  const std::size_t back = digitizer::UnpackBytes(std::span(packed).first(n), unpacked, bytes.size());
  vfuzz::Require(back == bytes.size(), "packed bytes unpacked to another length");
  vfuzz::Require(std::equal(bytes.begin(), bytes.end(), unpacked.begin()), "packed bytes unpacked to other bytes");
  vfuzz::Require(unpacked[bytes.size()] == 0xEE, "unpacking wrote past the length it was given");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const std::span<const uint8_t> input(data, size);
  CheckIdentity(input);
  static std::vector<uint8_t> payload(1 << 16);
  const std::size_t unpacked = digitizer::UnpackBytes(input, payload, payload.size());
  CheckIdentity(std::span(payload).first(unpacked));
  return 0;
}
