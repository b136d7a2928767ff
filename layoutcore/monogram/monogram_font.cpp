#include "layoutcore/monogram/monogram_font.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "design/stitch_stream.h"
#include "platform/le_bytes.h"

namespace editor {

namespace {

bool WithinReason(int32_t v) { return v >= -kMaxFontMeasure && v <= kMaxFontMeasure; }

// Reads up to count bytes at offset; returns what was there.
std::vector<uint8_t> ReadAt(std::ifstream& file, std::size_t offset, std::size_t count) {
  std::vector<uint8_t> bytes(count);
  file.clear();
  file.seekg(static_cast<std::streamoff>(offset));
  if (!file) return {};
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return bytes;
}

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

constexpr const char* kFontFileExtension = ".mnf";

}  // namespace

bool IsMonogramFontFileName(const std::filesystem::path& path) {
  return !path.stem().empty() && Lowered(path.extension().string()) == kFontFileExtension;
}

std::vector<std::string> ListMonogramFontNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (IsMonogramFontFileName(it->path()) && it->is_regular_file(typeError)) {
      names.push_back(it->path().stem().string());
    }
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = Lowered(a), lb = Lowered(b);
    return la != lb ? la < lb : a < b;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::filesystem::path FindMonogramFontFile(const std::filesystem::path& folder, const std::string& name) {
  std::error_code error;
  const std::filesystem::path usual = folder / (name + kFontFileExtension);
  if (std::filesystem::is_regular_file(usual, error)) return usual;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (IsMonogramFontFileName(it->path()) && it->path().stem().string() == name && it->is_regular_file(typeError)) {
      return it->path();
    }
  }
  return {};
}

FontHeaderResult ParseMonogramFontHeader(const std::vector<uint8_t>& image) {
  FontHeaderResult result;
  if (image.size() < kFontHeaderSize) {
    result.status = FontReadStatus::kMalformed;
    return result;
  }
  const uint8_t* p = image.data();
  MonogramFontHeader& h = result.header;
  h.lineUnit = platform::ReadI32(p);
  for (int i = 0; i < kSpacingCount; ++i) h.gaps[static_cast<std::size_t>(i)] = platform::ReadI32(p + 8 + 4 * i);
  for (int k = 0; k < kFontCharacterCount; ++k) {
    const int32_t offset = platform::ReadI32(p + 20 + 4 * k);
    // Any other negative offset points before the glyph area: the font lacks the character.
    h.glyphOffsets[static_cast<std::size_t>(k)] = offset < 0 ? kNoGlyph : offset;
  }
  // The line unit is the free layout's line advance and twice a space's width: nothing a
  // lettering can be laid out with when it is zero or less.
  bool sane = h.lineUnit > 0 && WithinReason(h.lineUnit);
  for (int32_t g : h.gaps) sane = sane && WithinReason(g);
  result.status = sane ? FontReadStatus::kOk : FontReadStatus::kMalformed;
  return result;
}

FontHeaderResult ReadMonogramFontHeader(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  return ParseMonogramFontHeader(ReadAt(file, 0, kFontHeaderSize));
}

int GlyphRecord::PartCount() const {
  return bytes.size() < 4 ? 0 : platform::ReadI16(bytes.data() + 2);
}

int32_t GlyphRecord::PairTotal() const {
  int32_t total = 0;
  for (int i = 0; i < PartCount(); ++i) {
    total += platform::ReadI16(bytes.data() + kGlyphPartCountsAt + 2 * static_cast<std::size_t>(i));
  }
  return total;
}

bool GlyphRecordIsSound(const std::vector<uint8_t>& record) {
  if (record.size() < kGlyphStitchesAt + 2) return false;
  if (platform::ReadU16(record.data()) != record.size()) return false;
  const int parts = platform::ReadI16(record.data() + 2);
  if (parts < 0 || parts > kMaxGlyphParts) return false;
  for (int i = 0; i < parts; ++i) {
    if (platform::ReadI16(record.data() + kGlyphPartCountsAt + 2 * static_cast<std::size_t>(i)) < 0) {
      return false;
    }
  }
  // Walk the pairs as the measuring and the stitch writer do: a colour change or a jump
  // owns the pair after it.
  std::size_t pos = kGlyphStitchesAt;
  while (pos + 2 <= record.size()) {
    if (record[pos] != design::kStitchEscape) {
      pos += 2;
      continue;
    }
    const uint8_t code = record[pos + 1];
    if (code == design::kEnd) return true;
    if (code == design::kColourChange || code == design::kJump) {
      if (pos + 4 > record.size()) return false;
      pos += 4;
    } else {
      pos += 2;
    }
  }
  return false;
}

GlyphReadResult ReadGlyphRecord(const std::filesystem::path& path, int32_t glyphOffset) {
  GlyphReadResult result;
  std::ifstream file(path, std::ios::binary);
  if (!file) return result;
  result.status = GlyphReadStatus::kMalformed;
  if (glyphOffset < 0) return result;
  const std::size_t at = kFontHeaderSize + static_cast<std::size_t>(glyphOffset);
  const std::vector<uint8_t> lengthBytes = ReadAt(file, at, 2);
  if (lengthBytes.size() != 2) return result;
  const std::size_t length = platform::ReadU16(lengthBytes.data());
  std::vector<uint8_t> record = ReadAt(file, at, length);
  if (record.size() != length || !GlyphRecordIsSound(record)) return result;
  result.status = GlyphReadStatus::kOk;
  result.record.bytes = std::move(record);
  return result;
}

}  // namespace editor
