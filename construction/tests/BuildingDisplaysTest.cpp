#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/tests/BuildingWorld.h"
#include "simulation/StatManager.h"

using namespace buildtest;

namespace {

// A material whose second layer tells the tint.
class TintShader : public fake3d::FakePageShader {
 public:
  TintShader() : fake3d::FakePageShader(nullptr, 8, "tint") {}
  bool EnableLayer(int32_t index) override {
    if (index == 1) layerOne = 1;
    return true;
  }
  bool DisableLayer(int32_t index) override {
    if (index == 1) layerOne = 0;
    return true;
  }
  int layerOne = -1;
};

using Kind = cEntity_BuildingManager::IconKind;

}  // namespace

TEST(BuildingDisplays, TheIconStandsAboveTheTurnedFootprintCentre) {
  struct Case {
    const char* name;
    uint8_t rotation;
    int sx;  // signs and order of (cx, cy) in x and z
    int sz;
    bool swap;
  };
  const Case cases[] = {
      {"rotation 0", 0, 1, 1, false},
      {"rotation 1", 1, 1, -1, true},
      {"rotation 2", 2, -1, -1, false},
      {"rotation 3", 3, -1, 1, true},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    auto* type = w.manager.Define(kClass_Building, "Hall", 1, 5, 3);
    const float cx = type->GetCentreX(), cy = type->GetCentreY();
    ASSERT_EQ(cx, 2.0f);
    ASSERT_EQ(cy, 1.0f);
    BOInstance* b = w.Build(type, 20, 20, c.rotation);
    ASSERT_NE(b, nullptr) << c.name;
    const float s = w.roads.world.plot.GetViewCellSize();
    const float ex = c.sx * (c.swap ? cy : cx) * s;
    const float ez = c.sz * (c.swap ? cx : cy) * s;
    EXPECT_NEAR(b->iconMatrix.m[3][0] - b->world.m[3][0], ex, 1e-4) << c.name;
    EXPECT_NEAR(b->iconMatrix.m[3][1] - b->world.m[3][1], type->GetIconHeight() + 0.6f, 1e-4) << c.name;
    EXPECT_NEAR(b->iconMatrix.m[3][2] - b->world.m[3][2], ez, 1e-4) << c.name;
  }
}

TEST(BuildingDisplays, IconsSpinByTheAnimationTimeWithoutMoving) {
  BuildingWorld w;
  BOInstance* b = w.Build(w.manager.Define(kClass_Building, "Hall", 1), 20, 20);
  const JMatrix still = b->iconMatrix;
  w.Clock().SetSpeed(4);
  w.Event(kTimeEvent_Tick, 2.0f);  // 0.5 s of real time
  w.Event(kTimeEvent_Tick, 0.0f);  // a paused tick does nothing
  EXPECT_FLOAT_EQ(w.manager.timeAccumulator, 0.5f);
  EXPECT_NEAR(b->iconMatrix.m[0][0], std::cos(0.5f), 1e-5);
  EXPECT_NEAR(std::fabs(b->iconMatrix.m[0][2]), std::sin(0.5f), 1e-5);
  for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(b->iconMatrix.m[3][i], still.m[3][i]);
}

TEST(BuildingDisplays, AtMostOneTroubleDisplayAndNoneWhileUnderConstruction) {
  BuildingWorld w;
  w.roads.world.config.SetValue("App", "Particles", "FALSE");
  auto* type = w.manager.Define(kClass_Building, "Hall", 1, 1, 1);
  BOInstance* building = w.Build(type, 1, 1);
  w.manager.UpdateInstanceParticles(building, true);
  w.manager.UpdateInstanceBreakdownIcon(building, true);
  w.manager.SetMadEmployeeIcon(building, true);
  for (uint32_t kind = 1; kind < kStatusGroupCount; ++kind) EXPECT_TRUE(w.manager.statusGroups[kind].empty());

  w.FinishConstruction();
  w.manager.UpdateInstanceParticles(building, true);
  EXPECT_TRUE(w.Listed(Kind::kIcon_Fire, building));
  EXPECT_EQ(building->onFire, 0);  // the icon, not the particles
  w.manager.UpdateInstanceBreakdownIcon(building, true);
  EXPECT_FALSE(w.Listed(Kind::kIcon_Fire, building));
  EXPECT_TRUE(w.Listed(Kind::kIcon_Breakdown, building));
  w.manager.UpdateInstanceBreakdownIcon(building, true);
  EXPECT_EQ(w.manager.statusGroups[Kind::kIcon_Breakdown].size(), 1u);
  w.manager.SetMadEmployeeIcon(building, true);
  EXPECT_FALSE(w.Listed(Kind::kIcon_Breakdown, building));
  w.manager.UpdateInstanceParticles(building, false);  // off leaves the others
  EXPECT_TRUE(w.Listed(Kind::kIcon_Discontent, building));
}

