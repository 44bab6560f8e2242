#include "game/ProgramOptions.h"

#include "platform/Locale.h"

bool ParseProgramOptions(const std::vector<std::string>& args, ProgramOptions* options, std::string* error) {
  ProgramOptions parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--headless") {
      parsed.headless = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg == "--input" || arg == "--frames" || arg == "--fixed-step") {
      if (i + 1 >= args.size()) {
        *error = arg + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      if (arg == "--input") {
        parsed.inputScript = value;
        continue;
      }
      if (arg == "--fixed-step") {
        double ms = 0.0;
        // Whole microseconds: the test clock counts them.
        if (!platform::TryParseDouble(value, &ms) || !(ms * 1000.0 >= 1.0) || ms > ProgramOptions::kMaxFixedStepMs) {
          *error = "--fixed-step needs milliseconds above 0 and at most 1000, not \"" + value + "\"";
          return false;
        }
        parsed.fixedStepMicros = static_cast<int64_t>(ms * 1000.0 + 0.5);
        continue;
      }
      int32_t frames = 0;
      if (!platform::TryParseInt(value, &frames) || frames <= 0) {
        *error = "--frames needs a positive whole number, not \"" + value + "\"";
        return false;
      }
      parsed.frames = static_cast<uint32_t>(frames);
    } else {
      *error = "unknown option \"" + arg + "\"";
      return false;
    }
  }
  *options = parsed;
  return true;
}

const char* ProgramUsage() {
  return "Usage: airport [--headless] [--input <file>] [--frames <n>] [--fixed-step <ms>]\n"
         "  --headless       run without a display (offscreen video, silent audio)\n"
         "  --input <file>   play a scripted input file (timed key, mouse and window events)\n"
         "  --frames <n>     quit with status 0 after n game frames past the start-up screens\n"
         "  --fixed-step <ms>\n"
         "                   a test aid: the clock advances by exactly ms milliseconds each\n"
         "                   frame and every random draw starts from a fixed seed, so a\n"
         "                   scripted run is the same every time\n"
         "  --help           show this text\n"
         "Run it in the resource folder (out/data): it reads base.cfg there.\n";
}
