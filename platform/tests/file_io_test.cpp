#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "testing/file_size_limit.h"
#include "testing/temp_dir.h"

namespace {

TEST(FileIo, NotFoundIsToldApartFromOtherCauses) {
  vtest::TempDir dir;
  std::vector<uint8_t> bytes;
  const std::error_code missing = platform::ReadWholeFile(dir / "absent.qnf", bytes);
  EXPECT_TRUE(missing);
  EXPECT_TRUE(platform::IsNotFound(missing));

  // A folder read as a file fails for another cause.
  const std::error_code folder = platform::ReadWholeFile(dir.Path(), bytes);
  EXPECT_TRUE(folder);
  EXPECT_FALSE(platform::IsNotFound(folder));

  EXPECT_TRUE(platform::IsNotFound(platform::RemoveFile(dir / "absent.qnf")));
}

TEST(FileIo, WholeFileRoundTripAndSizeLimit) {
  vtest::TempDir dir;
  const std::vector<uint8_t> data(200000, 0x5A);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "a.bin", data));
  std::vector<uint8_t> back;
  ASSERT_FALSE(platform::ReadWholeFile(dir / "a.bin", back));
  EXPECT_EQ(back, data);
  EXPECT_EQ(platform::ReadWholeFile(dir / "a.bin", back, 1000), std::errc::file_too_large);
  EXPECT_TRUE(back.empty());
  // A file of exactly the limit is read whole.
  ASSERT_FALSE(platform::ReadWholeFile(dir / "a.bin", back, data.size()));
  EXPECT_EQ(back, data);
  EXPECT_FALSE(platform::RemoveFile(dir / "a.bin"));
  EXPECT_FALSE(std::filesystem::exists(dir / "a.bin"));
}

TEST(FileIo, HeadOfAFileIsReadUpToItsLength) {
  vtest::TempDir dir;
  std::vector<uint8_t> data(150000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "a.bin", data));
  std::vector<uint8_t> head;
  ASSERT_FALSE(platform::ReadFileHead(dir / "a.bin", head, 70001));
  EXPECT_EQ(head, std::vector<uint8_t>(data.begin(), data.begin() + 70001));
  ASSERT_FALSE(platform::ReadFileHead(dir / "a.bin", head, 1 << 20));
  EXPECT_EQ(head, data);
  EXPECT_TRUE(platform::IsNotFound(platform::ReadFileHead(dir / "absent.bin", head, 10)));
  EXPECT_TRUE(head.empty());
}

std::vector<std::string> FolderNames(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FileIo, WriteThatFailsHalfWayLeavesTheOldFileAsItWas) {
  vtest::TempDir dir;
  const std::vector<uint8_t> old(3000, 7);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "big.bin", old));
  std::error_code error;
  {
    vtest::FileSizeLimit limit(4096);
    error = platform::WriteWholeFile(dir / "big.bin", std::vector<uint8_t>(100000, 1));
  }
  EXPECT_TRUE(error);
  EXPECT_FALSE(platform::IsNotFound(error));
  std::vector<uint8_t> back;
  ASSERT_FALSE(platform::ReadWholeFile(dir / "big.bin", back));
  EXPECT_EQ(back, old);
  EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"big.bin"});  // no temporary left
}

TEST(FileIo, TargetChangesOnlyWhenTheWriterCloses) {
  vtest::TempDir dir;
  ASSERT_FALSE(platform::WriteWholeFile(dir / "a.qnf", std::vector<uint8_t>{1, 2}));
  std::vector<uint8_t> back;
  {
    platform::OutputFile file;
    ASSERT_FALSE(file.Create(dir / "a.qnf"));
    ASSERT_FALSE(file.Write(std::vector<uint8_t>{9, 9, 9}));
    ASSERT_FALSE(platform::ReadWholeFile(dir / "a.qnf", back));
    EXPECT_EQ(back, (std::vector<uint8_t>{1, 2}));
  }  // dropped without Close: nothing replaced, nothing left behind
  ASSERT_FALSE(platform::ReadWholeFile(dir / "a.qnf", back));
  EXPECT_EQ(back, (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"a.qnf"});

  platform::OutputFile file;
  ASSERT_FALSE(file.Create(dir / "a.qnf"));
  ASSERT_FALSE(file.Write(std::vector<uint8_t>{9, 9, 9}));
  ASSERT_FALSE(file.Close());
  ASSERT_FALSE(platform::ReadWholeFile(dir / "a.qnf", back));
  EXPECT_EQ(back, (std::vector<uint8_t>{9, 9, 9}));
  EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"a.qnf"});
  // A folder that is not there is "not found", told apart from other causes.
  EXPECT_TRUE(platform::IsNotFound(platform::WriteWholeFile(dir / "no" / "a.qnf", back)));
}

}  // namespace
