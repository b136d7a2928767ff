#include "platform/file_io.h"
#include "platform/file_pair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "testing/cut_short_save.h"
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

namespace fs = std::filesystem;

std::vector<uint8_t> Read(const fs::path& path) {
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(platform::ReadWholeFile(path, bytes)) << path;
  return bytes;
}

TEST(FileIo, AFolderHeldOpenTakesItsFilesWhereverItsPathLeadsLater) {
  vtest::TempDir dir;
  fs::create_directory(dir / "card");
  platform::FolderHandle card;
  ASSERT_FALSE(card.Open(dir / "card"));
  bool made = false;
  platform::FolderHandle designs;
  ASSERT_FALSE(designs.OpenOrMake(card, "PC_Link", made));
  EXPECT_TRUE(made);
  // The card goes, and a folder of the same name stands at its path.
  fs::rename(dir / "card", dir / "pulled");
  fs::create_directories(dir / "card" / "PC_Link");

  platform::OutputFile file;
  ASSERT_FALSE(file.CreateIn(designs, "rose.qnf"));
  ASSERT_FALSE(file.Write(std::vector<uint8_t>{1, 2, 3}));
  ASSERT_FALSE(file.Close());
  platform::OutputFile dropped;
  ASSERT_FALSE(dropped.CreateIn(designs, "tulip.qnf"));
  dropped.Discard();
  EXPECT_EQ(Read(dir / "pulled" / "PC_Link" / "rose.qnf"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(FolderNames(dir / "pulled" / "PC_Link"), std::vector<std::string>{"rose.qnf"});
  EXPECT_TRUE(fs::is_empty(dir / "card" / "PC_Link"));

  // Only plain files are removed, and a link is not taken for a folder.
  EXPECT_TRUE(card.RemoveFile("PC_Link"));
  EXPECT_FALSE(designs.RemoveFile("rose.qnf"));
  EXPECT_TRUE(fs::is_empty(dir / "pulled" / "PC_Link"));
  fs::create_directory_symlink(dir / "pulled", dir / "link");
  EXPECT_TRUE(platform::FolderHandle().Open(dir / "link"));
}

TEST(FileIo, AReplacedFileKeepsItsModeAndALinkIsWrittenThrough) {
  vtest::TempDir dir;
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", std::vector<uint8_t>{1}));
  fs::permissions(dir / "rose.qnf", fs::perms(0604), fs::perm_options::replace);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", std::vector<uint8_t>{2}));
  EXPECT_EQ(fs::status(dir / "rose.qnf").permissions(), fs::perms(0604));
  EXPECT_EQ(Read(dir / "rose.qnf"), std::vector<uint8_t>{2});

  // A chain of links, relative and absolute: the file at its end is replaced, the links stay.
  fs::create_directory(dir / "designs");
  ASSERT_FALSE(platform::WriteWholeFile(dir / "designs" / "tulip.qnf", std::vector<uint8_t>{3}));
  fs::create_symlink("designs/tulip.qnf", dir / "near.qnf");
  fs::create_symlink(dir / "near.qnf", dir / "far.qnf");
  ASSERT_FALSE(platform::WriteWholeFile(dir / "far.qnf", std::vector<uint8_t>{4}));
  EXPECT_TRUE(fs::is_symlink(dir / "near.qnf"));
  EXPECT_TRUE(fs::is_symlink(dir / "far.qnf"));
  EXPECT_EQ(Read(dir / "designs" / "tulip.qnf"), std::vector<uint8_t>{4});
  // A link to a file not made yet makes that file.
  fs::create_symlink("designs/new.qnf", dir / "ahead.qnf");
  ASSERT_FALSE(platform::WriteWholeFile(dir / "ahead.qnf", std::vector<uint8_t>{5}));
  EXPECT_TRUE(fs::is_symlink(dir / "ahead.qnf"));
  EXPECT_EQ(Read(dir / "designs" / "new.qnf"), std::vector<uint8_t>{5});
  // Links in a loop lead nowhere: refused, and nothing is written.
  fs::create_symlink("loop2", dir / "loop1");
  fs::create_symlink("loop1", dir / "loop2");
  EXPECT_EQ(platform::WriteWholeFile(dir / "loop1", std::vector<uint8_t>{6}), std::errc::too_many_symbolic_link_levels);
  EXPECT_TRUE(fs::is_symlink(dir / "loop1"));
}

// The superuser may write any file, so the refusal is the writer's own.
TEST(FileIo, AFileWithoutWritePermissionForItsOwnerIsNotReplaced) {
  vtest::TempDir dir;
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", std::vector<uint8_t>{1}));
  fs::permissions(dir / "rose.qnf", fs::perms(0444), fs::perm_options::replace);
  fs::create_symlink("rose.qnf", dir / "link.qnf");
  for (const char* name : {"rose.qnf", "link.qnf"}) {
    const std::error_code error = platform::WriteWholeFile(dir / name, std::vector<uint8_t>{2});
    EXPECT_EQ(error, std::errc::permission_denied) << name;
    EXPECT_FALSE(platform::IsNotFound(error));
  }
  EXPECT_EQ(Read(dir / "rose.qnf"), std::vector<uint8_t>{1});
  EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"link.qnf", "rose.qnf"}));
}

