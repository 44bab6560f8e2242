// The gl backend across frames and draws: the back buffer and the captured
// front buffer after presents, draws from client memory streamed through
// shared buffers, uniform values per generated program, and drawing after
// another GL context was current.
#include <vector>

#include "GlFixture.h"

namespace {
using namespace gltest;

gfx::Matrix Translation(float x, float y) {
  gfx::Matrix m;
  m(3, 0) = x;
  m(3, 1) = y;
  return m;
}

class GlFrameTest : public GlDeviceTest {
 protected:
  std::vector<uint32_t> FrontBuffer() {
    gfx::Surface* shot = nullptr;
    EXPECT_EQ(dev_->CreateImageSurface(kSize, kSize, gfx::D3DFMT_A8R8G8B8, &shot), 0);
    EXPECT_EQ(dev_->GetFrontBuffer(shot), 0);
    std::vector<uint32_t> out(kSize * kSize);
    gfx::LockedRect lr;
    EXPECT_EQ(shot->LockRect(&lr, nullptr, gfx::D3DLOCK_READONLY), 0);
    for (int y = 0; y < kSize; ++y)
      std::memcpy(&out[y * kSize], static_cast<uint8_t*>(lr.bits) + y * lr.pitch, kSize * 4);
    shot->UnlockRect();
    shot->Release();
    return out;
  }
  void Present() {
    ASSERT_EQ(dev_->EndScene(), 0);
    ASSERT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(dev_->BeginScene(), 0);
  }
};

TEST_F(GlFrameTest, EachFrameBuildsOnTheLastPresentedOneAndCapturesShowIt) {
  // Frame 1: red. Frame 2: green with a white quad. Then three frames that
  // only add small quads: each must start from the frame presented just
  // before it, never from an older one.
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), 0);
  Present();
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), 0);
  ASSERT_EQ(Quad(0, 0, 8, 8, 0.5f, 0xFFFFFFFF), 0);
  Present();
  const uint32_t added[3] = {0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF};
  for (int f = 0; f < 3; ++f) {
    SCOPED_TRACE(f);
    // Before anything is drawn, the back buffer reads as the presented frame.
    std::vector<uint32_t> back = Pixels();
    EXPECT_EQ(back[40 * kSize + 40], 0xFF00FF00u);
    EXPECT_EQ(back[4 * kSize + 4], 0xFFFFFFFFu);
    ASSERT_EQ(Quad(16 + 8 * f, 16, 24 + 8 * f, 24, 0.5f, added[f]), 0);
    back = Pixels();
    EXPECT_EQ(back[40 * kSize + 40], 0xFF00FF00u);
    EXPECT_EQ(back[4 * kSize + 4], 0xFFFFFFFFu);
    for (int g = 0; g <= f; ++g) EXPECT_EQ(back[20 * kSize + 20 + 8 * g], added[g]) << g;
    // The capture holds the presented frame, without the quad drawn since.
    const std::vector<uint32_t> front = FrontBuffer();
    EXPECT_EQ(front[20 * kSize + 20 + 8 * f], 0xFF00FF00u);
    if (f) {
      EXPECT_EQ(front[20 * kSize + 20 + 8 * (f - 1)], added[f - 1]);
    }
    EXPECT_EQ(front[40 * kSize + 40], 0xFF00FF00u);
    Present();
    EXPECT_EQ(FrontBuffer()[20 * kSize + 20 + 8 * f], added[f]);
  }
  // Presenting again without drawing shows and keeps the same frame.
  Present();
  Present();
  const std::vector<uint32_t> front = FrontBuffer();
  EXPECT_EQ(front[20 * kSize + 36], added[2]);
  EXPECT_EQ(front[40 * kSize + 40], 0xFF00FF00u);
  EXPECT_EQ(Pixel(36, 20), added[2]);
}

