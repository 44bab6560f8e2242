#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "base/StringUtil.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/Directory.h"
#include "platform/Library.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/DurableSave.h"
#include "platform/FileRead.h"
#include "platform/Paths.h"
#include "platform/Random.h"

namespace fs = std::filesystem;

namespace {

struct TempTree {
  fs::path root;
  TempTree() {
    root = fs::temp_directory_path() / ("paths_test_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Sounds" / "Weather");
    std::ofstream(root / "Sounds" / "Weather" / "WE_rain.wav") << "RIFF";
    platform::ClearPathCache();
  }
  ~TempTree() { fs::remove_all(root); }
};

TEST(Random, MatchesTheRuntimeSequenceAndStaysIn15Bits) {
  platform::SRand(1);
  // The first values of the runtime's generator from its default seed.
  EXPECT_EQ(platform::Rand(), 41);
  EXPECT_EQ(platform::Rand(), 18467);
  EXPECT_EQ(platform::Rand(), 6334);
  for (int i = 0; i < 100000; ++i) {
    const int r = platform::Rand();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, platform::kRandMax);
  }
  platform::SRand(1);
  EXPECT_EQ(platform::Rand(), 41);
}

TEST(Locale, ParsesLikeTheCRuntimeWithADotDecimalPoint) {
  struct Case { const char* text; double value; };
  const Case cases[] = {{"1.5", 1.5}, {"  -2.25xyz", -2.25}, {"+3", 3.0}, {"abc", 0.0}, {"", 0.0}, {"1e3", 1000.0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(platform::ParseDouble(c.text), c.value) << c.text;
  // Out of a double's range: huge values become infinity with their sign, tiny ones zero.
  const double inf = std::numeric_limits<double>::infinity();
  const Case outOfRange[] = {{"1e999", inf}, {"-1e999", -inf}, {"1e-999", 0.0}, {"-1e-999", 0.0},
                             {"0.001e312", inf}, {"12345e-330", 0.0}, {"1e99999999999999999999", inf}};
  for (const Case& c : outOfRange) EXPECT_EQ(platform::ParseDouble(c.text), c.value) << c.text;
  EXPECT_EQ(platform::ParseInt("  42abc"), 42);
  EXPECT_EQ(platform::ParseInt("-7"), -7);
  EXPECT_EQ(platform::ParseInt("99999999999"), 2147483647);
  EXPECT_EQ(platform::ParseInt("x"), 0);
  int32_t i = 0;
  EXPECT_TRUE(platform::TryParseInt(" 12 ", &i));
  EXPECT_EQ(i, 12);
  EXPECT_FALSE(platform::TryParseInt("12a", &i));
  double d = 0;
  EXPECT_FALSE(platform::TryParseDouble("", &d));
  EXPECT_EQ(platform::FormatDouble(0.5), "0.500000");
}

TEST(Clock, TestClockDrivesCounterAndTicks) {
  platform::TestClock clock;
  int64_t freq = 0, count = 0;
  ASSERT_TRUE(platform::QueryPerformanceFrequency(&freq));
  EXPECT_EQ(freq, platform::TestClock::kFrequency);
  clock.AdvanceSeconds(2.5);
  ASSERT_TRUE(platform::QueryPerformanceCounter(&count));
  EXPECT_EQ(count, 2'500'000);
  EXPECT_EQ(platform::GetTickCount(), 2500u);
  // The tick count wraps at 2^32 milliseconds.
  clock.SetCounter((int64_t(1) << 32) * 1000 + 5000);
  EXPECT_EQ(platform::GetTickCount(), 5u);
}

// The date-taken seeds repeat under a test clock and follow the real date
// again once it is gone.
TEST(Clock, WallClockFollowsTheTestClockWhileInstalled) {
  const int64_t before = platform::WallClockSeconds();
  EXPECT_GT(before, platform::TestClock::kWallClockStart) << "the real date is later than the fixed start";
  {
    platform::TestClock clock;
    EXPECT_EQ(platform::WallClockSeconds(), platform::TestClock::kWallClockStart);
    clock.AdvanceMicroseconds(2'999'999);
    EXPECT_EQ(platform::WallClockSeconds(), platform::TestClock::kWallClockStart + 2);
  }
  EXPECT_GE(platform::WallClockSeconds(), before);
}

TEST(Clock, RealCounterIsMonotonic) {
  int64_t a = 0, b = 0;
  platform::QueryPerformanceCounter(&a);
  platform::QueryPerformanceCounter(&b);
  EXPECT_LE(a, b);
}

TEST(DebugOutput, SinkReceivesTextAndIsRestored) {
  platform::SetDebugStderr(false);
  {
    platform::ScopedDebugCapture outer;
    {
      platform::ScopedDebugCapture inner;
      platform::DebugPrintf("[Test::Run] %d items\n", 3);
      EXPECT_EQ(inner.Text(), "[Test::Run] 3 items\n");
    }
    platform::OutputDebugString("after");
    EXPECT_EQ(outer.Text(), "after");
  }
  platform::SetDebugStderr(true);
}

TEST(MessageBox, HeadlessAnswersWithoutBlockingAndHandlerIsUsed) {
  EXPECT_EQ(platform::MessageBox("text", "caption", platform::MB_OK), platform::IDOK);
  std::string seen;
  auto previous = platform::SetMessageBoxHandler([&](const std::string& t, const std::string&, unsigned) {
    seen = t;
    return int(platform::IDNO);
  });
  EXPECT_EQ(platform::MessageBox("Sorry", "Game", platform::MB_YESNO), platform::IDNO);
  EXPECT_EQ(seen, "Sorry");
  platform::SetMessageBoxHandler(previous);
}

TEST(Paths, ResolvesWindowsNamesIgnoringCase) {
  TempTree t;
  std::string real;
  ASSERT_TRUE(platform::ResolvePath("sounds\\WEATHER\\we_RAIN.WAV", &real, t.root.string()));
  EXPECT_EQ(real, (t.root / "Sounds" / "Weather" / "WE_rain.wav").string());
  EXPECT_TRUE(platform::ResolvePath("Sounds/Weather/", &real, t.root.string()));
  EXPECT_FALSE(platform::ResolvePath("Sounds\\Missing\\x.wav", &real, t.root.string()));
  EXPECT_FALSE(platform::ResolvePath("Sounds\\Weather\\none.wav", &real, t.root.string()));

  // A file created after the listing was cached is still found.
  std::ofstream(t.root / "Sounds" / "New.ogg") << "x";
  EXPECT_TRUE(platform::ResolvePath("SOUNDS\\new.OGG", &real, t.root.string()));

  // Writing keeps a new last component's case and resolves the directories.
  ASSERT_TRUE(platform::ResolvePathForWrite("sounds\\Fresh.cfg", &real, t.root.string()));
  EXPECT_EQ(real, (t.root / "Sounds" / "Fresh.cfg").string());
  EXPECT_FALSE(platform::ResolvePathForWrite("nodir\\Fresh.cfg", &real, t.root.string()));
}

TEST(Paths, ReadsAndDurablyWritesWholeFilesInAnyCase) {
  TempTree t;
  const std::string data = "line1\r\nline2";
  std::string why;
  ASSERT_TRUE(platform::SaveFileDurably("SOUNDS\\out.txt", data.data(), data.size(), &why, t.root.string())) << why;
  std::string back;
  platform::FileReadError error;
  ASSERT_TRUE(platform::ReadFileText("sounds/OUT.TXT", 1024, &back, &error, t.root.string())) << error.text;
  EXPECT_EQ(back, data);
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(t.root / "Sounds")) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Weather", "out.txt"})) << "no temporary is left behind";
  EXPECT_FALSE(platform::ReadFileText("absent.txt", 1024, &back, &error, t.root.string()));
  EXPECT_EQ(error.kind, platform::FileReadError::kMissing);
}

TEST(Directory, ListsSortedAndMatchesWildcards) {
  TempTree t;
  std::ofstream(t.root / "b.so") << "";
  std::ofstream(t.root / "a.SO") << "";
  std::vector<platform::DirEntry> entries;
  ASSERT_TRUE(platform::ListDirectory(t.root.string(), &entries));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "Sounds");
  EXPECT_TRUE(entries[0].isDirectory);
  EXPECT_EQ(entries[1].name, "a.SO");
  EXPECT_TRUE(platform::WildcardMatch("*.so", "a.SO"));
  EXPECT_TRUE(platform::WildcardMatch("lib?.so", "libx.so"));
  EXPECT_FALSE(platform::WildcardMatch("*.so", "a.so.1"));
  EXPECT_FALSE(platform::ListDirectory((t.root / "missing").string(), &entries));
}