TEST(FileIo, TemporariesLeftByASaveCutShortGoWithTheNextSaveOfTheirFile) {
  vtest::TempDir dir;
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", std::vector<uint8_t>{1}));
  ASSERT_TRUE(vtest::CutShortSave(dir / "rose.qnf"));
  ASSERT_TRUE(vtest::CutShortSave(dir / "tulip.qnf"));
  std::ofstream(dir / ".rose.qnf.notes.part") << "the user's";
  const std::vector<std::string> left = FolderNames(dir.Path());
  ASSERT_EQ(left.size(), 4u);
  // Hidden, and ending in none of the extensions that file lists look for.
  for (const std::string& name : left) {
    if (name != "rose.qnf") EXPECT_TRUE(name.starts_with(".") && name.ends_with(".part")) << name;
  }
  EXPECT_EQ(Read(dir / "rose.qnf"), std::vector<uint8_t>{1});

  // A save of the same file that is still being written is no left-over.
  platform::OutputFile writing;
  ASSERT_FALSE(writing.Create(dir / "rose.qnf"));
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", std::vector<uint8_t>{2}));
  std::vector<std::string> now = FolderNames(dir.Path());
  std::erase_if(now, [&](const std::string& name) {
    return std::find(left.begin(), left.end(), name) == left.end();  // the save being written
  });
  EXPECT_EQ(now.size(), 3u);
  EXPECT_TRUE(std::none_of(now.begin(), now.end(), [](const std::string& name) {
    return name.starts_with(".rose.qnf.") && name != ".rose.qnf.notes.part";
  }));
  ASSERT_FALSE(writing.Write(std::vector<uint8_t>{3}));
  ASSERT_FALSE(writing.Close());
  EXPECT_EQ(Read(dir / "rose.qnf"), std::vector<uint8_t>{3});
  EXPECT_EQ(FolderNames(dir.Path()).size(), 3u);
}

// A design and its picture: both replaced, or neither. Each is the same safe write as any
// other file: the link stays a link, the mode is kept, a file without write permission refused.
TEST(FileIo, FilesWrittenTogetherAreReplacedTogetherOrNotAtAll) {
  vtest::TempDir dir;
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", std::vector<uint8_t>{1}));
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.bmp", std::vector<uint8_t>{2}));
  fs::permissions(dir / "rose.qnf", fs::perms(0640), fs::perm_options::replace);
  fs::create_symlink("rose.bmp", dir / "link.bmp");
  const std::vector<uint8_t> design{3, 3}, picture{4, 4};
  const platform::FileToWrite both[] = {{dir / "rose.qnf", design}, {dir / "link.bmp", picture}};
  ASSERT_FALSE(platform::WriteFilesTogether(both));
  EXPECT_EQ(Read(dir / "rose.qnf"), design);
  EXPECT_EQ(Read(dir / "rose.bmp"), picture);
  EXPECT_TRUE(fs::is_symlink(dir / "link.bmp"));
  EXPECT_EQ(fs::status(dir / "rose.qnf").permissions(), fs::perms(0640));

  // The picture cannot be replaced: the design keeps its old bytes too, and no temporary stays.
  fs::permissions(dir / "rose.bmp", fs::perms(0444), fs::perm_options::replace);
  const std::vector<uint8_t> newer{5};
  const platform::FileToWrite refused[] = {{dir / "rose.qnf", newer}, {dir / "rose.bmp", newer}};
  fs::path failed;
  EXPECT_EQ(platform::WriteFilesTogether(refused, &failed), std::errc::permission_denied);
  EXPECT_EQ(failed, dir / "rose.bmp");
  EXPECT_EQ(Read(dir / "rose.qnf"), design);
  EXPECT_EQ(Read(dir / "rose.bmp"), picture);
  EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"link.bmp", "rose.bmp", "rose.qnf"}));
}

TEST(FileIo, AFileReplacedUnderItsNameTellsAnotherIdentity) {
  vtest::TempDir dir;
  const std::vector<uint8_t> bytes{1, 2, 3};
  ASSERT_FALSE(platform::WriteWholeFile(dir / "a.qnf", bytes));
  platform::FileIdentity first, again, replaced;
  ASSERT_FALSE(platform::FileIdentityOf(dir / "a.qnf", first));
  ASSERT_FALSE(platform::FileIdentityOf(dir / "a.qnf", again));
  EXPECT_EQ(first, again);
  EXPECT_EQ(first.size, 3u);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "a.qnf", bytes));  // same bytes, another file
  ASSERT_FALSE(platform::FileIdentityOf(dir / "a.qnf", replaced));
  EXPECT_NE(first, replaced);
  EXPECT_TRUE(platform::IsNotFound(platform::FileIdentityOf(dir / "gone.qnf", replaced)));
}

}  // namespace
