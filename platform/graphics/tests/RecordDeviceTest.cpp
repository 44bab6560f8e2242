// The record backend and the checks every backend shares.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/NativeWindow.h"
#include "platform/graphics/DeviceCore.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/RecordDevice.h"

namespace gfx = platform::gfx;

namespace {

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u0, v0, u1, v1;
};
static_assert(sizeof(Vertex) == 32);

class RecordDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d3d_ = gfx::CreateDirect3D(gfx::Backend::Record);
    gfx::PresentParameters pp;
    pp.backBufferWidth = 64;
    pp.backBufferHeight = 48;
    pp.enableAutoDepthStencil = true;
    pp.autoDepthStencilFormat = gfx::D3DFMT_D24S8;
    ASSERT_EQ(d3d_->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev_),
              gfx::D3D_OK);
    log_ = gfx::GetCallLog(dev_);
    ASSERT_NE(log_, nullptr);
  }
  void TearDown() override {
    gfx::SimulateDeviceLoss(gfx::DeviceLoss::None);
    if (dev_) {
      EXPECT_EQ(dev_->Release(), 0u);
    }
    EXPECT_EQ(d3d_->Release(), 0u);
  }
  gfx::Direct3D* d3d_ = nullptr;
  gfx::Device* dev_ = nullptr;
  gfx::CallLog* log_ = nullptr;
};

