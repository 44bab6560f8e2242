#pragma once
// The renderer's shadow of the device's render states and texture-stage
// states. Drawing goes through the shadow so the device sees only values
// that change; the full flush brings a new (or reset) device in line with it.
#include <array>
#include <cstddef>
#include <cstdint>

#include "base/Status.h"

namespace platform::gfx {
class Device;
}

namespace lumetra {

inline constexpr size_t kShadowedRenderStates = 73;
inline constexpr uint32_t kShadowedStages = 4;

// What a material layer asks of one texture stage, in this order:
// ADDRESSU, ADDRESSV, MAGFILTER, MINFILTER, MIPFILTER, COLOROP, COLORARG1,
// COLORARG2, ALPHAOP, ALPHAARG1, ALPHAARG2.
struct StageRequest {
  std::array<uint32_t, 11> values{};
};
// The request for a stage a draw leaves unused: addressing wrap, filters 3,
// colour and alpha disabled.
StageRequest DefaultStageRequest();
// The request a new material layer starts with: colour and alpha taken from
// the texture, addressing wrap, filters 3.
StageRequest DefaultLayerRequest();

// The render states a material shader carries, in this order: ZENABLE,
// ZWRITEENABLE, ZFUNC, ZBIAS, ALPHAREF, ALPHAFUNC, ALPHATESTENABLE,
// ALPHABLENDENABLE, SRCBLEND, DESTBLEND, CULLMODE, LIGHTING, SHADEMODE,
// AMBIENTMATERIALSOURCE, DIFFUSEMATERIALSOURCE.
struct ShaderStateBlock {
  std::array<uint32_t, 15> values{};
};
// The render-state id of each position of a shader state block.
extern const std::array<uint32_t, 15> kShaderBlockStates;

class RenderStateCache {
 public:
  // Every shadowed state at its initial value.
  RenderStateCache();

  // The render-state ids the shadow keeps, in full-flush order.
  static const std::array<uint32_t, kShadowedRenderStates>& States();
  static bool IsShadowed(uint32_t state);

  // The shadow's value of a state (0 for a state it does not keep).
  uint32_t Get(uint32_t state) const;
  // Changes the shadow only; the device receives it at the next flush.
  void Set(uint32_t state, uint32_t value);

  // Reads every shadowed state from the device, in full-flush order, and
  // sets those that differ from the shadow. FILLMODE is wanted as wireframe
  // while `wireframe` is set. Stops with a failure at the first failed read.
  CoreStatus FullFlush(platform::gfx::Device* device, bool wireframe);
  // Sends the texture-stage states of stages 0-3 from their shadows, without
  // comparing (the reserved value is not sent).
  void SetupStages(platform::gfx::Device* device);
  // Stores and sends each state of the block that differs from the shadow.
  void ApplyShaderBlock(platform::gfx::Device* device, const ShaderStateBlock& block);
  // Stores and sends each value of the request that differs from stage
  // `stage`'s shadow. Stages outside 0-3 are ignored.
  void ApplyStage(platform::gfx::Device* device, int32_t stage, const StageRequest& request);
  // Before a pass draws: with fog off in the shadow, switches the device's
  // fog off when it differs; with fog on, sends density, colour, start and
  // end. Then sets the wanted fill mode when the device's
  // differs.
  void ApplyPassFogAndFill(platform::gfx::Device* device, bool wireframe);

  // Stage shadow value by texture-stage state id (0 for an unkept id).
  uint32_t GetStage(uint32_t stage, uint32_t type) const;
  uint32_t WantedFillMode(bool wireframe) const;

 private:
  std::array<uint32_t, kShadowedRenderStates> values_{};
  // Per stage: ADDRESSU, ADDRESSV, MAGFILTER, MINFILTER, MIPFILTER, a
  // reserved value, COLOROP, COLORARG1, COLORARG2, ALPHAOP, ALPHAARG1,
  // ALPHAARG2, TEXTURETRANSFORMFLAGS.
  std::array<std::array<uint32_t, 13>, kShadowedStages> stages_{};
};

}  // namespace lumetra