TEST(BuildingDisplays, TheParticlesSettingChoosesFireEffectOrIcon) {
  struct Case {
    const char* value;
    bool particles;
  };
  const Case cases[] = {{"true", true}, {"TRUE", true}, {"FALSE", false}, {"icons", false}};
  for (const Case& c : cases) {
    BuildingWorld w;
    w.roads.world.config.SetValue("App", "Particles", c.value);
    BOInstance* b = w.BuildFinished(w.manager.Define(kClass_Building, "Hall", 1, 1, 1), 1, 1);
    w.manager.UpdateInstanceParticles(b, true);
    EXPECT_EQ(b->onFire != 0, c.particles) << c.value;
    EXPECT_EQ(w.Listed(Kind::kIcon_Fire, b), !c.particles) << c.value;
    w.manager.UpdateInstanceParticles(b, false);
    EXPECT_EQ(b->onFire, 0) << c.value;
    EXPECT_FALSE(w.Listed(Kind::kIcon_Fire, b)) << c.value;
  }
}

TEST(BuildingDisplays, BuildingsOfOneTypeShareOneDefaultAnimation) {
  // The test keeps the model: a release without a renderer does not free.
  auto owned = std::make_unique<PlayRecordingModel>();
  PlayRecordingModel* model = owned.get();
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Mill", 1, 1, 1);
  type->SetModelObject(model);
  BOInstance* a = w.Build(type, 1, 1);
  BOInstance* b = w.Build(type, 3, 1);
  ASSERT_EQ(w.manager.modelUses.size(), 1u);
  EXPECT_EQ(w.manager.modelUses[0].count, 2);
  EXPECT_EQ(w.manager.modelUses[0].animation, 1);
  EXPECT_EQ(model->played, (std::vector<int32_t>{1, 1}));
  EXPECT_TRUE(model->looping);
  w.Clock().SetSpeed(2);
  w.Event(kTimeEvent_Tick, 0.5f);
  ASSERT_EQ(model->advanced.size(), 1u);  // once per type, not per building
  EXPECT_EQ(model->advanced[0].first, 1);
  EXPECT_FLOAT_EQ(model->advanced[0].second, 0.25f);
  w.manager.RemoveInstance(a);
  ASSERT_EQ(w.manager.modelUses.size(), 1u);
  EXPECT_EQ(w.manager.modelUses[0].count, 1);
  w.manager.RemoveInstance(b);
  EXPECT_TRUE(w.manager.modelUses.empty());

  auto* plain = w.manager.Define(kClass_Building, "Plain", 1, 1, 1);
  w.Build(plain, 5, 5);
  EXPECT_TRUE(w.manager.modelUses.empty());
}

TEST(BuildingDisplays, ThePreviewIsTintedInvalidWhereItCannotStandOrBePaid) {
  struct Case {
    const char* name;
    int32_t x;
    int32_t y;
    double cash;
    bool valid;
  };
  const Case cases[] = {
      {"free land, enough cash", 10, 10, 1000.0, true},
      {"price equal to cash", 10, 10, 500.0, true},
      {"valid place, too little cash", 10, 10, 499.0, false},
      {"off the plot", 63, 10, 1000.0, false},
      {"its own place", -1, -1, 1000.0, true},
  };
  for (const Case& c : cases) {
    TintShader shader;
    auto owned = std::make_unique<fake3d::FakeModel>(nullptr, 0, "preview");
    fake3d::FakeModel* preview = owned.get();
    BuildingWorld w;
    auto* type = w.manager.Define(kClass_Building, "Hall", 1, 2, 2);
    type->SetBuildCost(500.0f);
    preview->SetShader(0, &shader);
    type->SetThumbnailObject(preview);
    BOInstance* object = w.manager.SelectBuildingType(kClass_Building, type->GetId(), 1);
    w.manager.SetPlacementPosition(object, 5, 5);
    w.manager.SetPlacementObject(object, true);
    w.roads.SetCash(c.cash);
    EXPECT_EQ(w.manager.UpdatePlacementTint(c.x, c.y), c.valid) << c.name;
    EXPECT_EQ(shader.layerOne, c.valid ? 0 : 1) << c.name;
    w.manager.SetPlacementObject(nullptr, true);
  }
}
