// Feeds arbitrary text to the effect chain reader as a chain file: it must
// never crash, every value it takes must end up within its range, and the
// chain it builds must write and read back to the same file text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefList.h"
#include "engine/files/ObjectParser.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/audio/EffectParameterTable.h"
#include "sound/FXHandleDX.h"
#include "sound/SoundMgrDX8.h"

namespace {

// Reads `text` as the file "chain.fx" into a new chain; false when the
// reader refuses it.
bool Read(const std::string& text, SoundMgrDX8& service, FXHandleDX& chain) {
  ObjectDefList roots;
  ObjectParser parser;
  parser.SetOutputList(&roots);
  parser.SetFileSource([&text](const std::string&, std::string* out) {
    *out = text;
    return true;
  });
  std::unique_ptr<ObjectDef> root(parser.ParseInto("chain.fx", nullptr));
  parser.SetOutputList(nullptr);
  return root && chain.LoadFromObjects(root->children, service);
}

std::string Write(const FXHandleDX& chain, SoundMgrDX8& service) {
  ObjectDefList list;
  list.Append(chain.ToObject(service));
  return list.ToText(true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    platform::SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return 1; });
    return true;
  }();
  (void)quiet;
  static SoundMgrDX8 service;
  const std::string text(reinterpret_cast<const char*>(data), size);
  FXHandleDX chain;
  if (!Read(text, service, chain)) return 0;
  // Every value that has a range lies in it (waveforms are kept as typed).
  for (int type = 0; type < kSoundEffectTypeCount; ++type) {
    const SoundEffect* effect = chain.GetEffect(type);
    if (!effect) continue;
    const platform::EffectTypeInfo* info = platform::GetEffectTypeInfo(type);
    for (int i = 0; i < info->parameterCount; ++i) {
      const platform::EffectParameterInfo& p = info->parameters[i];
      if (p.rangeFormat == platform::EffectRangeFormat::None) continue;
      const double v = std::strtod(platform::FormatEffectParameter(type, effect->GetBlock(), i).c_str(), nullptr);
      if (!(v >= static_cast<float>(p.minValue) - 1e-6 && v <= static_cast<float>(p.maxValue) + 1e-6)) std::abort();
    }
  }
  // Written, read and written again, the text settles after one round.
  const std::string first = Write(chain, service);
  FXHandleDX second;
  if (!Read(first, service, second)) std::abort();
  const std::string again = Write(second, service);
  FXHandleDX third;
  if (!Read(again, service, third)) std::abort();
  if (Write(third, service) != again || second.EffectCount() != chain.EffectCount()) std::abort();
  return 0;
}
