// The frame on the record device: the empty frame, the four sweeps over the
// passes and their hooks, the pass and view lists, the colour matrices,
// viewport and clear, and draw items through the state shadow.
#include <algorithm>
#include <functional>
#include <string>

#include "RendererTestUtil.h"
#include "platform/DebugOutput.h"

namespace {

using namespace rtest;

// Records every callback as "<hook> <pass name>".
class RecordingEntity : public C3DEntity {
 public:
  explicit RecordingEntity(std::vector<std::string>* log) : log_(log) {}
  void OnPassBegin(C3DPass* pass) override {
    Note("begin", pass);
    if (entity) pass->AddEntity(entity);
    if (onBegin) onBegin(pass);
  }
  void OnPassPrepare(C3DPass* pass) override {
    Note("prepare", pass);
    if (onPrepare) onPrepare(pass);
  }
  void Render(C3DPass* pass) override { Note("render", pass); }
  void OnPassFinish(C3DPass* pass) override { Note("finish", pass); }
  void OnPassEnd(C3DPass* pass) override { Note("end", pass); }

  C3DEntity* entity = nullptr;  // added to the pass by the begin hook
  std::function<void(C3DPass*)> onBegin;
  std::function<void(C3DPass*)> onPrepare;

 private:
  void Note(const char* what, C3DPass* pass) { log_->push_back(std::string(what) + " " + pass->GetName()); }
  std::vector<std::string>* log_;
};

class LumetraFrameTest : public RecordRenderer {
 protected:
  void SetUp() override {
    RecordRenderer::SetUp();
    RemoveMetricsOverlay();
  }
  C3DPass* NamedPass(const std::string& name) {
    C3DPass* pass = renderer.InsertPass(-1);
    pass->SetName(name);
    return pass;
  }
  std::vector<std::string> PassNames() {
    std::vector<std::string> names;
    for (int32_t i = 0; i < renderer.GetPassCount(); ++i) {
      names.push_back(renderer.GetPass(i)->GetName());
      EXPECT_EQ(renderer.GetPass(i)->GetIndex(), i);
    }
    return names;
  }
  uint32_t DeviceStage(uint32_t stage, uint32_t type) {
    uint32_t value = 0;
    renderer.GetDevice()->GetTextureStageState(stage, type, &value);
    return value;
  }
  uint32_t DeviceState(uint32_t state) {
    uint32_t value = 0;
    renderer.GetDevice()->GetRenderState(state, &value);
    return value;
  }
};

TEST_F(LumetraFrameTest, AFrameWithoutPassesClearsToBlackAndPresents) {
  for (const char* only : {"", "metrics-report", "METRICS-Report"}) {
    SCOPED_TRACE(only);
    while (renderer.GetPassCount() > 0) renderer.RemovePass(0);
    if (*only) NamedPass(only);
    Log().Clear();
    ASSERT_EQ(renderer.RenderFrame(), 0);
    const auto& calls = Log().Calls();
    std::vector<gfx::CallOp> ops;
    for (const gfx::Call& call : calls) ops.push_back(call.op);
    EXPECT_EQ(ops, (std::vector<gfx::CallOp>{gfx::CallOp::TestCooperativeLevel, gfx::CallOp::BeginScene,
                                            gfx::CallOp::Clear, gfx::CallOp::EndScene, gfx::CallOp::Present}));
    const auto clears = Calls(gfx::CallOp::Clear);
    EXPECT_EQ(clears[0].b, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER);
    EXPECT_EQ(clears[0].c, 0u);  // black
    EXPECT_FALSE(renderer.IsInFrame());
    EXPECT_FALSE(renderer.IsSceneOpen());
  }
  // Any other single pass is a real pass: no clear of the renderer's own.
  renderer.GetPass(0)->SetName("world");
  Log().Clear();
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(Count(gfx::CallOp::Clear), 0u);
  EXPECT_EQ(Count(gfx::CallOp::Present), 1u);
}

TEST_F(LumetraFrameTest, HooksRunInFourSweepsOverThePassesInOrder) {
  std::vector<std::string> log;
  RecordingEntity hook(&log), drawn(&log);
  hook.entity = &drawn;
  for (const char* name : {"A", "B"}) {
    C3DPass* pass = NamedPass(name);
    pass->SetBeginHook(&hook);
    pass->SetPrepareHook(&hook);
    pass->SetFinishHook(&hook);
    pass->SetEndHook(&hook);
  }
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"begin A", "begin B", "prepare A", "render A", "finish A", "prepare B",
                                           "render B", "finish B", "end A", "end B"}));
  // The entity lists are emptied (nulled) at the start of every frame.
  log.clear();
  hook.entity = nullptr;
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "render A"), 0);
  EXPECT_EQ(renderer.GetPass(0)->GetEntityCount(), 1);
  EXPECT_EQ(renderer.GetPass(0)->GetEntity(0), nullptr);
}

