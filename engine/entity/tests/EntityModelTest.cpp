#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/entity/EntityModel.h"
#include "engine/entity/tests/EntityTestUtil.h"
#include "engine/services/tests/FakeCore3D.h"

namespace {

using enttest::LoadText;
using fake3d::FakeCore3D;
using fake3d::FakeModel;
using fake3d::Request;

const char* const kModels =
    "OBJECT Tower\n{\n\tset Model \"tower.SSM\"\n\tset Unique \"TRUE\"\n\tset Pivot \"3\"\n"
    "\tset Position \"12.7,5\"\n\tOBJECT On\n\t{\n\t\tset EntInit \"Play tower up\"\n\t}\n}\n"
    "OBJECT Shared\n{\n\tset Model \"hangar.ssm\"\n\tset Position \"7\"\n}\n"
    "OBJECT Icon\n{\n\tset Model \"icon.TGA\"\n}\n"
    "OBJECT Frames\n{\n\tset Model0 \"a.ssm\"\n\tset Model2 \"c.ssm\"\n}\n"
    "OBJECT Mixed\n{\n\tset Model0 \"a.ssm\"\n\tset Model1 \"b.jpg\"\n\tset Model2 \"notes.txt\"\n"
    "\tset Model3 \"gone.ssm\"\n\tset Model4 \"m.jsm\"\n}\n"
    "OBJECT Bare\n{\n}\n";

class ModelSpawn : public cSpawn_Base {
 public:
  ModelSpawn() : cSpawn_Base("SPN::TEST:MODEL") {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new cEntity_BaseModel(creator);
  }
};

class EntityModelTest : public ::testing::Test {
 protected:
  enttest::World world;
  ObjectDefStore store;
  ObjectDef* root = nullptr;
  FakeCore3D renderer;

