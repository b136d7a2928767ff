/* A stand-in for the USB link library, built twice for the loader's tests: with every
 * entry point, and without the erase sequence. It finds no machine unless told to, and
 * counts the calls it gets. */

#include <stdint.h>

#define STUB_EXPORT __attribute__((visibility("default")))

static int initializeResult = -3;
static int eventResult = -1;
static int calls = 0;

STUB_EXPORT void Stub_SetResults(int initialize, int event) {
  initializeResult = initialize;
  eventResult = event;
}
STUB_EXPORT int Stub_Calls(void) { return calls; }

STUB_EXPORT int USB_Initialize(void* window, void* abortEvent) { ++calls; return initializeResult; }
STUB_EXPORT int USB_EventProc(void* window, uintptr_t event, intptr_t data) { ++calls; return eventResult; }
STUB_EXPORT int USB_Terminate(void) { ++calls; return 0; }
STUB_EXPORT int USB_Download_Sequence(void* list, int count, int* detail, void* cb) { ++calls; return 0; }
STUB_EXPORT int USB_DirectDownload_Sequence(const void* design, unsigned size, const char* name,
                                            int destination, int* detail, void* cb) { ++calls; return 0; }
STUB_EXPORT int USB_Upload_Sequence(void* list, int count, int* detail, void* cb) { ++calls; return 0; }
#ifndef STUB_LEAVE_OUT_ERASE
STUB_EXPORT int USB_Erase_Sequence(int destination, int designNo, int* detail, void* onRefused) {
  ++calls;
  return -12;
}
#endif
STUB_EXPORT int USB_Opening_Sequence(const char* file, int* detail, void* cb) { ++calls; return 0; }
STUB_EXPORT int USB_DirUpload_Sequence(const char* outFile, int destination, int* detail, void* cb) { ++calls; return 0; }
STUB_EXPORT int USB_DisplayMessageByReturnCode(void* owner, const char* caption, int code, int detail) {
  ++calls;
  return 1;
}
