#include "simulation/Airplane.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "construction/BOInstance.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "engine/entity/EntityManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "simulation/AirlineContract.h"
#include "simulation/AirportManager.h"
#include "simulation/AirportSite.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/FlightContract.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SlowDown.h"
#include "simulation/StatManager.h"

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kQuarter = std::numbers::pi_v<float> / 2.0f;
constexpr float kTurnRate = 0.4f;  // radians per game second

float WrapYaw(float yaw) {
  yaw = std::fmod(yaw, kTwoPi);
  return yaw < 0.0f ? yaw + kTwoPi : yaw;
}

// Cells relative to the gate node's cell: at the gate arrival, and in the
// services step.
constexpr int16_t kArrivalCell[kServiceCount][2] = {{0, 2}, {0, 4}, {2, 4}, {2, 4}, {-2, 2}};
constexpr int16_t kStepCell[kServiceCount][2] = {{0, 2}, {0, 1}, {2, 3}, {2, 3}, {-2, 2}};

}  // namespace

const char* const cEntity_Airplane::kServiceNames[kServiceCount] = {"Baggage Handlers", "Maintanance",
                                                                    "Cargo Handlers", "Maintanance", "Catering"};

uint8_t RunwayLandingDirection(uint8_t rotation) {
  static constexpr uint8_t kDirection[4] = {2, 1, 0, 3};
  return kDirection[rotation & 3];
}

// An airplane's detail speed limit is the default whatever the settings
// say, so the settings are not looked up for every airplane.
cEntity_Airplane::cEntity_Airplane(cEntity_Manager* manager) : cEntity_Ambient(manager, kDefaultDetailSpeedLimit) {
  verticalLimit = Noise_RandomFloatInRange(4.0f, 6.0f);
  verticalAccel = Noise_RandomFloatInRange(0.7f, 0.9f);
  horizontalLimit = horizontalSpeed = Noise_RandomFloatInRange(32.0f, 36.0f);
  horizontalAccel = Noise_RandomFloatInRange(8.0f, 10.0f);
  taxiSpeed = Noise_RandomFloatInRange(7.0f, 9.0f);
  if (cSimulation_Clock* clock = GameClockOf(services_)) landingTime = clock->totalSeconds;
}

void cEntity_Airplane::SetFlight(cFlightContract* f) {
  flight = f;
  verticalSpeed = 0.0f;
  roll = 0.0f;
  const AirplaneData* model = f ? f->airplane : nullptr;
  if (!model) return;
  auto factor = [] { return Noise_RandomFloatInRange(0.95f, 1.05f); };
  verticalLimit = model->vertDropMaxVel * factor();
  verticalAccel = model->vertDropAccel * factor();
  horizontalLimit = horizontalSpeed = model->horizMaxVel * factor();
  horizontalAccel = model->horizAccel * factor();
  taxiSpeed = model->taxiVel * factor();
}

cAirlineContract* cEntity_Airplane::Airline() const { return flight ? flight->airline : nullptr; }

std::string cEntity_Airplane::AirlineName() const {
  const cAirlineContract* airline = Airline();
  return airline && airline->data ? airline->data->name : std::string();
}

uint8_t cEntity_Airplane::SizeClass() const {
  return flight && flight->airplane ? std::min<uint8_t>(flight->airplane->sizeClass, 3) : 0;
}

bool cEntity_Airplane::AirportOpen() const {
  const cEntity_AirportManager* airport = services_ ? services_->airportManager : nullptr;
  const cEntity_ContractManager* contracts = services_ ? services_->contractManager : nullptr;
  return (!airport || airport->closure == 0) && contracts && contracts->running;
}

uint8_t* cEntity_Airplane::RunwayLock() const {
  AirportSite* site = Site();
  return site && runway ? site->RunwayLandingLock(runway) : nullptr;
}

bool cEntity_Airplane::RunwayEnabled() const {
  AirportSite* site = Site();
  return site && runway && site->RunwayEnabled(runway);
}

