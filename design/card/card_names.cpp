#include "design/card/card_names.h"

#include "design/card/card_writer.h"

namespace card {

std::string CardNameKey(const std::string& fileName) {
  std::string key;
  key.reserve(fileName.size());
  for (std::size_t i = 0; i < fileName.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(fileName[i]);
    if (c == ' ') {
      key.push_back('_');
    } else if (c >= 'A' && c <= 'Z') {
      key.push_back(static_cast<char>(c - 'A' + 'a'));
    } else if (c == 0xC3 && i + 1 < fileName.size()) {
      // U+00C0..U+00DE (but U+00D7, the multiplication sign) are capitals of U+00E0..U+00FE.
      const unsigned char next = static_cast<unsigned char>(fileName[++i]);
      const bool capital = next >= 0x80 && next <= 0x9E && next != 0x97;
      key.push_back(static_cast<char>(c));
      key.push_back(static_cast<char>(capital ? next + 0x20 : next));
    } else {
      key.push_back(static_cast<char>(c));
    }
  }
  return key;
}

std::string CardBatchNames::TakenBy(const std::string& designName) const {
  const auto it = taken_.find(CardNameKey(CardFileName(designName)));
  return it == taken_.end() ? std::string() : it->second;
}

void CardBatchNames::Take(const std::string& designName) {
  taken_.emplace(CardNameKey(CardFileName(designName)), designName);
}

std::string BatchClashText(const std::string& second, const std::string& first) {
  return "The design \"" + second + "\" would replace \"" + first +
         "\" on the ATA PC Card,\nwhich does not tell their names apart. \"" + second +
         "\" is not written.";
}

}  // namespace card
