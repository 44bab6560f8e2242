// The gl backend's buffers, primitives, frames, captures, render targets and
// reset.
#include <cstring>

#include "GlFixture.h"
#include "platform/graphics/DdsFile.h"
#include "platform/graphics/ImageUtil.h"
#include "platform/graphics/PixelFormat.h"

namespace {
using namespace gltest;

TEST_F(GlDeviceTest, BufferDrawsAddTheBaseVertexAndLinesAndWireframeDraw) {
  // Eight vertices: two quads; indices name the second one through base vertex 4.
  std::vector<Vertex> verts;
  for (int q = 0; q < 2; ++q) {
    const float x0 = float(q) * 20 - 0.5f, x1 = x0 + 10;
    const uint32_t c = q ? 0xFF00FF00 : 0xFFFF0000;
    verts.push_back({x0, -0.5f, 0.5f, c, 0, 0, 0, 0});
    verts.push_back({x1, -0.5f, 0.5f, c, 0, 0, 0, 0});
    verts.push_back({x1, 9.5f, 0.5f, c, 0, 0, 0, 0});
    verts.push_back({x0, 9.5f, 0.5f, c, 0, 0, 0, 0});
  }
  // A line along the pixel centres of row 12.
  verts.push_back({0, 12, 0.5f, 0xFFFF0000, 0, 0, 0, 0});
  verts.push_back({10, 12, 0.5f, 0xFFFF0000, 0, 0, 0, 0});
  gfx::VertexBuffer* vb = nullptr;
  gfx::IndexBuffer* ib = nullptr;
  ASSERT_EQ(dev_->CreateVertexBuffer(10 * 32, gfx::D3DUSAGE_WRITEONLY, 0, gfx::D3DPOOL_MANAGED, &vb), 0);
  ASSERT_EQ(dev_->CreateIndexBuffer(12, gfx::D3DUSAGE_WRITEONLY, gfx::D3DFMT_INDEX16, gfx::D3DPOOL_MANAGED, &ib), 0);
  uint8_t* p = nullptr;
  ASSERT_EQ(vb->Lock(0, 0, &p, 0), 0);
  std::memcpy(p, verts.data(), 10 * 32);
  vb->Unlock();
  const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
  ASSERT_EQ(ib->Lock(0, 0, &p, 0), 0);
  std::memcpy(p, idx, sizeof idx);
  ib->Unlock();
  dev_->SetStreamSource(0, vb, 32);
  dev_->SetIndices(ib, 4);
  ASSERT_EQ(dev_->DrawIndexedPrimitive(gfx::D3DPT_TRIANGLELIST, 0, 4, 0, 2), 0);
  ASSERT_EQ(dev_->DrawPrimitive(gfx::D3DPT_LINELIST, 8, 1), 0);
  // A wireframe quad leaves its inside empty (the diagonal is drawn too).
  dev_->SetRenderState(gfx::D3DRS_FILLMODE, gfx::D3DFILL_WIREFRAME);
  ASSERT_EQ(Quad(40, 20, 60, 40, 0.5f, 0xFFFFFFFF), 0);
  const auto px = Pixels();
  EXPECT_EQ(px[5 * kSize + 25], 0xFF00FF00u);  // the second quad, through the base vertex
  EXPECT_EQ(px[5 * kSize + 5], 0u);            // the first quad's triangles were not drawn
  EXPECT_EQ(px[12 * kSize + 5], 0xFFFF0000u);  // the line
  EXPECT_EQ(px[13 * kSize + 5], 0u);
  EXPECT_EQ(px[25 * kSize + 55], 0u);
  EXPECT_EQ(px[19 * kSize + 50], 0xFFFFFFFFu);
  vb->Release();
  ib->Release();
}

TEST_F(GlDeviceTest, PresentKeepsTheFrameAsFrontBufferForCaptures) {
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFF204080, 1.0f, 0), 0);
  ASSERT_EQ(Quad(0, 0, 32, 24, 0.5f, 0xFFFFFF00), 0);
  ASSERT_EQ(dev_->EndScene(), 0);
  ASSERT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), 0);
  // The next frame draws something else; the front buffer still holds the presented one.
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), 0);
  gfx::Surface* shot = nullptr;
  ASSERT_EQ(dev_->CreateImageSurface(kSize, kSize, gfx::D3DFMT_A8R8G8B8, &shot), 0);
  ASSERT_EQ(dev_->GetFrontBuffer(shot), 0);
  // Thumbnail: 256 x 192 DXT1 from the captured frame, as DDS bytes in memory.
  gfx::Surface* thumb = nullptr;
  ASSERT_EQ(dev_->CreateImageSurface(256, 192, gfx::D3DFMT_DXT1, &thumb), 0);
  ASSERT_EQ(gfx::LoadSurfaceFromSurface(thumb, nullptr, shot, nullptr, gfx::D3DX_FILTER_POINT, 0x76475235), 0);
  std::vector<uint8_t> dds;
  ASSERT_EQ(gfx::SaveSurfaceToMemory(gfx::D3DXIFF_DDS, thumb, nullptr, &dds), 0);
  gfx::DdsImage image;
  ASSERT_TRUE(gfx::ReadDds(dds.data(), dds.size(), &image));
  std::vector<uint32_t> decoded(256 * 192);
  gfx::DecodeToArgb(image.format, image.levels[0].data(), 64 * 8, 256, 192, decoded.data());
  EXPECT_TRUE(ChannelDiff(decoded[10 * 256 + 10], 0xFFFFFF00) <= 8);    // inside the quad
  EXPECT_TRUE(ChannelDiff(decoded[150 * 256 + 200], 0xFF204080) <= 8);  // outside it
  // Screenshot: the back buffer of the frame as a 24-bit BMP.
  gfx::Surface* back = nullptr;
  ASSERT_EQ(dev_->GetBackBuffer(0, 0, &back), 0);
  std::vector<uint8_t> bmp;
  ASSERT_EQ(gfx::SaveSurfaceToMemory(gfx::D3DXIFF_BMP, back, nullptr, &bmp), 0);
  EXPECT_EQ(bmp.size(), 54u + kSize * kSize * 3);
  EXPECT_EQ(bmp[54], 0);  // black: the frame being drawn
  back->Release();
  thumb->Release();
  shot->Release();
  ASSERT_EQ(dev_->BeginScene(), 0);
}