TEST_F(RecordDeviceTest, StateTableAnswersEveryGetWithTheLastValueSet) {
  uint32_t v = 0;
  // Fresh device defaults the renderer relies on.
  const std::pair<uint32_t, uint32_t> defaults[] = {
      {gfx::D3DRS_ZENABLE, 1},       {gfx::D3DRS_ZFUNC, gfx::D3DCMP_LESSEQUAL}, {gfx::D3DRS_SRCBLEND, gfx::D3DBLEND_ONE},
      {gfx::D3DRS_DESTBLEND, gfx::D3DBLEND_ZERO}, {gfx::D3DRS_CULLMODE, gfx::D3DCULL_CCW},
      {gfx::D3DRS_FOGEND, gfx::FloatBits(1.0f)}, {gfx::D3DRS_COLORWRITEENABLE, 15}, {gfx::D3DRS_LIGHTING, 1}};
  for (auto [state, value] : defaults) {
    ASSERT_EQ(dev_->GetRenderState(state, &v), gfx::D3D_OK) << state;
    EXPECT_EQ(v, value) << state;
  }
  const std::pair<uint32_t, uint32_t> sets[] = {
      {gfx::D3DRS_ZBIAS, 3}, {gfx::D3DRS_ALPHAREF, 0x80}, {gfx::D3DRS_FOGCOLOR, 0x00FF8040},
      {gfx::D3DRS_FOGDENSITY, gfx::FloatBits(0.25f)}, {gfx::D3DRS_WRAP7, 1}, {gfx::D3DRS_BLENDOP, 4},
      {gfx::D3DRS_AMBIENT, 0xFFFF7F00}, {gfx::D3DRS_ZBIAS, 7}};
  for (auto [state, value] : sets) ASSERT_EQ(dev_->SetRenderState(state, value), gfx::D3D_OK);
  for (auto [state, value] : sets) {
    ASSERT_EQ(dev_->GetRenderState(state, &v), gfx::D3D_OK);
    if (state != gfx::D3DRS_ZBIAS) {
      EXPECT_EQ(v, value) << state;
    }
  }
  dev_->GetRenderState(gfx::D3DRS_ZBIAS, &v);
  EXPECT_EQ(v, 7u);
  // Stage states of every stage the table keeps.
  for (uint32_t stage = 0; stage < gfx::kMaxTextureStages; ++stage) {
    ASSERT_EQ(dev_->SetTextureStageState(stage, gfx::D3DTSS_ADDRESSU, gfx::D3DTADDRESS_CLAMP + (stage & 1)), 0);
    ASSERT_EQ(dev_->GetTextureStageState(stage, gfx::D3DTSS_ADDRESSU, &v), 0);
    EXPECT_EQ(v, gfx::D3DTADDRESS_CLAMP + (stage & 1));
  }
  dev_->GetTextureStageState(1, gfx::D3DTSS_COLOROP, &v);
  EXPECT_EQ(v, gfx::D3DTOP_DISABLE);
  // Unknown ids are refused and change nothing.
  const std::pair<uint32_t, uint32_t> bad[] = {{0, 1}, {1, 1}, {138, 1}, {169, 1}, {gfx::kRenderStateLimit, 1}, {0xFFFFFFFF, 1}};
  for (auto [state, value] : bad) {
    EXPECT_EQ(dev_->SetRenderState(state, value), gfx::D3DERR_INVALIDCALL) << state;
    EXPECT_EQ(dev_->GetRenderState(state, &v), gfx::D3DERR_INVALIDCALL) << state;
  }
  EXPECT_EQ(dev_->SetTextureStageState(8, gfx::D3DTSS_COLOROP, 1), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(dev_->SetTextureStageState(0, 12, 1), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(dev_->SetTextureStageState(0, gfx::kStageStateLimit, 1), gfx::D3DERR_INVALIDCALL);
  // Transforms, material, lights and viewport come back as set.
  gfx::Matrix m;
  m(3, 0) = 5.0f;
  ASSERT_EQ(dev_->SetTransform(gfx::D3DTS_WORLD, &m), 0);
  gfx::Matrix out;
  ASSERT_EQ(dev_->GetTransform(gfx::D3DTS_WORLD, &out), 0);
  EXPECT_EQ(out(3, 0), 5.0f);
  EXPECT_EQ(dev_->SetTransform(1, &m), gfx::D3DERR_INVALIDCALL);
  gfx::Light light;
  light.ambient = {0.5f, 0.25f, 0, 0};
  ASSERT_EQ(dev_->SetLight(3, &light), 0);
  ASSERT_EQ(dev_->LightEnable(3, true), 0);
  bool enabled = false;
  gfx::Light got;
  ASSERT_EQ(dev_->GetLight(3, &got), 0);
  ASSERT_EQ(dev_->GetLightEnable(3, &enabled), 0);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(got.ambient.g, 0.25f);
  EXPECT_EQ(dev_->GetLight(4, &got), gfx::D3DERR_INVALIDCALL);
  gfx::Viewport vp{8, 4, 32, 16, 0.0f, 1.0f}, vpOut;
  ASSERT_EQ(dev_->SetViewport(&vp), 0);
  dev_->GetViewport(&vpOut);
  EXPECT_EQ(vpOut.x, 8u);
  EXPECT_EQ(vpOut.height, 16u);
  gfx::Viewport tooBig{40, 0, 32, 16, 0, 1};
  EXPECT_EQ(dev_->SetViewport(&tooBig), gfx::D3DERR_INVALIDCALL);
}

TEST_F(RecordDeviceTest, CallLogKeepsEveryCallInOrderWithItsArgumentsAndResult) {
  log_->Clear();
  std::vector<Vertex> verts(3, Vertex{0, 0, 0, 0xFFFFFFFF, 0, 0, 0, 0});
  const uint16_t idx[3] = {0, 1, 2};
  dev_->SetRenderState(gfx::D3DRS_SRCBLEND, gfx::D3DBLEND_SRCALPHA);
  dev_->SetTextureStageState(2, gfx::D3DTSS_COLOROP, gfx::D3DTOP_MODULATE);
  dev_->SetVertexShader(gfx::kRenderVertexFvf);
  dev_->BeginScene();
  dev_->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, 3, 1, idx, gfx::D3DFMT_INDEX16, verts.data(), 32);
  dev_->EndScene();
  dev_->EndScene();
  const std::vector<gfx::Call> expected = {
      {gfx::CallOp::SetRenderState, gfx::D3DRS_SRCBLEND, gfx::D3DBLEND_SRCALPHA, 0, 0, 0},
      {gfx::CallOp::SetTextureStageState, 2, gfx::D3DTSS_COLOROP, gfx::D3DTOP_MODULATE, 0, 0},
      {gfx::CallOp::SetVertexShader, gfx::kRenderVertexFvf, 0, 0, 0, 0},
      {gfx::CallOp::BeginScene, 0, 0, 0, 0, 0},
      {gfx::CallOp::DrawIndexedPrimitiveUP, gfx::D3DPT_TRIANGLELIST, 0, 1, 3, 0},
      {gfx::CallOp::EndScene, 0, 0, 0, 0, 0},
      {gfx::CallOp::EndScene, 0, 0, 0, 0, gfx::D3DERR_INVALIDCALL},
  };
  ASSERT_EQ(log_->Calls().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const gfx::Call& c = log_->Calls()[i];
    const gfx::Call& e = expected[i];
    EXPECT_TRUE(c.op == e.op && c.a == e.a && c.b == e.b && c.c == e.c && c.d == e.d && c.result == e.result)
        << i << ": " << gfx::FormatCall(c) << " expected " << gfx::FormatCall(e);
  }
  EXPECT_EQ(log_->Count(gfx::CallOp::EndScene), 2u);
}

TEST_F(RecordDeviceTest, SixteenBitIndicesAreCheckedAgainstTheVertexRange) {
  std::vector<Vertex> verts(8, Vertex{0, 0, 0, 0xFFFFFFFF, 0, 0, 0, 0});
  dev_->SetVertexShader(gfx::kRenderVertexFvf);
  ASSERT_EQ(dev_->BeginScene(), 0);
  struct Case {
    const char* name;
    std::vector<uint16_t> indices;
    uint32_t minIndex, numVertices, primitives, format;
    CoreStatus result;
  };
  const Case cases[] = {
      {"inside", {0, 1, 2, 5, 6, 7}, 0, 8, 2, gfx::D3DFMT_INDEX16, gfx::D3D_OK},
      {"past the vertices", {0, 1, 8}, 0, 8, 1, gfx::D3DFMT_INDEX16, gfx::D3DERR_INVALIDCALL},
      {"below min index", {2, 3, 1}, 2, 6, 1, gfx::D3DFMT_INDEX16, gfx::D3DERR_INVALIDCALL},
      {"inside an offset range", {2, 3, 7}, 2, 6, 1, gfx::D3DFMT_INDEX16, gfx::D3D_OK},
      {"largest index", {0, 1, 0xFFFF}, 0, 8, 1, gfx::D3DFMT_INDEX16, gfx::D3DERR_INVALIDCALL},
      {"32-bit indices", {0, 1, 2, 0, 0, 0}, 0, 8, 1, gfx::D3DFMT_INDEX32, gfx::D3DERR_INVALIDCALL},
      {"no vertices", {0, 0, 0}, 0, 0, 1, gfx::D3DFMT_INDEX16, gfx::D3DERR_INVALIDCALL},
      {"range past 16 bits", {0, 1, 2}, 0xFFFF, 2, 1, gfx::D3DFMT_INDEX16, gfx::D3DERR_INVALIDCALL},
  };
  platform::SetDebugStderr(false);
  for (const Case& c : cases) {
    platform::ScopedDebugCapture capture;
    EXPECT_EQ(dev_->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, c.minIndex, c.numVertices, c.primitives,
                                           c.indices.data(), c.format, verts.data(), 32),
              c.result)
        << c.name;
  }
  // The same check for index buffers, with the base vertex added.
  gfx::VertexBuffer* vb = nullptr;
  gfx::IndexBuffer* ib = nullptr;
  ASSERT_EQ(dev_->CreateVertexBuffer(8 * 32, gfx::D3DUSAGE_WRITEONLY, 0, gfx::D3DPOOL_MANAGED, &vb), 0);
  ASSERT_EQ(dev_->CreateIndexBuffer(6 * 2, gfx::D3DUSAGE_WRITEONLY, gfx::D3DFMT_INDEX16, gfx::D3DPOOL_MANAGED, &ib), 0);
  uint8_t* p = nullptr;
  ASSERT_EQ(ib->Lock(0, 0, &p, 0), 0);
  const uint16_t idx[6] = {0, 1, 2, 3, 4, 5};
  std::memcpy(p, idx, sizeof idx);
  ib->Unlock();
  dev_->SetStreamSource(0, vb, 32);
  dev_->SetIndices(ib, 2);
  EXPECT_EQ(dev_->DrawIndexedPrimitive(gfx::D3DPT_TRIANGLELIST, 0, 6, 0, 2), gfx::D3D_OK);
  dev_->SetIndices(ib, 3);  // 3 + 5 is past the 8 vertices
  {
    platform::ScopedDebugCapture capture;
    EXPECT_EQ(dev_->DrawIndexedPrimitive(gfx::D3DPT_TRIANGLELIST, 0, 6, 0, 2), gfx::D3DERR_INVALIDCALL);
    EXPECT_TRUE(capture.Contains("outside the vertex range"));
  }
  EXPECT_EQ(dev_->DrawIndexedPrimitive(gfx::D3DPT_TRIANGLELIST, 0, 6, 3, 2), gfx::D3DERR_INVALIDCALL);  // past the indices
  EXPECT_EQ(dev_->DrawPrimitive(gfx::D3DPT_LINELIST, 6, 2), gfx::D3DERR_INVALIDCALL);                   // past the vertices
  EXPECT_EQ(dev_->DrawPrimitive(gfx::D3DPT_LINELIST, 4, 2), gfx::D3D_OK);
  platform::SetDebugStderr(true);
  dev_->EndScene();
  // Outside a scene nothing draws.
  EXPECT_EQ(dev_->DrawPrimitive(gfx::D3DPT_LINELIST, 0, 1), gfx::D3DERR_INVALIDCALL);
  vb->Release();
  ib->Release();
}

