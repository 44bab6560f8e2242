// Feeds arbitrary bytes to the configuration script reader, then checks the
// writer against it: whatever a script stored must survive being written and
// read back, and the second writing must equal the first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/config/ConfigParser.h"
#include "engine/config/GMConfigManager.h"
#include "engine/config/ScriptTokenizer.h"
#include "platform/DebugOutput.h"

namespace {

class FuzzConfig : public cGM_ConfigManager {
 public:
  FuzzConfig() {
    AddBinding(nullptr, "camera_forward", "Move camera forward");
    AddBinding(nullptr, "camera_left", "Move camera left");
    AddBinding(nullptr, "a", "A");
  }
};

std::map<std::string, std::string> Sorted(const cCore_ConfigManager& config) {
  std::map<std::string, std::string> sorted;
  for (const auto& [key, value] : config.GetStore().Entries()) sorted.emplace(key, value);
  return sorted;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool muted = [] {
    platform::SetDebugStderr(false);
    return true;
  }();
  (void)muted;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  FuzzConfig first;
  first.GetParser()->ReadText(text, ConfigParser::StatementHandler::Settings, "fuzz");
  std::string once;
  first.WriteConfig(&once);

  FuzzConfig second;
  Check(status::Succeeded(second.GetParser()->ReadText(once, ConfigParser::StatementHandler::Settings, "fuzz")));
  Check(Sorted(first) == Sorted(second));
  for (size_t i = 0; i < first.GetBindingCount(); ++i) {
    const KeyBinding* a = first.GetBinding(i);
    const KeyBinding* b = second.GetBinding(i);
    Check(a->keySpec == b->keySpec);
    Check(a->scanCode == b->scanCode);
    // Binding twice keeps earlier modifiers, which the written key spec does not
    // carry; the written ones are always among them.
    Check((a->modifiers & b->modifiers) == b->modifiers);
  }
  std::string twice;
  second.WriteConfig(&twice);
  Check(once == twice);

  // The reader's one pass against the rules spelled out stage by stage:
  // the same verdict, the same statements.
  std::string cleaned;
  const bool cleanOk = ConfigParser::CleanScript(text, &cleaned);
  const int64_t staged = cleanOk ? ConfigParser::SplitStatements(cleaned, nullptr) : -1;
  const ScriptTokenizer::Outline outline = ScriptTokenizer::Check(text);
  Check(cleanOk == !outline.endsOpen);
  if (cleanOk) Check((staged < 0) == outline.quotesOpen);
  if (staged >= 0) Check((staged > 0) == outline.hasTokens);
  // The verdict the tokenizer gives along with its statements is the
  // quick walk's, as far as the reader asks for it.
  ScriptTokenizer whole;
  whole.Start(text, ConfigParser::kMaxStatementTokens);
  while (whole.ReadBatch()) {
  }
  const ScriptTokenizer::Outline read = whole.GetOutline();
  Check(read.endsOpen == outline.endsOpen);
  if (!outline.endsOpen) Check(read.quotesOpen == outline.quotesOpen);
  if (!outline.endsOpen && !outline.quotesOpen) Check(read.hasTokens == outline.hasTokens);
  if (staged >= 0) {
    std::vector<std::string> byStages, onePass;
    auto join = [](const auto& tokens, bool tooLong) {
      std::string joined(1, tooLong ? '!' : ':');
      for (const auto& t : tokens) (joined += t) += '\x1f';
      return joined;
    };
    ConfigParser::SplitStatements(cleaned,
                                  [&](CStringArray& tokens, bool tooLong) { byStages.push_back(join(tokens, tooLong)); });
    ScriptTokenizer tokenizer;
    const int64_t count = tokenizer.Scan(text, ConfigParser::kMaxStatementTokens,
                                         [&](std::span<const std::string_view> tokens, bool tooLong) {
                                           onePass.push_back(join(tokens, tooLong));
                                         });
    Check(count == staged);
    Check(byStages == onePass);
    // Read in small batches, the statements are the same.
    std::vector<std::string> batched;
    ScriptTokenizer small;
    small.Start(text, ConfigParser::kMaxStatementTokens, 3);
    while (small.ReadBatch()) {
      for (size_t s = 0; s < small.StatementCount(); ++s) {
        bool tooLong = false;
        const auto tokens = small.Statement(s, &tooLong);
        batched.push_back(join(tokens, tooLong));
      }
    }
    Check(small.TokenCount() == staged);
    Check(batched == onePass);
  }

  // The command reader on the same text, with no languages: every command
  // is refused, nothing is stored.
  cCore_ConfigManager commands;
  commands.GetParser()->ReadText(text, ConfigParser::StatementHandler::Command, "fuzz");
  Check(commands.GetStore().Empty());
  return 0;
}