float cEntity_Airplane::Ground() const {
  return services_ && services_->gamePlot ? services_->gamePlot->GetGroundHeight() : 0.0f;
}

void cEntity_Airplane::PlayOnce(const std::string& file) {
  if (GameSpeed() > kSoundSpeedLimit || !services_ || !services_->audioManager) return;
  cEntity_Manager* manager = GetManager();
  const std::string base = manager ? manager->GetResourcePath() : std::string();
  services_->audioManager->PlaySound(base + "Home\\" + file, false, 0);
}

void cEntity_Airplane::ReleaseRunwayLock() {
  if (!holdsRunwayLock) return;
  if (uint8_t* lock = RunwayLock()) *lock = 0;
  holdsRunwayLock = 0;
}

void cEntity_Airplane::ReleaseGateLock() {
  if (!holdsGateLock) return;
  if (gate) gate->lock = 0;
  holdsGateLock = 0;
}

void cEntity_Airplane::Appear() {
  for (int32_t i = 0; i < static_cast<int32_t>(GetModelNameCount()); ++i) {
    const std::string* name = GetModelName(i);
    if (name && *name == "Normal") SelectModel(i);
  }
  cSimulation_Clock* clock = GameClockOf(services_);
  now = clock ? clock->totalSeconds : 0;
  appearTime = now;
  SlowDownFor(services_, Happening::PlaneLanding);
  serviceTime = kServiceTime;
  landingTime = now;
  AirportSite* site = Site();
  uint8_t rotation = 0;
  float x = 0.0f, z = 0.0f;
  if (site && runway) {
    rotation = site->BuildingRotation(runway) & 3;
    int16_t sx = 0, sy = 0, ox = 0, oy = 0;
    site->RunwayStart(runway, &sx, &sy);
    site->RunwayTypeOffset(runway, &ox, &oy);
    PlotCellCentre(static_cast<uint16_t>(sx), static_cast<uint16_t>(sy), &x, &z);
    x += RotateGridOffsetX(rotation, ox, oy) * kPlotCellLength;
    z += RotateGridOffsetY(rotation, ox, oy) * kPlotCellLength;
  }
  gridDirection = RunwayLandingDirection(rotation);
  float dx = 0.0f, dz = 0.0f;
  GridStep(gridDirection, &dx, &dz);
  const float distance = 50.0f / std::max(verticalLimit, 0.1f) * horizontalLimit - Noise_RandomFloatInRange(1.0f, 3.0f);
  SetPosition(x - dx * distance, Ground() + 50.0f, z - dz * distance);
  pitch = 0.2f;
  SetRotation(pitch, gridDirection * kQuarter, 0.0f);
  phase = kPhase_Holding;
  step = 0;
  holdsRunwayLock = holdsGateLock = 0;
}

int32_t cEntity_Airplane::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float gameDelta) {
  if (eventFlag != kTimeEvent_Tick || !(gameDelta > 0.0f) || finished) return 0;
  cSimulation_Clock* clock = GameClockOf(services_);
  now = clock ? clock->totalSeconds : now;
  tickSeconds = gameDelta;
  if (GameSpeed() > detailSpeedLimit) {
    Shortcut();
    return 0;
  }
  ServicesStep();
  if (!finished) PhaseStep();
  return 0;
}

void cEntity_Airplane::Shortcut() {
  if (phase == kPhase_TaxiOut || phase == kPhase_TakeOff) {
    Finish();
    return;
  }
  if (phase != kPhase_AtGate) {
    // A gate another airplane holds, or a closed runway: wait out of sight,
    // but no longer than a held flight would.
    const bool gateTaken = gate && gate->lock && !holdsGateLock;
    if (gateTaken || !RunwayEnabled() || !gate) {
      SetVisible(false);
      if (now - appearTime > kHoldLimit && !holdsGateLock) {
        if (cAirlineContract* airline = Airline()) ++airline->delayCounter;
        Finish();
      }
      return;
    }
    if (!holdsGateLock) {
      gate->lock = 1;
      holdsGateLock = 1;
    }
    GateArrival(false);
    Park();
    SetVisible(true);
    ArrivalStep();
  }
  ReleaseRunwayLock();
  ServicesStep();
  if (serviceTime > 0.0f) return;
  if (!holdsGateLock) {
    Finish();
    return;
  }
  if (ShouldSlowOnPlaneTakeoff(services_ ? services_->eventManager : nullptr)) {
    if (cSimulation_Clock* clock = GameClockOf(services_)) clock->SetSpeed(1);
    BeginDeparture();
  } else {
    DepartureStep();
    Finish();
  }
}

