// The test hooks that make a device refuse what real drivers sometimes
// refuse: a texture format, buffer creation, locks.
#include <gtest/gtest.h>

#include "platform/graphics/GfxDevice.h"
#include "platform/graphics/GfxFactory.h"

namespace gfx = platform::gfx;

namespace {

class RefusalHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d3d_ = gfx::CreateDirect3D(gfx::Backend::Record);
    gfx::PresentParameters pp;
    pp.backBufferWidth = 16;
    pp.backBufferHeight = 16;
    ASSERT_EQ(d3d_->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev_),
              gfx::D3D_OK);
  }
  void TearDown() override {
    gfx::SetRefusedTextureFormat(0);
    gfx::SetRefusedBufferCreation(false);
    gfx::SetRefusedLocks(0);
    if (dev_) {
      EXPECT_EQ(dev_->Release(), 0u);
    }
    d3d_->Release();
  }
  gfx::Direct3D* d3d_ = nullptr;
  gfx::Device* dev_ = nullptr;
};

TEST_F(RefusalHooksTest, EachHookRefusesOnlyItsOwnKindUntilCleared) {
  gfx::SetRefusedTextureFormat(gfx::D3DFMT_A8R8G8B8);
  gfx::Texture* t = nullptr;
  EXPECT_EQ(dev_->CreateTexture(4, 4, 1, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &t), gfx::D3DERR_NOTAVAILABLE);
  EXPECT_EQ(t, nullptr);
  ASSERT_EQ(dev_->CreateTexture(4, 4, 1, 0, gfx::D3DFMT_A4R4G4B4, gfx::D3DPOOL_MANAGED, &t), gfx::D3D_OK);
  gfx::SetRefusedTextureFormat(0);
  gfx::Texture* again = nullptr;
  ASSERT_EQ(dev_->CreateTexture(4, 4, 1, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &again), gfx::D3D_OK);
  again->Release();

  gfx::SetRefusedBufferCreation(true);
  gfx::VertexBuffer* vb = nullptr;
  gfx::IndexBuffer* ib = nullptr;
  EXPECT_EQ(dev_->CreateVertexBuffer(64, 0, 0, gfx::D3DPOOL_MANAGED, &vb), gfx::D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(dev_->CreateIndexBuffer(64, 0, gfx::D3DFMT_INDEX16, gfx::D3DPOOL_MANAGED, &ib),
            gfx::D3DERR_OUTOFVIDEOMEMORY);
  gfx::SetRefusedBufferCreation(false);
  ASSERT_EQ(dev_->CreateVertexBuffer(64, 0, 0, gfx::D3DPOOL_MANAGED, &vb), gfx::D3D_OK);

  gfx::LockedRect locked;
  uint8_t* bytes = nullptr;
  gfx::SetRefusedLocks(gfx::kRefuseSurfaceLocks);
  EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), gfx::D3DERR_INVALIDCALL);
  ASSERT_EQ(vb->Lock(0, 0, &bytes, 0), gfx::D3D_OK);
  vb->Unlock();
  gfx::SetRefusedLocks(gfx::kRefuseBufferLocks);
  EXPECT_EQ(vb->Lock(0, 0, &bytes, 0), gfx::D3DERR_INVALIDCALL);
  ASSERT_EQ(t->LockRect(0, &locked, nullptr, 0), gfx::D3D_OK);
  t->UnlockRect(0);
  vb->Release();
  t->Release();
}

}  // namespace
