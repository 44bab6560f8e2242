#pragma once
// The airport manager's view of the placed buildings: the building manager's
// runway, parking and administration lists, and what the instances keep
// themselves (runway links and locks, terminal gates and their flight slots,
// storage drop-off places and cargo, administration places), read and changed
// in place. A building of the wrong kind, or none, gets the empty answer
// (0, null, false) and is never changed.
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/AirportSite.h"

class cEntity_BuildingManager;

class BuildingAirportSite : public AirportSite {
 public:
  // The manager is not owned; it must outlive the site or be replaced first.
  explicit BuildingAirportSite(cEntity_BuildingManager* buildings) : buildings_(buildings) {}
  cEntity_BuildingManager* Buildings() const { return buildings_; }

  const std::vector<BOInstance*>& Runways() override;
  // The finished parking buildings, in the placed list's order.
  const std::vector<BOInstance*>& ParkingFacilities() override;
  const std::vector<BOInstance*>& AdminBuildings() override;

  uint32_t IdentityWord(BOInstance* building) override;
  void AnchorCell(BOInstance* building, uint16_t* x, uint16_t* y) override;
  float AmbientNumber(BOInstance* building, uint32_t index) override;

  float RunwayLength(BOInstance* runway) override;
  cPathNode* RunwayNode(BOInstance* runway) override;
  std::vector<BOInstance*> LinkedTerminals(BOInstance* runway) override;
  Route* GateRoute(BOInstance* runway, BOInstance* terminal, uint32_t gate) override;

  bool RunwayEnabled(BOInstance* runway) override;
  uint8_t* RunwayLandingLock(BOInstance* runway) override;
  // The runway's anchor cell: the end its airplanes touch down at, from
  // which it runs in their landing direction.
  void RunwayStart(BOInstance* runway, int16_t* x, int16_t* y) override;
  // The runway's centre line across its axis, from the start cell, before
  // the rotation: half the type's footprint width.
  void RunwayTypeOffset(BOInstance* runway, int16_t* x, int16_t* y) override;
  // The type's footprint length: runways run along their length.
  uint16_t RunwayCells(BOInstance* runway) override;
  uint8_t BuildingRotation(BOInstance* building) override;

  uint32_t GateCount(BOInstance* terminal) override;
  cPathNode* GateNode(BOInstance* terminal, uint32_t gate) override;
  uint8_t GateHour(BOInstance* terminal, uint32_t gate) override;
  bool AssignFlightToFreeSlot(BOInstance* terminal, uint32_t gate, cFlightContract* flight) override;
  void CollectGateFlights(BOInstance* terminal, std::vector<cFlightContract*>& out) override;
  // The terminal's airplane list, one entry per gate.
  void ParkAirplane(BOInstance* building, uint8_t stand, cEntity_Airplane* airplane) override;
  void UnparkAirplane(BOInstance* building, cEntity_Airplane* airplane) override;

  cPathNode* DropoffNode(BOInstance* storage) override;
  bool AssignDropoff(BOInstance* storage, cFlightContract* flight) override;
  void ReleaseDropoff(BOInstance* storage, uint8_t place) override;

  int32_t StorageFreeSpace(BOInstance* storage) override;
  uint32_t StoreCargo(BOInstance* storage, const std::string& owner, uint32_t amount, uint32_t pickUpTime) override;
  uint32_t StoredCargo(BOInstance* storage, uint32_t now, const std::string& owner) override;
  uint32_t TakeCargo(BOInstance* storage, const std::string& owner, uint32_t amount, uint32_t now) override;
  cContract* OwnerContract(BOInstance* storage) override;
  bool ProvidesColdStorage(BOInstance* storage) override;
  // The kind flags of the vehicles the building sends out: the last value
  // of its type's ambient traffic data.
  uint32_t ServiceKinds(BOInstance* building) override;

  int32_t FreeAdminPlaces(BOInstance* admin) override;
  void AddAdministered(BOInstance* admin, uint32_t word) override;
  bool TakeQueuedType(BOInstance* admin, uint32_t word) override;

 private:
  // The lists handed out as building pointers. Each is rewritten only when
  // the manager's list changed, so a caller walking the last answer is not
  // disturbed by another question in between.
  std::vector<BOInstance*> runways_;
  std::vector<BOInstance*> parking_;
  std::vector<BOInstance*> admins_;
  cEntity_BuildingManager* buildings_;
};