void cEntity_Airplane::PhaseStep() {
  switch (phase) {
    case kPhase_Holding: Holding(); break;
    case kPhase_Landing: Landing(); break;
    case kPhase_TaxiIn: Taxi(true); break;
    case kPhase_AtGate:
      if (serviceTime <= 0.0f) BeginDeparture();
      break;
    case kPhase_TaxiOut: Taxi(false); break;
    case kPhase_TakeOff: {
      float dx = 0.0f, dz = 0.0f;
      GridStep(gridDirection, &dx, &dz);
      if (step == 0) {
        horizontalSpeed += horizontalAccel * tickSeconds;
        Translate(dx * horizontalSpeed * tickSeconds, 0.0f, dz * horizontalSpeed * tickSeconds);
        if (horizontalSpeed > 0.9f * horizontalLimit) pitch += 0.002f;
        if (horizontalSpeed > horizontalLimit) {
          horizontalSpeed = horizontalLimit;
          step = 1;
          ReleaseRunwayLock();
        }
      } else {
        verticalAccel = 0.1f;
        verticalSpeed = std::min(verticalSpeed + verticalAccel, verticalLimit);
        Translate(dx * horizontalSpeed * tickSeconds, tickSeconds * verticalSpeed, dz * horizontalSpeed * tickSeconds);
        pitch = std::min(pitch + 0.002f, 0.15f);
        ApplyRoll();
        if (GetPositionY() > Ground() + 100.0f) {
          Finish();
          return;
        }
      }
      SetRotation(pitch, gridDirection * kQuarter, roll);
      break;
    }
    default: break;
  }
}

void cEntity_Airplane::Holding() {
  if (now - appearTime > kHoldLimit) {
    if (cAirlineContract* airline = Airline()) ++airline->delayCounter;
    Finish();
    return;
  }
  uint8_t* runwayLock = RunwayLock();
  if (!AirportOpen() || !runwayLock || *runwayLock || !RunwayEnabled() || !gate || gate->lock) return;
  horizontalSpeed = horizontalLimit;
  phase = kPhase_Landing;
  step = 0;
  *runwayLock = 1;
  holdsRunwayLock = 1;
  gate->lock = 1;
  holdsGateLock = 1;
  verticalSpeed = 0.0f;
  wait = now - appearTime;
  if (wait > kHoldLimit)
    if (cAirlineContract* airline = Airline()) ++airline->delayCounter;
  ArrivalStep();
}

void cEntity_Airplane::ApplyRoll() {
  if (roll == 0.0f && Noise_RandomFloatInRange(0.0f, 1.0f) < 0.25f) {
    roll = Noise_RandomFloatInRange(0.01f, 0.015f) * (Noise_RandomFloatInRange(0.0f, 1.0f) < 0.5f ? -1.0f : 1.0f);
  } else if (roll != 0.0f) {
    const float back = 0.1f * tickSeconds;
    roll = std::abs(roll) <= back ? 0.0f : roll - std::copysign(back, roll);
  }
}

void cEntity_Airplane::MoveAlong(float distance) {
  float dx = 0.0f, dz = 0.0f;
  GridStep(gridDirection, &dx, &dz);
  Translate(dx * distance, 0.0f, dz * distance);
}

AirportSite* cEntity_Airplane::Site() const {
  return services_ && services_->airportManager ? services_->airportManager->GetSite() : nullptr;
}

