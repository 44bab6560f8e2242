#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/frame/GameManager.h"
#include "engine/entity/ActionFactory.h"
#include "engine/files/DataFile.h"
#include "simulation/ContractRecords.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/tests/ContractTestWorld.h"

namespace {

using namespace contracttest;

size_t AirlineCount(const cEntity_ContractManager& m) {
  size_t n = 0;
  for (const auto& array : m.airlines) n += array.size();
  return n;
}

// The lists as names, to compare a manager before and after.
std::vector<std::string> Snapshot(const cEntity_ContractManager& m) {
  std::vector<std::string> out;
  for (const auto& list : m.airlineLists) {
    out.push_back("|");
    for (const cAirlineContract* c : list) {
      out.push_back(c->GetName() + ":" + std::to_string(c->openFlights.size()) + "/" +
                    std::to_string(c->signedFlights.size()));
    }
  }
  for (const auto& group : m.businessLists) {
    for (const auto& list : group) {
      out.push_back("|");
      for (const cBusinessContract* c : list) out.push_back(c->GetName());
    }
  }
  out.push_back(std::to_string(m.allFlights.size()) + " " + std::to_string(m.nextFlightId) + " " +
                std::to_string(m.baseRequirementsMet) + std::to_string(m.running));
  return out;
}

std::vector<uint8_t> SaveBytes(cEntity_ContractManager& m) {
  SerialBlock block;
  uint32_t size = 0;
  if (!m.Save(&block, &size)) return {};
  return std::vector<uint8_t>(block.get(), block.get() + size);
}

class ContractManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.world.ready);
    w.world.BuildWorld();
  }
  // The amenity types and terminal objects our business table names.
  void AddBusinessBuildings() {
    for (const char* name : {"Hotel", "Budget Inn", "Gas Station", "Truck Stop", "Car Rental", "Restaurant", "Bank"})
      w.world.buildings.AddNamedType(kBuildingClass_Amenity, name, 1);
    for (const char* name : {"Check-in Desk", "Newsstand", "Coffee Shop", "Gift Shop", "Duty Free Shop", "Bookstore"}) {
      auto item = std::make_unique<TerminalItem>();
      item->name = name;
      item->type = 4;
      item->level = 1;
      w.world.buildings.terminalObjects.push_back(std::move(item));
    }
  }
  // The manager of the world's table spawned by name, tables read from data/.
  cEntity_ContractManager* Spawn() {
    w.world.table.actionFactory->RegisterSpawn(&spawn_);
    cEntity_Base* made = nullptr;
    if (status::Failed(w.world.manager->SpawnEntity(cEntity_ContractManager::kSpawnName, &made))) return nullptr;
    auto* m = dynamic_cast<cEntity_ContractManager*>(made);
    if (!m) return nullptr;
    w.world.table.contractManager = m;
    m->Init();
    return m;
  }
  ContractWorld w;
  SpawnContractManager spawn_;
};

