#include "platform/audio/EffectParameterTable.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "base/StringUtil.h"
#include "platform/Locale.h"

namespace platform {
namespace {

using S = EffectValueStorage;
using R = EffectRangeFormat;

// Chorus and flanger share a layout; only the delay range differs.
#define MODULATION_ROWS(delayMax)                                                                       \
  {"WetDryMix", "Wet Dry Mix (%)", kEffectKindNumber, S::Float, offsetof(DSFXChorus, wetDryMix), 50, 0,  \
   100, R::Float, 0, 100},                                                                               \
      {"Depth", "Depth (%)", kEffectKindNumber, S::Float, offsetof(DSFXChorus, depth), 25, 0, 100,       \
       R::Float, 0, 100},                                                                                \
      {"Feedback", "Feedback (%)", kEffectKindNumber, S::Float, offsetof(DSFXChorus, feedback), 0, -99, \
       99, R::Float, -99, 99},                                                                           \
      {"Frequency", "Frequency (Hz)", kEffectKindNumber, S::Float, offsetof(DSFXChorus, frequency), 0, 0, \
       10, R::Float, 0, 10},                                                                             \
      {"Waveform", "Waveform", kEffectKindWaveform, S::Int32, offsetof(DSFXChorus, waveform), 1, 0, 0,   \
       R::None, 0, 1},                                                                                   \
      {"Delay", "Delay (ms)", kEffectKindNumber, S::Float, offsetof(DSFXChorus, delay), 0, 0, delayMax,  \
       R::Float, 0, delayMax},                                                                           \
  {                                                                                                      \
    "Phase", "Phase", kEffectKindPhase, S::Int32, offsetof(DSFXChorus, phase), 2, 0, 4, R::Int, 0, 4     \
  }

const EffectParameterInfo kChorus[] = {MODULATION_ROWS(20)};
const EffectParameterInfo kFlanger[] = {MODULATION_ROWS(4)};
#undef MODULATION_ROWS

const EffectParameterInfo kCompressor[] = {
    {"Gain", "Gain (dB)", 1, S::Float, offsetof(DSFXCompressor, gain), 0, -60, 60, R::Float, -60, 60},
    {"Attack", "Attack (ms)", 1, S::Float, offsetof(DSFXCompressor, attack), 0.01, 0.01, 500, R::Float, 0.01,
     500},
    {"Release", "Release (ms)", 1, S::Float, offsetof(DSFXCompressor, release), 50, 50, 3000, R::Float, 50,
     3000},
    {"Threshold", "Threshold (dB)", 1, S::Float, offsetof(DSFXCompressor, threshold), -10, -60, 0, R::Float,
     -60, 0},
    {"Ratio", "Ratio (x:1)", 1, S::Float, offsetof(DSFXCompressor, ratio), 10, 1, 100, R::Float, 1, 100},
    {"Predelay", "Predelay (ms)", 1, S::Float, offsetof(DSFXCompressor, predelay), 0, 0, 4, R::Float, 0, 4},
};

const EffectParameterInfo kDistortion[] = {
    {"Gain", "Gain (dB)", 1, S::Float, offsetof(DSFXDistortion, gain), 0, -60, 0, R::Float, -60, 0},
    {"Edge", "Edge (%)", 1, S::Float, offsetof(DSFXDistortion, edge), 0, 0, 100, R::Float, 0, 100},
    {"PostEQCenterFreq", "Post EQ Center Freq (Hz)", 1, S::Float,
     offsetof(DSFXDistortion, postEQCenterFrequency), 4000, 100, 8000, R::Float, 100, 8000},
    {"EQBandwidth", "EQ Bandwidth (Hz)", 1, S::Float, offsetof(DSFXDistortion, postEQBandwidth), 4000, 100,
     8000, R::Float, 100, 8000},
    {"LowpassCutoff", "Lowpass Cutoff (Hz)", 1, S::Float, offsetof(DSFXDistortion, preLowpassCutoff), 4000,
     100, 8000, R::Float, 100, 8000},
};

const EffectParameterInfo kEcho[] = {
    {"WetDryMix", "Wet Dry Mix (%)", 1, S::Float, offsetof(DSFXEcho, wetDryMix), 50, 0, 100, R::Float, 0, 100},
    {"Feedback", "Feedback (%)", 1, S::Float, offsetof(DSFXEcho, feedback), 0, 0, 100, R::Float, 0, 100},
    {"LeftDelay", "Left Delay (ms)", 1, S::Float, offsetof(DSFXEcho, leftDelay), 333, 1, 2000, R::Float, 1,
     2000},
    {"RightDelay", "Right Delay (ms)", 1, S::Float, offsetof(DSFXEcho, rightDelay), 333, 1, 2000, R::Float, 1,
     2000},
    {"PanDelay", "Pan Delay (ms)", kEffectKindOnOff, S::Int32, offsetof(DSFXEcho, panDelay), 0, 0, 1, R::Float,
     0, 1},
};

const EffectParameterInfo kGargle[] = {
    {"Rate", "Rate (Hz)", 1, S::UInt32, offsetof(DSFXGargle, rateHz), 1000, 1, 1000, R::UInt, 1, 1000},
    {"Waveform", "Waveform", kEffectKindWaveShape, S::UInt32, offsetof(DSFXGargle, waveShape), 1, 0, 0,
     R::None, 0, 1},
};

const EffectParameterInfo kReverb[] = {
    {"Gain", "Gain (dB)", 1, S::Float, offsetof(DSFXWavesReverb, inGain), 0, -96, 0, R::Float, -96, 0},
    {"ReverbMix", "Reverb Mix (dB)", 1, S::Float, offsetof(DSFXWavesReverb, reverbMix), 0, -96, 0, R::Float,
     -96, 0},
    {"ReverbTime", "Reverb Time (ms)", 1, S::Float, offsetof(DSFXWavesReverb, reverbTime), 1000, 0.001, 3000,
     R::Float, 0.001, 3000},
    {"FreqRTRatio", "Freq RT Ratio (x:1)", 1, S::Float, offsetof(DSFXWavesReverb, highFreqRTRatio), 0.001,
     0.001, 0.999, R::Float, 0.001, 0.999},
};

template <size_t N>
constexpr int32_t Count(const EffectParameterInfo (&)[N]) {
  return static_cast<int32_t>(N);
}

const EffectTypeInfo kTypes[kEffectTypeCount] = {
    {"Chorus", &GUID_DSFX_STANDARD_CHORUS, &IID_IDirectSoundFXChorus8, sizeof(DSFXChorus), kChorus,
     Count(kChorus)},
    {"Compressor", &GUID_DSFX_STANDARD_COMPRESSOR, &IID_IDirectSoundFXCompressor8, sizeof(DSFXCompressor),
     kCompressor, Count(kCompressor)},
    {"Distortion", &GUID_DSFX_STANDARD_DISTORTION, &IID_IDirectSoundFXDistortion8, sizeof(DSFXDistortion),
     kDistortion, Count(kDistortion)},
    {"Echo", &GUID_DSFX_STANDARD_ECHO, &IID_IDirectSoundFXEcho8, sizeof(DSFXEcho), kEcho, Count(kEcho)},
    {"Flanger", &GUID_DSFX_STANDARD_FLANGER, &IID_IDirectSoundFXFlanger8, sizeof(DSFXFlanger), kFlanger,
     Count(kFlanger)},
    {"Gargle", &GUID_DSFX_STANDARD_GARGLE, &IID_IDirectSoundFXGargle8, sizeof(DSFXGargle), kGargle,
     Count(kGargle)},
    {"Reverb", &GUID_DSFX_WAVES_REVERB, &IID_IDirectSoundFXWavesReverb8, sizeof(DSFXWavesReverb), kReverb,
     Count(kReverb)},
};

// Blocks are reached through memcpy at the table's offsets, so a caller's
// block needs no particular alignment.
float ReadFloat(const void* block, uint32_t offset) {
  float v;
  std::memcpy(&v, static_cast<const uint8_t*>(block) + offset, sizeof v);
  return v;
}
int32_t ReadInt(const void* block, uint32_t offset) {
  int32_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(block) + offset, sizeof v);
  return v;
}
uint32_t ReadUInt(const void* block, uint32_t offset) {
  uint32_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(block) + offset, sizeof v);
  return v;
}
template <class T>
void Write(void* block, uint32_t offset, T v) {
  std::memcpy(static_cast<uint8_t*>(block) + offset, &v, sizeof v);
}

