// Pixel probes of the fixed-function pipeline on the gl backend. Every
// table row draws into its own cell of the frame; one read-back checks all.
#include <array>
#include <cmath>
#include <functional>

#include "GlFixture.h"

namespace {
using namespace gltest;

struct Rgba {
  float r, g, b, a;
};
Rgba Unpack(uint32_t c) {
  return {float((c >> 16) & 255) / 255, float((c >> 8) & 255) / 255, float(c & 255) / 255, float(c >> 24) / 255};
}
uint32_t Pack(Rgba c) {
  auto q = [](float v) { return uint32_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  return q(c.a) << 24 | q(c.r) << 16 | q(c.g) << 8 | q(c.b);
}
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 3) {
  if (ChannelDiff(actual, expected) <= tolerance) return ::testing::AssertionSuccess();
  char text[64];
  std::snprintf(text, sizeof text, "got 0x%08X, expected 0x%08X", actual, expected);
  return ::testing::AssertionFailure() << text;
}

TEST_F(GlDeviceTest, EveryBlendFactorPairAddsAsExpected) {
  const uint32_t src = 0x99CC6633, dst = 0x8040A0C0;
  const Rgba s = Unpack(src), d = Unpack(dst);
  auto factor = [&](uint32_t f, int ch) -> float {
    const float sc[4] = {s.r, s.g, s.b, s.a}, dc[4] = {d.r, d.g, d.b, d.a};
    switch (f) {
      case gfx::D3DBLEND_ZERO: return 0;
      case gfx::D3DBLEND_ONE: return 1;
      case gfx::D3DBLEND_SRCCOLOR: return sc[ch];
      case gfx::D3DBLEND_INVSRCCOLOR: return 1 - sc[ch];
      case gfx::D3DBLEND_SRCALPHA: return s.a;
      case gfx::D3DBLEND_INVSRCALPHA: return 1 - s.a;
      case gfx::D3DBLEND_DESTALPHA: return d.a;
      case gfx::D3DBLEND_INVDESTALPHA: return 1 - d.a;
      case gfx::D3DBLEND_DESTCOLOR: return dc[ch];
      case gfx::D3DBLEND_INVDESTCOLOR: return 1 - dc[ch];
      default: return ch == 3 ? 1.0f : std::min(s.a, 1 - d.a);  // source alpha saturate
    }
  };
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, dst, 1.0f, 0), 0);
  dev_->SetRenderState(gfx::D3DRS_ALPHABLENDENABLE, 1);
  dev_->SetRenderState(gfx::D3DRS_ZENABLE, 0);
  constexpr int kCell = 5;
  for (uint32_t sf = 1; sf <= 11; ++sf)
    for (uint32_t df = 1; df <= 11; ++df) {
      dev_->SetRenderState(gfx::D3DRS_SRCBLEND, sf);
      dev_->SetRenderState(gfx::D3DRS_DESTBLEND, df);
      const float x = float((sf - 1) * kCell), y = float((df - 1) * kCell);
      ASSERT_EQ(Quad(x, y, x + kCell, y + kCell, 0.5f, src), 0);
    }
  const auto px = Pixels();
  for (uint32_t sf = 1; sf <= 11; ++sf)
    for (uint32_t df = 1; df <= 11; ++df) {
      const float sc[4] = {s.r, s.g, s.b, s.a}, dc[4] = {d.r, d.g, d.b, d.a};
      float out[4];
      for (int ch = 0; ch < 4; ++ch) out[ch] = sc[ch] * factor(sf, ch) + dc[ch] * factor(df, ch);
      const uint32_t expected = Pack({out[0], out[1], out[2], out[3]});
      const uint32_t got = px[((df - 1) * kCell + 2) * kSize + (sf - 1) * kCell + 2];
      EXPECT_TRUE(Near(got, expected)) << "source factor " << sf << ", destination factor " << df;
    }
}