bool cEntity_Airplane::RunwayCentreCell(int32_t along, int32_t* x, int32_t* y) {
  AirportSite* site = Site();
  if (!site || !runway) return false;
  const uint8_t rotation = site->BuildingRotation(runway) & 3;
  int16_t sx = 0, sy = 0, ox = 0, oy = 0;
  site->RunwayStart(runway, &sx, &sy);
  site->RunwayTypeOffset(runway, &ox, &oy);
  float dx = 0.0f, dz = 0.0f;
  GridStep(RunwayLandingDirection(rotation), &dx, &dz);
  *x = sx + static_cast<int32_t>(dx) * along + RotateGridOffsetX(rotation, ox, oy);
  *y = sy + static_cast<int32_t>(dz) * along + RotateGridOffsetY(rotation, ox, oy);
  return true;
}

float cEntity_Airplane::RolloutLeft() {
  AirportSite* site = Site();
  int32_t x = 0, y = 0;
  if (!site || !runway || !RunwayCentreCell(std::max<int32_t>(site->RunwayCells(runway) - 1, 0), &x, &y))
    return std::numeric_limits<float>::max();
  float ex = 0.0f, ez = 0.0f, dx = 0.0f, dz = 0.0f;
  PlotCellCentre(static_cast<uint16_t>(x), static_cast<uint16_t>(y), &ex, &ez);
  GridStep(gridDirection, &dx, &dz);
  return (ex - GetPositionX()) * dx + (ez - GetPositionZ()) * dz;
}

void cEntity_Airplane::Landing() {
  if (step == 0) {
    verticalSpeed = std::min(verticalSpeed + verticalAccel, verticalLimit);
    Translate(0.0f, -tickSeconds * verticalSpeed, 0.0f);
    MoveAlong(tickSeconds * horizontalSpeed);
    ApplyRoll();
    const float ground = Ground();
    if (GetPositionY() <= ground + 3.0f) roll = 0.0f;
    if (GetPositionY() <= ground) {
      SetPositionY(ground);
      step = 1;
      PlayOnce(FormatText("Sounds\\AP_tire%i.wav", Noise_RandomIntInRange(1, 4)));
    }
    SetRotation(pitch, gridDirection * kQuarter, roll);
    return;
  }
  pitch = std::max(pitch - 0.005f, 0.0f);
  // The model's braking is given at the scale of the approach, which would
  // carry the airplane hundreds of cells on; it brakes at least hard enough
  // to come to rest before the runway's last cell, where the runway's path
  // nodes take it to its gate.
  const float left = RolloutLeft();
  if (left > 0.0f) {
    const float brake = std::max(horizontalAccel, horizontalSpeed * horizontalSpeed / (2.0f * left));
    horizontalSpeed -= brake * tickSeconds;
    if (horizontalSpeed > 0.0f) MoveAlong(std::min(tickSeconds * horizontalSpeed, left));
  } else {
    // Touched down past the end (a long tick): it stops on the last cell.
    MoveAlong(left);
    horizontalSpeed = 0.0f;
  }
  SetRotation(pitch, gridDirection * kQuarter, 0.0f);
  if (horizontalSpeed > 0.0f) return;
  horizontalSpeed = 0.0f;
  taxiSpeed = Noise_RandomFloatInRange(2.0f, 4.0f);
  phase = kPhase_TaxiIn;
  if (!gate || !RequestRoute(gate->x, gate->y)) Finish();
}

bool cEntity_Airplane::RequestRoute(uint16_t toX, uint16_t toY) {
  cPathFinder* finder = services_ ? services_->pathFinder : nullptr;
  if (request && finder) finder->CancelRequest(request);
  request = nullptr;
  uint16_t x = 0, y = 0;
  if (!finder || !WorldToPlotCell(GetPositionX(), GetPositionZ(), &x, &y)) return false;
  cPathNode* from = finder->GetNodeAt(x, y);
  cPathNode* to = finder->GetNodeAt(toX, toY);
  if (!from || !to) return false;
  const uint8_t clearance = flight && flight->airplane && flight->airplane->requiredRunway <= 1000 ? 1 : 2;
  request = finder->RequestPath(from, to, 1, clearance, 0);
  if (request && request->status && request->route.size() >= 2) {
    CopyRoute(route, request->route);
    step = 0;
    return true;
  }
  // Too short or not ready: dropped, asked again after five seconds.
  if (request) finder->CancelRequest(request);
  request = nullptr;
  route.clear();
  step = 5;
  waitTimer = 5.0f;
  return true;
}

