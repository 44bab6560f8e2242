#pragma once
// A scenario host that records what the scenario asks of the game and
// answers with fixed measures and fixed manager records.
#include <array>
#include <string>
#include <vector>

#include "game/world/ScenarioHost.h"

class FakeScenarioHost : public ScenarioHost {
 public:
  explicit FakeScenarioHost(std::string root, std::string locationFolder = {})
      : locations(std::move(locationFolder)), root_(std::move(root)) {
    for (int i = 0; i < kSaveManagerRecords; ++i) {
      const int number = i + 4;
      // Record 14 is the weather's 184 bytes; the others a few known bytes.
      records[static_cast<size_t>(i)] =
          number == 14 ? std::vector<uint8_t>(184, 0x5A)
                       : std::vector<uint8_t>{static_cast<uint8_t>(number), 0xAB, static_cast<uint8_t>(number * 3)};
    }
  }

  std::string LocationsDirectory() override { return locations.empty() ? root_ + "/Locations\\" : locations; }
  std::string SaveDirectory() override { return root_ + "/Save\\"; }
  std::string ScenarioDirectory() override { return root_ + "/Scenarios\\"; }

  std::array<SaveRecordSlot, kSaveManagerRecords> SaveRecordSlots() override {
    std::array<SaveRecordSlot, kSaveManagerRecords> slots;
    for (size_t i = 0; i < slots.size(); ++i) {
      slots[i].save = [this, i](SerialBlock* bytes, uint32_t* n) {
        if (failSave == static_cast<int>(i) + 4) return false;
        const std::vector<uint8_t>& r = records[i];
        *n = static_cast<uint32_t>(r.size());
        *bytes = std::make_unique<uint8_t[]>(r.size());
        std::copy(r.begin(), r.end(), bytes->get());
        return true;
      };
      slots[i].load = [this, i](const uint8_t* bytes, uint32_t n) {
        calls.push_back("load " + std::to_string(i + 4));
        loaded[i].assign(bytes, bytes + n);
        return true;
      };
    }
    return slots;
  }

  void ShowLoadingScreen() override { calls.push_back("show loading"); }
  void HideLoadingScreen() override { calls.push_back("hide loading"); }
  void AdvanceProgress(int32_t amount) override { calls.push_back("progress " + std::to_string(amount)); }
  void ClearWorld() override { calls.push_back("clear world"); }

  bool IsCameraFixedView() override { return fixedView; }
  void SetCameraFixedView(bool fixed) override { fixedView = fixed; }
  void StoreHomeView(uint32_t words[11]) override { std::copy(homeView.begin(), homeView.end(), words); }
  void SetHomeView(const uint32_t words[11]) override { std::copy(words, words + 11, homeView.begin()); }
  void EnterScenarioView(bool fixed) override { calls.push_back(fixed ? "view purchase" : "view ingame"); }

  float PlotExtent() override { return 0.8f; }
  float PlotWorldWidth() override { return 400.0f; }
  float PlotCellSize() override { return 10.0f; }
  void SetPlotOriginY(float height) override { plotOriginY = height; }

  CoreStatus LoadInGameInterface(bool inGame) override {
    calls.push_back(inGame ? "keep interface" : "load interface");
    return 0;
  }
  void PrepareWorldBuild(const std::vector<std::string>& textures, bool) override { terrainTextures = textures; }
  void SetClimate(const std::array<MonthlyClimate, kClimateMonths>* table, uint32_t bits) override {
    climate = table;
    hazards = bits;
  }
  void ShowObjectiveScreen(const std::string& text, const std::string& title, bool quit, bool winLose) override {
    calls.push_back("objective " + title + ": " + text + (quit ? " quit" : "") + (winLose ? " winlose" : ""));
  }
  void ShowMainMenu() override { calls.push_back("main menu"); }

  std::string locations;  // the root's "Locations" folder when empty
  std::array<std::vector<uint8_t>, kSaveManagerRecords> records;
  std::array<std::vector<uint8_t>, kSaveManagerRecords> loaded;
  std::vector<std::string> calls;
  int failSave = 0;
  bool fixedView = true;
  std::array<uint32_t, 11> homeView{};
  float plotOriginY = 0.0f;
  std::vector<std::string> terrainTextures;
  const std::array<MonthlyClimate, kClimateMonths>* climate = nullptr;
  uint32_t hazards = 0;

 private:
  std::string root_;
};
