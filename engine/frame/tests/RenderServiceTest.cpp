#include "engine/frame/RenderService.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/frame/BaseCamera.h"
#include "engine/math/CameraView.h"
#include "engine/config/ConfigParser.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/tests/FrameTestWorld.h"

namespace {

using fake3d::FakeCore3D;
using frametest::FrameWorld;

class RenderServiceTest : public ::testing::Test {
 protected:
  RenderServiceTest() { platform::SetDebugStderr(false); }
  ~RenderServiceTest() override { platform::SetDebugStderr(true); }

  // A render service filed with the entity manager under that name.
  cRenderService* Make(const std::string& name, const std::string& parent = std::string()) {
    cEntity_Base* filed = nullptr;
    EXPECT_EQ(world.table.entityManager->CreateEntity(&spawn, &filed), status::Ok);
    auto* service = dynamic_cast<cRenderService*>(filed);
    service->SetName(name);
    service->SetParentName(parent);
    return service;
  }
  std::vector<std::string> PassNames() {
    std::vector<std::string> names;
    for (int32_t i = 0; i < world.renderer.GetPassCount(); ++i) names.push_back(world.renderer.GetPass(i)->GetName());
    return names;
  }

  FrameWorld world;
  SpawnRenderService spawn;
};

TEST_F(RenderServiceTest, PassesAreInsertedFirstAndPlacedByParent) {
  FakeCore3D& r = world.renderer;
  ASSERT_EQ(Make("Scene")->Initialise(&r), status::Ok);
  ASSERT_EQ(Make("Sky")->Initialise(&r), status::Ok);
  EXPECT_EQ(PassNames(), (std::vector<std::string>{"Sky", "Scene"}));
  ASSERT_EQ(Make("Alpha", "core3droot")->Initialise(&r), status::Ok);
  EXPECT_EQ(PassNames(), (std::vector<std::string>{"Sky", "Scene", "Alpha"}));
  // A parent that is a render service: the pass takes that service's place.
  ASSERT_EQ(Make("Terrain", "scene")->Initialise(&r), status::Ok);
  EXPECT_EQ(PassNames(), (std::vector<std::string>{"Sky", "Terrain", "Scene", "Alpha"}));
  // A parent that names only a pass of the renderer.
  r.InsertPass(-1)->SetName("Hud");
  ASSERT_EQ(Make("Overlay", "HUD")->Initialise(&r), status::Ok);
  EXPECT_EQ(PassNames(), (std::vector<std::string>{"Sky", "Terrain", "Scene", "Alpha", "Overlay", "Hud"}));
  // A parent that matches nothing leaves the pass first.
  ASSERT_EQ(Make("Lost", "Nobody")->Initialise(&r), status::Ok);
  EXPECT_EQ(PassNames().front(), "Lost");
  // Each service made its line shader from the renderer's resource path.
  EXPECT_EQ(r.requests.front(), (fake3d::Request{"shader", 8, r.GetResourcePath() + ".\\Debug\\AntiAliasedLine.jsd"}));
  EXPECT_EQ(Make("NoRenderer")->Initialise(nullptr), status::Fail);
}

TEST_F(RenderServiceTest, OwnViewOrCameraViewOnThePass) {
  FakeCore3D& r = world.renderer;
  cRenderService* own = Make("Own");
  own->SetCameraPosition(JVector(0, 0, 8));
  own->SetOrthographic(true);
  ASSERT_EQ(own->Initialise(&r), status::Ok);
  ASSERT_EQ(r.GetViewCount(), 1);
  CameraView* view = r.GetView(0);
  EXPECT_EQ(own->GetView(), view);
  EXPECT_EQ(own->GetRenderPass()->GetPassView(), view);
  EXPECT_FALSE(view->perspective);
  EXPECT_FLOAT_EQ(view->eye[2], 8.0f);
  platform::RECT rect{10, 20, 330, 260};
  own->SetViewport(&rect);
  EXPECT_FLOAT_EQ(view->viewportWidth, 320.0f);
  EXPECT_FLOAT_EQ(view->viewportHeight, 240.0f);

  // A camera named by the service gives the pass its view; no own view is made.
  SpawnBaseCamera cameraSpawn;
  cEntity_Base* entity = nullptr;
  ASSERT_EQ(world.table.entityManager->CreateEntity(&cameraSpawn, &entity), status::Ok);
  auto* camera = dynamic_cast<cEntity_BaseCamera*>(entity);
  camera->SetName("Eye");
  camera->SetPosition(JVector(5, 5, 5));
  ASSERT_EQ(camera->AttachView(&r, &rect), status::Ok);
  ASSERT_EQ(r.GetViewCount(), 2);
  cRenderService* bound = Make("Bound");
  bound->SetCameraName("EYE");
  ASSERT_EQ(bound->Initialise(&r), status::Ok);
  EXPECT_EQ(bound->GetCamera(), camera);
  EXPECT_EQ(bound->GetView(), camera->GetView());
  EXPECT_EQ(bound->GetRenderPass()->GetPassView(), camera->GetView());
  EXPECT_EQ(r.GetViewCount(), 2);
  // A viewport goes to the camera.
  platform::RECT wide{0, 0, 1000, 500};
  bound->SetViewport(&wide);
  EXPECT_FLOAT_EQ(camera->GetView()->viewportWidth, 1000.0f);

  // Binding a camera later drops the own view from the renderer.
  own->SetCamera(camera);
  EXPECT_EQ(r.GetViewCount(), 1);
  EXPECT_EQ(own->GetRenderPass()->GetPassView(), camera->GetView());
}

// An item that draws a model tree.
struct Drawn : cRenderServiceItem {};

TEST_F(RenderServiceTest, ItemsAreDrawnOncePerFrameInOrderWithLightAndClears) {
  FakeCore3D& r = world.renderer;
  cRenderService* service = Make("Scene");
  service->SetAmbientLight(JVector(0.5f, 0.25f, 1.0f));
  service->SetFrameClear(true);
  service->SetPassDepthClear(true);
  ASSERT_EQ(service->Initialise(&r), status::Ok);

  cModelNode a;
  a.mesh = r.NewModel("a");
  JMath_MatrixTranslation(a.local, 1, 0, 0);
  cModelNode b;
  b.mesh = r.NewModel("b");
  Drawn first;
  Drawn second;
  Drawn hidden;
  ASSERT_EQ(first.SetModel(&a), status::Ok);
  ASSERT_EQ(second.SetModel(&b), status::Ok);
  ASSERT_EQ(hidden.SetModel(&a), status::Ok);
  hidden.SetVisible(false);
  EXPECT_EQ(first.SetModel(nullptr), status::Fail);
  ASSERT_EQ(service->AddItem(&first), status::Ok);
  ASSERT_EQ(service->AddItem(&hidden), status::Ok);
  ASSERT_EQ(service->AddItem(&second), status::Ok);
  EXPECT_EQ(service->AddItem(nullptr), status::Fail);
  EXPECT_EQ(second.GetListIndex(), 2);

  for (int frame = 1; frame <= 2; ++frame) {
    r.RunFrame();
    ASSERT_EQ(r.draws.size(), static_cast<size_t>(2 * frame));
    EXPECT_EQ(r.draws[r.draws.size() - 2].resource, a.mesh);
    EXPECT_EQ(r.draws[r.draws.size() - 1].resource, b.mesh);
    EXPECT_EQ(r.draws.back().pass, service->GetRenderPass());
  }
  EXPECT_FLOAT_EQ(r.draws[0].world.m[3][0], 1.0f);
  // Light colour every run of the pass, alpha 0.
  ASSERT_EQ(r.ambient.size(), 2u);
  EXPECT_EQ(r.ambient[0], (std::vector<float>{0.5f, 0.25f, 1.0f, 0.0f}));
  // Frame clear (colour) at the begin hook, pass clear (depth) at prepare.
  ASSERT_EQ(r.clears.size(), 4u);
  EXPECT_TRUE(r.clears[0].target);
  EXPECT_FALSE(r.clears[0].depth);
  EXPECT_FALSE(r.clears[1].target);
  EXPECT_TRUE(r.clears[1].depth);
  EXPECT_FLOAT_EQ(r.clears[1].depthValue, 1.0f);

  // Removing an item renumbers the later ones; an inactive service draws nothing.
  EXPECT_EQ(service->RemoveItem(&hidden), status::Ok);
  EXPECT_EQ(second.GetListIndex(), 1);
  service->SetActive(false);
  r.draws.clear();
  r.RunFrame();
  EXPECT_TRUE(r.draws.empty());

  // Fog set on the service's pass stays with the pass.
  C3DPass* pass = service->GetRenderPass();
  pass->EnableFog();
  pass->SetFogColour(0.1f, 0.2f, 0.3f);
  pass->SetFogDensity(0.02f);
  EXPECT_TRUE(r.Pass(pass->GetIndex())->fogOn);
  EXPECT_FLOAT_EQ(r.Pass(pass->GetIndex())->fogColour[2], 0.3f);
  EXPECT_FLOAT_EQ(r.Pass(pass->GetIndex())->fogDensity, 0.02f);
}

TEST_F(RenderServiceTest, ModelTreesPlaceChildrenAtFrames) {
  FakeCore3D& r = world.renderer;
  cRenderService* service = Make("Scene");
  ASSERT_EQ(service->Initialise(&r), status::Ok);
  // A root without a model: its children with models are drawn relative to
  // its world matrix; a child without a model is skipped with its subtree.
  cModelNode root;
  JMath_MatrixTranslation(root.local, 0, 10, 0);
  fake3d::FakeModel* body = r.NewModel("body");
  JMatrix frame2;
  JMath_MatrixTranslation(frame2, 0, 0, 3);
  body->anchors.push_back({2, frame2});
  cModelNode* child = root.AddChild(body, -1);
  child->AddChild(r.NewModel("wheel"), 2);
  cModelNode* empty = root.AddChild(nullptr, -1);
  empty->AddChild(r.NewModel("never"), -1);
  Drawn item;
  item.SetModel(&root);
  service->AddItem(&item);
  r.RunFrame();
  ASSERT_EQ(r.draws.size(), 2u);
  EXPECT_EQ(r.draws[0].resource->GetName(), "body");
  EXPECT_FLOAT_EQ(r.draws[0].world.m[3][1], 10.0f);
  EXPECT_EQ(r.draws[1].resource->GetName(), "wheel");
  EXPECT_FLOAT_EQ(r.draws[1].world.m[3][1], 10.0f);
  EXPECT_FLOAT_EQ(r.draws[1].world.m[3][2], 3.0f);
  // An invisible item draws nothing, children included.
  item.SetVisible(false);
  r.draws.clear();
  r.RunFrame();
  EXPECT_TRUE(r.draws.empty());
}

TEST_F(RenderServiceTest, PropertyStatements) {
  cRenderService* service = Make("Scene");
  ConfigParser* parser = world.config.GetParser();
  parser->SetTarget(&world.table);
  parser->SetCurrentObject(static_cast<cEntity_Base*>(service));
  struct Case {
    CStringArray tokens;
    CoreStatus result;
  };
  const Case cases[] = {
      {{"property", "CamPos", "1", "2", "3"}, status::Ok},
      {{"property", "camtarget", "4 5   6"}, status::Ok},
      {{"property", "CamUp", "0", "1"}, status::Fail},            // four tokens
      {{"property", "CamUp", "0 1"}, status::Fail},               // two numbers
      {{"property", "AmbientLight", "0.5", "0.5", "0.5", "9"}, status::Fail},
      {{"property", "FrameClear", "TRUE"}, status::Ok},
      {{"property", "PassClear", "1"}, status::Ok},
      {{"property", "PassZClear", "yes"}, status::Ok},
      {{"property", "Parent", "Sky"}, status::Ok},
      {{"property", "Colour", "1"}, status::Fail},
      {{"property", "Ortho"}, status::Fail},
  };
  for (const Case& c : cases) {
    CStringArray tokens = c.tokens;
    EXPECT_EQ(RenderServicePropCommand(tokens, parser), c.result) << c.tokens[1];
  }
  EXPECT_FLOAT_EQ(service->GetCameraPosition().z, 3.0f);
  EXPECT_FLOAT_EQ(service->GetCameraTarget().z, 6.0f);
  EXPECT_FLOAT_EQ(service->GetCameraUp().y, 1.0f);  // unchanged by the refused ones
  EXPECT_TRUE(service->GetFrameClear());
  EXPECT_TRUE(service->GetPassClear());
  EXPECT_FALSE(service->GetPassDepthClear());
  EXPECT_EQ(service->GetParentName(), "Sky");
  // Not a configuration reader, or no render service as current object.
  CoreParser plain;
  CStringArray tokens{"property", "FrameClear", "1"};
  EXPECT_EQ(RenderServicePropCommand(tokens, &plain), status::Fail);
  parser->SetCurrentObject(&plain);  // a pointer the entity manager does not hold
  EXPECT_EQ(RenderServicePropCommand(tokens, parser), status::Fail);
  parser->SetCurrentObject(nullptr);
}

}  // namespace
