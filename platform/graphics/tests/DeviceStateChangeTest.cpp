// Setting a device state to the value it already has gives a backend nothing
// to send: the dirty marks a backend reads at its next draw stay clear, and
// a real change still marks its state.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/graphics/DeviceCore.h"

namespace gfx = platform::gfx;

namespace {

// A backend that keeps the dirty marks each draw found and clears them, as
// the pixel backends do.
class DirtyProbeDevice final : public gfx::DeviceCore {
 public:
  using DeviceCore::DeviceCore;
  enum Mark : uint32_t {
    kRenderStateMark = kDirtyRenderState, kStageMark = kDirtyStage, kTransformMark = kDirtyTransform,
    kViewportMark = kDirtyViewport, kMaterialMark = kDirtyMaterial, kTextureMark = kDirtyTextures,
  };
  bool KeepsPixelsInBackend(uint32_t, uint32_t, gfx::CoreSurface::Kind) const override { return false; }
  uint32_t lastDirty = 0;

 protected:
  CoreStatus BackendClear(uint32_t, const gfx::Rect*, uint32_t, uint32_t, float, uint32_t) override {
    return gfx::D3D_OK;
  }
  CoreStatus BackendDraw(const gfx::DrawCall&) override {
    lastDirty = dirty_;
    dirty_ = 0;
    return gfx::D3D_OK;
  }
  CoreStatus BackendPresent() override { return gfx::D3D_OK; }
  bool BackendFrontBuffer(std::vector<uint32_t>* pixels) override {
    pixels->clear();
    return true;
  }
};

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u0, v0, u1, v1;
};

class DeviceStateChangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d3d_ = new gfx::Direct3DCore(gfx::Backend::Record);
    gfx::PresentParameters pp;
    pp.backBufferWidth = 32;
    pp.backBufferHeight = 32;
    pp.backBufferFormat = gfx::D3DFMT_X8R8G8B8;
    dev_ = new DirtyProbeDevice(d3d_, pp, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING);
    ASSERT_EQ(dev_->InitSwapChain(), gfx::D3D_OK);
    for (auto& t : textures_) ASSERT_EQ(dev_->CreateTexture(4, 4, 1, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &t), 0);
    dev_->SetVertexShader(gfx::kRenderVertexFvf);
    ASSERT_EQ(dev_->BeginScene(), 0);
  }
  void TearDown() override {
    dev_->EndScene();
    for (auto* t : textures_) t->Release();
    EXPECT_EQ(dev_->Release(), 0u);
    d3d_->Release();
  }
  // The dirty marks the backend sees at a draw.
  uint32_t DrawAndReadDirty() {
    const Vertex v[3] = {{0, 0, 0, 0xFFFFFFFF, 0, 0, 0, 0}, {8, 0, 0, 0xFFFFFFFF, 0, 0, 0, 0},
                         {0, 8, 0, 0xFFFFFFFF, 0, 0, 0, 0}};
    EXPECT_EQ(dev_->DrawPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 1, v, sizeof(Vertex)), 0);
    return dev_->lastDirty;
  }

  gfx::Direct3DCore* d3d_ = nullptr;
  DirtyProbeDevice* dev_ = nullptr;
  gfx::Texture* textures_[2] = {};
};

gfx::Matrix Translation(float x, float y) {
  gfx::Matrix m;
  m(3, 0) = x;
  m(3, 1) = y;
  return m;
}

TEST_F(DeviceStateChangeTest, OnlyAChangedValueMarksItsState) {
  struct Case {
    const char* name;
    uint32_t mark;
    // Sets the state to `value` (0: the first value, 1: a different one).
    std::function<void(gfx::Device*, gfx::Texture* const*, int)> set;
  };
  const Case cases[] = {
      {"render state", DirtyProbeDevice::kRenderStateMark, [](gfx::Device* d, gfx::Texture* const*, int v) {
         d->SetRenderState(gfx::D3DRS_ALPHABLENDENABLE, uint32_t(v));
       }},
      {"texture-stage state", DirtyProbeDevice::kStageMark, [](gfx::Device* d, gfx::Texture* const*, int v) {
         d->SetTextureStageState(0, gfx::D3DTSS_MAGFILTER, v ? gfx::D3DTEXF_LINEAR : gfx::D3DTEXF_POINT);
       }},
      {"world transform", DirtyProbeDevice::kTransformMark, [](gfx::Device* d, gfx::Texture* const*, int v) {
         const gfx::Matrix m = Translation(float(v) * 3, 1);
         d->SetTransform(gfx::D3DTS_WORLD, &m);
       }},
      {"viewport", DirtyProbeDevice::kViewportMark, [](gfx::Device* d, gfx::Texture* const*, int v) {
         const gfx::Viewport vp{0, 0, 32u - uint32_t(v) * 8, 32, 0, 1};
         d->SetViewport(&vp);
       }},
      {"material", DirtyProbeDevice::kMaterialMark, [](gfx::Device* d, gfx::Texture* const*, int v) {
         gfx::Material m;
         m.diffuse = {1, float(v), 0, 1};
         d->SetMaterial(&m);
       }},
      {"texture", DirtyProbeDevice::kTextureMark, [](gfx::Device* d, gfx::Texture* const* t, int v) { d->SetTexture(0, t[v]); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.set(dev_, textures_, 0);
    DrawAndReadDirty();
    c.set(dev_, textures_, 0);
    EXPECT_EQ(DrawAndReadDirty(), 0u) << "the same value again";
    c.set(dev_, textures_, 1);
    EXPECT_EQ(DrawAndReadDirty(), c.mark) << "a new value";
    // A change and its undoing before the draw still reach the backend.
    c.set(dev_, textures_, 0);
    c.set(dev_, textures_, 1);
    EXPECT_EQ(DrawAndReadDirty(), c.mark) << "changed and changed back";
  }
}

TEST_F(DeviceStateChangeTest, GetsAnswerTheValueSetEvenWhenNothingWasMarked) {
  dev_->SetRenderState(gfx::D3DRS_ZFUNC, gfx::D3DCMP_ALWAYS);
  DrawAndReadDirty();
  dev_->SetRenderState(gfx::D3DRS_ZFUNC, gfx::D3DCMP_ALWAYS);
  uint32_t v = 0;
  ASSERT_EQ(dev_->GetRenderState(gfx::D3DRS_ZFUNC, &v), 0);
  EXPECT_EQ(v, uint32_t(gfx::D3DCMP_ALWAYS));
  const gfx::Matrix m = Translation(5, 6);
  dev_->SetTransform(gfx::D3DTS_VIEW, &m);
  dev_->SetTransform(gfx::D3DTS_VIEW, &m);
  gfx::Matrix got;
  ASSERT_EQ(dev_->GetTransform(gfx::D3DTS_VIEW, &got), 0);
  EXPECT_EQ(got(3, 0), 5.0f);
  EXPECT_EQ(got(3, 1), 6.0f);
}

}  // namespace
