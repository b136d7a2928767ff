#pragma once

// A bounds-checked little-endian reader over a file image. Every read says whether the
// bytes were there; after the first failed read every further read fails too, so a
// reader may check once at the end of a record.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace editor {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Ok() const { return ok_; }
  std::size_t Remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }
  bool AtEnd() const { return Remaining() == 0; }

  bool I32(int32_t& value);
  bool U16(uint16_t& value);
  bool F64(double& value);
  bool Skip(std::size_t count);
  // Copies count bytes into out (which must have room for them).
  bool Bytes(uint8_t* out, std::size_t count);
  // Copies as many as are left, up to count; never fails.
  std::size_t BytesUpTo(uint8_t* out, std::size_t count);
  // The framework's archived string; longer than maxLength is a failure.
  bool ArchiveString(std::string& text, std::size_t maxLength);

 private:
  const uint8_t* Take(std::size_t count);

  std::span<const uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace editor
