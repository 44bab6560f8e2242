#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/Facilities.h"
#include "construction/tests/BoxRecorder.h"
#include "construction/tests/TestBuildingManager.h"
#include "platform/MessageBox.h"
#include "simulation/tests/kit/KitRecorders.h"

namespace {

using buildtest::BoxRecorder;
using buildtest::TestBuildingManager;

TEST(OidTest, FieldsPackFromTheLowBitUp) {
  const OID word = MakeOid(11, 8190, 7, 6, 511);
  EXPECT_EQ(OidClass(word), 11);
  EXPECT_EQ(OidId(word), 8190);
  EXPECT_EQ(OidLevel(word), 7);
  EXPECT_EQ(OidCategory(word), 6);
  EXPECT_EQ(OidSerial(word), 511);
  EXPECT_EQ(MakeOid(5, 1, 2, 3, 4), 5u | (1u << 4) | (2u << 17) | (3u << 20) | (4u << 23));
  // The category is not part of a building's identity.
  EXPECT_TRUE(SameBuilding(MakeOid(5, 1, 2, 0, 9), MakeOid(5, 1, 2, 6, 9)));
  EXPECT_FALSE(SameBuilding(MakeOid(5, 1, 2, 0, 9), MakeOid(5, 1, 2, 0, 10)));
  EXPECT_TRUE(SameType(MakeOid(5, 1, 2, 0, 9), MakeOid(5, 1, 2, 0, 10)));
}

TEST(BuildingTypeTest, FootprintTurnsByQuarterTurns) {
  struct Case {
    const char* name;
    uint8_t rotation;
    FootprintRect expected;
  };
  const Case cases[] = {
      {"rotation 0 unchanged", 0, {0, 0, 2, 3}},
      {"rotation 1", 1, {0, -1, 3, 2}},
      {"rotation 2", 2, {-1, -2, 2, 3}},
      {"rotation 3", 3, {-2, 0, 3, 2}},
      {"rotation 4 leaves the copy", 4, {0, 0, 2, 3}},
  };
  TestBuildingManager manager(nullptr);
  cBuilding* type = manager.Define(kClass_Building, "Block", 1, 2, 3);
  ASSERT_NE(type, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BOInstance instance;
    instance.rotation = c.rotation;
    uint8_t count = 0;
    FootprintRect* rects = nullptr;
    type->GetFootprintCellArray(&instance, &count, &rects);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(rects[0].x, c.expected.x);
    EXPECT_EQ(rects[0].y, c.expected.y);
    EXPECT_EQ(rects[0].w, c.expected.w);
    EXPECT_EQ(rects[0].l, c.expected.l);
    delete[] rects;
  }
  EXPECT_EQ(type->GetWidthRotated(1), 3);
  EXPECT_EQ(type->GetLengthRotated(1), 2);
  EXPECT_EQ(type->GetWidthRotated(2), 2);
}

TEST(BuildingTypeTest, BoundsFromRectanglesAndWithoutThem) {
  TestBuildingManager manager(nullptr);
  cBuildableObject type(&manager);
  std::unique_ptr<FootprintRect[]> rects(new FootprintRect[2]);
  rects[0] = FootprintRect{-2, -1, 3, 2};
  rects[1] = FootprintRect{1, 0, 2, 4};
  type.SetRects(2, std::move(rects));
  type.UpdateFootprintBounds();
  EXPECT_EQ(type.GetWidth(), 5);   // -2 .. 3
  EXPECT_EQ(type.GetLength(), 5);  // -1 .. 4
  EXPECT_EQ(type.GetCentreX(), 0);
  EXPECT_EQ(type.GetCentreY(), 1);

  // No footprint: width and length stay, the centre is their half.
  cBuildableObject bare(&manager);
  bare.SetWidth(6);
  bare.SetLength(3);
  bare.UpdateFootprintBounds();
  EXPECT_EQ(bare.GetWidth(), 6);
  EXPECT_EQ(bare.GetLength(), 3);
  EXPECT_EQ(bare.GetCentreX(), 3);
  EXPECT_EQ(bare.GetCentreY(), 1);

  cBuildableObject road(&manager);
  road.SetClass(kClass_Road);
  road.UpdateFootprintBounds();
  EXPECT_FLOAT_EQ(road.GetIconHeight(), 0.4f);
}

TEST(BuildingTypeTest, RequirementsByKeywordAndIndex) {
  cBuildableObject type;
  type.AddRequirement("SAFETY");
  type.AddRequirement("Weather");
  type.AddRequirement("popularity");  // not a requirement keyword
  ASSERT_EQ(type.GetRequirementCount(), 2u);
  EXPECT_EQ(type.GetRequirementCode(0), 1u);
  EXPECT_EQ(type.GetRequirementCode(1), 8u);
  EXPECT_EQ(type.GetRequirementCode(5), 0xFFFFFFFFu);
  type.SetRequirementValue(1, 2.5f);
  type.SetRequirementValue(-1, 9.0f);
  type.SetRequirementValue(2, 9.0f);
  EXPECT_FLOAT_EQ(type.GetRequirementValue(1), 2.5f);
  EXPECT_FLOAT_EQ(type.GetRequirementValue(0), 0.0f);
  EXPECT_FLOAT_EQ(type.GetRequirementValue(-1), 0.0f);
}

TEST(BuildingTypeTest, OutOfRangeIdentityRaisesAnErrorAndIsHeld) {
  BoxRecorder boxes;
  TestBuildingManager manager(nullptr);
  auto* type = new cBuilding(&manager);
  type->SetName("Big");
  type->SetId(9000);
  type->SetLevel(8);
  type->SetCategory(7);
  EXPECT_EQ(type->GetId(), kInvalidTypeId);
  EXPECT_EQ(type->GetLevel(), 7);
  EXPECT_EQ(type->GetCategory(), 6);
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(boxes.boxes[0].rfind("Error: You have too many buildings", 0), 0u);
  EXPECT_NE(boxes.boxes[1].find("The building Big has an invalid level specified (8)."), std::string::npos);
  EXPECT_NE(boxes.boxes[2].find("The building Big has an invalid category specified."), std::string::npos);
  // Every such type would collide on id 8191: none is registered.
  EXPECT_FALSE(manager.RegisterType(type));
  delete type;
}

TEST(BuildingTypeTest, FacilityValuesKeepTheCallersBits) {
  cTerminal terminal;
  terminal.SetValueA(std::bit_cast<int32_t>(2.75f));
  EXPECT_FLOAT_EQ(terminal.GetValueA(), 2.75f);
  cAmenity amenity;
  amenity.SetValueC(std::bit_cast<int32_t>(-1.5f));
  EXPECT_FLOAT_EQ(amenity.GetValueC(), -1.5f);
  cOrganizationalFacility tower;
  tower.SetValueA(std::bit_cast<int32_t>(0.125f));
  tower.SetValueC(7);
  EXPECT_FLOAT_EQ(tower.GetValueA(), 0.125f);
  EXPECT_EQ(tower.GetValueC(), 7);
}

TEST(BuildingTypeTest, EachClassCreatesItsInstanceKind) {
  TestBuildingManager manager(nullptr);
  struct Case {
    const char* name;
    cBuildableObject* type;
    bool (*isKind)(BOInstance*);
  };
  const Case cases[] = {
      {"object", manager.Define<cBuildableObject>(kClass_Object, "Tree", 0),
       [](BOInstance* i) { return typeid(*i) == typeid(BOInstance); }},
      {"terminal", manager.Define<cTerminal>(kClass_Terminal, "Terminal A", 1),
       [](BOInstance* i) { return dynamic_cast<TerminalInstance*>(i) != nullptr; }},
      {"storage", manager.Define<cStorageFacility>(kClass_Storage, "Cargo", 1),
       [](BOInstance* i) { return dynamic_cast<StorageInstance*>(i) != nullptr; }},
      {"runway", manager.Define<cRunway>(kClass_Runway, "Strip", 1),
       [](BOInstance* i) { return dynamic_cast<RunwayInstance*>(i) != nullptr; }},
      {"organizational", manager.Define<cOrganizationalFacility>(kClass_Organizational, "Control Tower", 1),
       [](BOInstance* i) { return dynamic_cast<OrgInstance*>(i) != nullptr; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.type, nullptr);
    std::unique_ptr<BOInstance> instance(c.type->CreateInstance());
    EXPECT_TRUE(c.isKind(instance.get()));
    EXPECT_EQ(instance->GetType(), c.type);
    EXPECT_EQ(instance->word, c.type->GetTypeWord());
    EXPECT_EQ(instance->condition, c.type->GetLevel() * 10);
  }
}

TEST(BuildingTypeTest, ReserveInstanceSerialSkipsTakenSerialsAndWraps) {
  simkit::RecordingWidgets widgets;
  TestBuildingManager manager(nullptr);
  cBuilding* type = manager.Define(kClass_Building, "Shed", 1);
  for (int i = 0; i < 3; ++i) manager.Place(type, 0, 0);  // serials 0, 1, 2
  type->SetSerial(1);
  EXPECT_TRUE(type->ReserveInstanceSerial());
  EXPECT_EQ(OidSerial(type->GetTypeWord()), 3);

  // Up to 512 placed buildings each get their own serial; the 513th finds
  // none free and shows the zoning dialog.
  for (int i = 3; i < 512; ++i) manager.Place(type, 0, 0);
  std::vector<bool> seen(512, false);
  for (BOInstance* instance : type->PlacedInstances()) {
    EXPECT_FALSE(seen[OidSerial(instance->word)]);
    seen[OidSerial(instance->word)] = true;
  }
  EXPECT_FALSE(type->ReserveInstanceSerial());
  EXPECT_TRUE(widgets.visibleScenes["scnZoningDialog"]);
}

TEST(BuildingTypeTest, AvailabilityNoticesAtFirstAndLastOperatingInstance) {
  TestBuildingManager manager(nullptr);
  cBuilding* type = manager.Define(kClass_Building, "Office", 1);
  BOInstance* a = manager.Place(type, 0, 0);
  BOInstance* b = manager.Place(type, 4, 0);
  struct Step {
    const char* name;
    BOInstance* instance;
    bool add;
    size_t notices;
  };
  const Step steps[] = {
      {"first becomes available", a, true, 1},
      {"second changes nothing", b, true, 1},
      {"one of two leaves", a, false, 1},
      {"last leaves: unavailable", b, false, 2},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    if (s.add) {
      type->AddOperatingInstance(s.instance);
    } else {
      type->RemoveOperatingInstance(s.instance);
    }
    EXPECT_EQ(manager.notices.size(), s.notices);
  }
  EXPECT_TRUE(manager.notices[0].second);
  EXPECT_FALSE(manager.notices[1].second);
  EXPECT_EQ(type->GetOperatingInstanceCount(), 0u);
}

TEST(BuildingTypeTest, RemoveInstanceKeepsOrderAndIgnoresStrangers) {
  TestBuildingManager manager(nullptr);
  cBuilding* type = manager.Define(kClass_Building, "Office", 1);
  BOInstance* a = manager.Place(type, 0, 0);
  BOInstance* b = manager.Place(type, 2, 0);
  BOInstance* c = manager.Place(type, 4, 0);
  b->RefreshFunctional();  // no road access: functional
  ASSERT_EQ(type->GetOperatingInstanceCount(), 1u);
  BOInstance stranger;
  type->RemoveInstance(&stranger);
  EXPECT_EQ(type->GetInstanceCount(), 3u);
  type->RemoveInstance(b);
  EXPECT_EQ(type->GetInstanceCount(), 2u);
  EXPECT_EQ(type->GetInstance(0), a);
  EXPECT_EQ(type->GetInstance(1), c);
  EXPECT_EQ(type->GetOperatingInstanceCount(), 0u);
  delete b;
}

}  // namespace
