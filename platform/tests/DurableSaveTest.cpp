// The durable writer: a refused or failed save leaves the target as it was
// and no temporary behind; a good one replaces it whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/DurableSave.h"
#include "platform/tests/ScratchDir.h"

namespace {

std::vector<std::string> Names(const ScratchDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.Root())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DurableSave, RefusalsLeaveTheTargetAndNoTemporary) {
  struct Case {
    const char* what;
    const char* target;  // relative to the scratch directory
    const char* reason;  // part of the message
  };
  const Case cases[] = {
      {"target is a directory", "folder", "not a regular file"},
      {"folder missing", "missing/save.kv9", "folder does not exist"},
      {"target is a pipe", "pipe", "not a regular file"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.File("folder"));
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    const std::vector<std::string> before = Names(dir);
    std::string why;
    EXPECT_FALSE(platform::SaveFileDurably(dir.File(c.target), "new", 3, &why)) << c.what;
    EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
    EXPECT_EQ(Names(dir), before) << c.what;
  }
}

TEST(DurableSave, AnAbandonedOrFailedWriteLeavesTheOldFile) {
  ScratchDir dir;
  const std::string target = dir.Write("Config.cfg", "old");
  {
    platform::DurableFile file;
    std::string why;
    ASSERT_TRUE(file.Begin(dir.File("CONFIG.CFG"), &why)) << why;
    EXPECT_EQ(file.TargetPath(), target) << "an existing target keeps its real name";
    ASSERT_TRUE(file.Write("new", 3));
    EXPECT_TRUE(std::filesystem::exists(file.TempPath()));
  }  // destroyed uncommitted
  EXPECT_EQ(dir.Read("Config.cfg"), "old");
  EXPECT_EQ(Names(dir), std::vector<std::string>{"Config.cfg"});

  platform::DurableFile file;
  ASSERT_TRUE(file.Begin(target, nullptr));
  EXPECT_FALSE(file.Write(nullptr, 5)) << "a write from nothing fails";
  EXPECT_FALSE(file.Write("new", 3)) << "and every write after it";
  std::string why;
  EXPECT_FALSE(file.Commit(&why));
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(dir.Read("Config.cfg"), "old");
  EXPECT_EQ(Names(dir), std::vector<std::string>{"Config.cfg"});
}

TEST(DurableSave, ASaveKeepsThePermissionsOfTheFileItReplaces) {
  ScratchDir dir;
  const std::string target = dir.Write("keys.cfg", "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  std::string why;
  ASSERT_TRUE(platform::SaveFileDurably(target, "new text", 8, &why)) << why;
  EXPECT_EQ(dir.Read("keys.cfg"), "new text");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
