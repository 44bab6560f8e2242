#include "game/world/KV9GameScenario.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "engine/files/Serializer.h"
#include "game/world/tests/FakeScenarioHost.h"
#include "platform/tests/ScratchDir.h"

namespace {

const char* kCoast =
    "name = Gull Point\ncontinent = 4\npopulation = 500000\nland_price = 30000\nseed = 77\n"
    "corner_seeds = <0.3, 0.5, 0.4, 0.6>\nhazards = <1, 0, 0, 1>\nplot_texture = plot.tga\n"
    "terrain_textures = <a.tga, b.tga>\nmusic = Music\\gulls.wav\nsoundloop = surf.wav\ndesc = Windy.\n"
    "weather_data0 = <20, 35, 50, 10, 40, 30, 5>\n";
// The same name on another continent.
const char* kTwin = "name = Gull Point\ncontinent = 1\npopulation = 7\nseed = 78\n";

class ScenarioTest : public ::testing::Test {
 protected:
  ScenarioTest() : host(dir.Root().string()) {
    dir.Write("Locations/coast.kvl", kCoast);
    dir.Write("Locations/twin.kvl", kTwin);
    std::filesystem::create_directories(dir.Root() / "Save" / "Normal");
    std::filesystem::create_directories(dir.Root() / "Scenarios");
    scenario = std::make_unique<cKV9_GameScenario>(nullptr, &host);
  }

  // A game on Gull Point, Europe, with texts and a blob.
  void StartGame() {
    ASSERT_TRUE(scenario->SelectLocation("Gull Point", "Europe"));
    scenario->SetTerrainParams(NewGameTerrainParams(*scenario->GetCurrentLocation()));
    scenario->ClearMapName();
    ASSERT_EQ(scenario->BuildTerrainAndInterface(false), 0);
    scenario->SetDescription("Build a hub.");
    scenario->SetWinText("You won.");
    scenario->SetLoseText("You lost.");
    const uint8_t picture[3] = {9, 8, 7};
    scenario->SetScenarioBlob(picture, 3);
    for (uint32_t i = 0; i < 11; ++i) host.homeView[i] = 0x3F800000u + i;  // floats near 1.0
  }

  std::string SaveBytes(const std::string& name) { return dir.Read("Save/Normal/" + name); }

