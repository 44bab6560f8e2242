// A pass's device lights from the light registry, the recolouring of their
// colours, the registry's removal of lights from pass lists, and the stable
// sort of the draw list by priority and image registry index.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "RendererTestUtil.h"
#include "renderer/resources/DX8Image.h"
#include "renderer/resources/LightRecord.h"

namespace {

using namespace rtest;

class Hook : public C3DEntity {
 public:
  void OnPassPrepare(C3DPass* pass) override { prepare(pass); }
  std::function<void(C3DPass*)> prepare = [](C3DPass*) {};
};

class LumetraPassTest : public RecordRenderer {
 protected:
  LightRecord* AddLight(uint32_t kind, uint32_t flags) {
    auto* light = new LightRecord(&renderer, 0, "light");
    light->kind = kind;
    light->lightFlags = flags;
    light->diffuse = {0.8f, 0.6f, 0.4f, 1.0f};
    light->ambient = {0.2f, 0.2f, 0.2f, 1.0f};
    light->specular = {1.0f, 1.0f, 1.0f, 1.0f};
    renderer.AddLightRecord(light);
    return light;
  }
  // One frame of a viewed pass that draws one triangle.
  void Frame(C3DPassDX8* pass) {
    Hook hook;
    hook.prepare = [&](C3DPass* p) { renderer.QueueTriangles(p, &item); };
    item.shader = &shader;
    item.geometry = &triangle.geometry;
    pass->SetPrepareHook(&hook);
    Log().Clear();
    ASSERT_EQ(renderer.RenderFrame(), 0);
    pass->SetPrepareHook(nullptr);
  }
  gfx::Light DeviceLight(uint32_t slot, bool* enabled) {
    gfx::Light light;
    renderer.GetDevice()->GetLight(slot, &light);
    renderer.GetDevice()->GetLightEnable(slot, enabled);
    return light;
  }
  TestShader shader;
  Triangle triangle;
  DrawItem item;
};

TEST_F(LumetraPassTest, PassLightsBecomeDeviceLightsInListOrder) {
  JMatrix half = JMatrix::Identity();
  half.m[0][0] = half.m[1][1] = half.m[2][2] = 0.5f;
  renderer.SetMatrix(0x2 | 0x10, &half);  // matrices 0 (diffuse) and 3 (ambient)
  renderer.SetFlags(0x2, true);           // only matrix 0 is switched on
  struct Case {
    const char* name;
    uint32_t kind, flags;
    bool yields;
    uint32_t type;
    float diffuseRed, ambientRed;
  };
  const Case cases[] = {
      {"point", 0, LightRecord::kEnabled, true, gfx::D3DLIGHT_POINT, 0.8f, 0.2f},
      {"spot", 1, LightRecord::kEnabled, true, gfx::D3DLIGHT_SPOT, 0.8f, 0.2f},
      {"directional", 2, LightRecord::kEnabled, true, gfx::D3DLIGHT_DIRECTIONAL, 0.8f, 0.2f},
      {"unknown kind", 3, LightRecord::kEnabled, false, 0, 0, 0},
      {"disabled", 0, 0, false, 0, 0, 0},
      {"recoloured diffuse", 0, LightRecord::kEnabled | LightRecord::RecolourBit(0), true, gfx::D3DLIGHT_POINT, 0.4f,
       0.2f},
      {"matrix switched off", 0, LightRecord::kEnabled | LightRecord::RecolourBit(3), true, gfx::D3DLIGHT_POINT, 0.8f,
       0.2f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    C3DPassDX8* pass = ViewedPass();
    LightRecord* light = AddLight(c.kind, c.flags);
    EXPECT_EQ(pass->AddLight(uint32_t(light->GetRegistryIndex())), 1);
    EXPECT_EQ(pass->AddLight(uint32_t(light->GetRegistryIndex())), 0);  // already listed
    Frame(pass);
    bool enabled = false;
    const gfx::Light device = DeviceLight(0, &enabled);
    EXPECT_EQ(enabled, c.yields);
    EXPECT_EQ(Count(gfx::CallOp::SetLight), c.yields ? 1u : 0u);
    if (c.yields) {
      EXPECT_EQ(device.type, c.type);
      EXPECT_FLOAT_EQ(device.diffuse.r, c.diffuseRed);
      EXPECT_FLOAT_EQ(device.ambient.r, c.ambientRed);
      EXPECT_FLOAT_EQ(device.diffuse.a, 1.0f);
    }
    renderer.RemovePass(pass->GetIndex());
  }
}

TEST_F(LumetraPassTest, RemovingALightRecordTakesItOffEveryPass) {
  C3DPassDX8* a = ViewedPass();
  C3DPassDX8* b = ViewedPass();
  LightRecord* keep = AddLight(0, LightRecord::kEnabled);
  LightRecord* gone = AddLight(0, LightRecord::kEnabled);
  const int32_t goneIndex = gone->GetRegistryIndex();
  a->AddLight(uint32_t(keep->GetRegistryIndex()));
  a->AddLight(uint32_t(goneIndex));
  b->AddLight(uint32_t(goneIndex));
  gone->Release();
  renderer.RemoveLightRecord(uint32_t(goneIndex));
  EXPECT_EQ(a->GetLightCount(), 1);
  EXPECT_EQ(a->GetLight(0), keep->GetRegistryIndex());
  EXPECT_EQ(b->GetLightCount(), 0);
  EXPECT_EQ(renderer.GetLightRecord(uint32_t(goneIndex)), nullptr);
}

TEST_F(LumetraPassTest, SortIsStableAndGroupsImagesByRegistryIndex) {
  C3DPassDX8* pass = ViewedPass();
  // Two images whose registry order is the reverse of their address order.
  auto first = std::make_unique<DX8Image>(&renderer, 0, "first");
  auto second = std::make_unique<DX8Image>(&renderer, 0, "second");
  DX8Image* low = first.get() < second.get() ? second.get() : first.get();
  DX8Image* high = low == first.get() ? second.get() : first.get();
  low->SetRegistryIndex(1);
  high->SetRegistryIndex(7);
  // Forty items of equal keys, each with its own vertex count, then one
  // item with the higher-index image queued before one with the lower.
  std::vector<std::unique_ptr<Triangle>> triangles;
  std::vector<DrawItem> items(42);
  for (size_t i = 0; i < items.size(); ++i) {
    triangles.push_back(std::make_unique<Triangle>());
    triangles.back()->geometry.vertexCount = uint16_t(3 + i);
    items[i].shader = &shader;
    items[i].geometry = &triangles.back()->geometry;
  }
  std::vector<RenderVertex> spare(64, triangles[0]->vertices[0]);
  for (auto& t : triangles) t->geometry.vertices = spare.data();
  items[40].images[0] = high;
  items[41].images[0] = low;
  items[40].geometry->vertexCount = 50;
  items[41].geometry->vertexCount = 51;
  Hook hook;
  hook.prepare = [&](C3DPass* p) {
    for (DrawItem& it : items) renderer.QueueTriangles(p, &it);
  };
  pass->SetPrepareHook(&hook);
  Log().Clear();
  ASSERT_EQ(renderer.RenderFrame(), 0);
  std::vector<uint32_t> order;
  for (const gfx::Call& call : Calls(gfx::CallOp::DrawIndexedPrimitiveUP)) order.push_back(call.d);
  std::vector<uint32_t> expected;
  for (uint32_t i = 0; i < 40; ++i) expected.push_back(3 + i);
  expected.push_back(51);  // the lower registry index first
  expected.push_back(50);
  EXPECT_EQ(order, expected);
  pass->SetPrepareHook(nullptr);
}

}  // namespace