TEST_F(RecordDeviceTest, SimulatedLossAnswersLikeALostDeviceUntilReset) {
  dev_->SetRenderState(gfx::D3DRS_ZBIAS, 5);
  gfx::SimulateDeviceLoss(gfx::DeviceLoss::Lost);
  EXPECT_EQ(dev_->TestCooperativeLevel(), gfx::D3DERR_DEVICELOST);
  EXPECT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), gfx::D3DERR_DEVICELOST);
  gfx::PresentParameters pp;
  pp.backBufferWidth = 32;
  pp.backBufferHeight = 16;
  pp.enableAutoDepthStencil = true;
  pp.autoDepthStencilFormat = gfx::D3DFMT_D16;
  EXPECT_EQ(dev_->Reset(&pp), gfx::D3DERR_DEVICELOST);
  gfx::SimulateDeviceLoss(gfx::DeviceLoss::NotReset);
  EXPECT_EQ(dev_->TestCooperativeLevel(), gfx::D3DERR_DEVICENOTRESET);
  EXPECT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), gfx::D3DERR_DEVICELOST);
  ASSERT_EQ(dev_->Reset(&pp), gfx::D3D_OK);
  EXPECT_EQ(gfx::GetSimulatedDeviceLoss(), gfx::DeviceLoss::None);
  EXPECT_EQ(dev_->TestCooperativeLevel(), gfx::D3D_OK);
  // A reset device starts from the default state and the new size.
  uint32_t v = 99;
  dev_->GetRenderState(gfx::D3DRS_ZBIAS, &v);
  EXPECT_EQ(v, 0u);
  gfx::Surface* back = nullptr;
  ASSERT_EQ(dev_->GetBackBuffer(0, 0, &back), 0);
  gfx::SurfaceDesc desc;
  back->GetDesc(&desc);
  EXPECT_EQ(desc.width, 32u);
  EXPECT_EQ(desc.height, 16u);
  back->Release();
  EXPECT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), gfx::D3D_OK);
}

