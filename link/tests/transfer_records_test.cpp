#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/file_name_record.h"
#include "link/machine_directory.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "testing/temp_dir.h"

namespace {

using namespace transfer;

std::vector<uint8_t> Record(const std::string& text, std::size_t size = kListRecordBytes) {
  std::vector<uint8_t> record(size, 0);
  std::memcpy(record.data(), text.data(), std::min(text.size(), size));
  return record;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(TransferListFile, WrittenListReadsBack) {
  vtest::TempDir dir;
  const std::vector<std::string> paths = {(dir / "one.qnf").string(), "/a b/two.qnf"};
  ASSERT_FALSE(WriteTransferListFile(dir / "SendQnf.lst", paths));
  std::vector<uint8_t> bytes;
  ASSERT_FALSE(platform::ReadWholeFile(dir / "SendQnf.lst", bytes));
  EXPECT_EQ(bytes.size(), 520u);
  EXPECT_EQ(bytes[paths[0].size()], 0);
  std::vector<std::string> read;
  ASSERT_FALSE(ReadTransferListFile(dir / "SendQnf.lst", read));
  EXPECT_EQ(read, paths);
}

TEST(TransferListFile, WriterRefusesPathsThatDoNotFitOrWouldEndTheList) {
  vtest::TempDir dir;
  EXPECT_TRUE(WriteTransferListFile(dir / "l", {std::string(260, 'a')}));
  EXPECT_TRUE(WriteTransferListFile(dir / "l", {"a", ""}));
  EXPECT_FALSE(std::filesystem::exists(dir / "l"));
  EXPECT_FALSE(WriteTransferListFile(dir / "l", {std::string(259, 'a')}));
}

TEST(TransferListFile, ReaderStopsAtAShortOrEmptyRecord) {
  // Two whole records and a trailing partial one.
  EXPECT_EQ(ParseTransferList(Concat({Record("a.qnf"), Record("b.qnf"), Record("c.qnf", 100)})),
            (std::vector<std::string>{"a.qnf", "b.qnf"}));
  // An empty record ends the list even when more follow.
  EXPECT_EQ(ParseTransferList(Concat({Record("a.qnf"), Record(""), Record("c.qnf")})),
            (std::vector<std::string>{"a.qnf"}));
  // A record without its NUL gives its 260 bytes, never more.
  const std::string full(260, 'x');
  EXPECT_EQ(ParseTransferList(Record(full)), (std::vector<std::string>{full}));
  EXPECT_TRUE(ParseTransferList(Record("a", 259)).empty());
}

TEST(TransferListFile, EmptyOrMissingFileFails) {
  vtest::TempDir dir;
  std::vector<std::string> paths{"stale"};
  ASSERT_FALSE(platform::WriteWholeFile(dir / "empty", {}));
  EXPECT_TRUE(ReadTransferListFile(dir / "empty", paths));
  EXPECT_TRUE(paths.empty());
  EXPECT_TRUE(platform::IsNotFound(ReadTransferListFile(dir / "missing", paths)));
}

TEST(TransferEntries, ListsEndWithAnEmptyEntryAndPathsFitTheirField) {
  static_assert(sizeof(TransferListEntry) == 263);
  std::vector<TransferListEntry> list;
  ASSERT_TRUE(BuildSendList({"/d/a.qnf", "/d/b.qnf"}, kDestinationAtaCard, list));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(EntryPath(list[1]), "/d/b.qnf");
  EXPECT_EQ(list[1].destination, 2);
  EXPECT_EQ(list[1].designNo, 0);
  EXPECT_EQ(list[2].path[0], '\0');
  TransferListEntry entry{};
  EXPECT_TRUE(SetEntryPath(entry, std::string(260, 'p')));
  EXPECT_EQ(EntryPath(entry).size(), 260u);
  EXPECT_FALSE(SetEntryPath(entry, std::string(261, 'q')));
  EXPECT_EQ(EntryPath(entry), std::string(260, 'p'));
  // A field without a NUL is read to its end and no further.
  std::memset(entry.path, 'z', sizeof entry.path);
  EXPECT_EQ(EntryPath(entry).size(), 261u);
}

TEST(TransferEntries, ReceivePathKeepsPtnAndMakesEverythingElseQnf) {
  EXPECT_EQ(ReceivePath("/r", "ABC.PTN"), "/r/ABC.PTN");
  EXPECT_EQ(ReceivePath("/r", "ABC.QNF"), "/r/ABC.qnf");
  EXPECT_EQ(ReceivePath("/r", "ABC"), "/r/ABC.qnf");
  EXPECT_EQ(ReceivePath("/r", "A.B.C"), "/r/A.B.qnf");
}

TEST(TransferEntries, ReceivePathRefusesNamesThatLeaveTheFolderOrDoNotFit) {
  for (const char* name : {"../x.qnf", "a/b.qnf", "a\\b.qnf", "..", ".", "", "x..qnf"}) {
    EXPECT_EQ(ReceivePath("/r", name), "") << name;
  }
  const std::string folder(250, 'f');
  EXPECT_EQ(ReceivePath("/" + folder, "ABCDEFGH.qnf"), "");
  std::vector<TransferListEntry> list;
  EXPECT_FALSE(BuildReceiveList("/r", {{"ok.qnf", 1}, {"../evil", 2}}, 1, list));
  EXPECT_FALSE(BuildReceiveList("/r", {{"ok.qnf", 300}}, 1, list));
  ASSERT_TRUE(BuildReceiveList("/r", {{"ok.ptn", 4}}, 5, list));
  EXPECT_EQ(EntryPath(list[0]), "/r/ok.ptn");
  EXPECT_EQ(list[0].destination, 5);
  EXPECT_EQ(list[0].designNo, 4);
}

TEST(TransferEntries, DeleteListGoesFromTheHighestNumberDown) {
  std::vector<TransferListEntry> list;
  ASSERT_TRUE(BuildDeleteList({{"c", 3}, {"g", 7}, {"e", 5}}, 1, list));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].designNo, 7);
  EXPECT_EQ(list[1].designNo, 5);
  EXPECT_EQ(list[2].designNo, 3);
  EXPECT_EQ(EntryPath(list[0]), "g");
  EXPECT_EQ(list[3].path[0], '\0');
}

