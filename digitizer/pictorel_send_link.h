#pragma once

// The machine link behind Pictorel's sender: Linkpanel's dialogs over the frame window.

#include "digitizer/pictorel_send.h"

namespace digitizer {

class LinkpanelPictorelLink : public PictorelLink {
 public:
  int CheckVersion(platform::WindowHandle owner, int force) override;
  int VersionCode() override;
  int DirectDownload(platform::WindowHandle owner, std::span<const uint8_t> image, const std::string& name) override;
  int DirectFilesDownload(platform::WindowHandle owner, const std::filesystem::path& listFile) override;
};

}  // namespace digitizer
