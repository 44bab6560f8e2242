// The render-state shadow on the record device: unchanged values send
// nothing, the full flush brings every shadowed state back, blend factors
// are paired by name, and stage requests touch only what differs.
#include <set>

#include "RendererTestUtil.h"
#include "renderer/RenderStateCache.h"

namespace {

using namespace rtest;
using lumetra::RenderStateCache;

class RenderStateCacheTest : public RecordRenderer {
 protected:
  gfx::Device* Device() { return renderer.GetDevice(); }
  uint32_t DeviceState(uint32_t state) {
    uint32_t value = 0;
    EXPECT_EQ(Device()->GetRenderState(state, &value), 0);
    return value;
  }
};

TEST_F(RenderStateCacheTest, TheShadowKeepsSeventyThreeDistinctStatesWithTheirStartingValues) {
  const auto& states = RenderStateCache::States();
  EXPECT_EQ(std::set<uint32_t>(states.begin(), states.end()).size(), lumetra::kShadowedRenderStates);
  EXPECT_EQ(states.front(), gfx::D3DRS_ZENABLE);
  EXPECT_EQ(states.back(), gfx::D3DRS_FOGDENSITY);
  RenderStateCache cache;
  const struct {
    uint32_t state, value;
  } starts[] = {{gfx::D3DRS_ZFUNC, gfx::D3DCMP_LESSEQUAL}, {gfx::D3DRS_ALPHAFUNC, gfx::D3DCMP_ALWAYS},
                {gfx::D3DRS_SRCBLEND, gfx::D3DBLEND_ONE},  {gfx::D3DRS_DESTBLEND, gfx::D3DBLEND_ZERO},
                {gfx::D3DRS_CULLMODE, gfx::D3DCULL_CCW},   {gfx::D3DRS_FILLMODE, gfx::D3DFILL_SOLID},
                {gfx::D3DRS_STENCILMASK, 0xFFFFFFFFu},     {gfx::D3DRS_COLORWRITEENABLE, 15},
                {gfx::D3DRS_FOGEND, 0x3F800000u},          {gfx::D3DRS_POINTSCALE_C, 0x3F800000u},
                {gfx::D3DRS_SPECULARMATERIALSOURCE, 2},    {gfx::D3DRS_MULTISAMPLEANTIALIAS, 1}};
  for (const auto& start : starts) EXPECT_EQ(cache.Get(start.state), start.value) << start.state;
  EXPECT_EQ(cache.GetStage(0, gfx::D3DTSS_COLOROP), gfx::D3DTOP_SELECTARG1);
  EXPECT_EQ(cache.GetStage(3, gfx::D3DTSS_TEXTURETRANSFORMFLAGS), gfx::D3DTTFF_COUNT2);
  EXPECT_FALSE(RenderStateCache::IsShadowed(gfx::D3DRS_ZVISIBLE));
}

TEST_F(RenderStateCacheTest, AFreshDeviceAgreesWithTheShadowInEveryState) {
  RenderStateCache& cache = renderer.GetStateCache();
  for (uint32_t state : RenderStateCache::States()) EXPECT_EQ(DeviceState(state), cache.Get(state)) << state;
  for (uint32_t stage = 0; stage < 4; ++stage) {
    for (uint32_t type : {gfx::D3DTSS_ADDRESSU, gfx::D3DTSS_MAGFILTER, gfx::D3DTSS_COLOROP, gfx::D3DTSS_ALPHAARG2,
                          gfx::D3DTSS_TEXTURETRANSFORMFLAGS}) {
      uint32_t value = 0;
      Device()->GetTextureStageState(stage, type, &value);
      EXPECT_EQ(value, cache.GetStage(stage, type)) << stage << " " << type;
    }
  }
}

TEST_F(RenderStateCacheTest, AFullFlushResendsEveryShadowedStateTheDeviceLost) {
  RenderStateCache& cache = renderer.GetStateCache();
  // Something behind the shadow's back changes every state on the device.
  for (uint32_t state : RenderStateCache::States()) Device()->SetRenderState(state, cache.Get(state) + 1);
  Log().Clear();
  ASSERT_EQ(cache.FullFlush(Device(), false), 0);
  const auto sets = Calls(gfx::CallOp::SetRenderState);
  ASSERT_EQ(sets.size(), lumetra::kShadowedRenderStates);
  for (size_t i = 0; i < sets.size(); ++i) {
    EXPECT_EQ(sets[i].a, RenderStateCache::States()[i]);  // in flush order
    EXPECT_EQ(sets[i].b, cache.Get(sets[i].a));
  }
  EXPECT_EQ(Count(gfx::CallOp::GetRenderState), lumetra::kShadowedRenderStates);

  // In line again: a second flush reads everything and sends nothing.
  Log().Clear();
  ASSERT_EQ(cache.FullFlush(Device(), false), 0);
  EXPECT_EQ(Count(gfx::CallOp::SetRenderState), 0u);

  // Wireframe is the wanted fill mode while it is on; the shadow stays solid.
  ASSERT_EQ(cache.FullFlush(Device(), true), 0);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FILLMODE), gfx::D3DFILL_WIREFRAME);
  EXPECT_EQ(cache.Get(gfx::D3DRS_FILLMODE), gfx::D3DFILL_SOLID);
  EXPECT_NE(cache.FullFlush(nullptr, false), 0);
}

