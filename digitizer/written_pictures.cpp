#include "digitizer/written_pictures.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "platform/file_io.h"

namespace digitizer {

namespace {

// A list line: size, modification time and place; no place is longer than this.
constexpr std::size_t kMaxLineBytes = 4200;

}  // namespace

WrittenPictures::WrittenPictures(std::filesystem::path listFile) : listFile_(std::move(listFile)) {}

bool WrittenPictures::Look(const std::filesystem::path& picture, Entry& entry) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(picture, error)) return false;
  const uintmax_t size = std::filesystem::file_size(picture, error);
  if (error) return false;
  const auto time = std::filesystem::last_write_time(picture, error);
  if (error) return false;
  std::filesystem::path place = std::filesystem::weakly_canonical(picture, error);
  if (error) return false;
  entry = {static_cast<uint64_t>(size), static_cast<int64_t>(time.time_since_epoch().count()), place.string()};
  // A place that would break its line is never listed, so such a picture is always asked about.
  return entry.path.find('\n') == std::string::npos && entry.path.size() < kMaxLineBytes;
}

std::vector<WrittenPictures::Entry> WrittenPictures::Load() const {
  std::vector<Entry> entries;
  if (listFile_.empty()) return entries;
  std::vector<uint8_t> bytes;
  if (platform::ReadWholeFile(listFile_, bytes, kKept * kMaxLineBytes)) return entries;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    // "<size> <time> <place>"; a line that does not read so is passed over.
    Entry entry;
    const char* first = line.data();
    const char* last = line.data() + line.size();
    auto size = std::from_chars(first, last, entry.size);
    if (size.ec != std::errc() || size.ptr == last || *size.ptr != ' ') continue;
    auto time = std::from_chars(size.ptr + 1, last, entry.time);
    if (time.ec != std::errc() || time.ptr == last || *time.ptr != ' ') continue;
    entry.path.assign(time.ptr + 1, last);
    if (entry.path.empty()) continue;
    entries.push_back(std::move(entry));
  }
  return entries;
}

void WrittenPictures::Note(const std::filesystem::path& picture) {
  Entry now;
  if (listFile_.empty() || !Look(picture, now)) return;
  std::vector<Entry> entries = Load();
  std::erase_if(entries, [&](const Entry& e) { return e.path == now.path; });
  entries.push_back(now);
  if (entries.size() > kKept) entries.erase(entries.begin(), entries.end() - kKept);
  std::string text;
  for (const Entry& e : entries) text += std::to_string(e.size) + ' ' + std::to_string(e.time) + ' ' + e.path + '\n';
  // A list that cannot be written only means that the picture is asked about next time.
  platform::WriteWholeFile(listFile_, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

bool WrittenPictures::Wrote(const std::filesystem::path& picture) const {
  Entry now;
  if (listFile_.empty() || !Look(picture, now)) return false;
  const std::vector<Entry> entries = Load();
  return std::find(entries.begin(), entries.end(), now) != entries.end();
}

}  // namespace digitizer