bool cEntity_Airplane::TurnToward(float target) {
  float yaw = WrapYaw(GetRotationY());
  target = WrapYaw(target);
  float diff = target - yaw;
  if (diff > std::numbers::pi_v<float>) diff -= kTwoPi;
  if (diff < -std::numbers::pi_v<float>) diff += kTwoPi;
  const float turn = kTurnRate * tickSeconds;
  if (std::abs(diff) <= turn) {
    SetRotationY(target);
    return true;
  }
  SetRotationY(WrapYaw(yaw + std::copysign(turn, diff)));
  return false;
}

void cEntity_Airplane::Taxi(bool in) {
  AirportSite* site = Site();
  if (step == 5) {
    waitTimer -= tickSeconds;
    if (waitTimer > 0.0f) return;
    if (in) {
      if (!gate || !RequestRoute(gate->x, gate->y)) Finish();
    } else {
      BeginDeparture();
    }
    return;
  }
  if (step == 0 || step == 1) {
    if (route.size() < 2) {
      step = 2;
      return;
    }
    cPathNode* next = route[1];
    float tx = 0.0f, tz = 0.0f;
    PlotCellCentre(next->x, next->y, &tx, &tz);
    const int dx = static_cast<int>(next->x) - static_cast<int>(route[0]->x);
    const int dy = static_cast<int>(next->y) - static_cast<int>(route[0]->y);
    gridDirection = dx > 0 ? 1 : dx < 0 ? 3 : dy > 0 ? 2 : 0;
    if (step == 0) {
      if (TurnToward(gridDirection * kQuarter)) step = 1;
      return;
    }
    const float ex = tx - GetPositionX(), ez = tz - GetPositionZ();
    const float left = std::sqrt(ex * ex + ez * ez);
    const float move = taxiSpeed * kPlotCellLength * tickSeconds;
    if (left <= 0.01f || move >= left) {
      SetPosition(tx, GetPositionY(), tz);
      route[0]->reservation = 0;
      route.erase(route.begin());
      step = 0;
    } else {
      Translate(ex / left * move, 0.0f, ez / left * move);
    }
    return;
  }
  if (in && step == 2) {
    const uint8_t rotation = site && (terminal || storage) ? site->BuildingRotation(terminal ? terminal : storage) : 0;
    if (!TurnToward(((rotation + 2) & 3) * kQuarter)) return;
    Park();
    GateArrival(false);
    return;
  }
  if (!in) {
    if (step == 2) {
      uint8_t rotation = site && runway ? site->BuildingRotation(runway) : 0;
      if (TurnToward(RunwayLandingDirection(rotation) * kQuarter)) {
        gridDirection = RunwayLandingDirection(rotation);
        step = 3;
      }
    } else if (step == 3) {
      if (!AirportOpen()) return;
      verticalSpeed = horizontalSpeed = 0.0f;
      phase = kPhase_TakeOff;
      step = 0;
      ReleaseGateLock();
      if (request && services_ && services_->pathFinder) services_->pathFinder->CancelRequest(request);
      request = nullptr;
    } else if (step == 4) {
      uint8_t* lock = RunwayLock();
      if (lock && !*lock && RunwayEnabled()) {
        *lock = 1;
        holdsRunwayLock = 1;
        ReleaseGateLock();
        step = 0;
      }
    }
  }
}

