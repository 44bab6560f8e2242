// Prepared saves: new games built by the game on the run tree and saved,
// then loaded back the way the load menu loads a save. The game opens some
// of its files by name, so each test runs in the run tree's data folder, as
// the program and the build's savetool step do.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/world/KV9GameScenario.h"
#include "game/world/SaveGameFile.h"
#include "platform/tests/ScratchDir.h"
#include "tools/savetool/PreparedSaves.h"

namespace {

const std::string kRunTree = RUN_TREE_DIR;

class PreparedSavesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code error;
    previous_ = std::filesystem::current_path(error);
    std::filesystem::current_path(kRunTree + "/data", error);
    ASSERT_FALSE(error) << "no run tree at " << kRunTree;
    ASSERT_TRUE(saves.Start()) << saves.Failure();
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }

  // The record of the location of that name, or null.
  const _LocationRecord* Location(const std::string& name) {
    for (const auto& record : saves.Scenario()->GetLocations())
      if (record->name == name) return record.get();
    return nullptr;
  }

  // The loaded game stands on `location`: its name, its terrain seed and a
  // generated height field.
  void ExpectGameOn(const std::string& location) {
    cKV9_GameScenario* scenario = saves.Scenario();
    const _LocationRecord* record = Location(location);
    ASSERT_NE(record, nullptr) << location;
    EXPECT_EQ(scenario->GetLocationName(), location);
    EXPECT_EQ(scenario->GetTerrainParams().seed, record->seed) << location;
    EXPECT_NE(scenario->GetHeights(), nullptr) << location;
  }

  PreparedSaves saves{kRunTree};
  std::filesystem::path previous_;
};

// The saves the build put into the run tree load as the load menu loads
// them, each on the location it was made on.
TEST_F(PreparedSavesTest, TheBuiltSavesLoadOnTheirLocations) {
  struct Case {
    const char* save;
    const char* location;
  };
  const Case cases[] = {{"lindholm.kv9", "Lindholm"}, {"kasumbe.kv9", "Kasumbe"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.save);
    ASSERT_TRUE(std::filesystem::exists(kRunTree + "/data/Save/Normal/" + c.save)) << "the build made no " << c.save;
    ASSERT_TRUE(saves.Load(c.save)) << saves.Failure();
    ExpectGameOn(c.location);
  }
}

// New games saved into a scratch save folder load back on their own
// location even after another world was built over them; every manager's
// record is in the file.
TEST_F(PreparedSavesTest, NewGamesSaveAndLoadBackOnTheirLocations) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.Root() / "Normal");
  saves.SetSaveDirectory(dir.Root().string() + "/");
  ASSERT_TRUE(saves.SaveNewGame("Sarivan", "first.kv9")) << saves.Failure();
  ASSERT_TRUE(saves.SaveNewGame("harrow BAY", "second.kv9")) << saves.Failure() << " (any letter case)";

  SaveFileImage image;
  ScenarioRecord record;
  std::string why;
  ASSERT_TRUE(saves.Scenario()->ReadSaveFile(dir.File("Normal/first.kv9"), &image, &record, &why)) << why;
  EXPECT_EQ(record.locationName, "Sarivan");
  for (int number : {4, 5, 6, 7, 9, 12, 13}) EXPECT_GT(image.RecordSize(number), 0u) << "record " << number;

  ASSERT_TRUE(saves.Load("first.kv9")) << saves.Failure();
  ExpectGameOn("Sarivan");
  ASSERT_TRUE(saves.Load("second.kv9")) << saves.Failure();
  ExpectGameOn("Harrow Bay");
}

// An unknown location or an unsafe save name writes nothing and says why; a
// missing save does not load and leaves the game as it was.
TEST_F(PreparedSavesTest, BadRequestsWriteNothingAndSayWhy) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.Root() / "Normal");
  saves.SetSaveDirectory(dir.Root().string() + "/");
  struct Case {
    const char* name;
    const char* location;
    const char* save;
    const char* why;
  };
  const Case cases[] = {
      {"unknown location", "Atlantis", "atlantis.kv9", "no location \"Atlantis\""},
      {"path in the save name", "Lindholm", "../escape.kv9", "could not be saved"},
      {"empty save name", "Lindholm", "", "could not be saved"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(saves.SaveNewGame(c.location, c.save));
    EXPECT_NE(saves.Failure().find(c.why), std::string::npos) << saves.Failure();
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Root() / "Normal"));
  EXPECT_FALSE(std::filesystem::exists(dir.Root() / "escape.kv9"));

  ASSERT_TRUE(saves.SaveNewGame("Takamori", "kept.kv9")) << saves.Failure();
  EXPECT_FALSE(saves.Load("missing.kv9"));
  ExpectGameOn("Takamori");
}

}  // namespace
