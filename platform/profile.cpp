#include "platform/profile.h"

#include "platform/file_io.h"

#include <unistd.h>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

namespace platform {

namespace {

std::mutex g_mutex;
std::filesystem::path g_root;  // guarded by g_mutex

struct Entry {
  std::string key;
  std::string value;  // escaped form, as in the file
};
struct Section {
  std::string name;
  std::vector<Entry> entries;
};

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Values are kept on one line: backslash, newline and carriage return are escaped.
std::string Escape(const std::string& value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char c = value[++i];
      out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    } else {
      out += value[i];
    }
  }
  return out;
}

std::vector<Section> Load(const std::filesystem::path& path) {
  std::vector<Section> sections;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      sections.push_back({trimmed.substr(1, trimmed.size() - 2), {}});
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || sections.empty()) continue;
    sections.back().entries.push_back({Trim(line.substr(0, eq)), line.substr(eq + 1)});
  }
  return sections;
}

bool Save(const std::filesystem::path& path, const std::vector<Section>& sections) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) return false;
  std::string text;
  for (const Section& s : sections) {
    text += '[' + s.name + "]\n";
    for (const Entry& e : s.entries) text += e.key + '=' + e.value + '\n';
    text += '\n';
  }
  return !WriteWholeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::filesystem::path DefaultRoot() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".config";
  return std::filesystem::temp_directory_path();
}

}  // namespace

void SetProfileRoot(const std::filesystem::path& root) {
  std::lock_guard lock(g_mutex);
  g_root = root;
}

Profile::Profile(std::string program) : program_(std::move(program)) {}

std::filesystem::path Profile::Path() const {
  std::lock_guard lock(g_mutex);
  const std::filesystem::path root = g_root.empty() ? DefaultRoot() : g_root;
  return root / kProfileMaker / (program_ + ".ini");
}

std::optional<std::string> Profile::Find(const std::string& section, const std::string& key) const {
  const std::filesystem::path path = Path();
  std::lock_guard lock(g_mutex);
  for (const Section& s : Load(path)) {
    if (!SameName(s.name, section)) continue;
    for (const Entry& e : s.entries) {
      if (SameName(e.key, key)) return Unescape(e.value);
    }
  }
  return std::nullopt;
}

bool Profile::Store(const std::string& section, const std::string& key, const std::string& value) {
  const std::filesystem::path path = Path();
  std::lock_guard lock(g_mutex);
  std::vector<Section> sections = Load(path);
  Section* target = nullptr;
  for (Section& s : sections) {
    if (SameName(s.name, section)) target = &s;
  }
  if (!target) {
    sections.push_back({section, {}});
    target = &sections.back();
  }
  bool found = false;
  for (Entry& e : target->entries) {
    if (SameName(e.key, key)) {
      e.value = Escape(value);
      found = true;
    }
  }
  if (!found) target->entries.push_back({key, Escape(value)});
  return Save(path, sections);
}

int Profile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
  const std::optional<std::string> text = Find(section, key);
  if (!text) return defaultValue;
  const std::string trimmed = Trim(*text);
  int value = 0;
  const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (error != std::errc() || end != trimmed.data() + trimmed.size()) return defaultValue;
  return value;
}

std::string Profile::GetString(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
  return Find(section, key).value_or(defaultValue);
}

std::optional<std::vector<uint8_t>> Profile::GetBinary(const std::string& section,
                                                       const std::string& key) const {
  const std::optional<std::string> text = Find(section, key);
  if (!text || text->size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> bytes(text->size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned value = 0;
    const char* first = text->data() + 2 * i;
    const auto [end, error] = std::from_chars(first, first + 2, value, 16);
    if (error != std::errc() || end != first + 2) return std::nullopt;
    bytes[i] = static_cast<uint8_t>(value);
  }
  return bytes;
}

bool Profile::WriteInt(const std::string& section, const std::string& key, int value) {
  return Store(section, key, std::to_string(value));
}

bool Profile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  return Store(section, key, value);
}

bool Profile::WriteBinary(const std::string& section, const std::string& key,
                          std::span<const uint8_t> value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : value) {
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return Store(section, key, text);
}

}  // namespace platform