  void SetUp() override {
    root = LoadText(store, "models.def", kModels);
    world.manager->SetResourcePath("Data\\");
  }
  cEntity_BaseModel* Made(const char* name) {
    auto* e = new cEntity_BaseModel(world.manager.get());
    EXPECT_TRUE(e->Init(root->children.FindChildObject(name))) << name;
    owned.emplace_back(e);
    return e;
  }
  std::vector<std::unique_ptr<cEntity_BaseModel>> owned;
};

TEST_F(EntityModelTest, SettingsAreReadAndTheModelLoadsWithThePathInFront) {
  cEntity_BaseModel* tower = Made("Tower");
  EXPECT_EQ(tower->GetName(), "Tower");
  EXPECT_EQ(world.journal.calls.size(), 1u);  // "EntInit" of the base
  EXPECT_EQ(tower->GetPositionX(), 12.0f);    // fractions cut off
  EXPECT_EQ(tower->GetPositionY(), 5.0f);
  EXPECT_TRUE(tower->IsUnique());
  EXPECT_EQ(tower->GetPivot(), 3);
  EXPECT_TRUE(renderer.requests.empty());  // Init loads nothing

  ASSERT_EQ(tower->SetModel(&renderer), status::Ok);
  EXPECT_EQ(renderer.requests, (std::vector<Request>{{"model", 0x40, "Data\\tower.SSM"}}));
  ASSERT_EQ(renderer.models.size(), 1u);
  EXPECT_EQ(tower->GetCurrentModel(), renderer.LastModel());
  EXPECT_EQ(renderer.LastModel()->log, std::vector<std::string>{"anchor 3"});
  EXPECT_EQ(*tower->GetModelName(0), "Data\\tower.SSM");
  EXPECT_EQ(tower->GetModelName(1), nullptr);

  cEntity_BaseModel* shared = Made("Shared");
  EXPECT_EQ(shared->GetPositionX(), 7.0f);
  EXPECT_EQ(shared->GetPositionY(), 0.0f);  // no second number: Y stays
  EXPECT_FALSE(shared->IsUnique());
  shared->SetModel(&renderer);
  EXPECT_EQ(renderer.requests.back(), (Request{"model", 0, "Data\\hangar.ssm"}));
}

TEST_F(EntityModelTest, ImageFilesShowOnThePlaneWithTheirOwnShader) {
  cEntity_BaseModel* icon = Made("Icon");
  ASSERT_EQ(icon->SetModel(&renderer), status::Ok);
  EXPECT_EQ(renderer.requests, (std::vector<Request>{{"model", 0x60, "polymesh_planeUL_cursor"},
                                                     {"shader", 8, "Data\\icon.TGA"}}));
  FakeModel* plane = renderer.LastModel();
  ASSERT_NE(plane, nullptr);
  EXPECT_EQ(plane->log,
            (std::vector<std::string>{"extent 0 1.000000 1.000000", "shader 0 Data\\icon.TGA", "anchor 0"}));
  EXPECT_EQ(icon->GetCurrentModel(), plane);
}

TEST_F(EntityModelTest, NumberedNamesStopAtTheFirstGap) {
  cEntity_BaseModel* frames = Made("Frames");
  EXPECT_EQ(frames->GetModelNameCount(), 1u);
  EXPECT_EQ(*frames->GetModelName(0), "a.ssm");
}

TEST_F(EntityModelTest, UnloadableNamesLeaveNullEntriesAndSelectionIsChecked) {
  renderer.refused = {"Data\\gone.ssm", "Data\\m.jsm"};
  cEntity_BaseModel* mixed = Made("Mixed");
  ASSERT_EQ(mixed->SetModel(&renderer), status::Ok);
  ASSERT_EQ(mixed->GetLoadedCount(), 5);
  EXPECT_NE(mixed->GetLoadedModel(0), nullptr);
  EXPECT_NE(mixed->GetLoadedModel(1), nullptr);  // jpg plane
  EXPECT_EQ(mixed->GetLoadedModel(2), nullptr);  // unknown extension: never asked
  EXPECT_EQ(mixed->GetLoadedModel(3), nullptr);  // refused
  // A refused shader leaves the plane without one.
  ASSERT_NE(mixed->GetLoadedModel(4), nullptr);
  EXPECT_EQ(static_cast<FakeModel*>(mixed->GetLoadedModel(4))->shader, nullptr);
  EXPECT_EQ(renderer.requests.size(), 6u);

  EXPECT_EQ(mixed->SelectModel(3), status::Ok);
  EXPECT_EQ(mixed->GetCurrentModel(), nullptr);
  EXPECT_EQ(mixed->SelectModel(1), status::Ok);
  for (int32_t bad : {-1, 5, 100}) {
    EXPECT_EQ(mixed->SelectModel(bad), status::Fail);
    EXPECT_EQ(mixed->GetModelIndex(), 1);
    EXPECT_EQ(mixed->GetCurrentModel(), mixed->GetLoadedModel(1));
  }
}

TEST_F(EntityModelTest, NamesAndModelsLoadOnlyOnce) {
  cEntity_BaseModel* bare = Made("Bare");
  EXPECT_EQ(bare->SetModel(&renderer), status::Fail);  // no names
  EXPECT_EQ(bare->SetModelName(nullptr, "x.ssm"), status::Fail);  // no renderer: names kept, nothing loaded
  EXPECT_EQ(bare->GetModelNameCount(), 1u);
  EXPECT_EQ(bare->SetModelNames(&renderer, {"y.ssm"}), status::Fail);  // names already set
  EXPECT_EQ(bare->SetModel(&renderer), status::Ok);
  EXPECT_EQ(bare->SetModel(&renderer), status::Fail);
  EXPECT_EQ(bare->SetModelName(&renderer, "z.ssm"), status::Fail);
  EXPECT_EQ(renderer.models.size(), 1u);

  auto direct = std::make_unique<cEntity_BaseModel>(world.manager.get());
  EXPECT_EQ(direct->SetModelNames(&renderer, {"one.ssm", "two.bmp"}), status::Ok);
  EXPECT_EQ(direct->GetLoadedCount(), 2);
  EXPECT_EQ(renderer.requests.back(), (Request{"shader", 8, "Data\\two.bmp"}));
}

TEST_F(EntityModelTest, DestructionReleasesEachLoadedModelOnce) {
  renderer.refused = {"Data\\gone.ssm"};
  {
    cEntity_Base* spawned = nullptr;
    ModelSpawn spawn;
    world.factory.RegisterSpawn(&spawn);
    ObjectDef* def = root->children.FindChildObject("Mixed");
    def->SetValue("spawn", "spn::test:model");
    ASSERT_EQ(world.manager->SpawnFromObjectDef(def, &spawned), status::Ok);
    auto* mixed = dynamic_cast<cEntity_BaseModel*>(spawned);
    ASSERT_NE(mixed, nullptr);
    ASSERT_EQ(mixed->SetModel(&renderer), status::Ok);
    for (auto& m : renderer.models) EXPECT_EQ(m->GetRefCount(), 1);
    mixed->MarkForRemoval();
    world.manager->Update(0.0f);
    world.factory.UnregisterSpawn(&spawn);
  }
  ASSERT_EQ(renderer.models.size(), 3u);
  for (auto& m : renderer.models) EXPECT_EQ(m->GetRefCount(), 0) << m->GetName();
}

}  // namespace

namespace {

TEST(EntityModelSettings, MalformedSettingsKeepDefaultsAndNeverCrash) {
  struct Case {
    const char* position;
    const char* pivot;
    float x;
    float y;
    int32_t pivotValue;
  };
  const Case cases[] = {
      {"abc", "", 0, 0, 0},
      {",", "x", 0, 0, 0},
      {"-3,-4", "-1", -3, -4, -1},
      {"99999999999999,1", "99999999999", 2147483647.0f, 1, 2147483647},
      {"1,2,3", "7junk", 1, 2, 7},
      {"\x01\xff,\x80", "\xfe", 0, 0, 0},
      {"", "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    ObjectDef def;
    def.name = "Odd";
    if (*c.position) def.SetValue("Position", c.position);
    if (*c.pivot) def.SetValue("Pivot", c.pivot);
    def.SetValue("Model", "x");  // too short for an extension
    cEntity_BaseModel entity(nullptr);
    ASSERT_TRUE(entity.Init(&def)) << c.position;
    EXPECT_EQ(entity.GetPositionX(), c.x) << c.position;
    EXPECT_EQ(entity.GetPositionY(), c.y) << c.position;
    EXPECT_EQ(entity.GetPositionZ(), 0.0f);
    EXPECT_EQ(entity.GetPivot(), c.pivotValue) << c.pivot;
    FakeCore3D renderer;
    EXPECT_EQ(entity.SetModel(&renderer), status::Ok);
    EXPECT_EQ(entity.GetCurrentModel(), nullptr);
    EXPECT_TRUE(renderer.requests.empty());
  }
}

}  // namespace