TEST_F(GlDeviceTest, AlphaTestComparesWithTheReference) {
  const uint32_t clear = 0xFF000000, color = 0x80FFFFFF;
  const uint32_t refs[3] = {100, 128, 200};
  auto passes = [](uint32_t func, uint32_t a, uint32_t ref) {
    switch (func) {
      case gfx::D3DCMP_NEVER: return false;
      case gfx::D3DCMP_LESS: return a < ref;
      case gfx::D3DCMP_EQUAL: return a == ref;
      case gfx::D3DCMP_LESSEQUAL: return a <= ref;
      case gfx::D3DCMP_GREATER: return a > ref;
      case gfx::D3DCMP_NOTEQUAL: return a != ref;
      case gfx::D3DCMP_GREATEREQUAL: return a >= ref;
      default: return true;
    }
  };
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, clear, 1.0f, 0), 0);
  dev_->SetRenderState(gfx::D3DRS_ALPHATESTENABLE, 1);
  for (uint32_t func = 1; func <= 8; ++func)
    for (int r = 0; r < 3; ++r) {
      dev_->SetRenderState(gfx::D3DRS_ALPHAFUNC, func);
      dev_->SetRenderState(gfx::D3DRS_ALPHAREF, refs[r]);
      ASSERT_EQ(Quad(float(func * 6), float(r * 6), float(func * 6 + 6), float(r * 6 + 6), 0.5f, color), 0);
    }
  const auto px = Pixels();
  for (uint32_t func = 1; func <= 8; ++func)
    for (int r = 0; r < 3; ++r) {
      const uint32_t got = px[(r * 6 + 3) * kSize + func * 6 + 3];
      EXPECT_EQ(got, passes(func, 128, refs[r]) ? color : clear) << "function " << func << ", reference " << refs[r];
    }
}

