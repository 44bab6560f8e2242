// The seven effects: parameter tables, clamping text setters, the service's
// effect queries and the prototypes that hold the current defaults.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sound/SoundEffect.h"
#include "sound/SoundMgrDX8.h"

namespace {

std::string Text(SoundEffect& effect, int index) {
  std::string out = "untouched";
  effect.GetParameterText(index, out);
  return out;
}

std::unique_ptr<SoundEffect> Make(int type) { return std::unique_ptr<SoundEffect>(CreateBuiltInEffect(type)); }

TEST(SoundEffect, DefaultsKeysAndKinds) {
  const struct {
    int type;
    int count;
    const char* firstKey;
    const char* firstLabel;
    const char* firstText;
    const char* lastText;
  } rows[] = {
      {kEffectChorus, 7, "WetDryMix", "Wet Dry Mix (%)", "50.000000", "2"},
      {kEffectCompressor, 6, "Gain", "Gain (dB)", "0.000000", "0.000000"},
      {kEffectDistortion, 5, "Gain", "Gain (dB)", "0.000000", "4000.000000"},
      {kEffectEcho, 5, "WetDryMix", "Wet Dry Mix (%)", "50.000000", "0"},
      {kEffectFlanger, 7, "WetDryMix", "Wet Dry Mix (%)", "50.000000", "2"},
      {kEffectGargle, 2, "Rate", "Rate (Hz)", "1000", "1"},
      {kEffectReverb, 4, "Gain", "Gain (dB)", "0.000000", "0.001000"},
  };
  for (const auto& r : rows) {
    auto effect = Make(r.type);
    ASSERT_TRUE(effect) << r.type;
    EXPECT_EQ(effect->GetType(), r.type);
    EXPECT_EQ(effect->GetParameterCount(), r.count);
    std::string key, label;
    effect->GetParameterKey(0, key);
    effect->GetParameterLabel(0, label);
    EXPECT_EQ(key, r.firstKey);
    EXPECT_EQ(label, r.firstLabel);
    EXPECT_EQ(Text(*effect, 0), r.firstText);
    EXPECT_EQ(Text(*effect, r.count - 1), r.lastText);
    // Outside the table the out texts stay as they were.
    EXPECT_EQ(Text(*effect, r.count), "untouched");
    key = "kept";
    effect->GetParameterKey(-1, key);
    EXPECT_EQ(key, "kept");
  }
  EXPECT_EQ(CreateBuiltInEffect(7), nullptr);
  EXPECT_EQ(CreateBuiltInEffect(-1), nullptr);

  // Kinds: the modulation effects, echo and gargle know their indices;
  // the number-only effects answer 1 for any index.
  EXPECT_EQ(Make(kEffectChorus)->GetParameterType(4), 5);
  EXPECT_EQ(Make(kEffectChorus)->GetParameterType(6), 8);
  EXPECT_EQ(Make(kEffectChorus)->GetParameterType(7), -1);
  EXPECT_EQ(Make(kEffectEcho)->GetParameterType(4), 3);
  EXPECT_EQ(Make(kEffectGargle)->GetParameterType(1), 6);
  EXPECT_EQ(Make(kEffectGargle)->GetParameterType(2), -1);
  EXPECT_EQ(Make(kEffectCompressor)->GetParameterType(99), 1);
  EXPECT_EQ(Make(kEffectReverb)->GetParameterType(-3), 1);
  EXPECT_EQ(Make(kEffectChorus)->GetParameterIndex("wetdrymix"), 0);
  EXPECT_EQ(Make(kEffectCompressor)->GetParameterIndex("wetdrymix"), -1);
}

TEST(SoundEffect, TextSettersClampToTheRange) {
  const struct {
    int type;
    int index;
    const char* text;
    const char* expected;
  } cases[] = {
      {kEffectEcho, 1, "150", "100.000000"},
      {kEffectEcho, 3, "5000", "2000.000000"},
      {kEffectEcho, 4, "7", "1"},
      {kEffectCompressor, 1, "0", "0.010000"},
      {kEffectGargle, 0, "-5", "1000"},
      {kEffectGargle, 0, "0", "1"},
      {kEffectGargle, 1, "9", "9"},  // wave shape: no clamp
      {kEffectChorus, 4, "7", "7"},  // waveform: no clamp
      {kEffectChorus, 5, "50", "20.000000"},
      {kEffectFlanger, 5, "50", "4.000000"},
      {kEffectChorus, 6, "-3", "0"},
      {kEffectChorus, 2, "-150", "-99.000000"},
      {kEffectReverb, 3, "abc", "0.001000"},  // not a number reads as 0, then clamps
      {kEffectDistortion, 2, "12.5e2", "1250.000000"},
      {kEffectChorus, 0, "", "50.000000"},    // empty: unchanged
      {kEffectChorus, 9, "10", "untouched"},  // no such index
  };
  for (const auto& c : cases) {
    auto effect = Make(c.type);
    effect->SetParameterText(c.index, c.text);
    EXPECT_EQ(Text(*effect, c.index), c.expected) << c.type << "/" << c.index << " " << c.text;
  }
  std::string lo = "x", hi = "y";
  Make(kEffectChorus)->GetParameterRange(6, lo, hi);
  EXPECT_EQ(lo + " " + hi, "0 4");
  Make(kEffectChorus)->GetParameterRange(4, lo, hi);
  EXPECT_EQ(lo + "|" + hi, "|");
  Make(kEffectGargle)->GetParameterRange(0, lo, hi);
  EXPECT_EQ(lo + " " + hi, "1 1000");
  Make(kEffectFlanger)->GetParameterRange(5, lo, hi);
  EXPECT_EQ(lo + " " + hi, "0.000000 4.000000");
}

TEST(SoundEffectService, QueriesAndPrototypes) {
  SoundMgrDX8 service;
  EXPECT_EQ(service.GetEffectTypeCount(), 7);
  EXPECT_EQ(service.GetEffectType("reverb"), 6);
  EXPECT_EQ(service.GetEffectType("Phaser"), -1);
  EXPECT_EQ(service.GetEffectName(3), "Echo");
  EXPECT_EQ(service.GetEffectName(7), "");
  EXPECT_EQ(service.GetEffectParameterCount(7), -1);
  EXPECT_EQ(service.GetEffectParameterCount(-1), -1);
  EXPECT_EQ(service.GetEffectParameterCount(1), 6);
  EXPECT_EQ(service.GetEffectParameterIndex(0, "WETDRYMIX"), 0);
  EXPECT_EQ(service.GetEffectParameterIndex(9, "WetDryMix"), -1);
  EXPECT_EQ(service.GetEffectParameterKey(2, 4), "LowpassCutoff");
  EXPECT_EQ(service.GetEffectParameterKey(8, 0), "");
  EXPECT_EQ(service.GetEffectParameterLabel(6, 3), "Freq RT Ratio (x:1)");
  EXPECT_EQ(service.GetEffectParameterType(5, 1), 6);
  EXPECT_EQ(service.GetEffectParameterType(7, 1), 0);
  std::string lo = "a", hi = "b";
  service.GetEffectParameterRange(7, 0, lo, hi);
  EXPECT_TRUE(lo.empty() && hi.empty());
  service.GetEffectParameterRange(3, 2, lo, hi);
  EXPECT_EQ(lo + " " + hi, "1.000000 2000.000000");

  // A parameter set without a chain changes the default of later effects.
  service.SetEffectParameter(nullptr, 0, 0, "80");
  FXHandle* chain = service.CreateFXHandle();
  service.AddEffect(chain, 0);
  std::string text;
  service.GetEffectParameterText(text, chain, 0, 0);
  EXPECT_EQ(text, "80.000000");
  // The chain's own value now differs from the prototype's.
  service.SetEffectParameter(chain, 0, 0, "10");
  service.GetEffectParameterText(text, chain, 0, 0);
  EXPECT_EQ(text, "10.000000");
  service.GetEffectParameterText(text, nullptr, 0, 0);
  EXPECT_EQ(text, "80.000000");
  service.GetEffectParameterText(text, chain, 12, 0);
  EXPECT_EQ(text, "");
  // Back to the built-in defaults.
  service.ResetEffectDefaults();
  service.GetEffectParameterText(text, nullptr, 0, 0);
  EXPECT_EQ(text, "50.000000");
  service.ReleaseAll();
}

}  // namespace
