#pragma once

// MonogramBlock: the record of one lettering, carried by every placed design and stored
// whole in the layout file. Until the lettering engine reads it, the editor treats it as
// an opaque byte image; only its first byte has a meaning here: 0 for a design that is
// not lettering, else the first character of the lettering's text.

#include <array>
#include <cstddef>
#include <cstdint>

namespace editor {

constexpr std::size_t kMonogramBlockSize = 5756;

struct MonogramBlock {
  std::array<uint8_t, kMonogramBlockSize> bytes{};

  bool IsLettering() const { return bytes[0] != 0; }
  void Clear() { bytes.fill(0); }

  friend bool operator==(const MonogramBlock&, const MonogramBlock&) = default;
};

}  // namespace editor