std::string FormatRange(R format, double value) {
  switch (format) {
    case R::Float: return FormatDouble(value, "%f");
    case R::Int: return std::to_string(static_cast<int32_t>(value));
    case R::UInt: return std::to_string(static_cast<uint32_t>(value));
    case R::None: break;
  }
  return {};
}

}  // namespace

const EffectTypeInfo* GetEffectTypeInfo(int type) {
  return type >= 0 && type < kEffectTypeCount ? &kTypes[type] : nullptr;
}

const EffectParameterInfo* GetEffectParameterInfo(int type, int index) {
  const EffectTypeInfo* info = GetEffectTypeInfo(type);
  if (!info || index < 0 || index >= info->parameterCount) return nullptr;
  return &info->parameters[index];
}

int FindEffectTypeByName(std::string_view name) {
  for (int t = 0; t < kEffectTypeCount; ++t)
    if (str::EqualsNoCase(name, kTypes[t].name)) return t;
  return -1;
}

int FindEffectTypeByClass(const SoundGuid& effectClass) {
  for (int t = 0; t < kEffectTypeCount; ++t)
    if (*kTypes[t].classGuid == effectClass) return t;
  return -1;
}

int FindEffectParameter(int type, std::string_view key) {
  const EffectTypeInfo* info = GetEffectTypeInfo(type);
  if (!info) return -1;
  for (int i = 0; i < info->parameterCount; ++i)
    if (str::EqualsNoCase(key, info->parameters[i].key)) return i;
  return -1;
}