TEST(MachineDirectory, ListsDesignsInOrderFromOne) {
  const std::vector<uint8_t> bytes = {0x00, 0x03, 3, 'A', '.', 'q', 1, 'B', 2, 'C', 'D'};
  const std::vector<ListedDesign> designs = ParseMachineDirectory(bytes);
  ASSERT_EQ(designs.size(), 3u);
  EXPECT_EQ(designs[0].name, "A.q");
  EXPECT_EQ(designs[0].designNo, 1);
  EXPECT_EQ(designs[2].name, "CD");
  EXPECT_EQ(designs[2].designNo, 3);
  EXPECT_EQ(BuildMachineDirectory({"A.q", "B", "CD"}), bytes);
}

TEST(MachineDirectory, HostileEntriesEndOrLeaveTheList) {
  // The second entry claims more bytes than there are: the list ends before it.
  EXPECT_EQ(ParseMachineDirectory(std::vector<uint8_t>{0, 2, 1, 'A', 9, 'B'}).size(), 1u);
  // An empty name ends the list.
  EXPECT_EQ(ParseMachineDirectory(std::vector<uint8_t>{0, 3, 1, 'A', 0, 1, 'C'}).size(), 1u);
  // A name that would leave the folder is dropped; the next keeps its own number.
  const auto designs =
      ParseMachineDirectory(std::vector<uint8_t>{0, 3, 5, '.', '.', '/', 'x', 'y', 1, 'C'});
  ASSERT_EQ(designs.size(), 1u);
  EXPECT_EQ(designs[0].name, "C");
  EXPECT_EQ(designs[0].designNo, 2);
  EXPECT_TRUE(ParseMachineDirectory(std::vector<uint8_t>{0}).empty());
  // A name of two bytes with one left: nothing is listed and nothing past the data is read
  // (the byte behind the span would make the name "A?").
  const std::vector<uint8_t> cut = {0, 1, 2, 'A', '?'};
  EXPECT_TRUE(ParseMachineDirectory(std::span(cut.data(), 4)).empty());
  EXPECT_TRUE(ParseMachineDirectory(std::vector<uint8_t>{}).empty());
}

TEST(MachineDirectory, FileReadsBackAndMissingFileFails) {
  vtest::TempDir dir;
  ASSERT_FALSE(platform::WriteWholeFile(dir / "$$UPLDir.tmp", BuildMachineDirectory({"X", "Y"})));
  std::vector<ListedDesign> designs;
  ASSERT_FALSE(ReadMachineDirectoryFile(dir / "$$UPLDir.tmp", designs));
  ASSERT_EQ(designs.size(), 2u);
  EXPECT_EQ(designs[1].name, "Y");
  EXPECT_TRUE(ReadMachineDirectoryFile(dir / "none", designs));
}

TEST(FileNameRecord, ByteExactForAnEightCharacterName) {
  EXPECT_EQ(BuildFileNameRecord("C:\\Designs\\ABCD.qnf"),
            (std::vector<uint8_t>{0x51, 0x4F, 0x52, 0x56, 0x14, 0x00, 0x00, 0x00, 0x41, 0x42, 0x43,
                                  0x44, 0x2E, 0x71, 0x6E, 0x66, 0x00, 0x00, 0x00, 0x00}));
}

TEST(FileNameRecord, NameAreaAlwaysHoldsANulAndBlanksBecomeUnderscores) {
  EXPECT_EQ(BuildFileNameRecord("ABCD").size(), 16u);
  EXPECT_EQ(BuildFileNameRecord("ABC").size(), 12u);
  EXPECT_EQ(BuildFileNameRecord("ABCDE").size(), 16u);
  const std::vector<uint8_t> record = BuildFileNameRecord("/home/u/my rose.qnf");
  const auto parsed = ParseFileNameRecord(record);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->name, "my_rose.qnf");
  EXPECT_EQ(parsed->recordBytes, record.size());
  EXPECT_TRUE(BuildFileNameRecord("/folder/").empty());
  EXPECT_TRUE(BuildFileNameRecord("").empty());
}

TEST(FileNameRecord, ReaderRefusesLyingRecords) {
  std::vector<uint8_t> record = BuildFileNameRecord("ABCD.qnf");
  record[0] = 'X';
  EXPECT_FALSE(ParseFileNameRecord(record));
  record = BuildFileNameRecord("ABCD.qnf");
  record[4] = 200;  // longer than the bytes
  EXPECT_FALSE(ParseFileNameRecord(record));
  record[4] = 18;  // not whole words
  EXPECT_FALSE(ParseFileNameRecord(record));
  record = BuildFileNameRecord("ABCD.qnf");
  std::fill(record.begin() + 8, record.end(), 'x');  // no NUL inside the record
  EXPECT_FALSE(ParseFileNameRecord(record));
  EXPECT_FALSE(ParseFileNameRecord(std::vector<uint8_t>{'Q', 'O', 'R', 'V'}));
}

}  // namespace
