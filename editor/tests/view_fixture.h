#pragma once

// A layout document and its view model wired to scripted hosts, with helpers that make
// designs from the project's own stitch builder.

#include <gtest/gtest.h>

#include <cstring>

#include "design/stitch_encoder.h"
#include "editor/brodera_view.h"
#include "editor/command_ids.h"
#include "editor/tests/fake_view_host.h"
#include "layoutcore/stitch_extents.h"
#include "layoutcore/tests/fake_document_host.h"
#include "platform/profile.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_shapes.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace edtest {

// A design record: a rectangle of the given size in 0.1 mm drawn around its first point,
// in the colours given, recentred.
inline void FillRectangleDesign(design::StitchRecord& r, int width, int height,
                                std::vector<int32_t> codes = {5}) {
  const std::vector<uint8_t> bytes = vtest::RectangleStitches(width, height, static_cast<int>(codes.size()));
  r.Clear();
  r.SetColourCount(static_cast<int32_t>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) r.SetThreadCode(static_cast<int>(i), codes[i]);
  r.SetPairCount(static_cast<int32_t>(bytes.size() / 2));
  std::memcpy(r.Stitches(), bytes.data(), bytes.size());
  design::CStitchEncoder().Recentre(r);
}

// Mirrors plain pairs and jump moves; fails when told to.
struct MirrorTransform {
  bool fail = false;
  int calls = 0;
  bool operator()(const design::StitchRecord& source, design::StitchRecord& target, double, double,
                  int mirrorH, int mirrorV, bool) {
    ++calls;
    if (fail) return false;
    const uint8_t* in = source.Stitches();
    uint8_t* out = target.Stitches();
    std::size_t at = 0;
    for (; at + 2 <= source.StitchRoom(); at += 2) {
      out[at] = in[at];
      out[at + 1] = in[at + 1];
      if (in[at] == 0x80) {
        if (in[at + 1] == 0x10) break;
        if (in[at + 1] == 0x01 || in[at + 1] == 0x02) {
          at += 2;
          out[at] = in[at];
          out[at + 1] = in[at + 1];
          if (in[at - 1] == 0x01) continue;
        } else {
          continue;
        }
      }
      if (mirrorH) out[at] = static_cast<uint8_t>(-static_cast<int8_t>(in[at]));
      if (mirrorV) out[at + 1] = static_cast<uint8_t>(-static_cast<int8_t>(in[at + 1]));
    }
    target.SetPairCount(static_cast<int32_t>(at / 2 + 1));
    return true;
  }
};

class ViewFixture : public ::testing::Test {
 protected:
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  FakeDocumentHost docHost;
  FakeViewHost viewHost;
  editor::CBroderaDoc doc{docHost};
  MirrorTransform mirror;
  editor::CBroderaView view{doc, viewHost, "/opt/velinor/"};

  ViewFixture() {
    platform::SetProfileRoot(dir.Path());
    view.SetTransform([this](const design::StitchRecord& s, design::StitchRecord& t, double sx, double sy,
                             int mh, int mv, bool large) { return mirror(s, t, sx, sy, mh, mv, large); });
    view.OnInitialUpdate();
  }
  ~ViewFixture() override { platform::SetProfileRoot({}); }

  // Places a design through the document as a click would find it, and selects it.
  editor::DesignPosition Place(int32_t x, int32_t y, int width = 200, int height = 100,
                               const std::string& name = "d.qnf") {
    editor::DesignObject d;
    d.name = name;
    d.centreX = x;
    d.centreY = y;
    editor::GiveNewRecords(d);
    FillRectangleDesign(*d.working, width, height);
    *d.source = *d.working;
    d.extents = editor::GetStitchExtents(*d.working);
    editor::TakeHalfSizes(d);
    d.placedHalfWidth = d.halfWidth;
    d.placedHalfHeight = d.halfHeight;
    const auto position = doc.AddDesign(d);
    doc.SetDesignCount(doc.GetDesignCount() + 1);
    view.SelectDesign(position);
    return position;
  }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& d : doc.GetDesignList()) names.push_back(d.name);
    return names;
  }
};

}  // namespace edtest