void SetEffectDefaults(int type, void* block) {
  const EffectTypeInfo* info = GetEffectTypeInfo(type);
  if (!info) return;
  for (int i = 0; i < info->parameterCount; ++i) {
    const EffectParameterInfo& p = info->parameters[i];
    switch (p.storage) {
      case S::Float: Write(block, p.offset, static_cast<float>(p.defaultValue)); break;
      case S::Int32: Write(block, p.offset, static_cast<int32_t>(p.defaultValue)); break;
      case S::UInt32: Write(block, p.offset, static_cast<uint32_t>(p.defaultValue)); break;
    }
  }
}

std::string FormatEffectParameter(int type, const void* block, int index) {
  const EffectParameterInfo* p = GetEffectParameterInfo(type, index);
  if (!p) return {};
  switch (p->storage) {
    case S::Float: return FormatDouble(ReadFloat(block, p->offset), "%f");
    case S::Int32: return std::to_string(ReadInt(block, p->offset));
    case S::UInt32: return std::to_string(ReadUInt(block, p->offset));
  }
  return {};
}

bool SetEffectParameterText(int type, void* block, int index, std::string_view text) {
  const EffectParameterInfo* p = GetEffectParameterInfo(type, index);
  if (!p || text.empty()) return false;
  const bool clamp = p->rangeFormat != R::None;
  switch (p->storage) {
    case S::Float: {
      float v = ParseFloat(text);
      if (std::isnan(v)) v = 0.0f;
      if (clamp) {
        const auto lo = static_cast<float>(p->minValue), hi = static_cast<float>(p->maxValue);
        v = v < lo ? lo : (v > hi ? hi : v);
      }
      Write(block, p->offset, v);
      break;
    }
    case S::Int32: {
      int32_t v = ParseInt(text);
      if (clamp) {
        const auto lo = static_cast<int32_t>(p->minValue), hi = static_cast<int32_t>(p->maxValue);
        v = v < lo ? lo : (v > hi ? hi : v);
      }
      Write(block, p->offset, v);
      break;
    }
    case S::UInt32: {
      // A negative text wraps to a large unsigned value and clamps high.
      auto v = static_cast<uint32_t>(ParseInt(text));
      if (clamp) {
        const auto lo = static_cast<uint32_t>(p->minValue), hi = static_cast<uint32_t>(p->maxValue);
        v = v < lo ? lo : (v > hi ? hi : v);
      }
      Write(block, p->offset, v);
      break;
    }
  }
  return true;
}

bool GetEffectParameterRange(int type, int index, std::string* minText, std::string* maxText) {
  const EffectParameterInfo* p = GetEffectParameterInfo(type, index);
  if (!p) return false;
  if (minText) *minText = FormatRange(p->rangeFormat, p->minValue);
  if (maxText) *maxText = FormatRange(p->rangeFormat, p->maxValue);
  return true;
}

bool EffectBlockIsValid(int type, const void* block) {
  const EffectTypeInfo* info = GetEffectTypeInfo(type);
  if (!info || !block) return false;
  for (int i = 0; i < info->parameterCount; ++i) {
    const EffectParameterInfo& p = info->parameters[i];
    double v = 0;
    switch (p.storage) {
      case S::Float: v = ReadFloat(block, p.offset); break;
      case S::Int32: v = ReadInt(block, p.offset); break;
      case S::UInt32: v = ReadUInt(block, p.offset); break;
    }
    // Float limits are compared in float precision so that a value set to
    // a limit from text is accepted.
    if (p.storage == S::Float) {
      const float f = static_cast<float>(v);
      if (!(f >= static_cast<float>(p.validMin) && f <= static_cast<float>(p.validMax))) return false;
    } else if (!(v >= p.validMin && v <= p.validMax)) {
      return false;
    }
  }
  return true;
}

}  // namespace platform