TEST_F(ContractManagerTest, SpawnedByNameReadsOurTablesAndRunsOnTheClock) {
  AddBusinessBuildings();
  cEntity_ContractManager* m = Spawn();
  ASSERT_NE(m, nullptr);
  EXPECT_GE(AirlineCount(*m), 30u);
  for (uint32_t c = 0; c < kContinentCount; ++c) {
    bool cargo = false, level0 = false;
    for (const AirlineData* a : m->airlines[c]) {
      cargo |= a->cargo != 0;
      level0 |= !a->cargo && a->demand == 0;
      EXPECT_EQ(a->continent, c);
      EXPECT_FALSE(a->international);
    }
    EXPECT_GE(m->airlines[c].size(), 4u) << c;
    EXPECT_TRUE(cargo && level0) << c;
  }
  bool demandSeen[4] = {}, intlCargo = false;
  for (const AirlineData* a : m->airlines[kInternationalArray]) {
    demandSeen[a->demand] = true;
    intlCargo |= a->cargo != 0;
  }
  EXPECT_TRUE(demandSeen[0] && demandSeen[1] && demandSeen[2] && demandSeen[3] && intlCargo);
  EXPECT_EQ(m->airlines[kInternationalArray].front()->logo.find('\\') != std::string::npos, true);
  for (uint32_t s = 0; s < kSizeClassCount; ++s) {
    EXPECT_GE(m->passengerPlanes[s].size(), 2u) << s;
    EXPECT_GE(m->cargoPlanes[s].size(), 1u) << s;
    bool fromStart = false, fromStartCargo = false;
    for (const AirplaneData* p : m->passengerPlanes[s]) fromStart |= p->yearAvailable == 1970;
    for (const AirplaneData* p : m->cargoPlanes[s]) fromStartCargo |= p->yearAvailable == 1970;
    EXPECT_TRUE(fromStart && fromStartCargo) << s;
  }
  ASSERT_GE(m->businesses.size(), 12u);
  for (const BusinessData* b : m->businesses) EXPECT_GT(b->requiredTraffic, 0) << b->name;

  w.world.scenario.continent = 2;
  ASSERT_EQ(m->Start(), 0);
  // Domestic airlines of continent 2 and every international one, each
  // with 10-15 flights; every business found a building or terminal object.
  EXPECT_EQ(m->airlineLists[kList_Pool].size(), m->airlines[2].size() + m->airlines[kInternationalArray].size());
  for (const cAirlineContract* c : m->airlineLists[kList_Pool]) {
    EXPECT_GE(c->openFlights.size(), 10u);
    EXPECT_LE(c->openFlights.size(), 15u);
  }
  size_t businesses = 0;
  for (auto& group : m->businessLists) businesses += group[kList_Pool].size();
  EXPECT_EQ(businesses, m->businesses.size());

  // Registered with the real clock: the daily drift reaches active airlines.
  cAirlineContract* airline = m->airlineLists[kList_Pool].front();
  m->airlineLists[kList_Pool].erase(m->airlineLists[kList_Pool].begin());
  m->airlineLists[kList_Active].push_back(airline);
  airline->satisfaction = 50.0f;
  m->running = 1;
  m->baseRequirementsMet = 1;
  w.world.RunDays(1, 50000);
  EXPECT_GT(airline->satisfaction, 50.0f);
  m->Stop();
  EXPECT_TRUE(m->airlineLists[kList_Active].empty());
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractManagerTest, AirlineTableRecords) {
  cEntity_ContractManager* m = Spawn();
  ASSERT_NE(m, nullptr);
  w.world.buildings.terminalObjects.push_back(std::make_unique<TerminalItem>());
  w.world.buildings.terminalObjects.back()->name = "Desk";
  w.world.buildings.terminalObjects.back()->type = 1;
  w.world.buildings.terminalObjects.back()->level = 2;
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> filed;  // "array:name:items"
  };
  const Case cases[] = {
      {"six tokens make no airline", "A logo 0 0 1 2", {}},
      {"one domestic with a found and a missing item", "\"Air One\" l 0 0 3 1 Desk Nothing ;", {"3:Air One:1"}},
      {"international to array 6", "Intl l 0 1 2 3 ;", {"6:Intl:0"}},
      {"last record without its ;", "A l 0 0 1 0 ; B l 1 0 1 2 Desk", {"1:A:0", "1:B:1"}},
      {"numbers read from their start", "N l 1x 0 4junk 2 ;", {"4:N:0"}},
      {"continent 7 refused", "Bad l 0 0 7 1 ; Good l 0 0 1 1 ;", {"1:Good:0"}},
      {"continent 255 refused", "Bad l 0 0 255 1 ;", {}},
      {"demand 4 refused", "Bad l 0 0 1 4 ;", {}},
      {"negative demand refused", "Bad l 0 0 1 -1 ;", {}},
  };
  for (const Case& c : cases) {
    m->ReadAirlineTable(c.text);
    std::vector<std::string> filed;
    for (uint32_t a = 0; a <= kInternationalArray; ++a) {
      for (const AirlineData* d : m->airlines[a])
        filed.push_back(std::to_string(a) + ":" + d->name + ":" + std::to_string(d->terminalItems.size()));
    }
    EXPECT_EQ(filed, c.filed) << c.name;
  }
  m->ReadAirlineTable("X l 0 0 1 2 Desk ;");
  ASSERT_EQ(m->airlines[1].size(), 1u);
  ASSERT_EQ(m->airlines[1][0]->terminalItems.size(), 1u);
  EXPECT_EQ(m->airlines[1][0]->terminalItems[0].type, 1);
  EXPECT_EQ(m->airlines[1][0]->terminalItems[0].level, 2u);
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractManagerTest, AirplaneTableDefaultsAndRefusals) {
  ASSERT_TRUE(w.manager.ReadAirplaneTable(
      "[Bare]\nmodel_path = m.ssm\n"
      "[Named]\nname = Freighter\ncargo = true\nscale = 3\nmax_passengers = 70000\nyear_available = 1985\n"
      "taxi_cur_vel = 4.5\n"
      "[Huge]\nname = Too Big\nscale = 4\n"
      "[Negative]\nname = Below\nscale = -1\n"));
  ASSERT_EQ(w.manager.passengerPlanes[0].size(), 1u);
  const AirplaneData* bare = w.manager.passengerPlanes[0][0];
  EXPECT_EQ(bare->name, "");  // "name" always replaces the section name
  EXPECT_EQ(bare->model, "m.ssm");
  EXPECT_EQ(bare->yearAvailable, 0);
  EXPECT_EQ(bare->maxPassengers, 0);
  EXPECT_EQ(bare->taxiVel, CDataFile::kNoFloat);
  ASSERT_EQ(w.manager.cargoPlanes[3].size(), 1u);
  const AirplaneData* named = w.manager.cargoPlanes[3][0];
  EXPECT_EQ(named->name, "Freighter");
  EXPECT_EQ(named->maxPassengers, static_cast<uint16_t>(70000));
  EXPECT_EQ(named->yearAvailable, 1985);
  EXPECT_FLOAT_EQ(named->taxiVel, 4.5f);
  size_t total = 0;
  for (uint32_t s = 0; s < kSizeClassCount; ++s) total += w.manager.passengerPlanes[s].size() + w.manager.cargoPlanes[s].size();
  EXPECT_EQ(total, 2u);
}

