#pragma once

// A DocumentHost for tests: scripted file dialogs, settings in a map, and a record of
// what the document told the program.

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "layoutcore/document_host.h"

namespace edtest {

class FakeDocumentHost : public editor::DocumentHost {
 public:
  std::deque<std::optional<std::string>> saveAnswers;  // empty: cancelled
  std::deque<std::optional<std::string>> openAnswers;
  std::vector<std::string> saveDialogFolders, saveDialogProposals;
  std::map<std::string, std::string> settings;
  std::vector<std::string> recent;
  std::string programFolder = "/opt/velinor/";
  int loadFailures = 0;

  std::optional<std::string> ChooseSaveFile(const std::string& folder,
                                            const std::string& proposedName) override {
    saveDialogFolders.push_back(folder);
    saveDialogProposals.push_back(proposedName);
    return Next(saveAnswers);
  }
  std::optional<std::string> ChooseOpenFile(const std::string&) override { return Next(openAnswers); }
  std::string ReadSetting(const std::string& section, const std::string& key) override {
    const auto it = settings.find(section + "/" + key);
    return it == settings.end() ? std::string() : it->second;
  }
  void WriteSetting(const std::string& section, const std::string& key, const std::string& value) override {
    settings[section + "/" + key] = value;
  }
  void AddToRecentFiles(const std::string& path) override { recent.push_back(path); }
  std::string ProgramFolder() override { return programFolder; }
  void PostLayoutLoadFailed() override { ++loadFailures; }

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace edtest