TEST_F(GlDeviceTest, TextureStageOperationsCombineTheirArguments) {
  const uint32_t texel = 0x80FF4020, diffuse = 0x40208040, factor = 0xC0404080;
  const Rgba T = Unpack(texel), D = Unpack(diffuse), F = Unpack(factor);
  using gfx::D3DTA_CURRENT, gfx::D3DTA_DIFFUSE, gfx::D3DTA_TEXTURE, gfx::D3DTA_TFACTOR;
  auto sat = [](float v) { return std::clamp(v, 0.0f, 1.0f); };
  struct Setting {
    uint32_t stage, type, value;
  };
  struct Case {
    const char* name;
    std::vector<Setting> settings;
    Rgba expected;
  };
  const uint32_t COP = gfx::D3DTSS_COLOROP, CA1 = gfx::D3DTSS_COLORARG1, CA2 = gfx::D3DTSS_COLORARG2;
  const uint32_t AOP = gfx::D3DTSS_ALPHAOP, AA1 = gfx::D3DTSS_ALPHAARG1, AA2 = gfx::D3DTSS_ALPHAARG2;
  const std::vector<Case> cases = {
      {"disabled stage 0 gives the diffuse colour", {{0, COP, gfx::D3DTOP_DISABLE}, {0, AOP, gfx::D3DTOP_DISABLE}}, D},
      {"select argument 1",
       {{0, COP, gfx::D3DTOP_SELECTARG1}, {0, CA1, D3DTA_TEXTURE}, {0, AOP, gfx::D3DTOP_SELECTARG1}, {0, AA1, D3DTA_TEXTURE}},
       T},
      {"select argument 2",
       {{0, COP, gfx::D3DTOP_SELECTARG2}, {0, CA2, D3DTA_DIFFUSE}, {0, AOP, gfx::D3DTOP_SELECTARG2}, {0, AA2, D3DTA_DIFFUSE}},
       D},
      {"modulate texture by current",
       {{0, COP, gfx::D3DTOP_MODULATE}, {0, CA1, D3DTA_TEXTURE}, {0, CA2, D3DTA_CURRENT},
        {0, AOP, gfx::D3DTOP_MODULATE}, {0, AA1, D3DTA_TEXTURE}, {0, AA2, D3DTA_CURRENT}},
       {T.r * D.r, T.g * D.g, T.b * D.b, T.a * D.a}},
      {"blend by texture alpha",
       {{0, COP, gfx::D3DTOP_BLENDTEXTUREALPHA}, {0, CA1, D3DTA_TEXTURE}, {0, CA2, D3DTA_DIFFUSE},
        {0, AOP, gfx::D3DTOP_SELECTARG1}, {0, AA1, D3DTA_DIFFUSE}},
       {T.r * T.a + D.r * (1 - T.a), T.g * T.a + D.g * (1 - T.a), T.b * T.a + D.b * (1 - T.a), D.a}},
      {"blend by diffuse alpha",
       {{0, COP, gfx::D3DTOP_BLENDDIFFUSEALPHA}, {0, CA1, D3DTA_TEXTURE}, {0, CA2, D3DTA_TFACTOR},
        {0, AOP, gfx::D3DTOP_SELECTARG1}, {0, AA1, D3DTA_TFACTOR}},
       {T.r * D.a + F.r * (1 - D.a), T.g * D.a + F.g * (1 - D.a), T.b * D.a + F.b * (1 - D.a), F.a}},
      {"add saturates",
       {{0, COP, gfx::D3DTOP_ADD}, {0, CA1, D3DTA_TEXTURE}, {0, CA2, D3DTA_DIFFUSE},
        {0, AOP, gfx::D3DTOP_ADD}, {0, AA1, D3DTA_TEXTURE}, {0, AA2, D3DTA_DIFFUSE}},
       {sat(T.r + D.r), sat(T.g + D.g), sat(T.b + D.b), sat(T.a + D.a)}},
      {"subtract clamps at zero",
       {{0, COP, gfx::D3DTOP_SUBTRACT}, {0, CA1, D3DTA_TEXTURE}, {0, CA2, D3DTA_DIFFUSE},
        {0, AOP, gfx::D3DTOP_SELECTARG1}, {0, AA1, D3DTA_TEXTURE}},
       {sat(T.r - D.r), sat(T.g - D.g), sat(T.b - D.b), T.a}},
      {"modulate twice",
       {{0, COP, gfx::D3DTOP_MODULATE2X}, {0, CA1, D3DTA_TEXTURE}, {0, CA2, D3DTA_DIFFUSE},
        {0, AOP, gfx::D3DTOP_SELECTARG1}, {0, AA1, D3DTA_TEXTURE}},
       {sat(2 * T.r * D.r), sat(2 * T.g * D.g), sat(2 * T.b * D.b), T.a}},
      {"complement and alpha replicate",
       {{0, COP, gfx::D3DTOP_MODULATE}, {0, CA1, D3DTA_TEXTURE | gfx::D3DTA_COMPLEMENT},
        {0, CA2, D3DTA_TFACTOR | gfx::D3DTA_ALPHAREPLICATE}, {0, AOP, gfx::D3DTOP_SELECTARG1},
        {0, AA1, D3DTA_TEXTURE | gfx::D3DTA_COMPLEMENT}},
       {(1 - T.r) * F.a, (1 - T.g) * F.a, (1 - T.b) * F.a, 1 - T.a}},
      {"second stage modulates the first",
       {{0, COP, gfx::D3DTOP_SELECTARG1}, {0, CA1, D3DTA_TEXTURE}, {0, AOP, gfx::D3DTOP_SELECTARG1},
        {0, AA1, D3DTA_TEXTURE}, {1, COP, gfx::D3DTOP_MODULATE}, {1, CA1, D3DTA_CURRENT}, {1, CA2, D3DTA_TFACTOR},
        {1, AOP, gfx::D3DTOP_SELECTARG1}, {1, AA1, D3DTA_CURRENT}},
       {T.r * F.r, T.g * F.g, T.b * F.b, T.a}},
      {"a disabled second stage ends the chain",
       {{0, COP, gfx::D3DTOP_SELECTARG1}, {0, CA1, D3DTA_TEXTURE}, {0, AOP, gfx::D3DTOP_SELECTARG1},
        {0, AA1, D3DTA_TEXTURE}, {1, COP, gfx::D3DTOP_DISABLE}, {2, COP, gfx::D3DTOP_SELECTARG1},
        {2, CA1, D3DTA_TFACTOR}},
       T},
  };
  gfx::Texture* tex = MakeTexture(1, 1, gfx::D3DFMT_A8R8G8B8, ArgbBytes({texel}));
  dev_->SetRenderState(gfx::D3DRS_TEXTUREFACTOR, factor);
  dev_->SetRenderState(gfx::D3DRS_ZENABLE, 0);
  for (size_t i = 0; i < cases.size(); ++i) {
    // Every case starts from the same stage set-up.
    for (uint32_t stage = 0; stage < 3; ++stage) {
      dev_->SetTexture(stage, stage == 0 ? tex : nullptr);
      dev_->SetTextureStageState(stage, COP, stage == 0 ? gfx::D3DTOP_MODULATE : gfx::D3DTOP_DISABLE);
      dev_->SetTextureStageState(stage, AOP, stage == 0 ? gfx::D3DTOP_SELECTARG1 : gfx::D3DTOP_DISABLE);
      dev_->SetTextureStageState(stage, CA1, D3DTA_TEXTURE);
      dev_->SetTextureStageState(stage, CA2, D3DTA_CURRENT);
      dev_->SetTextureStageState(stage, AA1, D3DTA_TEXTURE);
      dev_->SetTextureStageState(stage, AA2, D3DTA_CURRENT);
    }
    for (const Setting& s : cases[i].settings) dev_->SetTextureStageState(s.stage, s.type, s.value);
    const float x = float(i % 8) * 8, y = float(i / 8) * 8;
    ASSERT_EQ(Quad(x, y, x + 8, y + 8, 0.5f, diffuse), 0) << cases[i].name;
  }
  const auto px = Pixels();
  for (size_t i = 0; i < cases.size(); ++i) {
    const int x = int(i % 8) * 8 + 4, y = int(i / 8) * 8 + 4;
    EXPECT_TRUE(Near(px[y * kSize + x], Pack(cases[i].expected))) << cases[i].name;
  }
  tex->Release();
}

