#include "link/serial/design_file.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "design/stitch_stream.h"
#include "link/link_types.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace portline {

namespace {

// The QNF header ends here; a stitch-data offset inside it is a lie.
constexpr std::size_t kQnfHeaderBytes = 116;
// Both links move data in blocks of this size.
constexpr std::size_t kTransferBlockBytes = 512;

}  // namespace

bool HasQnfExtension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = path.substr(dot + 1);
  return extension.size() == 3 && std::tolower(static_cast<unsigned char>(extension[0])) == 'q' &&
         std::tolower(static_cast<unsigned char>(extension[1])) == 'n' &&
         std::tolower(static_cast<unsigned char>(extension[2])) == 'f';
}

std::size_t QnfBytesToSend(std::span<const uint8_t> image) {
  if (image.size() < 2) return image.size();
  const std::size_t stitchStart = platform::ReadU16(image.data());
  if (stitchStart < kQnfHeaderBytes || stitchStart >= image.size()) return image.size();
  const long end = design::EndPairOffset(image.subspan(stitchStart));
  return end < 0 ? image.size() : stitchStart + static_cast<std::size_t>(end) + 2;
}

int ReadTransferFile(std::string_view path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  const std::error_code error =
      platform::ReadWholeFile(std::string(path), bytes, kMaxTransferBytes);
  if (error == std::errc::file_too_large || error == std::errc::io_error ||
      error == std::errc::is_a_directory) {
    return kTransferFileRead;
  }
  if (error || bytes.empty()) return kTransferFileOpen;
  return kTransferOk;
}

int ReadDesignFile(std::string_view path, std::vector<uint8_t>& bytes) {
  if (const int result = ReadTransferFile(path, bytes)) return result;
  if (HasQnfExtension(path)) bytes.resize(QnfBytesToSend(bytes));
  return kTransferOk;
}

std::vector<uint8_t> PaddedImage(std::span<const uint8_t> head, std::span<const uint8_t> body) {
  const std::size_t payload = head.size() + body.size();
  const std::size_t padded = payload == 0 ? 0 : ((payload - 1) & ~(kTransferBlockBytes - 1)) + kTransferBlockBytes;
  std::vector<uint8_t> image(padded, 0);
  std::copy(head.begin(), head.end(), image.begin());
  std::copy(body.begin(), body.end(), image.begin() + static_cast<long>(head.size()));
  return image;
}

int WriteReceivedFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  platform::OutputFile file;
  if (file.Create(path)) return kTransferFileOpen;
  if (file.Write(bytes) || file.Close()) {
    file.Discard();
    return kTransferFileWrite;
  }
  return kTransferOk;
}

}  // namespace portline
