// The run-time binding of the USB link, with three stand-ins: one with every entry point,
// one missing an entry point, and none at all.

#include <gtest/gtest.h>

#include <future>

#include "link/panel/transfer_frame.h"
#include "link/panel/usb_link.h"
#include "link/panel/tests/link_test_env.h"
#include "platform/dynamic_library.h"

namespace {

using namespace linkpanel;

const std::filesystem::path kStubs = CABLINK_STUB_DIR;

class UsbLink : public ::testing::Test {
 protected:
  void TearDown() override {
    UnloadUsbLink();
    EXPECT_FALSE(IsUsbLinkBound());
  }
  // The stand-in's own controls, reached through a handle of our own on the same file.
  void SetStubResults(int initialize, int event) {
    auto stub = platform::DynamicLibrary::Open(kStubs / "libcablink_stub_complete.so");
    ASSERT_TRUE(stub);
    auto set = reinterpret_cast<void (*)(int, int)>(stub->Symbol("Stub_SetResults"));
    ASSERT_NE(set, nullptr);
    set(initialize, event);
  }
  int StubCalls() {
    auto stub = platform::DynamicLibrary::Open(kStubs / "libcablink_stub_complete.so");
    return reinterpret_cast<int (*)()>(stub->Symbol("Stub_Calls"))();
  }
  lptest::LinkEnvironment env;
};

TEST_F(UsbLink, ACompleteLibraryIsBoundAndCalled) {
  ASSERT_TRUE(LoadUsbLink(kStubs / "libcablink_stub_complete.so"));
  EXPECT_TRUE(IsUsbLinkBound());
  SetStubResults(0, 1);
  const int before = StubCalls();
  EXPECT_EQ(UsbInitialize(nullptr, nullptr), 0);
  EXPECT_EQ(UsbErase(1, 3, nullptr, nullptr), -12);
  EXPECT_EQ(UsbTerminate(), 0);
  EXPECT_EQ(StubCalls(), before + 3);

  int dialog = 0;
  TransferDialogFrame frame("Send Designs", &dialog);
  EXPECT_EQ(frame.Open(), "Send Designs - USB Connected");
  SetStubResults(-3, -1);
  EXPECT_EQ(frame.Open(), "Send Designs - USB Disconnected");
  // The caption follows what the device event says about the machine now.
  EXPECT_EQ(frame.OnDeviceChange(0x8000, 0), "Send Designs - USB Disconnected");
  SetStubResults(-3, 0);
  // With no worker running, a device event is passed on to the link once.
  const int beforeEvent = StubCalls();
  EXPECT_EQ(frame.OnDeviceChange(0x8000, 0), "Send Designs - USB Connected");
  EXPECT_EQ(StubCalls(), beforeEvent + 1);
}

TEST_F(UsbLink, ADeviceEventNeverReachesTheLinkUnderARunningWorker) {
  ASSERT_TRUE(LoadUsbLink(kStubs / "libcablink_stub_complete.so"));
  SetStubResults(0, -1);
  int dialog = 0;
  TransferDialogFrame frame("Send Designs", &dialog);
  EXPECT_EQ(frame.Open(), "Send Designs - USB Connected");
  // An event the link says changed nothing leaves the caption on what it last knew.
  SetStubResults(-3, 1);
  EXPECT_EQ(frame.OnDeviceChange(0x8000, 0), "Send Designs - USB Connected");

  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  frame.MarkStarted();
  ASSERT_TRUE(frame.Worker().Start([released] { released.wait(); }));
  const int before = StubCalls();
  // A node change would reopen the device, a removal close it: neither is passed on.
  EXPECT_EQ(frame.OnDeviceChange(7, 0), "Send Designs - USB Connected");
  EXPECT_EQ(frame.OnDeviceChange(0x8004, 0), "Send Designs - USB Disconnected");
  EXPECT_EQ(StubCalls(), before);
  release.set_value();
  frame.End();
  EXPECT_FALSE(TransferBusy());
}

TEST_F(UsbLink, ALibraryMissingOneEntryPointLeavesTheSerialLinkAlone) {
  EXPECT_FALSE(LoadUsbLink(kStubs / "libcablink_stub_missing.so"));
  EXPECT_FALSE(IsUsbLinkBound());
  EXPECT_EQ(UsbInitialize(nullptr, nullptr), kUsbNotBound);
  EXPECT_EQ(UsbEventProc(nullptr, 0, 0), 1);
  EXPECT_EQ(UsbTerminate(), 0);
  EXPECT_EQ(UsbDownload(nullptr, 0, nullptr, nullptr), kTransferPortFailed);
  EXPECT_EQ(UsbDisplayMessage(nullptr, "Sending", -1, 0), kTransferPortFailed);
}

TEST_F(UsbLink, AnAbsentLibraryMeansEveryCaptionSaysComPort) {
  EXPECT_FALSE(LoadUsbLink(kStubs / "libcablink.so"));
  EXPECT_FALSE(IsUsbLinkBound());
  int dialog = 0;
  TransferDialogFrame frame("Delete Designs", &dialog);
  EXPECT_EQ(frame.Open(), "Delete Designs - COM Port");
  EXPECT_EQ(frame.OnDeviceChange(0x8004, 0), "Delete Designs - COM Port");
}

TEST_F(UsbLink, TheCablinkBesideThisProgramIsBoundAndFindsNoMachine) {
  ASSERT_TRUE(LoadUsbLink());
  int dialog = 0;
  TransferDialogFrame frame("Receive Designs", &dialog);
  EXPECT_EQ(frame.Open(), "Receive Designs - USB Disconnected");
  EXPECT_EQ(UsbInitialize(nullptr, nullptr), kTransferPortFailed);
  EXPECT_EQ(UsbDisplayMessage(nullptr, "Receiving", kTransferPortFailed, 0), 1);
}

TEST_F(UsbLink, BindingAgainFirstLetsTheOldBindingGo) {
  ASSERT_TRUE(LoadUsbLink(kStubs / "libcablink_stub_complete.so"));
  EXPECT_FALSE(LoadUsbLink(kStubs / "libcablink_stub_missing.so"));
  EXPECT_FALSE(IsUsbLinkBound());
}

TEST(DynamicLibrary, OnlyAbsolutePathsAreLoadedAndFoldersAreFoundFromAnAddress) {
  EXPECT_FALSE(platform::DynamicLibrary::Open("libcablink_stub_complete.so"));
  EXPECT_FALSE(platform::DynamicLibrary::Open(""));
  auto stub = platform::DynamicLibrary::Open(kStubs / "libcablink_stub_complete.so");
  ASSERT_TRUE(stub);
  EXPECT_EQ(stub->Symbol("No_Such_Entry"), nullptr);
  void* entry = stub->Symbol("USB_Initialize");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(platform::FolderOfLoadedFile(entry), std::filesystem::canonical(kStubs));
}

}  // namespace
