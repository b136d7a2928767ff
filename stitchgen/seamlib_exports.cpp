// The six exported functions: thin calls into the one module state.

#include "platform/message_box.h"
#include "stitchgen/seamlib.h"
#include "stitchgen/seamlib_module.h"

extern "C" {

int StChgStitch(int typeCode, int partNo, int width, int height, char* out, unsigned char* mask,
                SatinColumnRecord* satin, int borderFlag) {
  return seamlib::Module().ChangeStitch(typeCode, partNo, width, height, out, mask, satin,
                                        borderFlag);
}

int StInsStopCode() { return seamlib::Module().InsertStopCode(); }

int StInsEndCode() { return seamlib::Module().InsertEndCode(); }

int StBackEndCode() { return seamlib::Module().BackEndCode(); }

int StSatinFailure() { return seamlib::Module().TakeSatinFailures(); }

int DllTestMess(void* owner, const char* text) {
  constexpr int kTestAnswer = 100;
  platform::MessageBox(owner, " Test DLL\nDon't forget [xxxxx.def]", "Attention",
                       platform::kMbOk);
  platform::MessageBox(owner, text != nullptr ? text : "", "MESSAGE", platform::kMbOk);
  return kTestAnswer;
}

}  // extern "C"
