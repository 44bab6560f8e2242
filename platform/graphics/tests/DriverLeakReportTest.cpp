// The leak checker of sanitizer builds must not count the blocks GL drivers
// keep in their own globals, also when the window system unloads the driver
// before the report, yet must still report every block our code loses. Each
// case runs the leak probe in a child process and reads its report.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/Library.h"

// GCC and clang announce AddressSanitizer (and its leak checker) differently.
#if defined(__SANITIZE_ADDRESS__)
#define LEAK_CHECKER_BUILT_IN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEAK_CHECKER_BUILT_IN 1
#endif
#endif

namespace {

struct ProbeRun {
  int status = -1;
  std::string output;
};

ProbeRun RunProbe(const std::string& arguments) {
  ProbeRun run;
  const std::string command = std::string(LEAK_PROBE_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  run.status = pclose(pipe);
  return run;
}

bool ReportsLeak(const ProbeRun& run) { return run.output.find("detected memory leaks") != std::string::npos; }

TEST(GraphicsDriverPaths, DriverAndGlLibrariesAreRecognisedOthersAreNot) {
  struct Case {
    const char* path;
    bool driver;
  } cases[] = {
      {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", true},
      {"/usr/lib/x86_64-linux-gnu/libGLX_mesa.so.0", true},
      {"/usr/lib/x86_64-linux-gnu/libEGL_mesa.so.0", true},
      {"/usr/lib/x86_64-linux-gnu/libgallium-24.2.so", true},
      {"/usr/lib/x86_64-linux-gnu/libdrm_amdgpu.so.1", true},
      {"/usr/lib/x86_64-linux-gnu/libSDL2-2.0.so.0", false},
      {"/work/build/out/libLumetra.so", false},
      {"/work/build/out/libengine_core.so", false},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::IsGraphicsDriverPath(c.path), c.driver) << c.path;
}

#ifdef LEAK_CHECKER_BUILT_IN

TEST(DriverLeakReport, AnUnloadedDriversOwnBlockIsReportedWithoutThePin) {
  const ProbeRun run = RunProbe(std::string("unloaded-driver ") + FAKE_DRIVER_PATH);
  EXPECT_NE(run.status, 0);
  EXPECT_TRUE(ReportsLeak(run)) << run.output;
}

TEST(DriverLeakReport, APinnedDriverStaysLoadedAndItsBlocksAreNotLeaks) {
  const ProbeRun run = RunProbe(std::string("pinned-driver ") + FAKE_DRIVER_PATH);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_FALSE(ReportsLeak(run)) << run.output;
}

TEST(DriverLeakReport, OurOwnLeakBesideARealGlContextIsStillReported) {
  const ProbeRun run = RunProbe("own-leak-with-gl");
  EXPECT_NE(run.status, 0);
  EXPECT_TRUE(ReportsLeak(run)) << run.output;
  EXPECT_NE(run.output.find("LoseABlockOfOurOwn"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("77 byte"), std::string::npos) << run.output;
}

#endif

}  // namespace
