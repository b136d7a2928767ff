#pragma once

// Per-user settings: one INI file per program, $XDG_CONFIG_HOME/Corvan/<Program>.ini
// (~/.config when XDG_CONFIG_HOME is not set). Sections and keys are the names the programs
// use and are matched without regard to case, as the settings store they replace did.
// Every read goes to the file and every write rewrites it whole (through a temporary file
// and a rename), so that several programs and libraries reading the same settings always
// see the latest values. Safe to use from any thread.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/export.h"

namespace platform {

// The maker's word under which every program keeps its settings.
inline constexpr const char* kProfileMaker = "Corvan";

// Points every Profile at root/Corvan/<Program>.ini (tests use a temporary folder); an
// empty path restores the default.
VELINOR_EXPORT void SetProfileRoot(const std::filesystem::path& root);

class VELINOR_EXPORT Profile {
 public:
  explicit Profile(std::string program);

  int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue = "") const;
  std::optional<std::vector<uint8_t>> GetBinary(const std::string& section,
                                                const std::string& key) const;

  // False when the file could not be written.
  bool WriteInt(const std::string& section, const std::string& key, int value);
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteBinary(const std::string& section, const std::string& key,
                   std::span<const uint8_t> value);

  const std::string& Program() const { return program_; }
  std::filesystem::path Path() const;

 private:
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  bool Store(const std::string& section, const std::string& key, const std::string& value);

  std::string program_;
};

}  // namespace platform
