#pragma once

// The card's file names as the card tells them apart: its FAT file system ignores case, and
// the writer makes every blank of a design name '_', so "Rose", "rose" and "ro se" all land
// on one file. One batch of designs must never put two of them there, or the later replaces
// the earlier without a word.

#include <string>
#include <unordered_map>

namespace card {

// The key under which the card keeps fileName: blanks as '_', letters in lower case (ASCII
// and the Latin-1 letters, which the card's FAT folds too).
std::string CardNameKey(const std::string& fileName);

// The card files one batch has written so far.
class CardBatchNames {
 public:
  // The design of this batch whose file is the card file designName lands on; empty when
  // none is (a design that failed to save took no file).
  std::string TakenBy(const std::string& designName) const;
  // designName's file is on the card.
  void Take(const std::string& designName);

 private:
  std::unordered_map<std::string, std::string> taken_;  // key -> design name
};

// "The design "<second>" would replace "<first>" on the ATA PC Card. ...": the batch's
// second design of one card file is not written.
std::string BatchClashText(const std::string& second, const std::string& first);

}  // namespace card