TEST_F(LumetraFrameTest, AHookMayRemoveOrAddPassesDuringTheFrame) {
  std::vector<std::string> log;
  RecordingEntity hook(&log);
  C3DPass* a = NamedPass("A");
  C3DPass* b = NamedPass("B");
  a->SetBeginHook(&hook);
  a->SetPrepareHook(&hook);
  b->SetBeginHook(&hook);
  b->SetPrepareHook(&hook);
  b->SetEndHook(&hook);
  // A's prepare hook removes B (already begun) and inserts a new pass.
  hook.onPrepare = [&](C3DPass* pass) {
    if (pass->GetName() != "A") return;
    renderer.RemovePass(1);
    renderer.InsertPass(-1)->SetName("C");
  };
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"begin A", "begin B", "prepare A"}));
  EXPECT_EQ(PassNames(), (std::vector<std::string>{"A", "C"}));
  // A frame asked for from inside a frame is refused; the outer one goes on.
  CoreStatus inner = 0;
  hook.onPrepare = [&](C3DPass*) { inner = renderer.RenderFrame(); };
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(inner, status::Fail);
  hook.onPrepare = nullptr;
  ASSERT_EQ(renderer.RenderFrame(), 0);
}

TEST_F(LumetraFrameTest, PassesInsertMoveAndRemoveKeepingTheirIndices) {
  const struct {
    int32_t from, to;
    std::vector<std::string> order;
  } moves[] = {{0, 2, {"Q", "P", "R", "S"}}, {2, 0, {"R", "P", "Q", "S"}}, {1, -1, {"P", "R", "S", "Q"}},
               {1, 1, {"P", "Q", "R", "S"}}, {7, 0, {"P", "Q", "R", "S"}}, {0, 99, {"Q", "R", "S", "P"}}};
  for (const auto& move : moves) {
    while (renderer.GetPassCount() > 0) renderer.RemovePass(0);
    for (const char* name : {"P", "Q", "R", "S"}) NamedPass(name);
    renderer.MovePass(move.from, move.to);
    EXPECT_EQ(PassNames(), move.order) << move.from << " -> " << move.to;
  }
  renderer.InsertPass(0)->SetName("first");
  renderer.InsertPass(-5)->SetName("last");
  renderer.InsertPass(2)->SetName("third");
  EXPECT_EQ(PassNames(), (std::vector<std::string>{"first", "Q", "third", "R", "S", "P", "last"}));
  renderer.RemovePass(1);
  renderer.RemovePass(-1);
  renderer.RemovePass(6);
  EXPECT_EQ(PassNames(), (std::vector<std::string>{"first", "third", "R", "S", "P", "last"}));
  EXPECT_EQ(renderer.GetPass(6), nullptr);
  EXPECT_EQ(renderer.GetPass(-1), nullptr);
  EXPECT_TRUE(renderer.GetPass(0)->IsDeviceBacked());
}

TEST_F(LumetraFrameTest, RemovingAViewTakesItFromItsPassesAndRenumbersTheRest) {
  CameraView* views[3];
  for (CameraView*& view : views) view = renderer.AddView();
  EXPECT_EQ(views[2]->index, 2);
  EXPECT_EQ(views[0]->fieldOfView, 1.5708f);
  EXPECT_EQ(views[0]->farPlane, 1000.0f);
  C3DPass* pass = NamedPass("world");
  pass->SetPassView(views[1]);
  renderer.RemoveView(1);
  EXPECT_EQ(pass->GetPassView(), nullptr);
  ASSERT_EQ(renderer.GetViewCount(), 2);
  EXPECT_EQ(renderer.GetView(1), views[2]);
  EXPECT_EQ(views[2]->index, 1);
  renderer.RemoveView(5);
  EXPECT_EQ(renderer.GetViewCount(), 2);
  EXPECT_EQ(renderer.GetView(2), nullptr);
}

