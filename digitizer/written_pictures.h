#pragma once

// The outline pictures Pictorel wrote beside its designs, kept across sessions in a small list
// in the program's work folder: each picture's place, size and modification time as the save
// left it. A save over a design may then replace that design's outline picture without asking,
// while a picture of the same name that the program did not write, or that was changed since,
// is still the user's and is asked about.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace digitizer {

class WrittenPictures {
 public:
  // The list's own file; an empty path keeps nothing, so every picture is asked about.
  explicit WrittenPictures(std::filesystem::path listFile = {});

  // The picture was just written: noted as it now stands on the disk.
  void Note(const std::filesystem::path& picture);
  // Whether the picture is still the one this program wrote there.
  bool Wrote(const std::filesystem::path& picture) const;

  // How many pictures the list remembers; the oldest go first.
  static constexpr std::size_t kKept = 256;

 private:
  struct Entry {
    uint64_t size = 0;
    int64_t time = 0;
    std::string path;
    bool operator==(const Entry&) const = default;
  };
  // The picture as it stands now; false when it is not there.
  static bool Look(const std::filesystem::path& picture, Entry& entry);
  std::vector<Entry> Load() const;

  std::filesystem::path listFile_;
};

}  // namespace digitizer