TEST_F(ContractManagerTest, BusinessTableFields) {
  ASSERT_TRUE(w.manager.ReadBusinessTable(
      "[Kiosk]\nlogo = k.dds\nbusiness_type = 260\nscale = 2\nrequired_traffic = 65636\n[Plain]\n"));
  ASSERT_EQ(w.manager.businesses.size(), 2u);
  EXPECT_EQ(w.manager.businesses[0]->name, "Kiosk");
  EXPECT_EQ(w.manager.businesses[0]->logo, "k.dds");
  EXPECT_EQ(w.manager.businesses[0]->businessType, 4);  // low 8 bits
  EXPECT_EQ(w.manager.businesses[0]->demand, 2);
  EXPECT_EQ(w.manager.businesses[0]->requiredTraffic, 100);  // low 16 bits
  EXPECT_EQ(w.manager.businesses[1]->requiredTraffic, 0);
  EXPECT_TRUE(w.manager.ReadBusinessTable(""));
  EXPECT_TRUE(w.manager.businesses.empty());
}

TEST_F(ContractManagerTest, BaseRequirementsMakeTheAirportFunctional) {
  cEntity_ContractManager* m = Spawn();
  ASSERT_NE(m, nullptr);
  m->Start();
  struct Piece {
    uint8_t classCode;
    const char* name;
  };
  const Piece pieces[] = {{5, "Terminal"},  {8, "Runway"},          {3, "Parking Lot"},  {11, "Plane Maintain"},
                          {11, "Turnaround"}, {12, "Control Tower"}, {9, "fire station"}};
  AirlineData other{"Other", "", 0, 0, 0, 0, {}};
  cAirlineContract owner(&other);
  std::vector<simkit::FakeInstance*> built;
  for (const Piece& p : pieces) built.push_back(w.Build(p.classCode, p.name, 1, nullptr));

  const size_t posted = w.world.pda->posted.size();
  struct Case {
    const char* name;
    int piece;             // the one changed
    bool functional;       // its functional state
    cContract* dedicated;  // its owner
    bool airportWorks;
  };
  const Case cases[] = {
      {"a building not yet working does not count", 6, false, nullptr, false},
      {"a building dedicated to a contract does not count", 6, true, &owner, false},
      {"the last base building makes the airport work", 6, true, nullptr, true},
      {"losing the runway stops it", 1, false, nullptr, false},
      {"the runway back", 1, true, nullptr, true},
  };
  size_t afterFirst = 0;
  for (const Case& c : cases) {
    built[c.piece]->functional = c.functional;
    built[c.piece]->owner = c.dedicated;
    m->CheckAirportFunctional();
    EXPECT_EQ(m->IsAirportFunctional(), c.airportWorks) << c.name;
    if (c.airportWorks && !afterFirst) afterFirst = w.world.pda->posted.size();
  }
  EXPECT_EQ(m->running, 1);
  // The standard message and the first airline offer went out the first
  // time only.
  ASSERT_GE(afterFirst, posted + 1);
  EXPECT_EQ(w.world.pda->posted.size(), afterFirst);
  EXPECT_EQ(m->airlineLists[kList_Offered].size(), afterFirst - posted - 1);
  m->Stop();
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractManagerTest, NewGameFlightDrawsStayInsideTheSizeClasses) {
  cEntity_ContractManager* m = Spawn();
  ASSERT_NE(m, nullptr);
  m->ClearTables();
  m->ReadAirlineTable("Low l 0 0 0 0 ; High l 0 0 0 3 ; Freight l 1 0 0 1 ; Far l 0 1 6 2 ;");
  // Passenger models in classes 1 and 3 only; cargo in class 3 only.
  m->ReadAirplaneTable("[a]\nname = One\nscale = 1\n[b]\nname = Three\nscale = 3\n[c]\nname = Box\ncargo = 1\nscale = 3\n");
  struct Case {
    const char* name;
    double draw;  // every draw at this fraction of its range
    std::map<std::string, std::string> model;  // airline -> the model all its flights fly
  };
  const Case cases[] = {
      // Level 0 steps to 1 only above 0.8; below class 0 nothing, so the
      // next class up (1).
      {"low draws", 0.0, {{"Low", "One"}, {"High", "One"}, {"Freight", "Box"}}},
      {"high draws", 1.0, {{"Low", "One"}, {"High", "Three"}, {"Freight", "Box"}}},
  };
  for (const Case& c : cases) {
    w.world.random.UseSequence({c.draw});
    w.world.scenario.continent = 0;
    m->Start();
    std::map<std::string, std::string> seen;
    for (const cAirlineContract* a : m->airlineLists[kList_Pool]) {
      for (const cFlightContract* f : a->openFlights) {
        if (seen.count(a->GetName()) && seen[a->GetName()] != f->airplane->name) seen[a->GetName()] = "mixed";
        else seen[a->GetName()] = f->airplane->name;
      }
    }
    seen.erase("Far");
    EXPECT_EQ(seen, c.model) << c.name;
    m->Stop();
  }
  // No location: international airlines only.
  w.world.scenario.continent = 0xFF;
  m->Start();
  ASSERT_EQ(m->airlineLists[kList_Pool].size(), 1u);
  EXPECT_EQ(m->airlineLists[kList_Pool][0]->GetName(), "Far");
  m->Stop();
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractManagerTest, PoolsStopAt255) {
  cEntity_ContractManager* m = Spawn();
  ASSERT_NE(m, nullptr);
  std::string airlines;
  for (int i = 0; i < 300; ++i) airlines += "A" + std::to_string(i) + " l 0 1 6 0 ;";
  m->ReadAirlineTable(airlines);
  m->Start();
  EXPECT_EQ(m->airlineLists[kList_Pool].size(), kMaxContractList);
  EXPECT_FALSE(SaveBytes(*m).empty());
  // A list grown past 255 by hand is refused rather than wrapped.
  AirlineData* data = m->airlines[kInternationalArray][0];
  m->airlineLists[kList_Active].push_back(new cAirlineContract(data));
  m->airlineLists[kList_Active].push_back(m->airlineLists[kList_Pool].back());
  m->airlineLists[kList_Pool].pop_back();
  for (int i = 0; i < 300; ++i) m->airlineLists[kList_Active][0]->openFlights.push_back(nullptr);
  SerialBlock block;
  uint32_t size = 0;
  EXPECT_FALSE(m->Save(&block, &size));
  m->airlineLists[kList_Active][0]->openFlights.clear();
  m->Stop();
  w.world.table.contractManager = nullptr;
}