TEST_F(GlDeviceTest, FogAtAKnownDepth) {
  const float e1 = std::exp(-1.0f);
  struct Case {
    const char* name;
    uint32_t table, vertex;
    bool perspective;
    float density, start, end, depth;  // depth: the vertex z (orthographic) or eye distance (perspective)
    float expected;                    // the fog factor: 1 keeps the object colour
  };
  const Case cases[] = {
      {"table exponential on depth", gfx::D3DFOG_EXP, 0, false, 2.0f, 0, 1, 0.5f, e1},
      {"table squared exponential", gfx::D3DFOG_EXP2, 0, false, 2.0f, 0, 1, 0.5f, e1},
      {"table linear", gfx::D3DFOG_LINEAR, 0, false, 1.0f, 0.25f, 0.75f, 0.5f, 0.5f},
      {"vertex linear", gfx::D3DFOG_NONE, gfx::D3DFOG_LINEAR, false, 1.0f, 0.25f, 0.75f, 0.5f, 0.5f},
      {"table exponential on eye distance", gfx::D3DFOG_EXP, 0, true, 0.1f, 0, 1, 10.0f, e1},
      {"vertex exponential on eye distance", gfx::D3DFOG_NONE, gfx::D3DFOG_EXP, true, 0.05f, 0, 1, 10.0f,
       std::exp(-0.5f)},
  };
  gfx::Matrix screen;
  dev_->GetTransform(gfx::D3DTS_PROJECTION, &screen);
  gfx::Matrix persp;  // 90 degrees, square, near 1, far 100
  persp(2, 2) = 100.0f / 99.0f;
  persp(2, 3) = 1.0f;
  persp(3, 2) = -100.0f / 99.0f;
  persp(3, 3) = 0.0f;
  dev_->SetRenderState(gfx::D3DRS_FOGENABLE, 1);
  dev_->SetRenderState(gfx::D3DRS_FOGCOLOR, 0x00FF0000);
  dev_->SetRenderState(gfx::D3DRS_ZENABLE, 0);
  for (const Case& c : cases) {
    dev_->SetRenderState(gfx::D3DRS_FOGTABLEMODE, c.table);
    dev_->SetRenderState(gfx::D3DRS_FOGVERTEXMODE, c.vertex);
    dev_->SetRenderState(gfx::D3DRS_FOGDENSITY, gfx::FloatBits(c.density));
    dev_->SetRenderState(gfx::D3DRS_FOGSTART, gfx::FloatBits(c.start));
    dev_->SetRenderState(gfx::D3DRS_FOGEND, gfx::FloatBits(c.end));
    ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0, 1.0f, 0), 0);
    if (c.perspective) {
      dev_->SetTransform(gfx::D3DTS_PROJECTION, &persp);
      const float s = 2 * c.depth;
      const Vertex v[4] = {{-s, s, c.depth, 0xFF0000FF, 0, 0, 0, 0}, {s, s, c.depth, 0xFF0000FF, 0, 0, 0, 0},
                           {s, -s, c.depth, 0xFF0000FF, 0, 0, 0, 0}, {-s, -s, c.depth, 0xFF0000FF, 0, 0, 0, 0}};
      ASSERT_EQ(dev_->DrawPrimitiveUP(gfx::D3DPT_TRIANGLEFAN, 2, v, 32), 0);
    } else {
      dev_->SetTransform(gfx::D3DTS_PROJECTION, &screen);
      ASSERT_EQ(Quad(0, 0, kSize, kSize, c.depth, 0xFF0000FF), 0);
    }
    const uint32_t expected = Pack({1 - c.expected, 0, c.expected, 1});
    EXPECT_TRUE(Near(Pixel(kSize / 2, kSize / 2), expected)) << c.name;
  }
}

