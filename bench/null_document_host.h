#pragma once

// A layout document's host that answers nothing, for the benchmarks.

#include <optional>
#include <string>

#include "layoutcore/document_host.h"

namespace bench {

struct NullDocumentHost : editor::DocumentHost {
  std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override { return {}; }
  std::optional<std::string> ChooseOpenFile(const std::string&) override { return {}; }
  std::string ReadSetting(const std::string&, const std::string&) override { return {}; }
  void WriteSetting(const std::string&, const std::string&, const std::string&) override {}
  void AddToRecentFiles(const std::string&) override {}
  std::string ProgramFolder() override { return "/"; }
  void PostLayoutLoadFailed() override {}
};

}  // namespace bench
