#pragma once
// One particle of an emitter's pool. Particles live in a singly linked list
// of the emitter (alive) or in its free list.
#include <cstdint>

#include "engine/math/JVector.h"

class cParticleEmitter;

class cParticle {
 public:
  cParticle() = default;
  virtual ~cParticle() = default;

  // Ages and moves the particle by dt and applies `acceleration` to its
  // velocity; false once it has died (too old, or below `floor` in height).
  bool Update(float dt, const JVector& acceleration, float floor, uint16_t frames, uint8_t iterationType);

  cParticleEmitter* emitter = nullptr;
  int32_t frame = 0;
  float age = 0.0f;
  float life = 0.0f;
  float size = 0.0f;
  float height = 0.0f;
  float rotation = 0.0f;
  float sizeBirth = 0.0f;
  float sizeDeath = 0.0f;
  float heightBirth = 0.0f;
  float heightDeath = 0.0f;
  float rotationBirth = 0.0f;
  float rotationDeath = 0.0f;
  float colourBirth[4] = {0, 0, 0, 0};
  float colourDeath[4] = {0, 0, 0, 0};
  uint32_t colour = 0;  // alpha << 24 | red << 16 | green << 8 | blue
  JVector position;
  JVector velocity;
  const JVector* drift = nullptr;  // the emitter's drift
  bool separateHeight = false;
  cParticle* next = nullptr;
};
