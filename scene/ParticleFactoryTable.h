#pragma once
// The particle-factory table "Particles\factories.kvp": a token stream of
// statements (a keyword, its values, then ";") that describes one factory
// after another ("factorytype <name> <word>" ... "}"). Reading it registers
// the built-in "Default Factory" first and then every factory of the file,
// in file order, with the particle service; indices follow registration.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "engine/frame/ParticleParams.h"

class Core3D;
class cParticleService;

// One factory as the file describes it: its parameters and the names of its
// materials (made into shaders when it is registered).
struct ParticleFactoryDef {
  ParticleFactoryParams params;
  std::vector<std::string> materialNames;
};

struct FactoryTableResult {
  // The registration indices of the factories named "Default Rain",
  // "Default Snow" and "Default Smoke" (the last of each name); -1 for none.
  int32_t defaultRain = -1;
  int32_t defaultSnow = -1;
  int32_t defaultSmoke = -1;
  // Statements the reader skipped (unknown keyword, missing or bad values).
  uint32_t skippedStatements = 0;
};

class cParticleFactoryTable {
 public:
  static constexpr size_t kMaxFactories = 1000;
  static constexpr size_t kMaxMaterials = 64;
  static constexpr uint64_t kMaxFileBytes = uint64_t{4} << 20;

  // The parameters of the built-in "Default Factory".
  static ParticleFactoryDef DefaultFactory();

  // Reads the statements of the text into factories. Never fails: a
  // statement it cannot use is skipped up to its ";" and counted. Factories
  // past kMaxFactories are dropped with a diagnostic.
  static void Parse(std::string_view text, std::vector<ParticleFactoryDef>* factories, uint32_t* skipped);

  // Registers the default factory and the file's (resource path + name) with
  // the service, each material made by the renderer (resource path + name,
  // flags 8; the default's "solid_shader" with 0x20). A missing file leaves
  // the default factory alone. 0x80004005 without a service.
  CoreStatus Load(const std::string& resourcePath, const std::string& fileName, cParticleService* service,
                  Core3D* renderer, FactoryTableResult* result);
};