TEST_F(GlDeviceTest, CullingDecidesOnScreenWindingForBothDirections) {
  struct Case {
    uint32_t cull;
    bool clockwise;
    bool visible;
  };
  const Case cases[] = {{gfx::D3DCULL_NONE, true, true},  {gfx::D3DCULL_NONE, false, true},
                        {gfx::D3DCULL_CCW, true, true},   {gfx::D3DCULL_CCW, false, false},
                        {gfx::D3DCULL_CW, true, false},   {gfx::D3DCULL_CW, false, true}};
  for (size_t i = 0; i < 6; ++i) {
    const Case& c = cases[i];
    dev_->SetRenderState(gfx::D3DRS_CULLMODE, c.cull);
    const float x0 = float(i) * 10, x1 = x0 + 8, y0 = 0, y1 = 8;
    // Screen y grows downward: top-left, top-right, bottom-right is clockwise.
    Vertex v[3] = {{x0, y0, 0.5f, 0xFFFFFFFF, 0, 0, 0, 0}, {x1, y0, 0.5f, 0xFFFFFFFF, 0, 0, 0, 0},
                   {x1, y1, 0.5f, 0xFFFFFFFF, 0, 0, 0, 0}};
    if (!c.clockwise) std::swap(v[1], v[2]);
    ASSERT_EQ(dev_->DrawPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 1, v, 32), 0);
  }
  const auto px = Pixels();
  for (size_t i = 0; i < 6; ++i)
    EXPECT_EQ(px[2 * kSize + int(i) * 10 + 6] == 0xFFFFFFFFu, cases[i].visible)
        << "cull " << cases[i].cull << (cases[i].clockwise ? " clockwise" : " counter-clockwise");
}

TEST_F(GlDeviceTest, DepthTestFunctionsWriteEnableAndBias) {
  struct Case {
    const char* name;
    uint32_t func;
    float secondZ;
    uint32_t bias;
    bool zenable, firstWrites, visible;
  };
  const Case cases[] = {
      {"nearer passes less", gfx::D3DCMP_LESS, 0.4f, 0, true, true, true},
      {"farther fails less", gfx::D3DCMP_LESS, 0.6f, 0, true, true, false},
      {"farther passes greater", gfx::D3DCMP_GREATER, 0.6f, 0, true, true, true},
      {"equal depth passes equal", gfx::D3DCMP_EQUAL, 0.5f, 0, true, true, true},
      {"equal depth fails not-equal", gfx::D3DCMP_NOTEQUAL, 0.5f, 0, true, true, false},
      {"never", gfx::D3DCMP_NEVER, 0.1f, 0, true, true, false},
      {"always", gfx::D3DCMP_ALWAYS, 0.9f, 0, true, true, true},
      {"coplanar without bias fails less", gfx::D3DCMP_LESS, 0.5f, 0, true, true, false},
      {"coplanar with bias passes less", gfx::D3DCMP_LESS, 0.5f, 1, true, true, true},
      {"depth test off", gfx::D3DCMP_LESS, 0.9f, 0, false, true, true},
      {"first did not write depth", gfx::D3DCMP_LESS, 0.9f, 0, true, false, true},
  };
  const uint32_t first = 0xFFFF0000, second = 0xFF00FF00;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const float x = float(i % 8) * 8, y = float(i / 8) * 8;
    dev_->SetRenderState(gfx::D3DRS_ZENABLE, 1);
    dev_->SetRenderState(gfx::D3DRS_ZFUNC, gfx::D3DCMP_LESSEQUAL);
    dev_->SetRenderState(gfx::D3DRS_ZBIAS, 0);
    dev_->SetRenderState(gfx::D3DRS_ZWRITEENABLE, c.firstWrites);
    ASSERT_EQ(Quad(x, y, x + 8, y + 8, 0.5f, first), 0);
    dev_->SetRenderState(gfx::D3DRS_ZWRITEENABLE, 1);
    dev_->SetRenderState(gfx::D3DRS_ZENABLE, c.zenable);
    dev_->SetRenderState(gfx::D3DRS_ZFUNC, c.func);
    dev_->SetRenderState(gfx::D3DRS_ZBIAS, c.bias);
    ASSERT_EQ(Quad(x, y, x + 8, y + 8, c.secondZ, second), 0);
  }
  const auto px = Pixels();
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(px[(int(i / 8) * 8 + 4) * kSize + int(i % 8) * 8 + 4], cases[i].visible ? second : first)
        << cases[i].name;
}