class ContractBlobTest : public ContractManagerTest {
 protected:
  // Every list and every flight array holds something.
  cEntity_ContractManager* Filled() {
    AddBusinessBuildings();
    cEntity_ContractManager* m = Spawn();
    if (!m) return nullptr;
    w.world.scenario.continent = 1;
    w.world.random.UseSeed(7);
    m->Start();
    auto& pool = m->airlineLists[kList_Pool];
    for (uint32_t l = 1; l < 4; ++l) {
      m->airlineLists[l].push_back(pool.back());
      pool.pop_back();
    }
    for (auto& list : m->airlineLists) {
      cAirlineContract* c = list.front();
      c->otherFlights.push_back(new cFlightContract(c->openFlights.back()->airplane, c, m->nextFlightId++));
      c->MarkFlightUnscheduled(c->openFlights.front());
      m->allFlights.push_back(c->signedFlights.back());
      c->satisfaction = 61.5f;
      c->timeStamp = 1234;
      c->signedFlights.back()->delayed = 9;
    }
    for (auto& group : m->businessLists) {
      auto& bpool = group[kList_Pool];
      for (uint32_t l = 1; l < 4 && !bpool.empty(); ++l) {
        group[l].push_back(bpool.back());
        bpool.pop_back();
      }
    }
    // Hotels and gas stations: two of each, so add to their other lists.
    for (uint32_t g = 1; g < 3; ++g) {
      for (uint32_t l = 0; l < 4; ++l) {
        if (m->businessLists[g][l].empty()) {
          auto* c = new cBusinessContract(m->businessLists[g][l == 0 ? 1 : 0].front()->data);
          c->SetName(c->data->name);
          m->businessLists[g][l].push_back(c);
        }
      }
    }
    m->businessLists[0][kList_Active].front()->placed = 1;
    m->running = 1;
    m->baseRequirementsMet = 1;
    return m;
  }
};

