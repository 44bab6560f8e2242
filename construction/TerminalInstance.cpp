#include "construction/TerminalInstance.h"

#include <algorithm>
#include <cstdio>

#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/TaxiwayAccessNodes.h"
#include "construction/TerminalItem.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AirlineContract.h"
#include "simulation/AirportManager.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/FlightContract.h"
#include "simulation/SimulationServices.h"

TerminalInstance::~TerminalInstance() {
  for (FlightBank* bank : banks) delete bank;
}

void TerminalInstance::Init() {
  BOInstance::Init();
  auto* terminal = dynamic_cast<cTerminal*>(GetType());
  const uint32_t space = terminal ? terminal->interiorSpace : 0;
  // 2 x 2 blocks, row of blocks by row of blocks, 4 cells a block.
  uint32_t count = 0;
  for (uint32_t by = 0; by < kInteriorSide / 2; ++by) {
    for (uint32_t bx = 0; bx < kInteriorSide / 2; ++bx) {
      const uint8_t use = count < space ? 1 : 0;
      for (uint32_t dy = 0; dy < 2; ++dy)
        for (uint32_t dx = 0; dx < 2; ++dx) usable[by * 2 + dy][bx * 2 + dx] = use;
      count += 4;
    }
  }
}

bool TerminalInstance::IsFunctional() {
  if (constructionTimeLeft != 0) return false;
  if (GetType() && GetType()->HasRoadAccess() && roadConnections == 0) return false;
  bool kinds[4] = {false, false, false, false};
  for (const TerminalItemNode& node : items) {
    if (node.item && node.item->kind < 4) kinds[node.item->kind] = true;
  }
  return kinds[0] && kinds[1] && kinds[3];
}

void TerminalInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  cEntity_BuildingManager* manager = Manager();
  if (manager && std::find(manager->terminals.begin(), manager->terminals.end(), this) == manager->terminals.end())
    manager->terminals.push_back(this);
  if (gates.empty()) {
    std::vector<TaxiwayAccessCell> cells;
    GetTaxiwayAccessCells(cells);
    cPathFinder* finder = table ? table->pathFinder : nullptr;
    for (const TaxiwayAccessCell& cell : cells) {
      cPathNode* node = finder ? finder->GetNodeAt(cell.x + cell.width / 2, cell.y + cell.length / 2) : nullptr;
      AddGate(node, static_cast<uint8_t>(Noise_RandomIntInRange(0, 23)));
    }
    airplanes.assign(gates.size(), nullptr);
  }
  if (manager) {
    for (RunwayInstance* runway : manager->runways) runway->ConnectTerminal(this);
  }
  BOInstance::UpdateStatus(table);
}

void TerminalInstance::Demolish(cKV9_GlobalWrapper* table) {
  if (cEntity_BuildingManager* manager = Manager()) {
    auto& list = manager->terminals;
    list.erase(std::remove(list.begin(), list.end(), static_cast<BOInstance*>(this)), list.end());
    for (RunwayInstance* runway : manager->runways) runway->DisconnectTerminal(this);
  }
  RescheduleFlights(table);
  for (FlightBank* bank : banks) delete bank;
  banks.clear();
  BOInstance::Demolish(table);
}

void TerminalInstance::AddGate(cPathNode* node, uint8_t randomByte) {
  gates.push_back(node);
  banks.push_back(new FlightBank());
  gateBytes.push_back(randomByte);
  gateRoutes.push_back(nullptr);
}

bool TerminalInstance::AssignFlightToGateRandom(uint8_t gate, cFlightContract* flight) {
  if (gate >= banks.size() || !flight) return false;
  std::vector<uint8_t> free;
  for (uint8_t slot = 0; slot < kFlightBankSlots; ++slot) {
    if (!banks[gate]->slots[slot]) free.push_back(slot);
  }
  if (free.empty()) return false;
  const uint8_t slot = free[static_cast<size_t>(Noise_RandomIntInRange(0, static_cast<int32_t>(free.size()) - 1))];
  banks[gate]->slots[slot] = flight;
  flight->buildingWord = word;
  flight->slotKeys[0] = gate;
  flight->slotKeys[1] = slot;
  return true;
}

void TerminalInstance::AssignFlightToGate(cFlightContract* flight, uint8_t gate, uint8_t slot) {
  if (!flight || gate >= banks.size() || slot >= kFlightBankSlots) return;
  banks[gate]->slots[slot] = flight;
  // A re-placed flight joins the terminal's flights again, so it arrives.
  if (std::find(flights.begin(), flights.end(), flight) == flights.end()) flights.push_back(flight);
}

void TerminalInstance::RemoveFlight(cFlightContract* flight) {
  for (FlightBank* bank : banks) {
    for (cFlightContract*& slot : bank->slots) {
      if (slot == flight) {
        slot = nullptr;
        goto cleared;
      }
    }
  }
cleared:
  flights.erase(std::remove(flights.begin(), flights.end(), flight), flights.end());
}

uint32_t TerminalInstance::CountOccupiedGateSlots() const {
  uint32_t n = 0;
  for (const FlightBank* bank : banks)
    for (cFlightContract* slot : bank->slots) n += slot ? 1 : 0;
  return n;
}