TEST(Library, ReportsFailureForMissingLibraries) {
  EXPECT_EQ(platform::LoadLibrary("/nonexistent/libnothing.so"), nullptr);
  EXPECT_FALSE(platform::LibraryError().empty());
  EXPECT_EQ(platform::GetProcAddress(nullptr, "x"), nullptr);
  EXPECT_FALSE(platform::FreeLibrary(nullptr));
}

TEST(StringUtil, FoldsAsciiOnly) {
  EXPECT_EQ(str::ToLower("SPN::GM:Service"), "spn::gm:service");
  EXPECT_TRUE(str::EqualsNoCase("MainCamera", "maincamera"));
  EXPECT_LT(str::CompareNoCase("abc", "ABD"), 0);
  EXPECT_EQ(str::ToLower("\xC4"), "\xC4");
  EXPECT_EQ(str::Trim(" \t x y \r\n"), "x y");
  EXPECT_EQ(str::Split("a\\b/c", "\\/").size(), 3u);
}

TEST(StringUtil, MapsQuotedEscapes) {
  EXPECT_EQ(str::EscapedChar('n'), '\n');
  EXPECT_EQ(str::EscapedChar('v'), '\v');
  EXPECT_EQ(str::EscapedChar('"'), '"');
  EXPECT_EQ(str::EscapedChar('\\'), '\\');
  EXPECT_EQ(str::EscapedChar('x'), 0);
  EXPECT_EQ(str::EscapedChar('N'), 0);
}

}  // namespace