TEST(RecordDirect3D, CreationFallsBackWhenBehaviourFlagsAreRefused) {
  gfx::Direct3D* d3d = gfx::CreateDirect3D(gfx::Backend::Record);
  gfx::PresentParameters pp;
  pp.backBufferWidth = 16;
  pp.backBufferHeight = 16;
  gfx::Device* dev = nullptr;
  gfx::SetRefusedBehaviorFlags(gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING | gfx::D3DCREATE_MIXED_VERTEXPROCESSING);
  EXPECT_EQ(d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, 0x44, &pp, &dev), gfx::D3DERR_NOTAVAILABLE);
  EXPECT_EQ(d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, 0x84, &pp, &dev), gfx::D3DERR_NOTAVAILABLE);
  EXPECT_EQ(dev, nullptr);
  ASSERT_EQ(d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, 0x24, &pp, &dev), gfx::D3D_OK);
  gfx::SetRefusedBehaviorFlags(0);
  uint32_t v = 0;
  dev->GetRenderState(gfx::D3DRS_SOFTWAREVERTEXPROCESSING, &v);
  EXPECT_EQ(v, 1u);
  // A resource keeps its device alive.
  gfx::Texture* tex = nullptr;
  ASSERT_EQ(dev->CreateTexture(8, 8, 0, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &tex), 0);
  EXPECT_EQ(tex->GetLevelCount(), 4u);
  EXPECT_GT(dev->Release(), 0u);
  EXPECT_EQ(tex->Release(), 0u);
  // Bad creation arguments.
  gfx::PresentParameters none;
  EXPECT_EQ(d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, 0x44, &none, &dev), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, 0x64, &pp, &dev), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(d3d->CreateDevice(1, gfx::D3DDEVTYPE_HAL, nullptr, 0x44, &pp, &dev), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(d3d->Release(), 0u);
}

