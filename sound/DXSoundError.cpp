#include "sound/DXSoundError.h"

#include "platform/audio/AudioApi.h"

namespace {
std::string g_lastText;
unsigned g_count = 0;
}  // namespace

void ReportDXError(CoreStatus result) {
  g_lastText = std::string("DXSound Error : ") + platform::DXGetErrorString8(result);
  ++g_count;
}

const std::string& LastDXErrorText() { return g_lastText; }
unsigned DXErrorCount() { return g_count; }
