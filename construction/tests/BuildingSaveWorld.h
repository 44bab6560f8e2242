#pragma once
// A building manager with one type of every class block, a real land plot
// and a contract manager in its service table, for the save and restore
// tests, the fuzz target and the benchmark.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "construction/GamePlot.h"
#include "construction/TerminalItem.h"
#include "construction/tests/TestBuildingManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AirlineContract.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"

namespace buildtest {

struct SaveWorld {
  SaveWorld() {
    plot.SetTable(&table);
    plot.AllocateCells();
    plot.BuildMiniMap();
    table.gamePlot = &plot;
    table.contractManager = &contracts;
    manager.SetTable(&table);
    airlineData.name = "Northern Air";
    auto* airline = new cAirlineContract(&airlineData);
    airline->SetName(airlineData.name);
    contracts.airlineLists[kList_Active].push_back(airline);
    Define();
  }
  ~SaveWorld() {
    table.gamePlot = nullptr;
    table.contractManager = nullptr;
  }

  void Define() {
    bench = manager.Define<cBuildableObject>(kClass_Object, "Bench", 0, 1, 1);
    office = manager.Define(kClass_Building, "Office", 1);
    parking = manager.Define<cParkingFacility>(kClass_Parking, "Car Park", 2, 3, 3);
    parking->SetCapacity(30);
    terminal = manager.Define<cTerminal>(kClass_Terminal, "Terminal", 1, 6, 6);
    terminal->interiorSpace = 144;
    admin = manager.Define<cAdminFacility>(kClass_Admin, "Admin", 1);
    admin->SetCapacity(5);
    storage = manager.Define<cStorageFacility>(kClass_Storage, "Cargo Hall", 1, 4, 4);
    storage->SetCapacity(400);
    runway = manager.Define<cRunway>(kClass_Runway, "2000 Meter Runway", 1, 4, 30);
    service = manager.Define<cServiceFacility>(kClass_Service, "Airport Maintain", 1);
    tower = manager.Define<cOrganizationalFacility>(kClass_Organizational, "Control Tower", 1);
    for (uint8_t kind : {0, 1, 3}) {
      auto* item = new TerminalItem();
      item->name = "Desk " + std::to_string(kind);
      item->kind = kind;
      item->width = 2;
      item->length = 2;
      manager.terminalObjects[kind].push_back(item);
    }
  }

  // Every class block filled: items with a dedicated airline, cargo with a
  // 60-character owner, administration and parking counters.
  void Populate() {
    BOInstance* b = manager.Place(bench, 1, 1);
    b->date = "01/02/1990";
    BOInstance* o = manager.Place(office, 10, 10, 1);
    o->date = "03/04/1991";
    o->health = 0.25f;
    o->serviceLevel = 1;
    o->owner = contracts.airlineLists[kList_Active][0];
    auto* p = dynamic_cast<ParkingInstance*>(manager.Place(parking, 20, 10, 2));
    p->parkingCapacity = 17;
    p->date = "05/06/1992";
    auto* t = dynamic_cast<TerminalInstance*>(manager.Place(terminal, 40, 40, 3));
    t->date = "07/08/1993";
    t->AddTerminalItem(manager.terminalObjects[0][0], 0, 0)->contract = contracts.airlineLists[kList_Active][0];
    t->AddTerminalItem(manager.terminalObjects[1][0], 2, 0);
    t->AddTerminalItem(manager.terminalObjects[3][0], 4, 6);
    auto* a = dynamic_cast<AdminInstance*>(manager.Place(admin, 60, 60));
    a->constructionTimeLeft = 30;  // unfinished: its saved places stay
    a->freePlaces = 3;
    auto* s = dynamic_cast<StorageInstance*>(manager.Place(storage, 70, 70));
    s->date = "09/10/1994";
    s->ResetCargo(400);
    s->StoreCargo(std::string(60, 'c'), 40, 100);
    s->StoreCargo("Short", 2, 101);
    BOInstance* r = manager.Place(runway, 100, 100);
    r->date = "11/12/1995";
    BOInstance* v = manager.Place(service, 120, 120);
    v->date = "01/01/1996";
    v->serviceLevel = 2;
    BOInstance* w = manager.Place(tower, 130, 120);
    w->date = "02/02/1997";
    manager.technologyFlags[3] = 1;
    manager.typeWordGroups[2].listA = {MakeOid(1, 1, 1), MakeOid(5, 0, 1)};
    manager.typeWordGroups[2].listB = {MakeOid(8, 0, 1)};
    manager.typeWordGroups[2].state = 1;
    manager.typeWordGroups[2].number = 9;
  }

  std::vector<uint8_t> Save() {
    SerialBlock bytes;
    uint32_t n = 0;
    manager.Save(&bytes, &n);
    return std::vector<uint8_t>(bytes.get(), bytes.get() + n);
  }
  void Restore(const std::vector<uint8_t>& blob) {
    manager.LoadFromBlob(blob.data(), static_cast<uint32_t>(blob.size()));
    manager.RestoreFromSave();
  }

  cKV9_GlobalWrapper table;
  cEntity_GamePlot plot{nullptr};
  cEntity_ContractManager contracts{nullptr};
  AirlineData airlineData;
  TestBuildingManager manager{nullptr};
  cBuildableObject* bench = nullptr;
  cBuilding* office = nullptr;
  cParkingFacility* parking = nullptr;
  cTerminal* terminal = nullptr;
  cAdminFacility* admin = nullptr;
  cStorageFacility* storage = nullptr;
  cRunway* runway = nullptr;
  cServiceFacility* service = nullptr;
  cOrganizationalFacility* tower = nullptr;
};

// One 124-byte building record.
inline void PutRecord(SaveRecordWriter& out, uint8_t classCode, const std::string& name, uint8_t level,
                      uint16_t serial, float health, uint16_t construction, uint16_t x, uint16_t y, uint8_t rotation,
                      int32_t serviceLevel) {
  uint8_t field[33] = {};
  out.PutU8(classCode);
  std::memcpy(field, name.data(), std::min<size_t>(name.size(), 33));
  out.PutBytes(field, 33);
  out.PutU8(level);
  out.PutU8(0);
  out.PutU16(serial);
  out.PutU16(0);
  out.PutF32(health);
  out.PutU16(construction);
  out.PutU16(0);
  out.PutU32(static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 10) | (static_cast<uint32_t>(rotation) << 20));
  std::memset(field, 0, sizeof field);
  out.PutBytes(field, 33);
  out.PutBytes(field, 33);
  out.PutU16(0);
  out.PutI32(serviceLevel);
}

// The sixteen technology flags and sixteen empty groups.
inline void PutEmptyTechnology(SaveRecordWriter& out) {
  for (int i = 0; i < 16; ++i) out.PutU8(i == 0 ? 1 : 0);
  for (int i = 0; i < 16; ++i) {
    out.PutU16(0);
    out.PutU16(0);
    out.PutU8(0);
    out.PutU32(5);
  }
}

inline std::vector<uint8_t> Bytes(const SaveRecordWriter& out) {
  return std::vector<uint8_t>(out.Data(), out.Data() + out.Size());
}

}  // namespace buildtest
