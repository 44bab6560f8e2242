#pragma once
// A gl-backend device on an SDL window of the offscreen video driver, with
// helpers to draw screen-space quads and read pixels back.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/NativeWindow.h"
#include "platform/graphics/GfxFactory.h"

namespace gltest {

namespace gfx = platform::gfx;

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u0, v0, u1, v1;
};

inline int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s < 32; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return worst;
}

class GlDeviceTest : public ::testing::Test {
 protected:
  static constexpr int kSize = 64;
  static constexpr int kTolerance = 3;  // per channel, out of 255

  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    sdl_ = SDL_CreateWindow("gl test", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(sdl_, nullptr) << SDL_GetError();
  }
  static void TearDownTestSuite() {
    SDL_DestroyWindow(sdl_);
    SDL_Quit();
  }

  void SetUp() override {
    window_ = platform::NativeWindow{sdl_, kSize, kSize};
    d3d_ = gfx::CreateDirect3D(gfx::Backend::Gl);
    gfx::PresentParameters pp;
    pp.backBufferFormat = gfx::D3DFMT_A8R8G8B8;
    pp.deviceWindow = &window_;
    pp.enableAutoDepthStencil = true;
    pp.autoDepthStencilFormat = gfx::D3DFMT_D24S8;
    ASSERT_EQ(d3d_->CreateDevice(0, gfx::D3DDEVTYPE_HAL, &window_, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev_),
              gfx::D3D_OK);
    // Screen-space projection: x right, y down, in pixels; z passes through.
    gfx::Matrix p;
    p(0, 0) = 2.0f / kSize;
    p(1, 1) = -2.0f / kSize;
    p(3, 0) = -1.0f;
    p(3, 1) = 1.0f;
    dev_->SetTransform(gfx::D3DTS_PROJECTION, &p);
    dev_->SetVertexShader(gfx::kRenderVertexFvf);
    dev_->SetRenderState(gfx::D3DRS_LIGHTING, 0);
    dev_->SetRenderState(gfx::D3DRS_CULLMODE, gfx::D3DCULL_NONE);
    dev_->SetTextureStageState(0, gfx::D3DTSS_COLOROP, gfx::D3DTOP_SELECTARG1);
    dev_->SetTextureStageState(0, gfx::D3DTSS_COLORARG1, gfx::D3DTA_DIFFUSE);
    dev_->SetTextureStageState(0, gfx::D3DTSS_ALPHAARG1, gfx::D3DTA_DIFFUSE);
    ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0), 0);
    ASSERT_EQ(dev_->BeginScene(), 0);
  }
  void TearDown() override {
    if (dev_) {
      dev_->EndScene();
      EXPECT_EQ(dev_->Release(), 0u);
    }
    if (d3d_) d3d_->Release();
  }

  // A clockwise (on screen) quad over pixels [x0, x1) x [y0, y1).
  CoreStatus Quad(float x0, float y0, float x1, float y1, float z, uint32_t color, float u0 = 0, float v0 = 0,
                       float u1 = 1, float v1 = 1) {
    const Vertex v[4] = {{x0 - 0.5f, y0 - 0.5f, z, color, u0, v0, u0, v0},
                         {x1 - 0.5f, y0 - 0.5f, z, color, u1, v0, u1, v0},
                         {x1 - 0.5f, y1 - 0.5f, z, color, u1, v1, u1, v1},
                         {x0 - 0.5f, y1 - 0.5f, z, color, u0, v1, u0, v1}};
    const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
    return dev_->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, 4, 2, idx, gfx::D3DFMT_INDEX16, v, 32);
  }

  // The back buffer as A8R8G8B8 words, top row first.
  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> out(kSize * kSize);
    gfx::Surface* back = nullptr;
    EXPECT_EQ(dev_->GetBackBuffer(0, 0, &back), 0);
    gfx::LockedRect lr;
    EXPECT_EQ(back->LockRect(&lr, nullptr, gfx::D3DLOCK_READONLY), 0);
    for (int y = 0; y < kSize; ++y)
      std::memcpy(&out[y * kSize], static_cast<uint8_t*>(lr.bits) + y * lr.pitch, kSize * 4);
    back->UnlockRect();
    back->Release();
    return out;
  }
  uint32_t Pixel(int x, int y) { return Pixels()[y * kSize + x]; }

  gfx::Texture* MakeTexture(uint32_t w, uint32_t h, uint32_t format, const std::vector<uint8_t>& bytes,
                            uint32_t levels = 1) {
    gfx::Texture* t = nullptr;
    EXPECT_EQ(dev_->CreateTexture(w, h, levels, 0, format, gfx::D3DPOOL_MANAGED, &t), 0);
    gfx::LockedRect lr;
    EXPECT_EQ(t->LockRect(0, &lr, nullptr, 0), 0);
    gfx::SurfaceDesc d;
    t->GetLevelDesc(0, &d);
    const size_t rows = format == gfx::D3DFMT_DXT1 ? (h + 3) / 4 : h;
    const size_t rowBytes = bytes.size() / rows;
    for (size_t y = 0; y < rows; ++y)
      std::memcpy(static_cast<uint8_t*>(lr.bits) + y * lr.pitch, bytes.data() + y * rowBytes, rowBytes);
    t->UnlockRect(0);
    return t;
  }

  static inline SDL_Window* sdl_ = nullptr;
  platform::NativeWindow window_;
  gfx::Direct3D* d3d_ = nullptr;
  gfx::Device* dev_ = nullptr;
};

inline std::vector<uint8_t> ArgbBytes(std::initializer_list<uint32_t> pixels) {
  std::vector<uint8_t> b;
  for (uint32_t p : pixels)
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(p >> (8 * i)));
  return b;
}

}  // namespace gltest
