// The program's command line: each option and its value, and the refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ProgramOptions.h"

namespace {

TEST(ProgramOptions, ReadsEachOptionAndRefusesBadValues) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    bool ok;
    int64_t stepMicros;
    uint32_t frames;
    const char* error;  // a part of the message, when refused
  };
  const Case cases[] = {
      {"nothing", {}, true, 0, 0, ""},
      {"a fractional step", {"--fixed-step", "16.667"}, true, 16667, 0, ""},
      {"a whole step with frames", {"--frames", "5", "--fixed-step", "20"}, true, 20000, 5, ""},
      {"the largest step", {"--fixed-step", "1000"}, true, 1000000, 0, ""},
      {"the smallest step", {"--fixed-step", "0.001"}, true, 1, 0, ""},
      {"a step of 0", {"--fixed-step", "0"}, false, 0, 0, "--fixed-step needs"},
      {"a step below a microsecond", {"--fixed-step", "0.0004"}, false, 0, 0, "--fixed-step needs"},
      {"a negative step", {"--fixed-step", "-16"}, false, 0, 0, "--fixed-step needs"},
      {"a step over a second", {"--fixed-step", "1000.5"}, false, 0, 0, "--fixed-step needs"},
      {"a step that is not a number", {"--fixed-step", "fast"}, false, 0, 0, "--fixed-step needs"},
      {"a step that is not finite", {"--fixed-step", "nan"}, false, 0, 0, "--fixed-step needs"},
      {"a step without a value", {"--fixed-step"}, false, 0, 0, "--fixed-step needs a value"},
      {"a bad frame count", {"--frames", "0"}, false, 0, 0, "--frames needs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramOptions options;
    options.fixedStepMicros = -7;  // a refusal leaves this untouched
    std::string error;
    ASSERT_EQ(ParseProgramOptions(c.args, &options, &error), c.ok) << error;
    if (c.ok) {
      EXPECT_EQ(options.fixedStepMicros, c.stepMicros);
      EXPECT_EQ(options.frames, c.frames);
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      EXPECT_EQ(options.fixedStepMicros, -7);
    }
  }
  EXPECT_NE(std::string(ProgramUsage()).find("--fixed-step <ms>"), std::string::npos);
}

}  // namespace
