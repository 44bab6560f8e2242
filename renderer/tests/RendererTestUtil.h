#pragma once
// A renderer on the record backend with a device, a material for draw items
// that tests fill in by hand, and helpers to read the device's call log.
#include <gtest/gtest.h>

#include <vector>

#include "engine/math/CameraView.h"
#include "platform/graphics/CallLog.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/RecordDevice.h"
#include "renderer/C3DPassDX8.h"
#include "renderer/DrawItem.h"
#include "renderer/Lumetra.h"

namespace rtest {

namespace gfx = platform::gfx;

// A windowed X8R8G8B8 mode with a D24S8 depth buffer.
inline C3DDisplayMode WindowedMode(int32_t width, int32_t height) {
  C3DDisplayMode mode{};
  mode.adapter = 0;
  mode.windowed = 1;
  mode.width = width;
  mode.height = height;
  mode.channelBits[0] = mode.channelBits[1] = mode.channelBits[2] = 8;
  mode.channelBits[3] = 0;
  mode.channelBits[4] = 8;
  mode.depthBits = 24;
  mode.stencilBits = 8;
  mode.paddingBits = 0;
  mode.multiSampleType = 0;
  mode.backBufferCount = 1;
  return mode;
}

// A material whose state block, layers and sort keys the test sets.
class TestShader : public PassShader {
 public:
  TestShader() {
    block.values = {1, 1, gfx::D3DCMP_LESSEQUAL, 0, 0, gfx::D3DCMP_ALWAYS, 0, 0, gfx::D3DBLEND_ONE,
                    gfx::D3DBLEND_ZERO, gfx::D3DCULL_CCW, 1, gfx::D3DSHADE_GOURAUD, 1, 1};
  }
  const lumetra::ShaderStateBlock& GetStateBlock() override { return block; }
  uint16_t GetPassLayerCount() override { return static_cast<uint16_t>(layers.size()); }
  C3DImage* GetPassLayerImage(int32_t layer) override { return layers[size_t(layer)].image; }
  bool IsPassLayerEnabled(int32_t layer) override { return layers[size_t(layer)].enabled; }
  const lumetra::StageRequest& GetPassLayerRequest(int32_t layer) override { return layers[size_t(layer)].request; }
  int32_t GetSortPriority() override { return priority; }
  bool IsDepthSortedShader() override { return depthSorted; }
  gfx::ColorValue GetMaterialDiffuse() override { return diffuse; }
  gfx::ColorValue GetMaterialAmbient() override { return ambient; }
  void PrepareDraw(MeshGeometry*) override { ++prepared; }

  struct Layer {
    C3DImage* image = nullptr;
    bool enabled = true;
    lumetra::StageRequest request = lumetra::DefaultLayerRequest();
  };
  lumetra::ShaderStateBlock block;
  std::vector<Layer> layers{Layer{}};
  int32_t priority = 0;
  bool depthSorted = false;
  gfx::ColorValue diffuse{1, 1, 1, 1};
  gfx::ColorValue ambient{1, 1, 1, 1};
  int prepared = 0;
};

// One triangle in front of an identity camera.
struct Triangle {
  RenderVertex vertices[3] = {{0, 0, 0.5f, 0xFFFFFFFF, 0, 0, 0, 0},
                              {1, 0, 0.5f, 0xFFFFFFFF, 1, 0, 1, 0},
                              {0, 1, 0.5f, 0xFFFFFFFF, 0, 1, 0, 1}};
  uint16_t indices[3] = {0, 1, 2};
  MeshGeometry geometry;
  Triangle() {
    geometry.vertexCount = 3;
    geometry.vertices = vertices;
    geometry.indexCount = 3;
    geometry.indices = indices;
  }
};

class RecordRenderer : public ::testing::Test {
 protected:
  static constexpr int32_t kWidth = 64;
  static constexpr int32_t kHeight = 48;

  void SetUp() override {
    gfx::SetDefaultBackend(gfx::Backend::Record);
    gfx::SimulateDeviceLoss(gfx::DeviceLoss::None);
    gfx::SetRefusedBehaviorFlags(0);
    ASSERT_TRUE(renderer.Init());
    mode = WindowedMode(kWidth, kHeight);
    ASSERT_EQ(renderer.CreateDevice(&mode), 0);
  }
  void TearDown() override {
    gfx::SimulateDeviceLoss(gfx::DeviceLoss::None);
    gfx::SetRefusedBehaviorFlags(0);
  }

  gfx::CallLog& Log() { return *gfx::GetCallLog(renderer.GetDevice()); }
  size_t Count(gfx::CallOp op) { return Log().Count(op); }
  std::vector<gfx::Call> Calls(gfx::CallOp op) {
    std::vector<gfx::Call> out;
    for (const gfx::Call& call : Log().Calls())
      if (call.op == op) out.push_back(call);
    return out;
  }

  // A pass with a view, ready to take draw items.
  C3DPassDX8* ViewedPass() {
    auto* pass = static_cast<C3DPassDX8*>(renderer.InsertPass(-1));
    CameraView* view = renderer.AddView();
    view->view = JMatrix::Identity();
    view->projection = JMatrix::Identity();
    pass->SetPassView(view);
    return pass;
  }

  // Takes out the metrics overlay's pass and view that device creation
  // adds, for tests that count and index the passes and views they make.
  void RemoveMetricsOverlay() {
    for (int32_t i = renderer.GetPassCount() - 1; i >= 0; --i) {
      C3DPass* pass = renderer.GetPass(i);
      if (pass->GetName() != Lumetra::kMetricsPassName) continue;
      CameraView* view = pass->GetPassView();
      renderer.RemovePass(i);
      for (int32_t v = 0; v < renderer.GetViewCount(); ++v)
        if (renderer.GetView(v) == view) renderer.RemoveView(v);
    }
  }

  Lumetra renderer;
  C3DDisplayMode mode{};
};

}  // namespace rtest
