#pragma once
// One flight on the airport ("SPN::KV9:AIRPLANE"): placed on the approach
// to a runway, it holds for the runway and its gate, lands, taxis in, is
// served by maintenance vehicles, taxis out, takes off and ends. Its arrival
// and stay are paid through the statistics; a cargo flight exchanges cargo
// with the storages.
#include <cstdint>

#include "simulation/Ambient.h"

class AirportSite;
class BOInstance;
class cAirlineContract;
class cFlightContract;
struct PathRequest;

enum AirplanePhase : uint32_t {
  kPhase_None = 0,
  kPhase_Holding = 1,
  kPhase_Landing = 2,
  kPhase_TaxiIn = 3,
  kPhase_AtGate = 4,
  kPhase_TaxiOut = 5,
  kPhase_TakeOff = 6,
};

// The services an airplane may need, in service order.
enum AirplaneService : uint32_t {
  kService_Baggage = 0,
  kService_Maintenance = 1,
  kService_Cargo = 2,
  kService_SecondMaintenance = 3,
  kService_Catering = 4,
  kServiceCount = 5,
};

class cEntity_Airplane : public cEntity_Ambient {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:AIRPLANE";
  static constexpr float kServiceTime = 1800.0f;
  static constexpr uint32_t kHoldLimit = 1800;           // seconds before a held flight gives up
  static constexpr float kServiceGiveUp = 21600.0f;      // six hours without a service vehicle
  static constexpr uint32_t kCargoCapacity = 100;
  static constexpr uint32_t kCargoKind = 0x20;
  // The maintenance kind of each service.
  static constexpr uint32_t kServiceKinds[kServiceCount] = {0x08, 0x10, 0x20, 0x40, 0x80};
  static const char* const kServiceNames[kServiceCount];

  explicit cEntity_Airplane(cEntity_Manager* manager);

  // Takes the flight, draws the motion values from its model.
  void SetFlight(cFlightContract* flight);
  // Puts the airplane on the approach and starts holding.
  void Appear();
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  // 8: the model's sound; 9 and 10: hold for the runway and the gate.
  void OnTargetEvent(uint32_t code) override;
  // Releases the locks it holds and its path request, leaves the clock, the
  // ambient manager's list and the world.
  void Finish() override;

  // The steps a tick runs, open for the tests.
  void ServicesStep();
  void GateArrival(bool restored);
  void ArrivalStep();
  void DepartureStep();
  void BeginDeparture();
  // Parks at the gate, in the terminal's list of parked airplanes; leaving
  // the gate (or ending) takes it out again.
  void Park();

  // Cargo into and out of a storage; true when the exchange is complete
  // (nothing left on board, or the airplane full).
  bool StoreCargoInStorage(BOInstance* storage);
  bool TakeCargoFromStorage(BOInstance* storage);

  cAirlineContract* Airline() const;
  // The airline's name, empty without a flight, contract or airline record.
  std::string AirlineName() const;
  uint8_t SizeClass() const;
  bool AirportOpen() const;

  cPathNode* gate = nullptr;
  uint8_t standIndex = 0xFF;
  BOInstance* runway = nullptr;
  BOInstance* terminal = nullptr;
  BOInstance* storage = nullptr;
  cFlightContract* flight = nullptr;
  uint32_t phase = kPhase_None;
  uint32_t step = 0;
  float serviceTime = kServiceTime;
  float tickSeconds = 0.0f;
  float verticalSpeed = 0.0f;
  float verticalLimit = 5.0f;
  float verticalAccel = 0.8f;
  float horizontalSpeed = 34.0f;
  float horizontalLimit = 34.0f;
  float horizontalAccel = 9.0f;
  float taxiSpeed = 8.0f;
  PathRequest* request = nullptr;
  uint8_t holdsRunwayLock = 0;
  uint8_t holdsGateLock = 0;
  float roll = 0.0f;
  float rollTimer = 0.0f;
  uint16_t lastCellX = 0xFFFF;
  uint16_t lastCellY = 0xFFFF;
  // Whole game seconds: a float of the clock's total has a 64-second step
  // this far from 1970 and would skew the stay charged.
  uint32_t landingTime = 0;
  uint32_t now = 0;
  uint32_t wait = 0;
  uint32_t appearTime = 0;
  uint8_t cargoFlight = 0;
  uint8_t arrivalDone = 0;
  uint8_t departureCharged = 0;
  uint8_t serviceRequests[kServiceCount] = {};
  uint8_t servicesUnderWay[kServiceCount + 1] = {};
  uint32_t cargoOnBoard = 0;
  uint32_t cargoCapacity = kCargoCapacity;
  uint8_t coldStorage = 0;
  float serviceWait = 0.0f;
  float pitch = 0.0f;

 private:
  // The airport's buildings as the airport manager sees them; null without
  // an airport manager or its site.
  AirportSite* Site() const;
  void Shortcut();
  void PhaseStep();
  void Holding();
  void Landing();
  void Taxi(bool in);
  void WaitRule(uint32_t firstPending);
  bool RequestRoute(uint16_t toX, uint16_t toY);
  void MoveAlong(float distance);
  bool TurnToward(float yaw);
  void ApplyRoll();
  void LeaveStand();
  // The cell `along` cells from the runway's start in its landing
  // direction, on its centre line; false without a runway.
  bool RunwayCentreCell(int32_t along, int32_t* x, int32_t* y);
  // How far ahead along the landing direction the runway's last cell lies
  // (world units; below 0 when past it).
  float RolloutLeft();
  void ReleaseRunwayLock();
  void ReleaseGateLock();
  uint8_t* RunwayLock() const;
  bool RunwayEnabled() const;
  float Ground() const;
  void PlayOnce(const std::string& file);
};

// Airplanes have their own spawn: made by the ambient manager.
uint8_t RunwayLandingDirection(uint8_t rotation);