TEST_F(GlFrameTest, PartialClearsAndCopiesIntoTheBackBufferKeepTheRestOfTheFrame) {
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0), 0);
  Present();
  const gfx::Rect rect{0, 0, 16, 16};
  ASSERT_EQ(dev_->Clear(1, &rect, gfx::D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), 0);
  EXPECT_EQ(Pixel(8, 8), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(32, 32), 0xFF102030u);
  Present();
  // A copy of a few pixels into the back buffer.
  gfx::Surface* image = nullptr;
  ASSERT_EQ(dev_->CreateImageSurface(4, 4, gfx::D3DFMT_A8R8G8B8, &image), 0);
  gfx::LockedRect lr;
  ASSERT_EQ(image->LockRect(&lr, nullptr, 0), 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(lr.bits) + y * lr.pitch)[x] = 0xFF0000FF;
  image->UnlockRect();
  gfx::Surface* back = nullptr;
  ASSERT_EQ(dev_->GetBackBuffer(0, 0, &back), 0);
  const gfx::Point at{40, 40};
  const gfx::Rect whole{0, 0, 4, 4};
  ASSERT_EQ(dev_->CopyRects(image, &whole, 1, back, &at), 0);
  back->Release();
  image->Release();
  const std::vector<uint32_t> px = Pixels();
  EXPECT_EQ(px[41 * kSize + 41], 0xFF0000FFu);
  EXPECT_EQ(px[8 * kSize + 8], 0xFFFFFFFFu);
  EXPECT_EQ(px[32 * kSize + 32], 0xFF102030u);
  EXPECT_EQ(FrontBuffer()[41 * kSize + 41], 0xFF102030u);
}

TEST_F(GlFrameTest, ClientMemoryDrawsEachKeepTheirOwnVertices) {
  // Many small draws from one reused array, rewritten between draws, with
  // one draw larger than any stream buffer in the middle: every draw must
  // keep the vertices it was given although none waited for the previous.
  dev_->SetRenderState(gfx::D3DRS_ZENABLE, gfx::D3DZB_FALSE);
  std::vector<Vertex> big;
  for (int i = 0; i < 60000; ++i) big.push_back({-0.5f, 47.5f, 0.5f, 0xFF808080, 0, 0, 0, 0});
  big[0] = {-0.5f, 47.5f, 0.5f, 0xFF808080, 0, 0, 0, 0};
  big[1] = {63.5f, 47.5f, 0.5f, 0xFF808080, 0, 0, 0, 0};
  big[59999] = {-0.5f, 63.5f, 0.5f, 0xFF808080, 0, 0, 0, 0};
  std::vector<uint16_t> bigIndices = {0, 1, 59999};
  Vertex quad[4];
  const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
  auto drawCell = [&](int cell) {
    const float x0 = float(cell % 8) * 8 - 0.5f, y0 = float(cell / 8) * 8 - 0.5f;
    const uint32_t c = 0xFF000000u | uint32_t(cell * 0x030507);
    quad[0] = {x0, y0, 0.5f, c, 0, 0, 0, 0};
    quad[1] = {x0 + 8, y0, 0.5f, c, 0, 0, 0, 0};
    quad[2] = {x0 + 8, y0 + 8, 0.5f, c, 0, 0, 0, 0};
    quad[3] = {x0, y0 + 8, 0.5f, c, 0, 0, 0, 0};
    return dev_->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, 4, 2, idx, gfx::D3DFMT_INDEX16, quad, 32);
  };
  for (int cell = 0; cell < 24; ++cell) ASSERT_EQ(drawCell(cell), 0) << cell;
  ASSERT_EQ(dev_->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, 60000, 1, bigIndices.data(), gfx::D3DFMT_INDEX16,
                                         big.data(), 32),
            0);
  for (int cell = 24; cell < 40; ++cell) ASSERT_EQ(drawCell(cell), 0) << cell;
  // The last cell's bytes drawn again, moved by the world matrix into the
  // empty row under the cells.
  for (float dx : {-16.0f, -32.0f}) {
    const gfx::Matrix w = Translation(dx, 8);
    dev_->SetTransform(gfx::D3DTS_WORLD, &w);
    ASSERT_EQ(dev_->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, 4, 2, idx, gfx::D3DFMT_INDEX16, quad, 32), 0);
  }
  const std::vector<uint32_t> px = Pixels();
  for (int cell = 0; cell < 40; ++cell) {
    const int x = (cell % 8) * 8 + 4, y = (cell / 8) * 8 + 4;
    EXPECT_EQ(px[y * kSize + x], 0xFF000000u | uint32_t(cell * 0x030507)) << cell;
  }
  EXPECT_EQ(px[52 * kSize + 4], 0xFF808080u);  // the large triangle
  const uint32_t last = 0xFF000000u | uint32_t(39 * 0x030507);
  EXPECT_EQ(px[44 * kSize + 44], last);
  EXPECT_EQ(px[44 * kSize + 28], last);
  EXPECT_EQ(px[44 * kSize + 12], 0u);
}

