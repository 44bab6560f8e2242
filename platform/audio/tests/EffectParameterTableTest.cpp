// Parameter tables of the standard effects and their clamping text setters.
#include <gtest/gtest.h>

#include "base/StringUtil.h"
#include "platform/audio/EffectParameterTable.h"

namespace platform {
namespace {

constexpr int kChorus = 0, kCompressor = 1, kEcho = 3, kFlanger = 4, kGargle = 5, kReverb = 6;

TEST(EffectParameterTable, TypesAndKeys) {
  const char* names[] = {"Chorus", "Compressor", "Distortion", "Echo", "Flanger", "Gargle", "Reverb"};
  const int counts[] = {7, 6, 5, 5, 7, 2, 4};
  for (int t = 0; t < kEffectTypeCount; ++t) {
    ASSERT_NE(GetEffectTypeInfo(t), nullptr);
    EXPECT_STREQ(GetEffectTypeInfo(t)->name, names[t]);
    EXPECT_EQ(GetEffectTypeInfo(t)->parameterCount, counts[t]);
    EXPECT_EQ(FindEffectTypeByName(str::ToLower(names[t])), t);
    EXPECT_EQ(FindEffectTypeByClass(*GetEffectTypeInfo(t)->classGuid), t);
  }
  EXPECT_EQ(GetEffectTypeInfo(7), nullptr);
  EXPECT_EQ(GetEffectTypeInfo(-1), nullptr);
  EXPECT_EQ(FindEffectTypeByName("Phaser"), -1);
  EXPECT_EQ(FindEffectParameter(kChorus, "wetdrymix"), 0);
  EXPECT_EQ(FindEffectParameter(kCompressor, "wetdrymix"), -1);
  EXPECT_EQ(FindEffectParameter(kReverb, "FREQRTRATIO"), 3);
  EXPECT_STREQ(GetEffectParameterInfo(2, 2)->label, "Post EQ Center Freq (Hz)");
  EXPECT_EQ(GetEffectParameterInfo(kEcho, 4)->kind, kEffectKindOnOff);
  EXPECT_EQ(GetEffectParameterInfo(kGargle, 2), nullptr);
}

TEST(EffectParameterTable, DefaultsAndValueTexts) {
  DSFXChorus chorus{};
  SetEffectDefaults(kChorus, &chorus);
  EXPECT_EQ(FormatEffectParameter(kChorus, &chorus, 0), "50.000000");
  EXPECT_EQ(FormatEffectParameter(kChorus, &chorus, 4), "1");
  EXPECT_EQ(FormatEffectParameter(kChorus, &chorus, 6), "2");
  EXPECT_EQ(FormatEffectParameter(kChorus, &chorus, 7), "");
  DSFXGargle gargle{};
  SetEffectDefaults(kGargle, &gargle);
  EXPECT_EQ(gargle.rateHz, 1000u);
  DSFXWavesReverb reverb{};
  SetEffectDefaults(kReverb, &reverb);
  EXPECT_EQ(FormatEffectParameter(kReverb, &reverb, 3), "0.001000");
  for (int t = 0; t < kEffectTypeCount; ++t) {
    alignas(8) uint8_t block[64] = {};
    SetEffectDefaults(t, block);
    EXPECT_TRUE(EffectBlockIsValid(t, block)) << t;
  }
}

TEST(EffectParameterTable, TextSettersClamp) {
  struct Case {
    int type, index;
    const char* text;
    const char* expected;
  } cases[] = {
      {kEcho, 1, "150", "100.000000"},     {kEcho, 3, "5000", "2000.000000"}, {kEcho, 4, "3", "1"},
      {kCompressor, 1, "0", "0.010000"},   {kGargle, 0, "-5", "1000"},        {kGargle, 0, "0", "1"},
      {kGargle, 1, "9", "9"},              {kChorus, 4, "7", "7"},            {kChorus, 6, "-3", "0"},
      {kChorus, 5, "25", "20.000000"},     {kFlanger, 5, "25", "4.000000"},   {kChorus, 2, "abc", "0.000000"},
      {kReverb, 2, "nan", "0.001000"},     {kChorus, 1, " 12.5xyz", "12.500000"},
  };
  for (const Case& c : cases) {
    alignas(8) uint8_t block[64] = {};
    SetEffectDefaults(c.type, block);
    EXPECT_TRUE(SetEffectParameterText(c.type, block, c.index, c.text));
    EXPECT_EQ(FormatEffectParameter(c.type, block, c.index), c.expected) << c.type << "/" << c.index << " " << c.text;
  }
  DSFXEcho echo{};
  SetEffectDefaults(kEcho, &echo);
  EXPECT_FALSE(SetEffectParameterText(kEcho, &echo, 0, ""));
  EXPECT_FALSE(SetEffectParameterText(kEcho, &echo, 5, "1"));
  EXPECT_FALSE(SetEffectParameterText(9, &echo, 0, "1"));
  EXPECT_EQ(echo.wetDryMix, 50.0f);
}

TEST(EffectParameterTable, RangeTexts) {
  std::string lo = "x", hi = "y";
  ASSERT_TRUE(GetEffectParameterRange(kChorus, 2, &lo, &hi));
  EXPECT_EQ(lo, "-99.000000");
  EXPECT_EQ(hi, "99.000000");
  ASSERT_TRUE(GetEffectParameterRange(kChorus, 6, &lo, &hi));
  EXPECT_EQ(lo, "0");
  EXPECT_EQ(hi, "4");
  ASSERT_TRUE(GetEffectParameterRange(kChorus, 4, &lo, &hi));
  EXPECT_EQ(lo, "");
  EXPECT_EQ(hi, "");
  ASSERT_TRUE(GetEffectParameterRange(kGargle, 0, &lo, &hi));
  EXPECT_EQ(lo, "1");
  EXPECT_EQ(hi, "1000");
  lo = "keep";
  EXPECT_FALSE(GetEffectParameterRange(kGargle, 2, &lo, &hi));
  EXPECT_EQ(lo, "keep");
}

}  // namespace
}  // namespace platform