void TerminalInstance::CollectGateFlights(std::vector<cFlightContract*>& out) {
  for (FlightBank* bank : banks)
    for (cFlightContract* slot : bank->slots)
      if (slot) out.push_back(slot);
  lastWord = 0;
}

void TerminalInstance::MarkItemCells(const TerminalItemNode& node, uint8_t value) {
  if (!node.item) return;
  for (uint32_t dy = 0; dy < node.item->length; ++dy)
    for (uint32_t dx = 0; dx < node.item->width; ++dx) {
      const uint32_t cx = node.x + dx, cy = node.y + dy;
      if (cx < kInteriorSide && cy < kInteriorSide) occupied[cy][cx] = value;
    }
}

TerminalItemNode* TerminalInstance::AddTerminalItem(TerminalItem* item, uint32_t ix, uint32_t iy) {
  if (!item) return nullptr;
  TerminalItemNode node;
  node.item = item;
  node.x = ix;
  node.y = iy;
  items.push_back(node);
  MarkItemCells(items.back(), 1);
  if (item->business) {
    item->business->placed = 1;
    item->business->buildingWord = word;
  }
  return &items.back();
}

void TerminalInstance::RemoveTerminalItemWith(uint8_t ix, uint8_t iy, cEntity_ContractManager* contracts) {
  for (auto it = items.begin(); it != items.end(); ++it) {
    if (it->x != ix || it->y != iy) continue;
    MarkItemCells(*it, 0);
    if (contracts && it->item && it->item->business) {
      cBusinessContract* business = it->item->business;
      business->placed = 0;
      business->coolDown = 365;
      contracts->ReturnBusinessToPool(kGroup_Business, business);
    }
    items.erase(it);
    return;
  }
}

void TerminalInstance::RemoveTerminalItem(uint8_t ix, uint8_t iy) {
  cKV9_GlobalWrapper* table = GameTableOf(Manager());
  RemoveTerminalItemWith(ix, iy, table ? table->contractManager : nullptr);
}

bool TerminalInstance::MoveTerminalItem(uint8_t fromX, uint8_t fromY, uint8_t toX, uint8_t toY) {
  for (const TerminalItemNode& node : items) {
    if (node.x != fromX || node.y != fromY) continue;
    TerminalItem* item = node.item;
    cContract* contract = node.contract;
    RemoveTerminalItemWith(fromX, fromY, nullptr);
    if (TerminalItemNode* moved = AddTerminalItem(item, toX, toY)) moved->contract = contract;
    return true;
  }
  return false;
}

void TerminalInstance::PlaceDefaultItems(cEntity_BuildingManager* manager, const std::string& today) {
  auto* terminal = dynamic_cast<cTerminal*>(GetType());
  if (!terminal || !manager) return;
  for (const std::string& itemName : terminal->itemNames) {
    TerminalItem* item = manager->FindTerminalObject(itemName);
    if (!item || item->width == 0 || item->length == 0) continue;
    bool placedItem = false;
    for (uint32_t iy = 0; iy < kInteriorSide && !placedItem; iy += item->length) {
      for (uint32_t ix = 0; ix < kInteriorSide && !placedItem; ix += item->width) {
        bool fits = ix + item->width <= kInteriorSide && iy + item->length <= kInteriorSide;
        for (uint32_t dy = 0; fits && dy < item->length; ++dy)
          for (uint32_t dx = 0; fits && dx < item->width; ++dx)
            fits = usable[iy + dy][ix + dx] && !occupied[iy + dy][ix + dx];
        if (!fits) continue;
        item->date = today;
        AddTerminalItem(item, ix, iy);
        placedItem = true;
      }
    }
  }
  gateRecords.assign(gates.size(), 0);
}

void TerminalInstance::RescheduleFlights(cKV9_GlobalWrapper* table) {
  cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  cEntity_AirportManager* airport = table ? table->airportManager : nullptr;
  for (FlightBank* bank : banks) {
    for (cFlightContract*& slot : bank->slots) {
      cFlightContract* flight = slot;
      if (!flight) continue;
      slot = nullptr;
      if (contracts) {
        auto& all = contracts->allFlights;
        all.erase(std::remove(all.begin(), all.end(), flight), all.end());
      }
      if (flight->airline) flight->RemoveFromSchedule(flight->airline, table);
      const bool cargo = flight->airline && flight->airline->data && flight->airline->data->cargo;
      const bool placedAgain =
          airport && (cargo ? airport->PlaceCargoFlight(flight) : airport->PlacePassengerFlight(flight));
      if (placedAgain) {
        if (flight->airline) flight->airline->MarkFlightUnscheduled(flight);
        continue;
      }
      const std::string airline = flight->airline ? flight->airline->GetName() : std::string();
      char text[512];
      std::snprintf(text, sizeof text, "%s flight %d was unable to be rescheduled.  The contract has been lost.",
                    airline.c_str(), static_cast<int>(flight->flightId));
      PostNotice(table, "Flight contract lost", text);
      if (flight->airline && flight->airline->signedFlights.empty() && contracts) {
        contracts->ReturnAirlineToPool(flight->airline);
        flight->airline->state = 12;
        std::snprintf(text, sizeof text,
                      "Your contract with %s has been lost because none of their flights were able to be "
                      "rescheduled.",
                      airline.c_str());
        PostNotice(table, "Airline contract lost", text);
      }
    }
  }
  flights.clear();
}
