#pragma once

// What the layout document needs of the program around it: the file dialogs, the profile,
// the recent-file list, the program folder and the way to tell the view that a layout
// failed to load. The Qt program implements it; tests script it.

#include <optional>
#include <string>

namespace editor {

class DocumentHost {
 public:
  virtual ~DocumentHost() = default;

  // The save-file dialog (the program's layout extension and filter) opened in the
  // folder with the proposed name; nothing when the user cancels.
  virtual std::optional<std::string> ChooseSaveFile(const std::string& folder,
                                                    const std::string& proposedName) = 0;
  // The open-file dialog for layouts; nothing when the user cancels.
  virtual std::optional<std::string> ChooseOpenFile(const std::string& folder) = 0;

  virtual std::string ReadSetting(const std::string& section, const std::string& key) = 0;
  virtual void WriteSetting(const std::string& section, const std::string& key,
                            const std::string& value) = 0;

  virtual void AddToRecentFiles(const std::string& path) = 0;
  // The install folder, ending in a separator.
  virtual std::string ProgramFolder() = 0;
  // The private message 0x414 to the document's view: the layout just read was defective.
  virtual void PostLayoutLoadFailed() = 0;
};

}  // namespace editor
