#pragma once
// The parameters of one particle effect, as the effect table gives them.
// Most are ranges sampled afresh where they are used: a range (min, max) is
// sampled as min + (max - min) * k / 255 with k = rand() & 255, so 256
// evenly spaced values from min to max inclusive.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/math/JVector.h"

class C3DBaseShader;

struct ParticleFloatRange {
  float min = 0.0f;
  float max = 0.0f;
};

struct ParticleIntRange {
  int32_t min = 0;
  int32_t max = 0;
};

// Colour range: red, green, blue, alpha bytes of the two ends.
struct ParticleColourRange {
  uint8_t min[4] = {0, 0, 0, 0};
  uint8_t max[4] = {0, 0, 0, 0};
};

struct ParticleFactoryParams {
  static constexpr int32_t kDefaultMaxParticles = 100;

  std::string name;
  ParticleFloatRange emitterLifespan;   // seconds; 0 or less: unlimited
  ParticleFloatRange particleLifespan;  // seconds
  ParticleIntRange number;              // particles an emitter may emit; below 1: unlimited
  int32_t pulseCount = 0;               // particles per pulse
  float sleepTime = 0.0f;               // start delay, seconds
  ParticleFloatRange cycle;             // seconds between pulses
  ParticleFloatRange radius;            // half-size of the birth box
  ParticleFloatRange aperture;          // outer tilt of the emission cone, radians
  ParticleFloatRange apertureExclusion; // inner tilt
  int32_t scaleType = 0;                // 1: separate heights (rectangles)
  ParticleFloatRange scaleBirth;
  ParticleFloatRange scaleDeath;
  ParticleFloatRange scaleBirthY;
  ParticleFloatRange scaleDeathY;
  ParticleFloatRange rotationBirth;     // radians
  ParticleFloatRange rotationDeath;
  float gravity = 0.0f;                 // times the service's gravity vector
  ParticleColourRange coloursBirth;
  ParticleColourRange coloursDeath;
  ParticleFloatRange speed;
  uint8_t iterationType = 0;            // texture frame: 0 none, 1 cycle, 2 random
  JVector driftMin;
  JVector driftMax;
  JVector box;                          // jitter per axis at birth; the snow box
  int32_t maxParticles = kDefaultMaxParticles;
  int32_t weatherType = 0;              // draw mode: 0 quads, 1 snow, 2 rain
  // One material per texture frame (not owned: the renderer's).
  std::vector<C3DBaseShader*> materials;
};

// A stored effect.
struct FactoryDef {
  ParticleFactoryParams params;
};