TEST_F(ContractBlobTest, EmptyBlobIs22Bytes) {
  cEntity_ContractManager* m = Spawn();
  ASSERT_NE(m, nullptr);
  const std::vector<uint8_t> bytes = SaveBytes(*m);
  EXPECT_EQ(bytes.size(), 22u);
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractBlobTest, RoundTripIsByteExact) {
  cEntity_ContractManager* m = Filled();
  ASSERT_NE(m, nullptr);
  for (auto& list : m->airlineLists) {
    ASSERT_FALSE(list.empty());
    ASSERT_FALSE(list.front()->openFlights.empty());
    ASSERT_FALSE(list.front()->otherFlights.empty());
    ASSERT_FALSE(list.front()->signedFlights.empty());
  }
  for (auto& group : m->businessLists) {
    for (auto& list : group) ASSERT_FALSE(list.empty());
  }
  const std::vector<uint8_t> first = SaveBytes(*m);
  ASSERT_FALSE(first.empty());
  const std::vector<std::string> before = Snapshot(*m);
  m->Stop();
  m->SetBlob(SerialBlock(new uint8_t[first.size()]), static_cast<uint32_t>(first.size()));
  std::memcpy(const_cast<uint8_t*>(m->GetBlob()), first.data(), first.size());
  m->Start();
  EXPECT_EQ(m->GetBlobSize(), 0u);
  EXPECT_EQ(Snapshot(*m), before);
  EXPECT_EQ(SaveBytes(*m), first);
  // The terminal shops are linked again.
  bool linked = false;
  for (auto& item : w.world.buildings.terminalObjects) linked |= item->business != nullptr;
  EXPECT_TRUE(linked);
  m->Stop();
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractBlobTest, UnknownAirlinesAndBusinessesAreSkipped) {
  cEntity_ContractManager* m = Filled();
  ASSERT_NE(m, nullptr);
  std::vector<uint8_t> bytes = SaveBytes(*m);
  // Rename the first airline of the pool and the first business record.
  const std::string gone = m->airlineLists[kList_Pool].front()->GetName();
  const std::string goneBusiness = m->businessLists[0][0].front()->data->name;
  size_t at = 1;
  bytes[at] = 'Z';
  const size_t poolAirlines = m->airlineLists[kList_Pool].size();
  // Walk to the business lists: past every airline record and flight array.
  size_t pos = 0;
  for (auto& list : m->airlineLists) {
    ++pos;
    for (cAirlineContract* c : list)
      pos += kAirlineRecordSize + 3 + (c->openFlights.size() + c->otherFlights.size() + c->signedFlights.size()) * 100;
  }
  bytes[pos + 1] = 'Z';
  ASSERT_TRUE(m->ParseBlob(bytes.data(), static_cast<uint32_t>(bytes.size())));
  EXPECT_EQ(m->airlineLists[kList_Pool].size(), poolAirlines - 1);
  for (cAirlineContract* c : m->airlineLists[kList_Pool]) EXPECT_NE(c->GetName(), gone);
  for (cBusinessContract* c : m->businessLists[0][0]) EXPECT_NE(c->data->name, goneBusiness);
  EXPECT_EQ(m->airlineLists[kList_Active].size(), 1u);
  m->Stop();
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractBlobTest, CorruptBlobsChangeNothing) {
  cEntity_ContractManager* m = Filled();
  ASSERT_NE(m, nullptr);
  const std::vector<uint8_t> good = SaveBytes(*m);
  const std::vector<std::string> before = Snapshot(*m);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  auto cut = [&](size_t n) { return std::vector<uint8_t>(good.begin(), good.begin() + n); };
  auto with = [&](size_t at, uint8_t v) {
    std::vector<uint8_t> b = good;
    b[at] = v;
    return b;
  };
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  const Case cases[] = {
      {"empty", {}},
      {"one byte", {0}},
      {"21 bytes", cut(21)},
      {"cut inside an airline record", cut(100)},
      {"cut inside a flight array", cut(1 + kAirlineRecordSize + 1 + 50)},
      {"cut before the flags", cut(good.size() - 1)},
      {"pool count past the bytes", with(0, 255)},
      {"open flight count past the bytes", with(1 + kAirlineRecordSize, 255)},
      {"a trailing byte", longer},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(m->ParseBlob(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()))) << c.name;
    EXPECT_EQ(Snapshot(*m), before) << c.name;
  }
  EXPECT_FALSE(m->ParseBlob(nullptr, 10));
  EXPECT_EQ(SaveBytes(*m), good);
  m->Stop();
  w.world.table.contractManager = nullptr;
}