TEST_F(LumetraFrameTest, ColourMatricesAndFlagsAnswerByTheirLowestBit) {
  JMatrix a = JMatrix::Identity(), b = JMatrix::Identity(), out = JMatrix::Zero();
  a.m[3][0] = 5.0f;
  b.m[0][1] = 7.0f;
  renderer.SetMatrix(0x2 | 0x200, &a);
  renderer.SetMatrix(0x8, &b);
  renderer.GetMatrix(0x200, &out);
  EXPECT_EQ(out.m[3][0], 5.0f);
  renderer.GetMatrix(0x8 | 0x2, &out);  // several bits: the lowest wins
  EXPECT_EQ(out.m[3][0], 5.0f);
  renderer.GetMatrix(0x4, &out);
  EXPECT_EQ(out.m[3][0], 0.0f);
  EXPECT_EQ(out.m[0][0], 1.0f);
  out = JMatrix::Zero();
  renderer.GetMatrix(0x1 | 0x400, &out);  // no matrix bit: untouched
  EXPECT_EQ(out.m[0][0], 0.0f);
  renderer.GetMatrix(0x10 | 0x8, &out);
  EXPECT_EQ(out.m[0][1], 7.0f);

  renderer.SetFlags(0x4 | 0x100, true);
  EXPECT_TRUE(renderer.GetFlag(0x100));
  EXPECT_FALSE(renderer.GetFlag(0x4 | 0x2));  // the lowest bit, 0x2, is off
  EXPECT_FALSE(renderer.GetFlag(0x2));
  EXPECT_FALSE(renderer.GetFlag(0x1));
  EXPECT_FALSE(renderer.GetFlag(0));
}

TEST_F(LumetraFrameTest, ViewportAndClearReachTheDevice) {
  Log().Clear();
  renderer.SetViewport(4, 6, 30, 20);
  uint32_t x = 0, y = 0, w = 0, h = 0;
  renderer.GetViewport(&x, &y, &w, &h);
  EXPECT_EQ((std::vector<uint32_t>{x, y, w, h}), (std::vector<uint32_t>{4, 6, 30, 20}));
  gfx::Viewport vp;
  renderer.GetDevice()->GetViewport(&vp);
  EXPECT_EQ(vp.width, 30u);
  EXPECT_EQ(vp.maxZ, 1.0f);
  renderer.Clear(true, 0xFF112233, false, 1.0f, true, 3);
  renderer.Clear(false, 0, false, 0, false, 0);  // nothing selected
  const auto clears = Calls(gfx::CallOp::Clear);
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0].b, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_STENCIL);
  EXPECT_EQ(clears[0].c, 0xFF112233u);
  EXPECT_EQ(clears[0].d, 3u);

  // A viewport the device refuses is reported.
  platform::ScopedDebugCapture debug;
  renderer.SetViewport(60, 40, 30, 20);
  EXPECT_TRUE(debug.Contains("DX8 Graphics Error : "));
}

class DrawFrameTest : public LumetraFrameTest {
 protected:
  void SetUp() override {
    LumetraFrameTest::SetUp();
    pass = ViewedPass();
    hook.onPrepare = [this](C3DPass* p) {
      for (DrawItem* item : queued) renderer.QueueTriangles(p, item);
    };
    pass->SetPrepareHook(&hook);
  }
  // Queues one triangle drawn with `shader` every frame.
  void QueueOneTriangle(PassShader* shader) {
    single.shader = shader;
    single.geometry = &singleTriangle.geometry;
    queued = {&single};
  }
  std::vector<std::string> log;
  RecordingEntity hook{&log};
  C3DPassDX8* pass = nullptr;
  std::vector<DrawItem*> queued;
  Triangle singleTriangle;
  DrawItem single;
};

