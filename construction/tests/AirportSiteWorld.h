#pragma once
// A small airport of real buildings on the building world (real building
// manager, path finder and taxiway manager): a control tower, a runway whose
// airside area covers it, an apron beside it, a terminal with one gate on
// the apron's edge, a service depot, two storages, an administration
// building and a parking lot, all finished; and the airport site over the
// manager.
//
//   x: 4-6 runway (y 2-41), apron x 7-30 / y 8-20, terminal x 20-23 / y 4-7
//   with its gate at (21, 7), depot x 28-29 / y 6-7, storages at y 21-22 (the
//   first with its two drop-off places on the apron's edge).
//
// Given a runway name, the runway is that type of the game's own building
// data instead (its section read from the run tree), placed with its east
// edge at x 6 so that its centre line is the hand-made strip's.
#include <cstdint>
#include <sstream>
#include <string>

#include "construction/BuildingAirportSite.h"
#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/TerminalInstance.h"
#include "construction/tests/BuildingWorld.h"
#include "engine/files/DataFile.h"
#include "platform/FileRead.h"

namespace sitetest {

struct AirportSiteWorld {
  static constexpr uint16_t kGateX = 21, kGateY = 7;

  explicit AirportSiteWorld(const std::string& dataRunway = "") {
    buildings.roads.SetCash(1.0e9);
    auto* towerType = m().Define<cOrganizationalFacility>(kClass_Organizational, "Control Tower", 1, 2, 2);
    towerType->SetCapacity(2);
    if (dataRunway.empty()) {
      runwayType = m().Define<cRunway>(kClass_Runway, "Strip", 1, 3, 40);
      runwayType->runwayLength = 3000;
      runwayType->AddAccessPoint(TAStruct{0, 0, 3, 40, 0});
    } else {
      runwayType = DataRunway(dataRunway);
    }
    terminalType = m().Define<cTerminal>(kClass_Terminal, "Terminal", 1, 4, 4);
    terminalType->AddAccessPoint(TAStruct{0, 2, 3, 2, 0});
    depotType = m().Define<cServiceFacility>(kClass_Service, "Turnaround", 1, 2, 2);
    depotType->AddAccessPoint(TAStruct{0, 1, 2, 1, 0});
    depotType->ambient.flags = 0xD8;  // baggage, maintenance, second maintenance, catering
    storageType = m().Define<cStorageFacility>(kClass_Storage, "Cargo", 1, 2, 2);
    storageType->SetCapacity(100);
    storageType->providesStorage = 1;
    storageType->AddAccessPoint(TAStruct{0, 0, 2, 1, 0});
    storageType->SetDropoffPlaces({DropoffPlace{0, 0, 1, 1}, DropoffPlace{1, 0, 1, 1}});
    storageType->ambient.flags = 0x20;
    coldType = m().Define<cStorageFacility>(kClass_Storage, "Cold Storage", 2, 2, 2);
    coldType->SetCapacity(60);
    coldType->providesStorage = 1;
    coldType->providesColdStorage = 1;
    coldType->ambient.flags = 0x20;
    adminType = m().Define<cAdminFacility>(kClass_Admin, "Admin", 2, 2, 2);
    adminType->SetCapacity(3);
    parkingType = m().Define<cParkingFacility>(kClass_Parking, "Parking", 2, 2, 2);
    parkingType->ambient = AmbientTrafficData{3, 10, 20, 1, 1.5f, 0x88};

    tower = static_cast<OrgInstance*>(buildings.BuildFinished(towerType, 50, 50));
    ok = buildings.roads.taxiways->AddApron(7, 8, 24, 13);
    const uint16_t runwayX = runwayType ? static_cast<uint16_t>(7 - runwayType->GetWidth()) : 4;
    runway = static_cast<RunwayInstance*>(buildings.BuildFinished(runwayType, runwayX, 2));
    terminal = static_cast<TerminalInstance*>(buildings.BuildFinished(terminalType, 20, 4));
    depot = buildings.BuildFinished(depotType, 28, 6);
    storage = static_cast<StorageInstance*>(buildings.BuildFinished(storageType, 10, 21));
    cold = static_cast<StorageInstance*>(buildings.BuildFinished(coldType, 14, 21));
    admin = static_cast<AdminInstance*>(buildings.BuildFinished(adminType, 40, 50));
    parking = buildings.BuildFinished(parkingType, 44, 50);
    ok = ok && tower && runway && terminal && depot && storage && cold && admin && parking;
  }

  // The runway type of that name from the game's building data: the
  // runway sections of the run tree's table, read by the manager's reader.
  cRunway* DataRunway(const std::string& name) {
    std::string text, runways;
    platform::FileReadError why;
    if (!platform::ReadFileText("BaseBuildings.kvb", CDataFile::kMaxFileBytes, &text, &why, GAME_DATA_DIR))
      return nullptr;
    std::istringstream lines(text);
    std::string line, section;
    auto keep = [&] {
      if (section.find("\nclass = runway\n") != std::string::npos) runways += section;
      section.clear();
    };
    while (std::getline(lines, line)) {
      if (!line.empty() && line[0] == '[') keep();
      section += line + "\n";
    }
    keep();
    if (!m().LoadBaseBuildingsFromMemory(runways)) return nullptr;
    return dynamic_cast<cRunway*>(m().GetBuildingType(kClass_Runway, m().FindTypeIndexByName(kClass_Runway, name), 1));
  }

  buildtest::TestBuildingManager& m() { return buildings.manager; }
  cKV9_GlobalWrapper& Table() { return buildings.Table(); }
  cPathFinder& Finder() { return buildings.roads.finder; }

  buildtest::BuildingWorld buildings;
  BuildingAirportSite site{&buildings.manager};
  cRunway* runwayType = nullptr;
  cTerminal* terminalType = nullptr;
  cServiceFacility* depotType = nullptr;
  cStorageFacility* storageType = nullptr;
  cStorageFacility* coldType = nullptr;
  cAdminFacility* adminType = nullptr;
  cParkingFacility* parkingType = nullptr;
  OrgInstance* tower = nullptr;
  RunwayInstance* runway = nullptr;
  TerminalInstance* terminal = nullptr;
  BOInstance* depot = nullptr;
  StorageInstance* storage = nullptr;
  StorageInstance* cold = nullptr;
  AdminInstance* admin = nullptr;
  BOInstance* parking = nullptr;
  bool ok = false;
};

}  // namespace sitetest
