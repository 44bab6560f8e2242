#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "construction/BuildingManager.h"
#include "construction/BuildingManagerSpawn.h"

TEST(BuildingManagerSpawn, CarriesTheManagersSpawnNameAndMakesOnlyAWholeManager) {
  SpawnBuildingManager spawn;
  EXPECT_EQ(spawn.GetName(), "SPN::KV9:BUILDINGMANAGER");
  std::unique_ptr<cEntity_Base> made(spawn.Create(0, 0, nullptr, ""));
  if (std::is_abstract_v<cEntity_BuildingManager>) {
    EXPECT_EQ(made, nullptr);
  } else {
    ASSERT_NE(made, nullptr);
    EXPECT_NE(dynamic_cast<cEntity_BuildingManager*>(made.get()), nullptr);
  }
}