TEST_F(GlDeviceTest, TextureAddressingWrapsMirrorsAndClamps) {
  const uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF;
  gfx::Texture* tex = MakeTexture(2, 2, gfx::D3DFMT_A8R8G8B8, ArgbBytes({R, G, B, W}));
  dev_->SetTexture(0, tex);
  dev_->SetTextureStageState(0, gfx::D3DTSS_COLOROP, gfx::D3DTOP_SELECTARG1);
  dev_->SetTextureStageState(0, gfx::D3DTSS_COLORARG1, gfx::D3DTA_TEXTURE);
  struct Case {
    uint32_t mode;
    std::array<uint32_t, 4> row;     // pixels 1, 3, 5, 7 of the first row (u 0..2)
    std::array<uint32_t, 4> column;  // pixels 1, 3, 5, 7 of the first column (v 0..2)
  };
  const Case cases[] = {{gfx::D3DTADDRESS_WRAP, {R, G, R, G}, {R, B, R, B}},
                        {gfx::D3DTADDRESS_MIRROR, {R, G, G, R}, {R, B, B, R}},
                        {gfx::D3DTADDRESS_CLAMP, {R, G, G, G}, {R, B, B, B}}};
  for (size_t i = 0; i < 3; ++i) {
    dev_->SetTextureStageState(0, gfx::D3DTSS_ADDRESSU, cases[i].mode);
    dev_->SetTextureStageState(0, gfx::D3DTSS_ADDRESSV, cases[i].mode);
    ASSERT_EQ(Quad(float(i) * 10, 0, float(i) * 10 + 8, 8, 0.5f, W, 0, 0, 2, 2), 0);
  }
  const auto px = Pixels();
  for (size_t i = 0; i < 3; ++i)
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(px[0 * kSize + int(i) * 10 + 2 * k + 1], cases[i].row[k]) << "mode " << cases[i].mode << " u " << k;
      EXPECT_EQ(px[(2 * k + 1) * kSize + int(i) * 10], cases[i].column[k]) << "mode " << cases[i].mode << " v " << k;
    }
  tex->Release();
}

