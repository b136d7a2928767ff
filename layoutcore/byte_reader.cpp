#include "layoutcore/byte_reader.h"

#include <bit>
#include <cstring>

#include "platform/le_bytes.h"

namespace editor {

const uint8_t* ByteReader::Take(std::size_t count) {
  if (!ok_ || bytes_.size() - pos_ < count) {
    ok_ = false;
    return nullptr;
  }
  const uint8_t* p = bytes_.data() + pos_;
  pos_ += count;
  return p;
}

bool ByteReader::I32(int32_t& value) {
  const uint8_t* p = Take(4);
  if (p) value = platform::ReadI32(p);
  return p != nullptr;
}

bool ByteReader::U16(uint16_t& value) {
  const uint8_t* p = Take(2);
  if (p) value = platform::ReadU16(p);
  return p != nullptr;
}

bool ByteReader::F64(double& value) {
  const uint8_t* p = Take(8);
  if (!p) return false;
  const uint64_t bits = static_cast<uint64_t>(platform::ReadU32(p)) |
                        (static_cast<uint64_t>(platform::ReadU32(p + 4)) << 32);
  value = std::bit_cast<double>(bits);
  return true;
}

bool ByteReader::Skip(std::size_t count) { return Take(count) != nullptr; }

bool ByteReader::Bytes(uint8_t* out, std::size_t count) {
  const uint8_t* p = Take(count);
  if (p && count > 0) std::memcpy(out, p, count);
  return p != nullptr;
}

std::size_t ByteReader::BytesUpTo(uint8_t* out, std::size_t count) {
  const std::size_t n = std::min(count, Remaining());
  if (n > 0) Bytes(out, n);
  return n;
}

bool ByteReader::ArchiveString(std::string& text, std::size_t maxLength) {
  const uint8_t* first = Take(1);
  if (!first) return false;
  std::size_t length = *first;
  if (length == 0xFF) {
    uint16_t wide = 0;
    if (!U16(wide)) return false;
    length = wide;
    if (wide == 0xFFFE) {  // the wide-character marker: never written by this program
      ok_ = false;
      return false;
    }
    if (wide == 0xFFFF) {
      int32_t longLength = 0;
      if (!I32(longLength)) return false;
      length = static_cast<uint32_t>(longLength);
    }
  }
  if (length > maxLength) {
    ok_ = false;
    return false;
  }
  const uint8_t* p = Take(length);
  if (!p) return false;
  text.assign(reinterpret_cast<const char*>(p), length);
  return true;
}

}  // namespace editor