TEST(RecordDirect3D, ModeListHoldsTheWindowSizeAsDesktopModeOnce) {
  gfx::Direct3D* d3d = gfx::Direct3DCreate8(gfx::D3D_SDK_VERSION);
  ASSERT_NE(d3d, nullptr);
  EXPECT_EQ(gfx::Direct3DCreate8(gfx::D3D_SDK_VERSION + 1), nullptr);
  platform::NativeWindow window{nullptr, 1000, 700};
  d3d->SetDisplayWindow(&window);
  gfx::DisplayMode desktop, mode;
  ASSERT_EQ(d3d->GetAdapterDisplayMode(0, &desktop), 0);
  EXPECT_EQ(desktop.width, 1000u);
  EXPECT_EQ(desktop.height, 700u);
  int found = 0;
  for (uint32_t i = 0; i < d3d->GetAdapterModeCount(0); ++i) {
    ASSERT_EQ(d3d->EnumAdapterModes(0, i, &mode), 0);
    found += mode.width == 1000 && mode.height == 700 && mode.format == desktop.format;
  }
  EXPECT_EQ(found, 1);
  EXPECT_EQ(d3d->EnumAdapterModes(0, d3d->GetAdapterModeCount(0), &mode), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(d3d->CheckDeviceType(0, gfx::D3DDEVTYPE_HAL, gfx::D3DFMT_X8R8G8B8, gfx::D3DFMT_X8R8G8B8, true), 0);
  EXPECT_EQ(d3d->CheckDeviceType(0, gfx::D3DDEVTYPE_HAL, gfx::D3DFMT_A4R4G4B4, gfx::D3DFMT_A4R4G4B4, true),
            gfx::D3DERR_NOTAVAILABLE);
  gfx::AdapterIdentifier id;
  ASSERT_EQ(d3d->GetAdapterIdentifier(0, 0, &id), 0);
  EXPECT_GT(std::strlen(id.description), 0u);
  d3d->Release();
}

TEST_F(RecordDeviceTest, ClearsReachTheFrontBufferAfterPresent) {
  const gfx::Rect rect{0, 0, 8, 8};
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0xFF102030, 1.0f, 0), 0);
  ASSERT_EQ(dev_->Clear(1, &rect, gfx::D3DCLEAR_TARGET, 0xFFA0B0C0, 1.0f, 0), 0);
  ASSERT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), 0);
  gfx::Surface* shot = nullptr;
  ASSERT_EQ(dev_->CreateImageSurface(80, 50, gfx::D3DFMT_A8R8G8B8, &shot), 0);
  ASSERT_EQ(dev_->GetFrontBuffer(shot), 0);
  gfx::LockedRect lr;
  ASSERT_EQ(shot->LockRect(&lr, nullptr, gfx::D3DLOCK_READONLY), 0);
  auto at = [&](int x, int y) { return *reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(lr.bits) + y * lr.pitch + x * 4); };
  EXPECT_EQ(at(0, 0), 0xFFA0B0C0u);
  EXPECT_EQ(at(10, 10), 0xFF102030u);
  EXPECT_EQ(at(70, 10), 0u);  // outside the 64x48 frame: untouched
  shot->UnlockRect();
  // Bad arguments change nothing.
  EXPECT_EQ(dev_->Clear(0, nullptr, 0, 0, 1.0f, 0), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(dev_->Clear(1, nullptr, gfx::D3DCLEAR_TARGET, 0, 1.0f, 0), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_ZBUFFER, 0, 2.0f, 0), gfx::D3DERR_INVALIDCALL);
  shot->Release();
}