TEST_F(GlDeviceTest, TextureFilteringPointLinearAndMipLevels) {
  dev_->SetTextureStageState(0, gfx::D3DTSS_COLOROP, gfx::D3DTOP_SELECTARG1);
  dev_->SetTextureStageState(0, gfx::D3DTSS_COLORARG1, gfx::D3DTA_TEXTURE);
  dev_->SetTextureStageState(0, gfx::D3DTSS_ADDRESSU, gfx::D3DTADDRESS_CLAMP);
  dev_->SetTextureStageState(0, gfx::D3DTSS_ADDRESSV, gfx::D3DTADDRESS_CLAMP);
  // Magnification of a black-white pair over 8 pixels.
  gfx::Texture* pair = MakeTexture(2, 1, gfx::D3DFMT_X8R8G8B8, ArgbBytes({0xFF000000, 0xFFFFFFFF}));
  dev_->SetTexture(0, pair);
  struct MagCase {
    uint32_t filter;
    std::array<int, 4> grey;  // pixels 0, 3, 4, 7
  };
  const MagCase mags[] = {{gfx::D3DTEXF_POINT, {0, 0, 255, 255}}, {gfx::D3DTEXF_LINEAR, {0, 96, 159, 255}}};
  for (size_t i = 0; i < 2; ++i) {
    dev_->SetTextureStageState(0, gfx::D3DTSS_MAGFILTER, mags[i].filter);
    ASSERT_EQ(Quad(0, float(i) * 2, 8, float(i) * 2 + 1, 0.5f, 0xFFFFFFFF), 0);
  }
  // Minification of a three-level chain: red, green, blue levels.
  gfx::Texture* chain = nullptr;
  ASSERT_EQ(dev_->CreateTexture(4, 4, 3, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &chain), 0);
  const uint32_t levelColor[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  for (uint32_t level = 0; level < 3; ++level) {
    gfx::LockedRect lr;
    gfx::SurfaceDesc d;
    chain->GetLevelDesc(level, &d);
    ASSERT_EQ(chain->LockRect(level, &lr, nullptr, 0), 0);
    for (uint32_t y = 0; y < d.height; ++y)
      for (uint32_t x = 0; x < d.width; ++x)
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(lr.bits) + y * lr.pitch)[x] = levelColor[level];
    chain->UnlockRect(level);
  }
  dev_->SetTexture(0, chain);
  struct MipCase {
    uint32_t mip;
    int size;  // the quad's side in pixels: 2 shows level 1, 1 shows level 2
    uint32_t expected;
  };
  const MipCase mips[] = {{gfx::D3DTEXF_NONE, 2, 0xFFFF0000},
                          {gfx::D3DTEXF_POINT, 2, 0xFF00FF00},
                          {gfx::D3DTEXF_LINEAR, 2, 0xFF00FF00},
                          {gfx::D3DTEXF_POINT, 1, 0xFF0000FF}};
  for (size_t i = 0; i < std::size(mips); ++i) {
    dev_->SetTextureStageState(0, gfx::D3DTSS_MIPFILTER, mips[i].mip);
    const float x = 20 + float(i) * 4;
    ASSERT_EQ(Quad(x, 20, x + float(mips[i].size), 20 + float(mips[i].size), 0.5f, 0xFFFFFFFF), 0);
  }
  const auto px = Pixels();
  const int xs[4] = {0, 3, 4, 7};
  for (size_t i = 0; i < 2; ++i)
    for (int k = 0; k < 4; ++k) {
      const uint32_t g = uint32_t(mags[i].grey[k]);
      EXPECT_TRUE(Near(px[int(i) * 2 * kSize + xs[k]], 0xFF000000u | g << 16 | g << 8 | g, 2))
          << "filter " << mags[i].filter << " pixel " << xs[k];
    }
  for (size_t i = 0; i < std::size(mips); ++i)
    EXPECT_TRUE(Near(px[20 * kSize + 20 + int(i) * 4], mips[i].expected)) << "mip filter " << mips[i].mip;
  pair->Release();
  chain->Release();
}

TEST_F(GlDeviceTest, Dxt1AndA4R4G4B4TexturesSample) {
  dev_->SetTextureStageState(0, gfx::D3DTSS_COLOROP, gfx::D3DTOP_SELECTARG1);
  dev_->SetTextureStageState(0, gfx::D3DTSS_COLORARG1, gfx::D3DTA_TEXTURE);
  dev_->SetTextureStageState(0, gfx::D3DTSS_ALPHAOP, gfx::D3DTOP_SELECTARG1);
  dev_->SetTextureStageState(0, gfx::D3DTSS_ALPHAARG1, gfx::D3DTA_TEXTURE);
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFF123456, 1.0f, 0), 0);
  // Four-colour block: red and blue ends, columns 0..3 take indices 0, 1, 2, 3.
  gfx::Texture* opaque = MakeTexture(4, 4, gfx::D3DFMT_DXT1, {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4});
  // Three-colour block: blue and red ends swapped; index 3 is transparent.
  gfx::Texture* holes = MakeTexture(4, 4, gfx::D3DFMT_DXT1, {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4});
  gfx::Texture* nibbles = MakeTexture(2, 1, gfx::D3DFMT_A4R4G4B4, {0x84, 0x8F, 0xF0, 0xF0});
  dev_->SetTexture(0, opaque);
  ASSERT_EQ(Quad(0, 0, 4, 4, 0.5f, 0xFFFFFFFF), 0);
  dev_->SetTexture(0, holes);
  dev_->SetRenderState(gfx::D3DRS_ALPHATESTENABLE, 1);
  dev_->SetRenderState(gfx::D3DRS_ALPHAFUNC, gfx::D3DCMP_GREATER);
  ASSERT_EQ(Quad(8, 0, 12, 4, 0.5f, 0xFFFFFFFF), 0);
  dev_->SetRenderState(gfx::D3DRS_ALPHATESTENABLE, 0);
  dev_->SetTexture(0, nibbles);
  ASSERT_EQ(Quad(16, 0, 18, 1, 0.5f, 0xFFFFFFFF), 0);
  const auto px = Pixels();
  const uint32_t opaqueRow[4] = {0xFFFF0000, 0xFF0000FF, 0xFFAA0055, 0xFF5500AA};
  const uint32_t holesRow[4] = {0xFF0000FF, 0xFFFF0000, 0xFF800080, 0xFF123456};
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 4; ++y) {
      EXPECT_TRUE(Near(px[y * kSize + x], opaqueRow[x])) << "opaque block " << x << "," << y;
      EXPECT_TRUE(Near(px[y * kSize + 8 + x], holesRow[x])) << "three-colour block " << x << "," << y;
    }
  EXPECT_TRUE(Near(px[16], 0x88FF8844));  // 0x8F84: alpha 8, red 15, green 8, blue 4
  EXPECT_TRUE(Near(px[17], 0xFF00FF00));  // 0xF0F0
  opaque->Release();
  holes->Release();
  nibbles->Release();
}