  ScratchDir dir;
  FakeScenarioHost host;
  std::unique_ptr<cKV9_GameScenario> scenario;
};

TEST_F(ScenarioTest, SelectionAndGetters) {
  EXPECT_EQ(scenario->GetContinent(), 0xFF);
  EXPECT_EQ(scenario->GetLocationName(), "");
  EXPECT_EQ(scenario->GetPopulation(), 0u);
  EXPECT_EQ(scenario->GetLandPrice(), 0.0f);
  EXPECT_EQ(scenario->GetPlotTexture(), "");
  EXPECT_FALSE(scenario->SelectLocation("Gull Point", "Atlantis"));
  EXPECT_FALSE(scenario->SelectLocationByName("Gull point", 4));  // names compare exactly
  ASSERT_TRUE(scenario->SelectLocation("Gull Point", "South America"));
  EXPECT_EQ(scenario->GetPopulation(), 7u);
  ASSERT_TRUE(scenario->SelectLocation("Gull Point", "Europe"));
  EXPECT_EQ(scenario->GetContinent(), 4);
  EXPECT_EQ(scenario->GetPopulation(), 500000u);
  EXPECT_EQ(scenario->GetHazards(), 0x09u);
  EXPECT_EQ(host.hazards, 0x09u);
  ASSERT_NE(host.climate, nullptr);
  EXPECT_EQ((*host.climate)[0].low, 20.0f);
  EXPECT_EQ(scenario->GetPlotTexture(), "plot.tga");
  std::vector<_LocationRecord*> europe;
  scenario->GetLocationsOfContinent("Europe", &europe);
  ASSERT_EQ(europe.size(), 1u);
  EXPECT_EQ(europe[0]->population, 500000);

  float a = -1, b = -1, c = -1;
  scenario->GetContinentAngles(6, &a, &b, &c);
  EXPECT_EQ(b, -1.0f);
  scenario->GetContinentAngles(3, &a, &b, &c);
  EXPECT_FLOAT_EQ(b, 2.6179938f);
  EXPECT_EQ(a, 0.0f);

  uint16_t cx = 0, cz = 0;
  EXPECT_FALSE(scenario->WorldToCell(200.0f, 0.0f, &cx, &cz));  // u = W
  ASSERT_TRUE(scenario->WorldToCell(-200.0f, 15.0f, &cx, &cz));
  EXPECT_EQ(cx, 0);
  EXPECT_EQ(cz, 21);
  EXPECT_FALSE(scenario->WorldToCell(NAN, 0.0f, &cx, &cz));
}

TEST_F(ScenarioTest, NewGameBuildsAFlatPlotInTheTerrain) {
  StartGame();
  const float* h = scenario->GetHeights();
  ASSERT_NE(h, nullptr);
  // k = 0.8 * 32 / 256 + 0.02 = 0.12: cells 48 to 79 flattened, the inner
  // ones exactly at the plot's height.
  const float flat = h[64 * 128 + 64];
  for (int z = 49; z <= 78; ++z)
    for (int x = 49; x <= 78; ++x) ASSERT_EQ(h[z * 128 + x], flat);
  EXPECT_FLOAT_EQ(host.plotOriginY, flat * 320.0f);
  EXPECT_EQ(host.terrainTextures, (std::vector<std::string>{"a.tga", "b.tga"}));
  EXPECT_EQ(scenario->GetReadout1(), "$0.00");
  EXPECT_EQ(host.calls.back(), "progress 20");
}

TEST_F(ScenarioTest, SaveWritesTheLayoutByteForByte) {
  StartGame();
  ASSERT_EQ(scenario->SaveGame("one.kv9"), 0);
  const std::string file = SaveBytes("one.kv9");
  std::string expected;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) expected.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto record = [&](const std::string& bytes) {
    u32(static_cast<uint32_t>(bytes.size()));
    expected += bytes;
  };
  auto f32 = [&](float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    u32(bits);
  };
  record(std::string("KV9S\x02\x01", 6));
  record(std::string("\x09\x08\x07", 3));
  std::string r3;
  {
    std::string save;
    std::swap(save, expected);
    u32(128);
    u32(128);
    u32(77);
    f32(0.3f);
    f32(0.5f);
    f32(0.4f);
    f32(0.6f);
    f32(0.0f);
    f32(1.0f);
    f32(0.6f);
    u32(0);  // no function pointer on disk
    expected.push_back(1);  // fixed view
    for (uint32_t i = 0; i < 11; ++i) u32(0x3F800000u + i);
    expected.push_back(4);
    expected.push_back(10);
    expected += "Gull Point";
    expected.push_back(0);
    expected += std::string("\x0c\x00", 2) + "Build a hub.";
    expected += std::string("\x08\x00", 2) + "You won.";
    expected += std::string("\x09\x00", 2) + "You lost.";
    std::swap(save, expected);
    r3 = save;
  }
  ASSERT_EQ(r3.size(), 98u + 10 + 12 + 8 + 9);
  record(r3);
  for (const auto& r : host.records) record(std::string(r.begin(), r.end()));
  EXPECT_EQ(file, expected);
}

TEST_F(ScenarioTest, LoadRestoresTheGame) {
  StartGame();
  const std::vector<float> heights(scenario->GetHeights(), scenario->GetHeights() + 128 * 128);
  ASSERT_EQ(scenario->SaveGame("trip.kv9"), 0);

  FakeScenarioHost otherHost(dir.Root().string());
  otherHost.fixedView = false;
  cKV9_GameScenario loaded(nullptr, &otherHost);
  ASSERT_EQ(loaded.LoadFromFile("trip.kv9", false), 0);
  EXPECT_EQ(loaded.GetLocationName(), "Gull Point");
  EXPECT_EQ(loaded.GetContinent(), 4);
  EXPECT_EQ(loaded.GetDescription(), "Build a hub.");
  EXPECT_EQ(loaded.GetLoseText(), "You lost.");
  EXPECT_EQ(loaded.GetMapName(), "Loaded map");
  EXPECT_EQ(loaded.GetScenarioBlobSize(), 3u);
  EXPECT_TRUE(otherHost.fixedView);
  EXPECT_EQ(otherHost.homeView, host.homeView);
  EXPECT_EQ(loaded.GetTerrainParams().seed, 77);
  for (size_t i = 0; i < otherHost.loaded.size(); ++i) EXPECT_EQ(otherHost.loaded[i], host.records[i]) << i + 4;
  ASSERT_NE(loaded.GetHeights(), nullptr);
  EXPECT_EQ(std::vector<float>(loaded.GetHeights(), loaded.GetHeights() + 128 * 128), heights);
  EXPECT_TRUE(loaded.GetLoadPath().empty());

  // The screens' check leaves the file just after the header.
  cSerializer in;
  ASSERT_TRUE(in.Initialize(dir.File("Save/Normal/trip.kv9"), false));
  EXPECT_TRUE(loaded.CheckSaveHeader(&in));
  EXPECT_EQ(in.GetPosition(), 10);
}