void cEntity_Airplane::Park() {
  if (!gate) return;
  AirportSite* site = Site();
  if (site && terminal) site->ParkAirplane(terminal, standIndex, this);
  uint16_t x = 0, y = 0;
  float gx = 0.0f, gz = 0.0f;
  PlotCellCentre(gate->x, gate->y, &gx, &gz);
  if (WorldToPlotCell(GetPositionX(), GetPositionZ(), &x, &y)) {
    float cx = 0.0f, cz = 0.0f;
    PlotCellCentre(x, y, &cx, &cz);
    SetPosition((cx + gx) * 0.5f, Ground(), (cz + gz) * 0.5f);
  } else {
    SetPosition(gx, Ground(), gz);
  }
}

void cEntity_Airplane::GateArrival(bool restored) {
  phase = kPhase_AtGate;
  step = 0;
  for (int32_t i = 0; i < static_cast<int32_t>(GetModelNameCount()); ++i) {
    const std::string* name = GetModelName(i);
    if (name && *name == "Normal") SelectModel(i);
  }
  AirportSite* site = Site();
  gridDirection = RunwayLandingDirection(site && runway ? site->BuildingRotation(runway) : 0);
  serviceTime = kServiceTime;
  ReleaseRunwayLock();
  if (request && services_ && services_->pathFinder) services_->pathFinder->CancelRequest(request);
  request = nullptr;
  if (restored) return;
  cEntity_AmbientManager* ambient = services_ ? services_->ambientManager : nullptr;
  const bool blocked = !AirportOpen();
  const bool slow = GameSpeed() <= kDefaultDetailSpeedLimit;
  const uint16_t gx = gate ? gate->x : 0, gy = gate ? gate->y : 0;
  auto order = [&](uint32_t service) {
    const uint16_t x = static_cast<uint16_t>(gx + kArrivalCell[service][0]);
    const uint16_t y = static_cast<uint16_t>(gy + kArrivalCell[service][1]);
    if (!blocked && ambient && ambient->CanServeCell(x, y, kServiceKinds[service])) {
      if (slow) ambient->SpawnMaintenanceVehicle(x, y, true, kServiceKinds[service], this);
    } else {
      serviceRequests[service] = 1;
    }
  };
  if (!cargoFlight) {
    for (uint32_t service : {kService_Baggage, kService_Maintenance, kService_Catering}) order(service);
    if (slow) {
      servicesUnderWay[kService_Baggage] = servicesUnderWay[kService_Maintenance] =
          servicesUnderWay[kService_Catering] = 1;
    } else {
      serviceTime += 360.0f;
    }
  } else {
    order(kService_Cargo);
    if (slow) {
      servicesUnderWay[kService_Cargo] = 1;
      servicesUnderWay[kServiceCount] = 1;
    } else {
      serviceTime += 360.0f;
    }
  }
  if (Noise_RandomFloatInRange(0.0f, 1.0f) < 0.5f) {
    order(kService_SecondMaintenance);
    if (slow) servicesUnderWay[kService_SecondMaintenance] = 1;
    else serviceTime += 120.0f;
  }
}

void cEntity_Airplane::ServicesStep() {
  if (phase != kPhase_AtGate || !AirportOpen()) return;
  cEntity_AmbientManager* ambient = services_ ? services_->ambientManager : nullptr;
  const uint16_t gx = gate ? gate->x : 0, gy = gate ? gate->y : 0;
  for (uint32_t service = 0; service < kServiceCount; ++service) {
    if (!serviceRequests[service]) continue;
    const uint16_t x = static_cast<uint16_t>(gx + kStepCell[service][0]);
    const uint16_t y = static_cast<uint16_t>(gy + kStepCell[service][1]);
    if (ambient && ambient->CanServeCell(x, y, kServiceKinds[service])) {
      if (GameSpeed() <= kDefaultDetailSpeedLimit) ambient->SpawnMaintenanceVehicle(x, y, true, kServiceKinds[service], this);
      else serviceTime += 120.0f;
      serviceRequests[service] = 0;
      servicesUnderWay[service] = 0;
      return;
    }
    WaitRule(service);
    return;
  }
  for (uint32_t service = 0; service < kServiceCount; ++service) {
    if (servicesUnderWay[service]) {
      WaitRule(service);
      return;
    }
  }
  serviceTime -= tickSeconds;
  if (serviceTime <= 0.0f) serviceTime = 0.0f;
}

