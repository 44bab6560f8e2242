#include "renderer/RenderStateCache.h"

#include <bit>

#include "platform/graphics/GfxDevice.h"

namespace lumetra {
namespace gfx = platform::gfx;
namespace {

constexpr uint32_t kOne = std::bit_cast<uint32_t>(1.0f);

struct InitialState {
  uint32_t state;
  uint32_t value;
};

// Full-flush order, with each state's value at construction.
constexpr InitialState kInitial[kShadowedRenderStates] = {
    {gfx::D3DRS_ZENABLE, 1},
    {gfx::D3DRS_ZWRITEENABLE, 1},
    {gfx::D3DRS_ZFUNC, gfx::D3DCMP_LESSEQUAL},
    {gfx::D3DRS_ZBIAS, 0},
    {gfx::D3DRS_ALPHAREF, 0},
    {gfx::D3DRS_ALPHAFUNC, gfx::D3DCMP_ALWAYS},
    {gfx::D3DRS_ALPHATESTENABLE, 0},
    {gfx::D3DRS_ALPHABLENDENABLE, 0},
    {gfx::D3DRS_SRCBLEND, gfx::D3DBLEND_ONE},
    {gfx::D3DRS_DESTBLEND, gfx::D3DBLEND_ZERO},
    {gfx::D3DRS_CULLMODE, gfx::D3DCULL_CCW},
    {gfx::D3DRS_LIGHTING, 1},
    {gfx::D3DRS_FILLMODE, gfx::D3DFILL_SOLID},
    {gfx::D3DRS_SHADEMODE, gfx::D3DSHADE_GOURAUD},
    {gfx::D3DRS_LINEPATTERN, 0},
    {gfx::D3DRS_LASTPIXEL, 1},
    {gfx::D3DRS_DITHERENABLE, 0},
    {gfx::D3DRS_SPECULARENABLE, 0},
    {gfx::D3DRS_EDGEANTIALIAS, 0},
    {gfx::D3DRS_RANGEFOGENABLE, 0},
    {gfx::D3DRS_STENCILENABLE, 0},
    {gfx::D3DRS_STENCILFAIL, gfx::D3DSTENCILOP_KEEP},
    {gfx::D3DRS_STENCILZFAIL, gfx::D3DSTENCILOP_KEEP},
    {gfx::D3DRS_STENCILPASS, gfx::D3DSTENCILOP_KEEP},
    {gfx::D3DRS_STENCILFUNC, gfx::D3DCMP_ALWAYS},
    {gfx::D3DRS_STENCILREF, 0},
    {gfx::D3DRS_STENCILMASK, 0xFFFFFFFFu},
    {gfx::D3DRS_STENCILWRITEMASK, 0xFFFFFFFFu},
    {gfx::D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
    {gfx::D3DRS_WRAP0 + 0, 0},
    {gfx::D3DRS_WRAP0 + 1, 0},
    {gfx::D3DRS_WRAP0 + 2, 0},
    {gfx::D3DRS_WRAP0 + 3, 0},
    {gfx::D3DRS_WRAP0 + 4, 0},
    {gfx::D3DRS_WRAP0 + 5, 0},
    {gfx::D3DRS_WRAP0 + 6, 0},
    {gfx::D3DRS_WRAP0 + 7, 0},
    {gfx::D3DRS_CLIPPING, 1},
    {gfx::D3DRS_AMBIENT, 0},
    {gfx::D3DRS_COLORVERTEX, 1},
    {gfx::D3DRS_LOCALVIEWER, 1},
    {gfx::D3DRS_NORMALIZENORMALS, 0},
    {gfx::D3DRS_DIFFUSEMATERIALSOURCE, gfx::D3DMCS_COLOR1},
    {gfx::D3DRS_SPECULARMATERIALSOURCE, gfx::D3DMCS_COLOR2},
    {gfx::D3DRS_AMBIENTMATERIALSOURCE, gfx::D3DMCS_COLOR1},
    {gfx::D3DRS_EMISSIVEMATERIALSOURCE, gfx::D3DMCS_MATERIAL},
    {gfx::D3DRS_VERTEXBLEND, 0},
    {gfx::D3DRS_CLIPPLANEENABLE, 0},
    {gfx::D3DRS_POINTSIZE, kOne},
    {gfx::D3DRS_POINTSIZE_MIN, kOne},
    {gfx::D3DRS_POINTSPRITEENABLE, 0},
    {gfx::D3DRS_POINTSCALEENABLE, 0},
    {gfx::D3DRS_POINTSCALE_A, kOne},
    {gfx::D3DRS_POINTSCALE_B, kOne},
    {gfx::D3DRS_POINTSCALE_C, kOne},
    {gfx::D3DRS_MULTISAMPLEANTIALIAS, 1},
    {gfx::D3DRS_MULTISAMPLEMASK, 0xFFFFFFFFu},
    {gfx::D3DRS_PATCHEDGESTYLE, 0},
    {gfx::D3DRS_PATCHSEGMENTS, 1},
    {gfx::D3DRS_DEBUGMONITORTOKEN, 0},
    {gfx::D3DRS_POINTSIZE_MAX, kOne},
    {gfx::D3DRS_INDEXEDVERTEXBLENDENABLE, 0},
    {gfx::D3DRS_COLORWRITEENABLE, 15},
    {gfx::D3DRS_TWEENFACTOR, 0},
    {gfx::D3DRS_BLENDOP, gfx::D3DBLENDOP_ADD},
    {gfx::D3DRS_SOFTWAREVERTEXPROCESSING, 0},
    {gfx::D3DRS_FOGVERTEXMODE, 0},
    {gfx::D3DRS_FOGENABLE, 0},
    {gfx::D3DRS_FOGCOLOR, 0},
    {gfx::D3DRS_FOGTABLEMODE, 0},
    {gfx::D3DRS_FOGSTART, 0},
    {gfx::D3DRS_FOGEND, kOne},
    {gfx::D3DRS_FOGDENSITY, kOne},
};

constexpr std::array<uint32_t, kShadowedRenderStates> MakeStateList() {
  std::array<uint32_t, kShadowedRenderStates> list{};
  for (size_t i = 0; i < kShadowedRenderStates; ++i) list[i] = kInitial[i].state;
  return list;
}
constexpr std::array<uint32_t, kShadowedRenderStates> kStateList = MakeStateList();

// Position of each render-state id in the shadow, -1 when it is not kept.
constexpr std::array<int16_t, gfx::kRenderStateLimit> MakeSlots() {
  std::array<int16_t, gfx::kRenderStateLimit> slots{};
  for (auto& slot : slots) slot = -1;
  for (size_t i = 0; i < kShadowedRenderStates; ++i) slots[kInitial[i].state] = static_cast<int16_t>(i);
  return slots;
}
constexpr std::array<int16_t, gfx::kRenderStateLimit> kSlots = MakeSlots();

int Slot(uint32_t state) { return state < kSlots.size() ? kSlots[state] : -1; }

// The stage-shadow position of each texture-stage state id a request
// carries, in request order.
constexpr uint32_t kRequestStates[11] = {
    gfx::D3DTSS_ADDRESSU,  gfx::D3DTSS_ADDRESSV,  gfx::D3DTSS_MAGFILTER, gfx::D3DTSS_MINFILTER,
    gfx::D3DTSS_MIPFILTER, gfx::D3DTSS_COLOROP,   gfx::D3DTSS_COLORARG1, gfx::D3DTSS_COLORARG2,
    gfx::D3DTSS_ALPHAOP,   gfx::D3DTSS_ALPHAARG1, gfx::D3DTSS_ALPHAARG2};
constexpr size_t kRequestSlots[11] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11};
constexpr size_t kTransformFlagsSlot = 12;

// The order a shader block is applied in. The block itself keeps SRCBLEND
// before DESTBLEND; each state is paired with its own block value by id, so
// the order of application never swaps the two blend factors.
constexpr uint32_t kShaderApplyOrder[15] = {
    gfx::D3DRS_ZENABLE,   gfx::D3DRS_ZWRITEENABLE,    gfx::D3DRS_ZFUNC,
    gfx::D3DRS_ZBIAS,     gfx::D3DRS_ALPHAREF,        gfx::D3DRS_ALPHAFUNC,
    gfx::D3DRS_ALPHATESTENABLE, gfx::D3DRS_ALPHABLENDENABLE, gfx::D3DRS_DESTBLEND,
    gfx::D3DRS_SRCBLEND,  gfx::D3DRS_CULLMODE,        gfx::D3DRS_LIGHTING,
    gfx::D3DRS_SHADEMODE, gfx::D3DRS_AMBIENTMATERIALSOURCE, gfx::D3DRS_DIFFUSEMATERIALSOURCE};

}  // namespace

const std::array<uint32_t, 15> kShaderBlockStates = {
    gfx::D3DRS_ZENABLE,   gfx::D3DRS_ZWRITEENABLE,    gfx::D3DRS_ZFUNC,
    gfx::D3DRS_ZBIAS,     gfx::D3DRS_ALPHAREF,        gfx::D3DRS_ALPHAFUNC,
    gfx::D3DRS_ALPHATESTENABLE, gfx::D3DRS_ALPHABLENDENABLE, gfx::D3DRS_SRCBLEND,
    gfx::D3DRS_DESTBLEND, gfx::D3DRS_CULLMODE,        gfx::D3DRS_LIGHTING,
    gfx::D3DRS_SHADEMODE, gfx::D3DRS_AMBIENTMATERIALSOURCE, gfx::D3DRS_DIFFUSEMATERIALSOURCE};

StageRequest DefaultStageRequest() {
  return StageRequest{{gfx::D3DTADDRESS_WRAP, gfx::D3DTADDRESS_WRAP, 3, 3, 3, gfx::D3DTOP_DISABLE,
                       gfx::D3DTA_TEXTURE, gfx::D3DTA_CURRENT, gfx::D3DTOP_DISABLE, gfx::D3DTA_TEXTURE,
                       gfx::D3DTA_CURRENT}};
}

StageRequest DefaultLayerRequest() {
  return StageRequest{{gfx::D3DTADDRESS_WRAP, gfx::D3DTADDRESS_WRAP, 3, 3, 3, gfx::D3DTOP_SELECTARG1,
                       gfx::D3DTA_TEXTURE, gfx::D3DTA_CURRENT, gfx::D3DTOP_SELECTARG1, gfx::D3DTA_TEXTURE,
                       gfx::D3DTA_CURRENT}};
}

RenderStateCache::RenderStateCache() {
  for (size_t i = 0; i < kShadowedRenderStates; ++i) values_[i] = kInitial[i].value;
  for (auto& stage : stages_) {
    stage = {gfx::D3DTADDRESS_WRAP, gfx::D3DTADDRESS_WRAP, 3, 3, 3, 0, gfx::D3DTOP_SELECTARG1,
             gfx::D3DTA_TEXTURE, gfx::D3DTA_CURRENT, gfx::D3DTOP_SELECTARG1, gfx::D3DTA_TEXTURE,
             gfx::D3DTA_CURRENT, gfx::D3DTTFF_COUNT2};
  }
}

const std::array<uint32_t, kShadowedRenderStates>& RenderStateCache::States() { return kStateList; }

bool RenderStateCache::IsShadowed(uint32_t state) { return Slot(state) >= 0; }

uint32_t RenderStateCache::Get(uint32_t state) const {
  const int slot = Slot(state);
  return slot >= 0 ? values_[static_cast<size_t>(slot)] : 0;
}

void RenderStateCache::Set(uint32_t state, uint32_t value) {
  const int slot = Slot(state);
  if (slot >= 0) values_[static_cast<size_t>(slot)] = value;
}

uint32_t RenderStateCache::WantedFillMode(bool wireframe) const {
  return wireframe ? gfx::D3DFILL_WIREFRAME : Get(gfx::D3DRS_FILLMODE);
}

CoreStatus RenderStateCache::FullFlush(gfx::Device* device, bool wireframe) {
  if (!device) return status::Fail;
  for (size_t i = 0; i < kShadowedRenderStates; ++i) {
    const uint32_t state = kStateList[i];
    uint32_t current = 0;
    if (status::Failed(device->GetRenderState(state, &current))) return status::Fail;
    const uint32_t wanted = state == gfx::D3DRS_FILLMODE ? WantedFillMode(wireframe) : values_[i];
    if (current != wanted) device->SetRenderState(state, wanted);
  }
  return status::Ok;
}

void RenderStateCache::SetupStages(gfx::Device* device) {
  if (!device) return;
  for (uint32_t s = 0; s < kShadowedStages; ++s) {
    for (size_t k = 0; k < 11; ++k) device->SetTextureStageState(s, kRequestStates[k], stages_[s][kRequestSlots[k]]);
    device->SetTextureStageState(s, gfx::D3DTSS_TEXTURETRANSFORMFLAGS, stages_[s][kTransformFlagsSlot]);
  }
}

void RenderStateCache::ApplyShaderBlock(gfx::Device* device, const ShaderStateBlock& block) {
  for (const uint32_t state : kShaderApplyOrder) {
    size_t position = 0;
    while (kShaderBlockStates[position] != state) ++position;
    const uint32_t value = block.values[position];
    const size_t slot = static_cast<size_t>(Slot(state));
    if (values_[slot] == value) continue;
    values_[slot] = value;
    if (device) device->SetRenderState(state, value);
  }
}

void RenderStateCache::ApplyStage(gfx::Device* device, int32_t stage, const StageRequest& request) {
  if (stage < 0 || stage >= static_cast<int32_t>(kShadowedStages)) return;
  auto& shadow = stages_[static_cast<size_t>(stage)];
  for (size_t k = 0; k < 11; ++k) {
    uint32_t& kept = shadow[kRequestSlots[k]];
    if (kept == request.values[k]) continue;
    kept = request.values[k];
    if (device) device->SetTextureStageState(static_cast<uint32_t>(stage), kRequestStates[k], kept);
  }
}

void RenderStateCache::ApplyPassFogAndFill(gfx::Device* device, bool wireframe) {
  if (!device) return;
  if (Get(gfx::D3DRS_FOGENABLE) != 1) {
    uint32_t onDevice = 0;
    if (status::Succeeded(device->GetRenderState(gfx::D3DRS_FOGENABLE, &onDevice)) &&
        onDevice != Get(gfx::D3DRS_FOGENABLE)) {
      device->SetRenderState(gfx::D3DRS_FOGENABLE, Get(gfx::D3DRS_FOGENABLE));
    }
  } else {
    for (const uint32_t state : {gfx::D3DRS_FOGDENSITY, gfx::D3DRS_FOGCOLOR, gfx::D3DRS_FOGSTART, gfx::D3DRS_FOGEND})
      device->SetRenderState(state, Get(state));
  }
  uint32_t fill = 0;
  const uint32_t wanted = WantedFillMode(wireframe);
  if (status::Succeeded(device->GetRenderState(gfx::D3DRS_FILLMODE, &fill)) && fill != wanted)
    device->SetRenderState(gfx::D3DRS_FILLMODE, wanted);
}

uint32_t RenderStateCache::GetStage(uint32_t stage, uint32_t type) const {
  if (stage >= kShadowedStages) return 0;
  if (type == gfx::D3DTSS_TEXTURETRANSFORMFLAGS) return stages_[stage][kTransformFlagsSlot];
  for (size_t k = 0; k < 11; ++k) {
    if (kRequestStates[k] == type) return stages_[stage][kRequestSlots[k]];
  }
  return 0;
}

}  // namespace lumetra