TEST_F(RecordDeviceTest, LocksRefuseBadRectanglesAndDoubleLocks) {
  gfx::Texture* dxt = nullptr;
  ASSERT_EQ(dev_->CreateTexture(16, 8, 1, 0, gfx::D3DFMT_DXT1, gfx::D3DPOOL_MANAGED, &dxt), 0);
  struct Case {
    gfx::Rect rect;
    bool ok;
  };
  const Case cases[] = {{{0, 0, 16, 8}, true},  {{4, 4, 8, 8}, true},   {{1, 0, 4, 4}, false}, {{0, 0, 17, 8}, false},
                        {{0, 0, 0, 0}, false},   {{-4, 0, 4, 4}, false}, {{8, 0, 4, 4}, false}};
  for (const Case& c : cases) {
    gfx::LockedRect lr;
    const CoreStatus r = dxt->LockRect(0, &lr, &c.rect, 0);
    EXPECT_EQ(status::Succeeded(r), c.ok) << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    if (status::Succeeded(r)) {
      EXPECT_EQ(lr.pitch, 32);
      gfx::LockedRect again;
      EXPECT_EQ(dxt->LockRect(0, &again, nullptr, 0), gfx::D3DERR_INVALIDCALL);
      EXPECT_EQ(dxt->UnlockRect(0), 0);
    }
  }
  EXPECT_EQ(dxt->UnlockRect(0), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(dxt->UnlockRect(1), gfx::D3DERR_INVALIDCALL);
  gfx::Texture* none = nullptr;
  EXPECT_EQ(dev_->CreateTexture(0, 8, 1, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &none), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(dev_->CreateTexture(8, 8, 1, 0, gfx::D3DFMT_D16, gfx::D3DPOOL_MANAGED, &none), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(dev_->CreateTexture(8, 8, 1, gfx::D3DUSAGE_RENDERTARGET, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &none),
            gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(none, nullptr);
  dxt->Release();
}

}  // namespace