void cEntity_Airplane::WaitRule(uint32_t) {
  serviceWait += tickSeconds;
  if (serviceWait <= kServiceGiveUp) return;
  // The name is that of the first service under way, else the first asked.
  const char* name = nullptr;
  for (uint32_t s = 0; s < kServiceCount && !name; ++s)
    if (servicesUnderWay[s]) name = kServiceNames[s];
  for (uint32_t s = 0; s < kServiceCount && !name; ++s)
    if (serviceRequests[s]) name = kServiceNames[s];
  if (ShouldSlowOnFlightCancel(services_ ? services_->eventManager : nullptr))
    if (cSimulation_Clock* clock = GameClockOf(services_)) clock->SetSpeed(1);
  serviceTime = 0.0f;
  PostNotice(services_, "Flight Canceled",
             std::string("A flight was canceled because ") + (name ? name : "") + " couldn't make it to the plane!");
}

void cEntity_Airplane::ArrivalStep() {
  if (arrivalDone) return;
  arrivalDone = 1;
  cEntity_StatManager* stats = services_ ? services_->statManager : nullptr;
  cEntity_AirportManager* airport = services_ ? services_->airportManager : nullptr;
  cAirlineContract* airline = Airline();
  if (!stats || !airline || !flight) return;
  const float* fee = airline->fees;
  const uint8_t s = SizeClass();
  stats->AddFunds(Noise_RandomFloatInRange(0.0f, 3.0f) * fee[13]);
  stats->AddFunds(airport && airport->AreGatesOccupied() ? fee[10] : 0.0f);
  stats->AddFunds(fee[s]);
  stats->AddFlightIncome(static_cast<float>(flight->passengers) * fee[11], flight->passengers);
  if (!cargoFlight || !airline->data || !airport) return;
  cargoOnBoard = static_cast<uint32_t>(static_cast<float>(cargoCapacity) * Noise_RandomFloatInRange(0.1f, 1.0f));
  coldStorage = flight->airplane && flight->airplane->cargo && Noise_RandomFloatInRange(0.0f, 1.0f) >= 0.5f ? 1 : 0;
  const uint16_t x = static_cast<uint16_t>((gate ? gate->x : 0) + 2);
  const uint16_t y = static_cast<uint16_t>((gate ? gate->y : 0) + 3);
  airport->UnloadAirplaneCargo(this, x, y);
  if (cargoOnBoard > 0) {
    const double fine = 0.05 * airline->signingPayment;
    stats->AddFunds(-fine);
    const std::string name = AirlineName();
    PostNotice(services_, FormatText("%s has fined you!", name.c_str()),
               FormatText(coldStorage ? "You have been fined $%.2f by %s for not having enough cold storage cargo space."
                                      : "You have been fined $%.2f by %s for not having enough cargo space.",
                          fine, name.c_str()));
  }
  airport->LoadAirplaneCargo(this, x, y);
}

void cEntity_Airplane::DepartureStep() {
  if (departureCharged) return;
  departureCharged = 1;
  cEntity_StatManager* stats = services_ ? services_->statManager : nullptr;
  cAirlineContract* airline = Airline();
  if (!stats || !airline) return;
  const double hours = now > landingTime ? static_cast<double>(now - landingTime) / 3600.0 : 0.0;
  stats->AddFunds(airline->fees[5 + SizeClass()] * hours);
  stats->AddFunds(airline->fees[14] * hours);
}

