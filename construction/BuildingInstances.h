#pragma once
// The instance classes of the facility kinds other than the terminal.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/PathFinder.h"
#include "engine/math/JVector.h"

class OrgInstance;
class SaveRecordWriter;
class ByteReader;

class BuildingInstance : public BOInstance {};
class SecurityInstance : public BOInstance {};
class EmergencyInstance : public BOInstance {};

class AmenityInstance : public BOInstance {
 public:
  // Its type's business goes back to the pool with 365 days to wait.
  void Demolish(cKV9_GlobalWrapper* table) override;
};

class ParkingInstance : public BOInstance {
 public:
  void UpdateStatus(cKV9_GlobalWrapper* table) override;
  int32_t parkingCapacity = 0;
};

class AdminInstance : public BOInstance {
 public:
  void UpdateStatus(cKV9_GlobalWrapper* table) override;
  void Demolish(cKV9_GlobalWrapper* table) override;
  // Removes the first administered word naming the same building and frees
  // its place; false when none.
  bool TakeQueuedType(OID building);
  int32_t freePlaces = 0;
  std::vector<OID> administered;
};

class OrgInstance : public BOInstance {
 public:
  void UpdateStatus(cKV9_GlobalWrapper* table) override;
  void Demolish(cKV9_GlobalWrapper* table) override;
  void ReleaseRunway(RunwayInstance* runway);
  std::vector<RunwayInstance*> runways;
};

struct TerminalConnections {
  TerminalInstance* terminal = nullptr;
  std::vector<Route*> routes;  // one per gate
};

struct HangarConnection {
  void* requester = nullptr;
  Route* route = nullptr;
};

class RunwayInstance : public BOInstance {
 public:
  ~RunwayInstance() override;
  bool IsFunctional() override;
  // Takes the first control tower with room; false (with the control tower
  // dialog) when none qualifies.
  bool OnOpen(cKV9_GlobalWrapper* table) override;
  void UpdateStatus(cKV9_GlobalWrapper* table) override;
  void Demolish(cKV9_GlobalWrapper* table) override;
  void ConnectTerminal(TerminalInstance* terminal);
  void DisconnectTerminal(TerminalInstance* terminal);
  void ReleaseRequester(void* requester);

  cPathNode* node = nullptr;
  // Airplanes land and take off only while it is set.
  uint8_t enabled = 1;
  // Set while an airplane lands on, rolls out on or takes off from the
  // runway; the airplane that set it clears it.
  uint8_t landingLock = 0;
  std::vector<TerminalConnections*> terminalLinks;  // owned
  std::vector<HangarConnection*> hangarLinks;       // owned
  OrgInstance* tower = nullptr;

 private:
  cPathFinder* Finder();
  void CancelAll();
};

struct CargoSpace {
  std::string owner;
  uint32_t amount = 0;
  uint32_t time = 0;
};

struct StorageDropoff {
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t w = 0;
  uint16_t l = 0;
  JVector direction;
};

inline constexpr size_t kCargoOwnerMax = 50;

class StorageInstance : public BOInstance {
 public:
  StorageInstance() : dropoffNodes(1, nullptr) {}
  void UpdateStatus(cKV9_GlobalWrapper* table) override;
  void Demolish(cKV9_GlobalWrapper* table) override;

  void SetDropoffCount(uint8_t count);
  // Takes a random free drop-off place for the flight and records this
  // building's word and the place on the flight (the second slot key, which
  // also numbers the airport's cargo bank); false when all are taken.
  bool AssignDropoff(cFlightContract* flight);
  void ResetCargo(int32_t newCapacity);
  int32_t GetFreeSpace() const;
  uint32_t StoreCargo(const std::string& owner, uint32_t amount, uint32_t time);
  uint32_t TakeCargo(const std::string& owner, uint32_t amount, uint32_t time);
  uint32_t GetStoredCargo(const std::string& owner, uint32_t time) const;
  // The cargo record: 1, count, entries (name cut to 50), capacity.
  void SaveCargo(SaveRecordWriter& out) const;
  // Reads a record that CheckCargo accepted.
  void LoadCargo(ByteReader& in);
  // Size of a cargo record at the reader's place; false when it does not fit.
  static bool CheckCargo(ByteReader in, size_t* bytes);
  // Builds the drop-off records from the type's places.
  void BuildDropoffs(cKV9_GlobalWrapper* table);

  std::vector<cPathNode*> dropoffNodes;
  std::vector<uint8_t> dropoffFlags;
  std::vector<StorageDropoff> dropoffs;
  int32_t capacity = 0;
  std::vector<CargoSpace> cargo;
};

class ServiceInstance : public BOInstance {
 public:
  void UpdateStatus(cKV9_GlobalWrapper* table) override;
  void Demolish(cKV9_GlobalWrapper* table) override;
  // Set while this building's share is taken off the upkeep factor, so
  // taking and giving back stay paired.
  uint8_t upkeepShareTaken = 0;
};