TEST_F(GlDeviceTest, RenderingIntoATextureAndCopyingItOut) {
  gfx::Texture* target = nullptr;
  ASSERT_EQ(dev_->CreateTexture(16, 16, 1, gfx::D3DUSAGE_RENDERTARGET, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_DEFAULT, &target), 0);
  gfx::Surface* surface = nullptr;
  ASSERT_EQ(target->GetSurfaceLevel(0, &surface), 0);
  ASSERT_EQ(dev_->EndScene(), 0);
  {
    gfx::RenderToSurface rts(dev_, 16, 16, gfx::D3DFMT_A8R8G8B8, false, 0);
    const gfx::Viewport vp{0, 0, 16, 16, 0, 1};
    ASSERT_EQ(rts.BeginScene(surface, &vp), 0);
    ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0), 0);
    ASSERT_EQ(Quad(0, 0, 8, 8, 0.5f, 0xFF00FF00), 0);  // the screen projection maps 64 pixels onto 16
    ASSERT_EQ(rts.EndScene(), 0);
  }
  gfx::Viewport vp;
  dev_->GetViewport(&vp);
  EXPECT_EQ(vp.width, uint32_t(kSize));  // the device has its back buffer again
  // Copy the rendered level into a managed texture and read it.
  gfx::Texture* copy = nullptr;
  ASSERT_EQ(dev_->CreateTexture(16, 16, 1, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &copy), 0);
  gfx::Surface* copyLevel = nullptr;
  ASSERT_EQ(copy->GetSurfaceLevel(0, &copyLevel), 0);
  ASSERT_EQ(dev_->CopyRects(surface, nullptr, 0, copyLevel, nullptr), 0);
  gfx::LockedRect lr;
  ASSERT_EQ(copyLevel->LockRect(&lr, nullptr, gfx::D3DLOCK_READONLY), 0);
  auto at = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(static_cast<uint8_t*>(lr.bits) + y * lr.pitch)[x]; };
  EXPECT_EQ(at(0, 0), 0xFF00FF00u);   // top-left stays top-left
  EXPECT_EQ(at(1, 1), 0xFF00FF00u);
  EXPECT_EQ(at(15, 15), 0xFFFF00FFu);
  copyLevel->UnlockRect();
  copyLevel->Release();
  copy->Release();
  surface->Release();
  target->Release();
  ASSERT_EQ(dev_->BeginScene(), 0);
}

