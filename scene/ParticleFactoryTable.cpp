#include "scene/ParticleFactoryTable.h"

#include "engine/files/TokenReader.h"
#include "engine/frame/ParticleService.h"
#include "engine/services/Core3D.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "platform/Locale.h"

namespace {

constexpr uint32_t kMaterialFlags = 8;
constexpr uint32_t kSolidShaderFlags = 0x20;

ParticleFloatRange Range(float a, float b) { return ParticleFloatRange{a, b}; }

bool ReadFloats(const std::vector<std::string_view>& values, size_t n, float* out) {
  if (values.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    double v = 0.0;
    if (!platform::TryParseDouble(values[i], &v)) return false;
    out[i] = static_cast<float>(v);
  }
  return true;
}

bool ReadInts(const std::vector<std::string_view>& values, size_t n, int32_t* out) {
  if (values.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (!platform::TryParseInt(values[i], &out[i])) return false;
  }
  return true;
}

bool ReadRange(const std::vector<std::string_view>& values, ParticleFloatRange* range) {
  float v[2];
  if (!ReadFloats(values, 2, v)) return false;
  *range = Range(v[0], v[1]);
  return true;
}

bool ReadColours(const std::vector<std::string_view>& values, ParticleColourRange* colours) {
  int32_t v[8];
  if (!ReadInts(values, 8, v)) return false;
  for (int i = 0; i < 4; ++i) {
    colours->min[i] = static_cast<uint8_t>(v[i] & 0xFF);
    colours->max[i] = static_cast<uint8_t>(v[4 + i] & 0xFF);
  }
  return true;
}

// One statement's values applied to the factory; false when they do not fit.
bool Apply(std::string_view keyword, const std::vector<std::string_view>& values, ParticleFactoryDef& def) {
  ParticleFactoryParams& p = def.params;
  float f[6];
  int32_t n[2];
  if (keyword == "emitter_lifespan") return ReadRange(values, &p.emitterLifespan);
  if (keyword == "particle_lifespan") return ReadRange(values, &p.particleLifespan);
  if (keyword == "number") {
    if (!ReadInts(values, 2, n)) return false;
    p.number = ParticleIntRange{n[0], n[1]};
    return true;
  }
  if (keyword == "pulse_count") return ReadInts(values, 1, &p.pulseCount);
  if (keyword == "sleep_time") return ReadFloats(values, 1, &p.sleepTime);
  if (keyword == "cycle") return ReadRange(values, &p.cycle);
  if (keyword == "radius") return ReadRange(values, &p.radius);
  if (keyword == "aperture") return ReadRange(values, &p.aperture);
  if (keyword == "aperture_exclusion") return ReadRange(values, &p.apertureExclusion);
  if (keyword == "scale_type") {
    if (values.empty()) return false;
    p.scaleType = values[0] == "xy" ? 1 : 0;
    return true;
  }
  if (keyword == "scale_birth") return ReadRange(values, &p.scaleBirth);
  if (keyword == "scale_death") return ReadRange(values, &p.scaleDeath);
  if (keyword == "scale_birth_y") return ReadRange(values, &p.scaleBirthY);
  if (keyword == "scale_death_y") return ReadRange(values, &p.scaleDeathY);
  if (keyword == "rotation_birth") return ReadRange(values, &p.rotationBirth);
  if (keyword == "rotation_death") return ReadRange(values, &p.rotationDeath);
  if (keyword == "gravity") return ReadFloats(values, 1, &p.gravity);
  if (keyword == "colors_birth") return ReadColours(values, &p.coloursBirth);
  if (keyword == "colors_death") return ReadColours(values, &p.coloursDeath);
  if (keyword == "speed") return ReadRange(values, &p.speed);
  if (keyword == "iteration_type") {
    if (values.empty()) return false;
    p.iterationType = values[0] == "cycle" ? 1 : values[0] == "random" ? 2 : 0;
    return true;
  }
  if (keyword == "drift") {
    if (!ReadFloats(values, 6, f)) return false;
    p.driftMin = JVector(f[0], f[1], f[2]);
    p.driftMax = JVector(f[3], f[4], f[5]);
    return true;
  }
  if (keyword == "max_particles") return ReadInts(values, 1, &p.maxParticles);
  if (keyword == "shader") {
    if (values.empty() || def.materialNames.size() >= cParticleFactoryTable::kMaxMaterials) return false;
    def.materialNames.emplace_back(values[0]);
    return true;
  }
  if (keyword == "box") {
    if (!ReadFloats(values, 3, f)) return false;
    p.box = JVector(f[0], f[1], f[2]);
    return true;
  }
  if (keyword == "weather_type") {
    if (values.empty()) return false;
    p.weatherType = values[0] == "snow" ? 1 : values[0] == "rain" ? 2 : 0;
    return true;
  }
  return false;
}

}  // namespace

