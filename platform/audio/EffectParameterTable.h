#pragma once
// Description of every parameter of the seven standard effects: key name
// (as written in chain files), display label, value kind, where the value
// sits in the parameter block, its default and its range. The text
// accessors read and write one parameter of a block the way the sound
// service's effect objects expose them: values as text, clamped when set.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/audio/AudioEffects.h"

namespace platform {

inline constexpr int kEffectTypeCount = 7;

// Value kinds (as the effect editor understands them).
inline constexpr int32_t kEffectKindNumber = 1;
inline constexpr int32_t kEffectKindOnOff = 3;
inline constexpr int32_t kEffectKindWaveform = 5;
inline constexpr int32_t kEffectKindWaveShape = 6;
inline constexpr int32_t kEffectKindPhase = 8;
inline constexpr int32_t kEffectKindNone = -1;

enum class EffectValueStorage : uint8_t { Float, Int32, UInt32 };
// How range texts are printed; None means empty range texts and no clamping
// when the value is set from text.
enum class EffectRangeFormat : uint8_t { None, Float, Int, UInt };

struct EffectParameterInfo {
  const char* key;
  const char* label;
  int32_t kind;
  EffectValueStorage storage;
  uint32_t offset;  // byte offset in the parameter block
  double defaultValue;
  double minValue;  // clamp range of the text setter
  double maxValue;
  EffectRangeFormat rangeFormat;
  double validMin;  // what SetAllParameters accepts
  double validMax;
};

struct EffectTypeInfo {
  const char* name;
  const SoundGuid* classGuid;
  const SoundGuid* parameterIid;
  uint32_t blockSize;
  const EffectParameterInfo* parameters;
  int32_t parameterCount;
};

// Null for a type outside 0..6.
const EffectTypeInfo* GetEffectTypeInfo(int type);
const EffectParameterInfo* GetEffectParameterInfo(int type, int index);
// -1 when nothing matches; names and keys compare ignoring case.
int FindEffectTypeByName(std::string_view name);
int FindEffectTypeByClass(const SoundGuid& effectClass);
int FindEffectParameter(int type, std::string_view key);

// Fills a parameter block of the type with the built-in defaults.
void SetEffectDefaults(int type, void* block);
// The value as text: "%f" for floats, "%d" for signed and "%i" for unsigned
// integers. Empty for a bad type or index.
std::string FormatEffectParameter(int type, const void* block, int index);
// Reads the text as the parameter is held (atof or atoi semantics, a text
// that is no number reads as 0) and clamps it to the parameter's range,
// unsigned integers compared unsigned. An empty text, a bad type or a bad
// index change nothing and return false.
bool SetEffectParameterText(int type, void* block, int index, std::string_view text);
// The range texts; both empty for parameters without a range. False for a
// bad type or index (the outputs are left as they were).
bool GetEffectParameterRange(int type, int index, std::string* minText, std::string* maxText);
// True when every value of the block is within what the device accepts.
bool EffectBlockIsValid(int type, const void* block);

}  // namespace platform
