#pragma once
// The ten facility type classes over cBuilding. Values "written as i32 and
// read back as f32" keep the caller's 32 bits unchanged: the setter takes
// the float's bits, the getter returns the same bits as a float.
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "construction/BuildableObject.h"

class cAmenity : public cBuilding {
 public:
  using cBuilding::cBuilding;
  BOInstance* CreateInstance() override;
  float GetMonthlyIncome() override;
  void SetBusinessContract(cBusinessContract* contract) override { business_ = contract; }
  cBusinessContract* GetBusinessContract() override { return business_; }

  virtual void SetCapacity(int32_t v) { capacity_ = v; }
  virtual int32_t GetCapacity() { return capacity_; }
  virtual void SetValueB(int32_t v) { valueB_ = v; }
  virtual int32_t GetValueB() { return valueB_; }
  virtual void SetValueC(int32_t bits) { valueC_ = bits; }
  virtual float GetValueC() { return std::bit_cast<float>(valueC_); }
  int32_t further = 0;

 private:
  int32_t capacity_ = 0;
  int32_t valueB_ = 0;
  int32_t valueC_ = 0;
  cBusinessContract* business_ = nullptr;  // not owned
};

class cParkingFacility : public cBuilding {
 public:
  using cBuilding::cBuilding;
  BOInstance* CreateInstance() override;
  virtual void SetCapacity(int32_t v) { capacity_ = v; }
  virtual int32_t GetCapacity() { return capacity_; }
  virtual void SetValueB(int32_t v) { valueB_ = v; }
  virtual int32_t GetValueB() { return valueB_; }

 private:
  int32_t capacity_ = 0;
  int32_t valueB_ = 0;
};

class cAdminFacility : public cBuilding {
 public:
  using cBuilding::cBuilding;
  BOInstance* CreateInstance() override;
  virtual void SetCapacity(int32_t v) { capacity_ = v; }
  virtual int32_t GetCapacity() { return capacity_; }

 private:
  int32_t capacity_ = 0;
};

class cSecurityFacility : public cBuilding {
 public:
  using cBuilding::cBuilding;
  BOInstance* CreateInstance() override;
  virtual void SetValueA(int32_t bits) { valueA_ = bits; }
  virtual float GetValueA() { return std::bit_cast<float>(valueA_); }

 private:
  int32_t valueA_ = 0;
};

class cEmergencyFacility : public cBuilding {
 public:
  using cBuilding::cBuilding;
  BOInstance* CreateInstance() override;
  virtual void SetValueA(int32_t bits) { valueA_ = bits; }
  virtual float GetValueA() { return std::bit_cast<float>(valueA_); }
  float maintenanceBreak = 0.0f;

 private:
  int32_t valueA_ = 0;
};

class cOrganizationalFacility : public cBuilding {
 public:
  using cBuilding::cBuilding;
  BOInstance* CreateInstance() override;
  virtual void SetValueA(int32_t bits) { valueA_ = bits; }
  virtual float GetValueA() { return std::bit_cast<float>(valueA_); }
  // The number of runways one control tower of this type serves.
  virtual void SetCapacity(int32_t v) { capacity_ = v; }
  virtual int32_t GetCapacity() { return capacity_; }
  virtual void SetValueC(int32_t v) { valueC_ = v; }
  virtual int32_t GetValueC() { return valueC_; }

 private:
  int32_t valueA_ = 0;
  int32_t capacity_ = 0;
  int32_t valueC_ = 0;
};

// A building with road and taxiway access: the terminal, storage, runway and
// service classes.
class cAirsideBuilding : public cBuilding, public cTaxiwayAccessObject {
 public:
  using cBuilding::cBuilding;
  const std::vector<TAStruct>* GetTaxiwayAccessPoints() override { return &taxiwayAccess_; }
  using cBuilding::AddAccessPoint;
  void AddAccessPoint(const TAStruct& point) override { cTaxiwayAccessObject::AddAccessPoint(point); }
};

class cTerminal : public cAirsideBuilding {
 public:
  using cAirsideBuilding::cAirsideBuilding;
  BOInstance* CreateInstance() override;
  virtual void SetValueA(int32_t bits) { valueA_ = bits; }
  virtual float GetValueA() { return std::bit_cast<float>(valueA_); }

  std::vector<std::string> itemNames;  // interior items placed by default
  uint8_t interiorSpace = 0;           // usable interior cells, in steps of 4

 private:
  int32_t valueA_ = 0;
};

class cStorageFacility : public cAirsideBuilding {
 public:
  using cAirsideBuilding::cAirsideBuilding;
  BOInstance* CreateInstance() override;
  virtual void SetCapacity(int32_t v) { capacity_ = v; }
  virtual int32_t GetCapacity() { return capacity_; }
  uint8_t providesStorage = 0;
  uint8_t providesColdStorage = 0;

 private:
  int32_t capacity_ = 0;
};

class cRunway : public cAirsideBuilding {
 public:
  using cAirsideBuilding::cAirsideBuilding;
  BOInstance* CreateInstance() override;
  uint8_t requiredTowerLevel = 0;
  uint16_t runwayLength = 0;
};

class cServiceFacility : public cAirsideBuilding {
 public:
  using cAirsideBuilding::cAirsideBuilding;
  BOInstance* CreateInstance() override;
  // A service building's share of the upkeep factor is its service cost.
  virtual void SetServiceCost(float v) { serviceCost_ = v; }
  virtual float GetServiceCost() { return serviceCost_; }
  virtual void SetValueB(float v) { valueB_ = v; }
  virtual float GetValueB() { return valueB_; }
  float repairCapability = 0.0f;

 private:
  float serviceCost_ = 0.0f;
  float valueB_ = 0.0f;
};
