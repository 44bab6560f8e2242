// A save replaces the old one whole or not at all: a file that happens to
// carry a temporary-looking name beside it is never written into, and a
// writer killed part-way leaves the old save byte for byte as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/files/Serializer.h"
#include "platform/tests/ScratchDir.h"

namespace {

std::string OldSave() {
  std::string bytes("\5\0\0\0older", 9);
  for (int i = 0; i < 300; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

// Writes a save of `blocks` blocks of `blockBytes` bytes each to `path`.
bool WriteSave(const std::string& path, int blocks, uint32_t blockBytes) {
  cSerializer out;
  if (!out.Initialize(path, true)) return false;
  std::vector<uint8_t> block(blockBytes);
  for (int i = 0; i < blocks; ++i) {
    for (uint32_t j = 0; j < blockBytes; ++j) block[j] = static_cast<uint8_t>(i + j);
    if (!out.WriteBlock(block.data(), blockBytes)) return false;
  }
  return out.Close();
}

TEST(SaveDurability, APlantedTemporaryNameBesideTheSaveIsLeftAlone) {
  ScratchDir dir;
  const std::string save = dir.Write("save.kv9", OldSave());
  struct Case {
    const char* planted;
  };
  const Case cases[] = {{"save.kv9.TMP"}, {"save.kv9.tmp"}, {"SAVE.KV9.TMP"}};
  for (const Case& c : cases) {
    const std::string planted = dir.Write(c.planted, std::string("someone else's file ") + c.planted);
    ASSERT_TRUE(WriteSave(save, 3, 100)) << c.planted;
    EXPECT_EQ(dir.Read(c.planted), std::string("someone else's file ") + c.planted) << c.planted;
    EXPECT_EQ(dir.Read("save.kv9").size(), 3u * 104u) << c.planted << ": the new save is in place";
    std::filesystem::remove(planted);
  }
}

TEST(SaveDurability, AWriterKilledPartWayLeavesTheOldSaveByteIdentical) {
  // The child may write at most `limit` bytes to any file: one more and the
  // system kills it (SIGXFSZ), in the middle of the save.
  struct Case {
    const char* what;
    rlim_t limit;
  };
  const Case cases[] = {
      {"killed before the first byte", 0},
      {"killed inside the first count", 2},
      {"killed after one block", 4 + 1000},
      {"killed at the first buffer flush", 64 * 1024},
      {"killed one byte short of the end", 100 * 1004 - 1},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string save = dir.Write("save.kv9", OldSave());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit noCore{0, 0};
      ::setrlimit(RLIMIT_CORE, &noCore);
      const rlimit limit{c.limit, c.limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      const bool saved = WriteSave(save, 100, 1000);
      ::_exit(saved ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child) << c.what;
    // Killed, or (when the limit made a write fail first) a refused save.
    EXPECT_TRUE((WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) || (WIFEXITED(status) && WEXITSTATUS(status) == 3))
        << c.what << ": status " << status;
    EXPECT_EQ(dir.Read("save.kv9"), OldSave()) << c.what;
  }
}

TEST(SaveDurability, AWriterWithRoomToFinishReplacesTheSaveAndLeavesNoTemporary) {
  ScratchDir dir;
  const std::string save = dir.Write("save.kv9", OldSave());
  ASSERT_TRUE(WriteSave(save, 40, 1000));
  EXPECT_EQ(dir.Read("save.kv9").size(), 40u * 1004u);
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.Root())) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"save.kv9"});
}

}  // namespace