TEST_F(GlDeviceTest, AmbientLightingTakesTheMaterialColourSources) {
  gfx::Material m;
  m.ambient = {1.0f, 0.5f, 0.25f, 1.0f};
  m.diffuse = {0, 0, 0, 0.5f};
  m.emissive = {0, 0, 0.25f, 0};
  dev_->SetMaterial(&m);
  dev_->SetRenderState(gfx::D3DRS_LIGHTING, 1);
  dev_->SetRenderState(gfx::D3DRS_AMBIENT, 0xFF808080);
  dev_->SetRenderState(gfx::D3DRS_ZENABLE, 0);
  const uint32_t vertexColor = 0xFF40C0FF;
  const Rgba v = Unpack(vertexColor);
  const float g = 128.0f / 255.0f;
  struct Case {
    const char* name;
    uint32_t ambientSource, diffuseSource;
    bool colorVertex, light;
    Rgba expected;
  };
  const Case cases[] = {
      {"material sources", gfx::D3DMCS_MATERIAL, gfx::D3DMCS_MATERIAL, true, false, {g, g * 0.5f, g * 0.25f + 0.25f, 0.5f}},
      {"vertex colour sources", gfx::D3DMCS_COLOR1, gfx::D3DMCS_COLOR1, true, false,
       {g * v.r, g * v.g, g * v.b + 0.25f, 1.0f}},
      {"colour vertex off uses the material", gfx::D3DMCS_COLOR1, gfx::D3DMCS_COLOR1, false, false,
       {g, g * 0.5f, g * 0.25f + 0.25f, 0.5f}},
      {"a directional light adds its ambient", gfx::D3DMCS_MATERIAL, gfx::D3DMCS_MATERIAL, true, true,
       {g + 0.25f, (g + 0.25f) * 0.5f, (g + 0.25f) * 0.25f + 0.25f, 0.5f}},
  };
  gfx::Light light;
  light.ambient = {0.25f, 0.25f, 0.25f, 0};
  dev_->SetLight(0, &light);
  for (size_t i = 0; i < std::size(cases); ++i) {
    dev_->SetRenderState(gfx::D3DRS_AMBIENTMATERIALSOURCE, cases[i].ambientSource);
    dev_->SetRenderState(gfx::D3DRS_DIFFUSEMATERIALSOURCE, cases[i].diffuseSource);
    dev_->SetRenderState(gfx::D3DRS_COLORVERTEX, cases[i].colorVertex);
    dev_->LightEnable(0, cases[i].light);
    ASSERT_EQ(Quad(float(i) * 8, 0, float(i) * 8 + 8, 8, 0.5f, vertexColor), 0);
  }
  const auto px = Pixels();
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_TRUE(Near(px[4 * kSize + int(i) * 8 + 4], Pack(cases[i].expected))) << cases[i].name;
}

}  // namespace