TEST_F(ScenarioTest, ScenarioFlagIsKeptEitherWay) {
  StartGame();
  scenario->isScenarioFile = true;
  ASSERT_EQ(scenario->SaveGame("flagged.kv9"), 0);
  std::filesystem::copy_file(dir.File("Save/Normal/flagged.kv9"), dir.File("Scenarios/flagged.kv9"));
  platform::ClearPathCache();
  FakeScenarioHost otherHost(dir.Root().string());
  cKV9_GameScenario loaded(nullptr, &otherHost);
  loaded.isScenarioFile = true;  // read from the scenario folder
  ASSERT_EQ(loaded.LoadFromFile("flagged.kv9", true), 0);
  EXPECT_TRUE(loaded.isScenarioFile);
}

// Each corrupt file is refused and the running game is not touched: no world
// clear, no manager load, the loading scene hidden again.
TEST_F(ScenarioTest, CorruptSavesAreRefusedUntouched) {
  StartGame();
  ASSERT_EQ(scenario->SaveGame("good.kv9"), 0);
  const std::string good = SaveBytes("good.kv9");
  // Offsets: header record 0..9, blob record 10..16, record 3 count at 17.
  const size_t r3 = 21;
  auto with = [&](size_t at, std::string bytes) {
    std::string s = good;
    s.replace(at, bytes.size(), bytes);
    return s;
  };
  auto recordStart = [&](int number) {
    size_t at = 0;
    for (int i = 1; i < number; ++i) {
      uint32_t n;
      std::memcpy(&n, good.data() + at, 4);
      at += 4 + n;
    }
    return at;
  };
  const size_t weather = recordStart(14);
  struct Case {
    std::string name;
    std::string bytes;
  };
  std::vector<Case> cases = {
      {"empty file", ""},
      {"wrong magic", with(4, "KV8S")},
      {"wrong version", with(8, "\x02\x02")},
      {"header of 7 bytes", std::string("\x07\0\0\0KV9S\x02\x01\x00", 11) + good.substr(10)},
      {"cut before record 15", good.substr(0, recordStart(15))},
      {"trailing bytes", good + "x"},
      {"location name past record 3", with(r3 + 90, "\xff")},
      {"description past record 3", with(r3 + 92 + 10, "\xff\xff")},
      {"win text past record 3", with(r3 + 92 + 10 + 2 + 12, "\xff\x7f")},
      {"lose text past record 3", with(r3 + 98 + 10 + 12 + 8 - 2, "\xff\x7f")},
      {"unknown location", with(r3 + 91, "Gull Pains")},
      {"location on another continent", with(r3 + 89, "\x05")},
      {"NaN corner", with(r3 + 12, std::string("\x00\x00\xc0\x7f", 4))},
      {"infinite maximum", with(r3 + 32, std::string("\x00\x00\x80\x7f", 4))},
      {"NaN in the home view", with(r3 + 45, std::string("\x00\x00\xc0\xff", 4))},
      {"weather record of 183 bytes",
       with(weather, std::string("\xb7\0\0\0", 4)).substr(0, weather + 4 + 183) + good.substr(weather + 4 + 184)},
  };
  // Every record cut in its middle (or in its count when it is empty), and
  // every record's count running past the end of the file.
  for (int record = 1; record <= 15; ++record) {
    const size_t at = recordStart(record);
    uint32_t n;
    std::memcpy(&n, good.data() + at, 4);
    const std::string number = std::to_string(record);
    cases.push_back({"cut in record " + number, good.substr(0, n ? at + 4 + n / 2 : at + 2)});
    cases.push_back({"record " + number + "'s count past the end", with(at, std::string("\xff\xff\xff\x7f", 4))});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("Save/Normal/bad.kv9", c.bytes);
    host.calls.clear();
    EXPECT_LT(scenario->LoadFromFile("bad.kv9", true), 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"show loading", "hide loading"}));
    EXPECT_EQ(scenario->GetLocationName(), "Gull Point");
    EXPECT_EQ(scenario->GetDescription(), "Build a hub.");
    EXPECT_NE(scenario->GetHeights(), nullptr);
    EXPECT_EQ(scenario->GetScenarioBlobSize(), 3u);
  }
}