TEST_F(RenderStateCacheTest, AnIdenticalShaderBlockSendsNothingAndBlendFactorsKeepTheirNames) {
  RenderStateCache& cache = renderer.GetStateCache();
  lumetra::ShaderStateBlock block = TestShader().block;
  block.values[7] = 1;                          // ALPHABLENDENABLE
  block.values[8] = gfx::D3DBLEND_SRCALPHA;     // SRCBLEND
  block.values[9] = gfx::D3DBLEND_INVSRCALPHA;  // DESTBLEND
  block.values[10] = gfx::D3DCULL_NONE;
  Log().Clear();
  cache.ApplyShaderBlock(Device(), block);
  // Exactly the four changed states, DESTBLEND sent before SRCBLEND, each
  // with its own value.
  const auto sets = Calls(gfx::CallOp::SetRenderState);
  ASSERT_EQ(sets.size(), 4u);
  EXPECT_EQ(sets[1].a, gfx::D3DRS_DESTBLEND);
  EXPECT_EQ(sets[2].a, gfx::D3DRS_SRCBLEND);
  EXPECT_EQ(DeviceState(gfx::D3DRS_SRCBLEND), gfx::D3DBLEND_SRCALPHA);
  EXPECT_EQ(DeviceState(gfx::D3DRS_DESTBLEND), gfx::D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(cache.Get(gfx::D3DRS_SRCBLEND), gfx::D3DBLEND_SRCALPHA);
  EXPECT_EQ(DeviceState(gfx::D3DRS_CULLMODE), gfx::D3DCULL_NONE);

  Log().Clear();
  cache.ApplyShaderBlock(Device(), block);
  EXPECT_EQ(Log().Calls().size(), 0u);
}

TEST_F(RenderStateCacheTest, StageRequestsSendOnlyChangedValuesAndIgnoreStagesOutsideTheFour) {
  RenderStateCache& cache = renderer.GetStateCache();
  lumetra::StageRequest request = lumetra::DefaultLayerRequest();
  request.values[0] = gfx::D3DTADDRESS_CLAMP;
  request.values[5] = gfx::D3DTOP_MODULATE;
  Log().Clear();
  cache.ApplyStage(Device(), 2, request);
  const auto sets = Calls(gfx::CallOp::SetTextureStageState);
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].a, 2u);
  EXPECT_EQ(sets[0].b, gfx::D3DTSS_ADDRESSU);
  EXPECT_EQ(sets[1].b, gfx::D3DTSS_COLOROP);
  EXPECT_EQ(cache.GetStage(2, gfx::D3DTSS_COLOROP), gfx::D3DTOP_MODULATE);
  EXPECT_EQ(cache.GetStage(2, gfx::D3DTSS_TEXTURETRANSFORMFLAGS), gfx::D3DTTFF_COUNT2);

  Log().Clear();
  cache.ApplyStage(Device(), 2, request);
  cache.ApplyStage(Device(), 4, lumetra::DefaultStageRequest());
  cache.ApplyStage(Device(), -1, lumetra::DefaultStageRequest());
  EXPECT_EQ(Log().Calls().size(), 0u);
}

TEST_F(RenderStateCacheTest, PassFogOffSwitchesTheDevicesFogOffAndFogOnResendsItsValues) {
  RenderStateCache& cache = renderer.GetStateCache();
  Device()->SetRenderState(gfx::D3DRS_FOGENABLE, 1);
  cache.ApplyPassFogAndFill(Device(), false);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FOGENABLE), 0u);
  EXPECT_EQ(cache.Get(gfx::D3DRS_FOGENABLE), 0u);

  cache.Set(gfx::D3DRS_FOGENABLE, 1);
  cache.Set(gfx::D3DRS_FOGDENSITY, 0x3E800000u);  // 0.25
  Log().Clear();
  cache.ApplyPassFogAndFill(Device(), true);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FOGDENSITY), 0x3E800000u);
  EXPECT_EQ(Count(gfx::CallOp::SetRenderState), 5u);  // density, colour, start, end, fill mode
  EXPECT_EQ(DeviceState(gfx::D3DRS_FILLMODE), gfx::D3DFILL_WIREFRAME);
}

}  // namespace