TEST_F(GlDeviceTest, SimulatedLossThenResetGivesAWorkingDevice) {
  ASSERT_EQ(dev_->EndScene(), 0);
  gfx::SimulateDeviceLoss(gfx::DeviceLoss::Lost);
  EXPECT_EQ(dev_->TestCooperativeLevel(), gfx::D3DERR_DEVICELOST);
  EXPECT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), gfx::D3DERR_DEVICELOST);
  gfx::SimulateDeviceLoss(gfx::DeviceLoss::NotReset);
  EXPECT_EQ(dev_->TestCooperativeLevel(), gfx::D3DERR_DEVICENOTRESET);
  gfx::PresentParameters pp;
  pp.backBufferWidth = 32;
  pp.backBufferHeight = 32;
  pp.backBufferFormat = gfx::D3DFMT_X8R8G8B8;
  pp.enableAutoDepthStencil = true;
  pp.autoDepthStencilFormat = gfx::D3DFMT_D24S8;
  ASSERT_EQ(dev_->Reset(&pp), 0);
  EXPECT_EQ(dev_->TestCooperativeLevel(), 0);
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0x00336699, 1.0f, 0), 0);
  ASSERT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), 0);
  gfx::Surface* back = nullptr;
  ASSERT_EQ(dev_->GetBackBuffer(0, 0, &back), 0);
  gfx::LockedRect lr;
  ASSERT_EQ(back->LockRect(&lr, nullptr, gfx::D3DLOCK_READONLY), 0);
  EXPECT_EQ(*static_cast<uint32_t*>(lr.bits), 0xFF336699u);  // no alpha channel: reads opaque
  back->UnlockRect();
  back->Release();
  gfx::AdapterIdentifier id;
  ASSERT_EQ(d3d_->GetAdapterIdentifier(0, 0, &id), 0);
  EXPECT_STRNE(id.description, "");
  gfx::Caps caps;
  dev_->GetDeviceCaps(&caps);
  EXPECT_GE(caps.maxVertexIndex, 0xFFFFu);
  EXPECT_GE(caps.maxPrimitiveCount, 0xFFFFu);
  ASSERT_EQ(dev_->BeginScene(), 0);
}

}  // namespace

// Closing the main window destroys it before the renderer shuts down: the
// device and what it still holds are then released without their context.
namespace {
TEST_F(GlDeviceTest, ADeviceOutlivesItsWindow) {
  ASSERT_EQ(dev_->EndScene(), 0);
  SDL_Window* sdl = SDL_CreateWindow("closed first", 0, 0, 32, 32, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  ASSERT_NE(sdl, nullptr) << SDL_GetError();
  platform::NativeWindow window{sdl, 32, 32};
  gfx::PresentParameters pp;
  pp.backBufferFormat = gfx::D3DFMT_A8R8G8B8;
  pp.deviceWindow = &window;
  pp.enableAutoDepthStencil = true;
  pp.autoDepthStencilFormat = gfx::D3DFMT_D24S8;
  gfx::Device* dev = nullptr;
  ASSERT_EQ(d3d_->CreateDevice(0, gfx::D3DDEVTYPE_HAL, &window, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev),
            gfx::D3D_OK);
  gfx::Texture* texture = nullptr;
  ASSERT_EQ(dev->CreateTexture(8, 8, 1, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &texture), 0);
  ASSERT_EQ(dev->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0x00112233, 1.0f, 0), 0);
  ASSERT_EQ(dev->Present(nullptr, nullptr, nullptr, nullptr), 0);

  SDL_DestroyWindow(sdl);
  texture->Release();
  EXPECT_EQ(dev->Release(), 0u);

  // The other device, on its own window, still draws.
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0x00445566, 1.0f, 0), 0);
  ASSERT_EQ(dev_->Present(nullptr, nullptr, nullptr, nullptr), 0);
  gfx::Surface* back = nullptr;
  ASSERT_EQ(dev_->GetBackBuffer(0, 0, &back), 0);
  gfx::LockedRect lr;
  ASSERT_EQ(back->LockRect(&lr, nullptr, gfx::D3DLOCK_READONLY), 0);
  EXPECT_EQ(*static_cast<uint32_t*>(lr.bits) & 0xFFFFFFu, 0x445566u);
  back->UnlockRect();
  back->Release();
  ASSERT_EQ(dev_->BeginScene(), 0);
}
}  // namespace
