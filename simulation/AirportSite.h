#pragma once
// What the airport manager needs of the placed buildings beyond the building
// manager's declared operations: runways with their links, terminal gates
// and slots, drop-off places of storages, parking facilities and
// administration places. The building side provides it (the building
// manager or a view over its lists) and hands it to the airport manager.
#include <cstdint>
#include <string>
#include <vector>

#include "construction/PathFinder.h"

class BOInstance;
class cContract;
class cEntity_Airplane;
class cFlightContract;

class AirportSite {
 public:
  virtual ~AirportSite() = default;

  // The building manager's lists, in list order.
  virtual const std::vector<BOInstance*>& Runways() = 0;
  virtual const std::vector<BOInstance*>& ParkingFacilities() = 0;
  virtual const std::vector<BOInstance*>& AdminBuildings() = 0;

  // The placed building's identity word (class, id, level, category,
  // serial).
  virtual uint32_t IdentityWord(BOInstance* building) = 0;
  // The building's anchor cell on the plot grid.
  virtual void AnchorCell(BOInstance* building, uint16_t* x, uint16_t* y) = 0;
  // Value `index` (0-based) of the building type's ambient traffic data;
  // 0 when the type has fewer.
  virtual float AmbientNumber(BOInstance* building, uint32_t index) = 0;

  // A runway's type length and its path node (null outside the grid).
  virtual float RunwayLength(BOInstance* runway) = 0;
  virtual cPathNode* RunwayNode(BOInstance* runway) = 0;
  // The terminals linked to the runway, in link order, and the runway's path
  // request to gate `gate` of one of them (null when there is none).
  virtual std::vector<BOInstance*> LinkedTerminals(BOInstance* runway) = 0;
  virtual Route* GateRoute(BOInstance* runway, BOInstance* terminal, uint32_t gate) = 0;

  // A runway's state as its airplanes see it: enabled, the landing lock
  // byte (set while an airplane uses the runway), its start cell and the
  // type's grid offset.
  virtual bool RunwayEnabled(BOInstance* runway) = 0;
  virtual uint8_t* RunwayLandingLock(BOInstance* runway) = 0;
  virtual void RunwayStart(BOInstance* runway, int16_t* x, int16_t* y) = 0;
  virtual void RunwayTypeOffset(BOInstance* runway, int16_t* x, int16_t* y) = 0;
  // The runway's length in plot cells along its axis, from the start cell:
  // a landing airplane comes to rest within it.
  virtual uint16_t RunwayCells(BOInstance* runway) = 0;
  // A placed building's rotation (0-3).
  virtual uint8_t BuildingRotation(BOInstance* building) = 0;

  // A terminal's parked airplanes, one stand per gate: parking puts the
  // airplane at its stand (a stand outside the gates is left alone); one
  // leaving clears the stands that name it. Other buildings keep none.
  virtual void ParkAirplane(BOInstance* building, uint8_t stand, cEntity_Airplane* airplane) = 0;
  virtual void UnparkAirplane(BOInstance* building, cEntity_Airplane* airplane) = 0;

  // A terminal's gates: count, path node, random hour byte (0-23).
  virtual uint32_t GateCount(BOInstance* terminal) = 0;
  virtual cPathNode* GateNode(BOInstance* terminal, uint32_t gate) = 0;
  virtual uint8_t GateHour(BOInstance* terminal, uint32_t gate) = 0;
  // Puts the flight into a free slot of the gate, chosen at random, and
  // records the terminal's word, the gate and the slot on the flight; false
  // when every slot is taken.
  virtual bool AssignFlightToFreeSlot(BOInstance* terminal, uint32_t gate, cFlightContract* flight) = 0;
  // The flights in the terminal's gate slots, gate by gate.
  virtual void CollectGateFlights(BOInstance* terminal, std::vector<cFlightContract*>& out) = 0;

  // A storage's first drop-off place's path node (null without one).
  virtual cPathNode* DropoffNode(BOInstance* storage) = 0;
  // Takes a free drop-off place for the flight and records the storage's
  // word and the place on the flight; false when all are taken.
  virtual bool AssignDropoff(BOInstance* storage, cFlightContract* flight) = 0;
  virtual void ReleaseDropoff(BOInstance* storage, uint8_t place) = 0;

  // Cargo kept in a storage, by owner (the airline's name), with a pick-up
  // time: free space, store (returns what fitted), cargo due by `now`,
  // take up to `amount` of what is due (returns what was taken).
  virtual int32_t StorageFreeSpace(BOInstance* storage) = 0;
  virtual uint32_t StoreCargo(BOInstance* storage, const std::string& owner, uint32_t amount,
                              uint32_t pickUpTime) = 0;
  virtual uint32_t StoredCargo(BOInstance* storage, uint32_t now, const std::string& owner) = 0;
  virtual uint32_t TakeCargo(BOInstance* storage, const std::string& owner, uint32_t amount, uint32_t now) = 0;
  // The contract the storage is dedicated to (null: none), whether its type
  // provides cold storage, and its type's service kind flags.
  virtual cContract* OwnerContract(BOInstance* storage) = 0;
  virtual bool ProvidesColdStorage(BOInstance* storage) = 0;
  virtual uint32_t ServiceKinds(BOInstance* building) = 0;

  // Administration: free places, and the administered words.
  virtual int32_t FreeAdminPlaces(BOInstance* admin) = 0;
  // Appends the word and lowers the free places by one.
  virtual void AddAdministered(BOInstance* admin, uint32_t word) = 0;
  // Drops the first administered word naming the same building and frees
  // its place; false when none does.
  virtual bool TakeQueuedType(BOInstance* admin, uint32_t word) = 0;
};
