// The design files the link reads: Portline's read of a design to send (a QNF design only
// through its end pair, any other file whole) and Linkpanel's preview of a design file in
// its send, receive and delete dialogs; the first byte picks the file's extension. A file
// received from the machine is written to the user's folder and read again to send: what is
// read is what was received, trimmed after the end pair for a QNF design. A sound QNF design
// goes to the machine exactly as the programs read it, header to end pair, and the preview
// draws it.
#include <algorithm>

#include "design/qnf_exporter.h"
#include "design/qnf_reader.h"
#include "fuzz/fuzz_support.h"
#include "link/panel/design_preview.h"
#include "link/serial/design_file.h"
#include "testing/null_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  static const char* const kNames[] = {"DESIGN.QNF", "design.qnf", "design.ptn", "design"};
  const auto path = vfuzz::WorkFolder() / kNames[choice % 4];
  const bool qnf = portline::HasQnfExtension(path.string());

  vfuzz::Require(portline::WriteReceivedFile(path, file) == 0, "a received file could not be written");
  std::vector<uint8_t> sent;
  const int read = portline::ReadDesignFile(path.string(), sent);
  if (file.empty()) {
    vfuzz::Require(read != 0, "an empty design file was read to send");
  } else {
    vfuzz::Require(read == 0, "a received design file could not be read to send");
    const std::size_t expected = qnf ? portline::QnfBytesToSend(file) : file.size();
    vfuzz::Require(expected <= file.size() && std::equal(sent.begin(), sent.end(), file.begin(), file.begin() + expected) &&
                       sent.size() == expected,
                   "the bytes read to send are not the received file's");
    const auto padded = portline::PaddedImage({}, sent);
    vfuzz::Require(padded.size() % 512 == 0 && padded.size() - sent.size() < 512 &&
                       std::equal(sent.begin(), sent.end(), padded.begin()),
                   "the padded image does not carry the design in whole blocks");
  }

  vtest::NullCanvas canvas;
  const auto shown = linkpanel::DrawDesignPreview(file, canvas, 150, 200);
  (void)linkpanel::DrawDesignPreviewFile(path, canvas, 150, 200);

  static design::StitchRecord record(design::StitchRecord::kPictorelStitchRoom);
  if (design::ReadQnf(file, record, 250000) == design::QnfReadStatus::kOk) {
    vfuzz::Require(shown.has_value(), "a sound QNF design has no preview");
    if (qnf) {
      const std::vector<uint8_t> image = design::QnfFileImage(record);
      vfuzz::Require(sent == image, "a sound QNF design is not sent header to end pair");
    }
  }
  return 0;
}