ParticleFactoryDef cParticleFactoryTable::DefaultFactory() {
  ParticleFactoryDef def;
  ParticleFactoryParams& p = def.params;
  p.name = "Default Factory";
  p.emitterLifespan = Range(5.0f, 10.0f);
  p.particleLifespan = Range(2.5f, 5.0f);
  p.number = ParticleIntRange{100, 1000};
  p.pulseCount = 1;
  p.sleepTime = 0.0f;
  p.cycle = Range(0.05f, 0.075f);
  p.radius = Range(2.0f, 4.0f);
  p.aperture = Range(0.1f, 0.15f);
  p.apertureExclusion = Range(0.0f, 0.0f);
  p.scaleType = 0;
  p.scaleBirth = Range(1.0f, 2.0f);
  p.scaleDeath = Range(2.0f, 3.0f);
  p.scaleBirthY = Range(1.0f, 2.0f);
  p.scaleDeathY = Range(2.0f, 3.0f);
  p.rotationBirth = Range(0.0f, 3.2f);
  p.rotationDeath = Range(0.0f, 3.2f);
  p.gravity = 1.0f;
  p.coloursBirth = ParticleColourRange{{128, 128, 128, 255}, {128, 128, 128, 255}};
  p.coloursDeath = ParticleColourRange{{128, 128, 128, 0}, {128, 128, 128, 0}};
  p.speed = Range(1.0f, 3.0f);
  p.iterationType = 1;
  p.maxParticles = 100;
  p.weatherType = 0;
  def.materialNames.push_back("solid_shader");
  return def;
}

void cParticleFactoryTable::Parse(std::string_view text, std::vector<ParticleFactoryDef>* factories,
                                  uint32_t* skipped) {
  std::vector<std::string> tokens;
  ReadTextTokens(text, &tokens);
  // The tokenizer leaves an empty token where the text ends in blanks.
  std::erase_if(tokens, [](const std::string& t) { return t.empty(); });
  uint32_t skips = 0;
  ParticleFactoryDef current;
  bool inFactory = false;
  bool dropped = false;
  size_t i = 0;
  // Skips to just past the next ";" (or the end).
  auto skipStatement = [&]() {
    while (i < tokens.size() && tokens[i] != ";") ++i;
    if (i < tokens.size()) ++i;
    ++skips;
  };
  while (i < tokens.size()) {
    const std::string& keyword = tokens[i];
    if (keyword == ";") {
      ++i;
      continue;
    }
    if (keyword == "factorytype") {
      // "factorytype", the name and one more word.
      if (i + 2 >= tokens.size() || tokens[i + 1] == ";" || tokens[i + 2] == ";") {
        skipStatement();
        continue;
      }
      current = ParticleFactoryDef();
      current.params.name = tokens[i + 1];
      current.params.maxParticles = ParticleFactoryParams::kDefaultMaxParticles;
      inFactory = true;
      i += 3;
      continue;
    }
    if (keyword == "}") {
      ++i;
      if (!inFactory) {
        ++skips;
        continue;
      }
      inFactory = false;
      if (factories->size() >= kMaxFactories) {
        if (!dropped) platform::DebugPrintf("[cParticleFactoryTable] more than %zu factories: the rest are dropped\n", kMaxFactories);
        dropped = true;
        continue;
      }
      factories->push_back(std::move(current));
      current = ParticleFactoryDef();
      continue;
    }
    if (!inFactory) {
      skipStatement();
      continue;
    }
    std::vector<std::string_view> values;
    size_t j = i + 1;
    while (j < tokens.size() && tokens[j] != ";") values.emplace_back(tokens[j++]);
    const bool applied = Apply(keyword, values, current);
    i = j < tokens.size() ? j + 1 : j;
    if (!applied) {
      platform::DebugPrintf("[cParticleFactoryTable] statement \"%s\" of factory \"%s\" skipped\n", keyword.c_str(),
                            current.params.name.c_str());
      ++skips;
    }
  }
  if (skipped) *skipped = skips;
}

CoreStatus cParticleFactoryTable::Load(const std::string& resourcePath, const std::string& fileName,
                                       cParticleService* service, Core3D* renderer, FactoryTableResult* result) {
  if (!service) return status::Fail;
  FactoryTableResult found;
  auto registerFactory = [&](ParticleFactoryDef& def, uint32_t flags) -> int32_t {
    def.params.materials.clear();
    for (const std::string& name : def.materialNames) {
      C3DBaseShader* shader = renderer ? renderer->CreateShader(flags, flags == kSolidShaderFlags ? name : resourcePath + name) : nullptr;
      if (shader) def.params.materials.push_back(shader);
    }
    uint16_t index = 0;
    if (!service->AddFactory(def.params, &index)) {
      platform::DebugPrintf("[cParticleFactoryTable] the particle service refused factory \"%s\"\n",
                            def.params.name.c_str());
      return -1;
    }
    return index;
  };
  ParticleFactoryDef defaults = DefaultFactory();
  registerFactory(defaults, kSolidShaderFlags);

  std::string text;
  platform::FileReadError why;
  if (platform::ReadFileText(resourcePath + fileName, kMaxFileBytes, &text, &why)) {
    std::vector<ParticleFactoryDef> factories;
    Parse(text, &factories, &found.skippedStatements);
    for (ParticleFactoryDef& def : factories) {
      const int32_t index = registerFactory(def, kMaterialFlags);
      if (index < 0) continue;
      if (def.params.name == "Default Rain") found.defaultRain = index;
      if (def.params.name == "Default Snow") found.defaultSnow = index;
      if (def.params.name == "Default Smoke") found.defaultSmoke = index;
    }
  } else {
    platform::DebugPrintf("[cParticleFactoryTable] %s: %s; only the default factory\n", fileName.c_str(),
                          why.text.c_str());
  }
  if (result) *result = found;
  return status::Ok;
}