TEST_F(DrawFrameTest, TwoItemsWithTheSameMaterialSendNoStateForTheSecond) {
  TestShader shader;
  shader.block.values[10] = gfx::D3DCULL_NONE;
  Triangle t1, t2;
  DrawItem first, second;
  first.shader = second.shader = &shader;
  first.geometry = &t1.geometry;
  second.geometry = &t2.geometry;
  queued = {&first, &second};
  Log().Clear();
  ASSERT_EQ(renderer.RenderFrame(), 0);
  // Calls between the two draws: only the world transform.
  const auto& calls = Log().Calls();
  std::vector<size_t> draws;
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].op == gfx::CallOp::DrawIndexedPrimitiveUP) draws.push_back(i);
  ASSERT_EQ(draws.size(), 2u);
  for (size_t i = draws[0] + 1; i < draws[1]; ++i)
    EXPECT_EQ(calls[i].op, gfx::CallOp::SetTransform) << gfx::FormatCall(calls[i]);
  EXPECT_EQ(DeviceState(gfx::D3DRS_CULLMODE), gfx::D3DCULL_NONE);
  EXPECT_EQ(shader.prepared, 2);

  // The next frame starts from the shadow: not even the first item sends state.
  renderer.ToggleMetrics();
  Log().Clear();
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(Count(gfx::CallOp::SetRenderState), 0u);
  EXPECT_EQ(Count(gfx::CallOp::DrawIndexedPrimitiveUP), 2u);
  EXPECT_EQ(renderer.GetFrameIndexCount(), 6u);
  EXPECT_EQ(renderer.GetFrameVertexCount(), 6u);
}

TEST_F(DrawFrameTest, ADisabledLayerLeavesItsStageAndTheRestToTheDefaultRequest) {
  TestShader shader;
  shader.layers.resize(2);
  shader.layers[0].request.values[5] = gfx::D3DTOP_MODULATE;
  shader.layers[1].enabled = false;
  QueueOneTriangle(&shader);
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(DeviceStage(0, gfx::D3DTSS_COLOROP), gfx::D3DTOP_MODULATE);
  for (uint32_t stage = 1; stage < 4; ++stage) {
    EXPECT_EQ(DeviceStage(stage, gfx::D3DTSS_COLOROP), gfx::D3DTOP_DISABLE) << stage;
    EXPECT_EQ(DeviceStage(stage, gfx::D3DTSS_ALPHAOP), gfx::D3DTOP_DISABLE) << stage;
    gfx::Texture* texture = reinterpret_cast<gfx::Texture*>(1);
    renderer.GetDevice()->GetTexture(stage, &texture);
    EXPECT_EQ(texture, nullptr);
  }
  // A material without layers is never queued.
  shader.layers.clear();
  Log().Clear();
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(Count(gfx::CallOp::DrawIndexedPrimitiveUP), 0u);
  EXPECT_EQ(Count(gfx::CallOp::BeginScene), 0u);  // nothing to draw, no scene
}

TEST_F(DrawFrameTest, DepthSortedInstancesBecomeItemsDrawnBackToFront) {
  TestShader plain, sorted;
  sorted.depthSorted = true;
  plain.priority = 5;
  Triangle body, glass;
  JMatrix near = JMatrix::Identity(), far = JMatrix::Identity(), middle = JMatrix::Identity();
  near.m[3][2] = 2.0f;
  far.m[3][2] = 50.0f;
  middle.m[3][2] = 10.0f;
  const InstanceList placements = {&near, &far, &middle};
  glass.geometry.instances = &placements;
  DrawItem opaque, transparent;
  opaque.shader = &plain;
  opaque.geometry = &body.geometry;
  transparent.shader = &sorted;
  transparent.geometry = &glass.geometry;
  queued = {&transparent, &opaque};
  ASSERT_EQ(renderer.RenderFrame(), 0);
  const std::vector<DrawItem*>& list = pass->DrawList();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], &opaque);
  EXPECT_EQ(list[1]->matrix, &far);
  EXPECT_EQ(list[2]->matrix, &middle);
  EXPECT_EQ(list[3]->matrix, &near);
  EXPECT_EQ(list[1]->depth, 50.0f);
  EXPECT_FALSE(list[1]->instanced);
  EXPECT_EQ(Count(gfx::CallOp::DrawIndexedPrimitiveUP), 4u);
  EXPECT_FALSE(pass->IsDepthSorted());  // cleared after drawing
}

