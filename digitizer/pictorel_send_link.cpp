#include "digitizer/pictorel_send_link.h"

#include "link/panel/linkpanel.h"

namespace digitizer {

namespace {
// The version was settled before the split; the link need not ask again per piece.
constexpr int kVersionAlreadyAsked = 0;
}  // namespace

int LinkpanelPictorelLink::CheckVersion(platform::WindowHandle owner, int force) {
  return CheckVersionDlg(static_cast<LinkWindow>(owner), force);
}

int LinkpanelPictorelLink::VersionCode() { return GetVersionCode(); }

int LinkpanelPictorelLink::DirectDownload(platform::WindowHandle owner, std::span<const uint8_t> image,
                                          const std::string& name) {
  return ::DirectDownload(static_cast<LinkWindow>(owner), image.data(), static_cast<unsigned>(image.size()),
                          name.c_str());
}

int LinkpanelPictorelLink::DirectFilesDownload(platform::WindowHandle owner, const std::filesystem::path& listFile) {
  return ::DirectFilesDownload(static_cast<LinkWindow>(owner), listFile.c_str(), kVersionAlreadyAsked);
}

}  // namespace digitizer