TEST_F(ContractManagerTest, FindersAndUnplacedBusinesses) {
  w.manager.ReadAirlineTable("Same l 0 0 2 0 ; Same l 0 1 2 1 ; Wide l 0 1 3 0 ;");
  ASSERT_NE(w.manager.FindAirlineData(2, "Same"), nullptr);
  EXPECT_EQ(w.manager.FindAirlineData(2, "Same")->international, 0);
  EXPECT_EQ(w.manager.FindAirlineData(4, "Same")->international, 1);
  EXPECT_EQ(w.manager.FindAirlineData(2, "same"), nullptr);  // case counts
  EXPECT_NE(w.manager.FindAirlineData(0xFF, "Wide"), nullptr);

  BusinessData hotel{"Inn", "", kBusinessType_Hotel, 0, 1};
  auto* contract = new cBusinessContract(&hotel);
  w.manager.businessLists[kGroup_Hotel][kList_Active].push_back(contract);
  EXPECT_TRUE(w.manager.IsBusinessUnplaced(contract));
  contract->placed = 1;
  EXPECT_FALSE(w.manager.IsBusinessUnplaced(contract));
  w.manager.businessLists[kGroup_Hotel][kList_Active].clear();
  w.manager.businessLists[kGroup_Business][kList_Active].push_back(contract);
  contract->placed = 0;
  EXPECT_FALSE(w.manager.IsBusinessUnplaced(contract));  // not in its type's list
}

