#pragma once
// The spawns of the simulation's managers, registered by the game's action
// manager under their spawn names.
#include "engine/entity/SpawnBase.h"

class SpawnSimulation : public cSpawn_Base {
 public:
  SpawnSimulation();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnAirlineManager : public cSpawn_Base {
 public:
  SpawnAirlineManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnEventManager : public cSpawn_Base {
 public:
  SpawnEventManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnStatManager : public cSpawn_Base {
 public:
  SpawnStatManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnContractManager : public cSpawn_Base {
 public:
  SpawnContractManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnAirportManager : public cSpawn_Base {
 public:
  SpawnAirportManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnAirplane : public cSpawn_Base {
 public:
  SpawnAirplane();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnAmbientManager : public cSpawn_Base {
 public:
  SpawnAmbientManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

// The road vehicles and the maintenance vehicles the ambient manager makes.
class SpawnVehicle : public cSpawn_Base {
 public:
  SpawnVehicle();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};

class SpawnMaintanance : public cSpawn_Base {
 public:
  SpawnMaintanance();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