TEST_F(ScenarioTest, BadNamesAreRefused) {
  StartGame();
  for (const char* name : {"", "../escape.kv9", "a/b.kv9", "a\\b.kv9", "c:save.kv9", "bell\a.kv9", ".."}) {
    SCOPED_TRACE(name);
    EXPECT_LT(scenario->SaveGame(name), 0);
    host.calls.clear();
    EXPECT_LT(scenario->LoadFromFile(name, true), 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"show loading", "hide loading"}));
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Root() / "Save" / "escape.kv9"));
}

TEST_F(ScenarioTest, ASaveWithNoFolderToWriteInFails) {
  StartGame();
  std::filesystem::remove_all(dir.Root() / "Save" / "Normal");
  platform::ClearPathCache();
  EXPECT_LT(scenario->SaveGame("keep.kv9"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.Root() / "Save" / "Normal"));
}

// A disk that takes no more bytes fails the save part-way: the old save keeps
// every byte and no temporary is left beside it. (A file-size limit stands for
// the full or unwritable disk; it holds for every user, the superuser too.)
TEST_F(ScenarioTest, AFailedSaveKeepsTheOldSave) {
  StartGame();
  ASSERT_EQ(scenario->SaveGame("keep.kv9"), 0);
  const std::string old = SaveBytes("keep.kv9");
  scenario->SetDescription("A newer game.");
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int32_t result = scenario->SaveGame("keep.kv9");
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previousSignal);
  EXPECT_LT(result, 0);
  EXPECT_EQ(SaveBytes("keep.kv9"), old);
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Root() / "Save" / "Normal")) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u) << "a temporary was left behind";
}

TEST_F(ScenarioTest, AManagerWithNothingToKeepGetsAnEmptyRecord) {
  StartGame();
  host.failSave = 9;  // answers false and hands out nothing
  ASSERT_EQ(scenario->SaveGame("empty.kv9"), 0);
  const std::string file = SaveBytes("empty.kv9");
  SaveFileImage image;
  std::string why;
  ASSERT_TRUE(image.Parse(std::vector<uint8_t>(file.begin(), file.end()), &why)) << why;
  EXPECT_EQ(image.RecordSize(9), 0u);
  EXPECT_EQ(image.RecordSize(8), host.records[4].size());
}

TEST_F(ScenarioTest, LongTextsAreCutAtTheirLengthFields) {
  StartGame();
  scenario->SetDescription(std::string(70000, 'd'));
  ASSERT_EQ(scenario->SaveGame("long.kv9"), 0);
  FakeScenarioHost otherHost(dir.Root().string());
  cKV9_GameScenario loaded(nullptr, &otherHost);
  ASSERT_EQ(loaded.LoadFromFile("long.kv9", true), 0);
  EXPECT_EQ(loaded.GetDescription().size(), 65535u);
}

TEST_F(ScenarioTest, ObjectiveScreens) {
  StartGame();
  host.calls.clear();
  scenario->ShowObjectives();
  scenario->ShowWinScreen();
  scenario->ShowLoseScreen();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"objective Objectives: Build a hub. quit",
                                                  "objective Win: You won. winlose",
                                                  "objective Lose: You lost. winlose"}));
  scenario->ShowMainMenu();
  EXPECT_EQ(scenario->GetHeights(), nullptr);
}

}  // namespace