TEST_F(ContractManagerTest, SatisfactionDrift) {
  AirlineData data{"Drift", "", 0, 0, 0, 0, {}};
  struct Case {
    const char* name;
    float satisfaction;
    uint16_t delays;
    uint32_t bonus;
    float after;
  };
  const Case cases[] = {
      {"eases toward 100", 60.0f, 0, 0, 62.0f},
      {"delays hold it", 60.0f, 3, 0, 60.0f},
      {"the bonus counts", 60.0f, 0, 1, 61.75f},
  };
  for (const Case& c : cases) {
    auto* contract = new cAirlineContract(&data);
    contract->satisfaction = c.satisfaction;
    contract->delayCounter = c.delays;
    contract->bonusSource = c.bonus;
    w.manager.airlineLists[kList_Active].push_back(contract);
    w.manager.DriftSatisfaction();
    EXPECT_FLOAT_EQ(contract->satisfaction, c.after) << c.name;
    EXPECT_EQ(contract->delayCounter, 0) << c.name;
    delete contract;
    w.manager.airlineLists[kList_Active].clear();
  }
}

}  // namespace

namespace {

TEST_F(ContractManagerTest, StatisticsReadTheRunningContracts) {
  w.world.stats->tuning.defaultBusinessSatisfaction = 40.0f;
  AirlineData data{"Avg", "", 0, 0, 0, 0, {}};
  BusinessData shop{"Shop", "", 0, 0, 100};
  auto* a = new cAirlineContract(&data);
  auto* b = new cAirlineContract(&data);
  auto* pooled = new cAirlineContract(&data);
  a->satisfaction = 40.0f;
  b->satisfaction = 60.0f;
  pooled->satisfaction = 0.0f;
  w.manager.airlineLists[kList_Active] = {a, b};
  w.manager.airlineLists[kList_Pool] = {pooled};
  auto* hotel = new cBusinessContract(&shop);
  auto* idle = new cBusinessContract(&shop);
  hotel->satisfaction = 70.0f;
  hotel->requiredTraffic = 100;
  idle->satisfaction = 5.0f;
  w.manager.businessLists[kGroup_Hotel][kList_Active] = {hotel};
  w.manager.businessLists[kGroup_Business][kList_Pool] = {idle};
  w.world.airport.trafficToday = 50;
  w.world.stats->DailyUpdate();
  EXPECT_FLOAT_EQ(w.world.stats->block.airlineSatisfaction, 50.0f);
  EXPECT_FLOAT_EQ(w.world.stats->block.businessSatisfaction, 70.0f);  // before today's update
  EXPECT_FLOAT_EQ(hotel->satisfaction, 0.25f * 40.0f);
  EXPECT_FLOAT_EQ(idle->satisfaction, 5.0f);  // pooled: no partner yet
}

}  // namespace