TEST_F(DrawFrameTest, FogOfAPassSwitchesTheDevicesFogOnAndOff) {
  TestShader shader;
  QueueOneTriangle(&shader);
  pass->EnableFog();
  pass->SetFogColour(1.0f, 0.5f, 0.0f);
  pass->SetFogDensity(0.25f);
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FOGENABLE), 1u);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FOGTABLEMODE), gfx::D3DFOG_EXP);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FOGCOLOR), 0x00FF7F00u);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FOGDENSITY), 0x3E800000u);
  pass->DisableFog();
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FOGENABLE), 0u);
}

TEST_F(DrawFrameTest, WireframeIsTheFillModeWhileItIsOn) {
  TestShader shader;
  QueueOneTriangle(&shader);
  renderer.SetFlagA(true);
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FILLMODE), gfx::D3DFILL_WIREFRAME);
  renderer.SetFlagA(false);
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(DeviceState(gfx::D3DRS_FILLMODE), gfx::D3DFILL_SOLID);
}

TEST(BlockAllocatorTest, BlocksGrowForLargeRequestsAndAreReusedAfterReset) {
  BlockAllocator small;
  EXPECT_EQ(small.Allocate(0), nullptr);
  EXPECT_EQ(small.Allocate(-4), nullptr);
  ASSERT_NE(small.Allocate(5000), nullptr);
  ASSERT_EQ(small.GetBlockCount(), 1u);
  EXPECT_EQ(small.GetBlockBytes(0), 16384u);
  EXPECT_EQ(small.GetBlockSize(), 16384u);
  ASSERT_NE(small.Allocate(9000), nullptr);  // still room in the block
  EXPECT_EQ(small.GetBlockCount(), 1u);

  BlockAllocator large;
  void* big = large.Allocate(9000);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(large.GetBlockBytes(0), 18000u);
  EXPECT_EQ(large.GetBlockSize(), 32768u);
  ASSERT_NE(large.Allocate(9001), nullptr);  // no room left: a new block, put first
  ASSERT_EQ(large.GetBlockCount(), 2u);
  EXPECT_EQ(large.GetBlockBytes(0), 32768u);
  large.Reset();
  EXPECT_NE(large.Allocate(9000), nullptr);
  EXPECT_EQ(large.GetBlockCount(), 2u);
  large.Free();
  EXPECT_EQ(large.GetBlockCount(), 0u);
  EXPECT_EQ(large.GetBlockSize(), 32768u);
}

TEST(PassDX8Test, LightsFogAndDefaults) {
  C3DPassDX8 pass;
  EXPECT_EQ(pass.AddLight(7), 1);
  EXPECT_EQ(pass.AddLight(9), 2);
  EXPECT_EQ(pass.AddLight(7), 0);  // already listed: its position
  EXPECT_EQ(pass.GetLightCount(), 2);
  EXPECT_EQ(pass.GetLight(1), 9);
  EXPECT_EQ(pass.GetLight(2), -1);
  pass.RemoveLight(5);
  pass.RemoveLight(0);
  EXPECT_EQ(pass.GetLight(0), 9);
  EXPECT_FALSE(pass.IsFogEnabled());
  EXPECT_EQ(pass.GetFogValueB(), 1.0f);
  EXPECT_EQ(pass.GetFogDensity(), 1.0f);
  float r = 0, g = 0, b = 0;
  pass.GetFogColour(&r, &g, &b);
  EXPECT_EQ(r + g + b, 3.0f);
  EXPECT_FALSE(pass.HasSomethingToDraw());
  pass.SecondBuffer().push_back({});
  EXPECT_TRUE(pass.HasSomethingToDraw());
  pass.ResetForFrame();
  EXPECT_FALSE(pass.HasSomethingToDraw());
}

}  // namespace