TEST_F(GlFrameTest, EachGeneratedProgramGetsTheValuesInForceWhenItDraws) {
  // Two programs (diffuse colour, texture factor) drawn in turn while the
  // world matrix and the factor change between them.
  dev_->SetRenderState(gfx::D3DRS_TEXTUREFACTOR, 0xFFFF0000);
  struct Step {
    bool factor;
    float x;
    uint32_t factorColor;
  };
  const Step steps[] = {{false, 0, 0}, {true, 16, 0xFF0000FF}, {false, 32, 0}, {true, 48, 0xFFFFFF00}};
  for (const Step& s : steps) {
    const gfx::Matrix w = Translation(s.x, 0);
    dev_->SetTransform(gfx::D3DTS_WORLD, &w);
    if (s.factor) dev_->SetRenderState(gfx::D3DRS_TEXTUREFACTOR, s.factorColor);
    dev_->SetTextureStageState(0, gfx::D3DTSS_COLORARG1, s.factor ? gfx::D3DTA_TFACTOR : gfx::D3DTA_DIFFUSE);
    ASSERT_EQ(Quad(0, 0, 8, 8, 0.5f, 0xFF00FF00), 0);
  }
  const std::vector<uint32_t> px = Pixels();
  EXPECT_EQ(px[4 * kSize + 4], 0xFF00FF00u);
  EXPECT_EQ(px[4 * kSize + 20] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(px[4 * kSize + 36], 0xFF00FF00u);
  EXPECT_EQ(px[4 * kSize + 52] & 0xFFFFFF, 0xFFFF00u);
  EXPECT_EQ(px[4 * kSize + 12], 0u);  // nothing between the quads
  EXPECT_EQ(px[4 * kSize + 28], 0u);
}

TEST_F(GlFrameTest, DrawsReachTheDeviceAfterAnotherContextWasCurrent) {
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), 0);
  ASSERT_EQ(Quad(0, 0, 8, 8, 0.5f, 0xFFFF0000), 0);
  ASSERT_EQ(dev_->EndScene(), 0);
  SDL_GLContext other = SDL_GL_CreateContext(sdl_);  // current from here on
  ASSERT_NE(other, nullptr) << SDL_GetError();
  ASSERT_EQ(dev_->BeginScene(), 0);
  ASSERT_EQ(Quad(8, 8, 16, 16, 0.5f, 0xFF00FF00), 0);
  EXPECT_EQ(Pixel(4, 4), 0xFFFF0000u);
  EXPECT_EQ(Pixel(12, 12), 0xFF00FF00u);
  ASSERT_EQ(dev_->EndScene(), 0);
  SDL_GL_MakeCurrent(sdl_, other);
  SDL_GL_DeleteContext(other);
  ASSERT_EQ(dev_->BeginScene(), 0);
  ASSERT_EQ(Quad(16, 16, 24, 24, 0.5f, 0xFF0000FF), 0);
  EXPECT_EQ(Pixel(20, 20), 0xFF0000FFu);
}

TEST_F(GlFrameTest, DrawsReachTheirDeviceWhenAnotherDeviceWorkedMidScene) {
  gfx::PresentParameters pp;
  pp.backBufferFormat = gfx::D3DFMT_A8R8G8B8;
  pp.deviceWindow = &window_;
  gfx::Device* other = nullptr;
  ASSERT_EQ(d3d_->CreateDevice(0, gfx::D3DDEVTYPE_HAL, &window_, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &other),
            gfx::D3D_OK);
  ASSERT_EQ(Quad(0, 0, 8, 8, 0.5f, 0xFFFF0000), 0);
  // The other device makes its own context current for its work.
  gfx::Texture* texture = nullptr;
  ASSERT_EQ(other->CreateTexture(4, 4, 1, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &texture), 0);
  ASSERT_EQ(Quad(8, 8, 16, 16, 0.5f, 0xFF00FF00), 0);
  const std::vector<uint32_t> px = Pixels();
  EXPECT_EQ(px[4 * kSize + 4], 0xFFFF0000u);
  EXPECT_EQ(px[12 * kSize + 12], 0xFF00FF00u);
  texture->Release();
  EXPECT_EQ(other->Release(), 0u);
}

}  // namespace