void cEntity_Airplane::BeginDeparture() {
  taxiSpeed = Noise_RandomFloatInRange(2.0f, 4.0f);
  phase = kPhase_TaxiOut;
  uint8_t* lock = RunwayLock();
  if (!lock || *lock || !RunwayEnabled()) {
    step = 5;
    waitTimer = 5.0f;
    return;
  }
  int32_t tx = 0, ty = 0;
  cPathFinder* finder = services_->pathFinder;
  uint16_t x = 0, y = 0;
  if (!finder || !RunwayCentreCell(10, &tx, &ty) || tx < 0 || ty < 0 ||
      !WorldToPlotCell(GetPositionX(), GetPositionZ(), &x, &y) ||
      !finder->GetNodeAt(x, y) || !finder->GetNodeAt(tx, ty)) {
    Finish();
    return;
  }
  RequestRoute(static_cast<uint16_t>(tx), static_cast<uint16_t>(ty));
  if (step == 5) return;
  *lock = 1;
  holdsRunwayLock = 1;
  ReleaseGateLock();
  LeaveStand();
  DepartureStep();
}

void cEntity_Airplane::OnTargetEvent(uint32_t code) {
  if (code == kTargetEvent_PlaneSound) {
    if (flight && flight->airplane) PlayOnce(flight->airplane->sound);
    return;
  }
  if (code == kTargetEvent_RunwayHold || code == kTargetEvent_GateHold) {
    uint8_t* lock = RunwayLock();
    if (lock && *lock && !holdsRunwayLock) {
      waitTimer = 60.0f;
      pendingEvent = kTargetEvent_RunwayHold;
    } else if (gate && gate->lock && !holdsGateLock) {
      waitTimer = 60.0f;
      pendingEvent = kTargetEvent_GateHold;
    } else {
      if (lock) *lock = 1;
      holdsRunwayLock = lock ? 1 : 0;
      if (gate) gate->lock = 1;
      holdsGateLock = gate ? 1 : 0;
    }
    return;
  }
  cEntity_Ambient::OnTargetEvent(code);
}

void cEntity_Airplane::LeaveStand() {
  AirportSite* site = Site();
  if (site && terminal) site->UnparkAirplane(terminal, this);
}

void cEntity_Airplane::Finish() {
  if (finished) return;
  LeaveStand();
  // The flags stay as they are; only the bytes this airplane set are freed.
  if (holdsRunwayLock)
    if (uint8_t* lock = RunwayLock()) *lock = 0;
  if (holdsGateLock && gate) gate->lock = 0;
  if (request && services_ && services_->pathFinder) services_->pathFinder->CancelRequest(request);
  request = nullptr;
  phase = kPhase_None;
  if (cEntity_AmbientManager* ambient = services_ ? services_->ambientManager : nullptr) ambient->ForgetAirplane(this);
  cEntity_Ambient::Finish();
}

bool cEntity_Airplane::StoreCargoInStorage(BOInstance* target) {
  AirportSite* site = Site();
  cAirlineContract* airline = Airline();
  cEntity_StatManager* stats = services_ ? services_->statManager : nullptr;
  if (!site || !airline || !target) return false;
  const uint32_t t = static_cast<uint32_t>(Noise_RandomFloatInRange(0.1f, 0.5f) * 604800.0f);
  const uint32_t stored = site->StoreCargo(target, AirlineName(), cargoOnBoard, now + t);
  cargoOnBoard -= std::min(stored, cargoOnBoard);
  const uint32_t days = std::max<uint32_t>(t / 86400u, 1u);
  if (stats && stored) stats->AddFunds(airline->fees[coldStorage ? 17 : 16] * static_cast<double>(stored) * days);
  if (cargoOnBoard > 0) return false;
  serviceRequests[kService_Cargo] = 0;
  return true;
}

bool cEntity_Airplane::TakeCargoFromStorage(BOInstance* source) {
  AirportSite* site = Site();
  if (!site || !source || cargoOnBoard >= cargoCapacity) return cargoOnBoard >= cargoCapacity;
  cargoOnBoard += site->TakeCargo(source, AirlineName(), cargoCapacity - cargoOnBoard, now);
  if (cargoOnBoard < cargoCapacity) return false;
  serviceRequests[kService_Cargo] = 0;
  return true;
}
