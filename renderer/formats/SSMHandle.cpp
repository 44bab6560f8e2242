#include "renderer/formats/SSMHandle.h"

#include <cmath>

#include "renderer/formats/SSMObject.h"
#include "renderer/formats/SSMShaderRef.h"

namespace {

// Adds a whole number of cycles to a 16-bit counter the way a 16-bit add
// wraps, without converting an out-of-range float.
int16_t AddCycles(int16_t loops, double whole) {
  const double wrapped = std::fmod(whole, 65536.0);
  const auto sum = static_cast<int64_t>(loops) + static_cast<int64_t>(wrapped);
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(sum)));
}

}  // namespace

SSMHandle::~SSMHandle() {
  if (object) object->ReleaseHandle(this);
  Clear();
}

void SSMHandle::Clear() {
  anims.clear();
  for (auto& g : groups)
    if (g->shader) g->shader->ReleaseShaderRef();
  groups.clear();
}

SSMAnimHandle* SSMHandle::Anim(int16_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= anims.size()) return nullptr;
  return anims[static_cast<size_t>(index)].get();
}

void SSMHandle::Play(int16_t index, int /*ignored*/, float speed, uint8_t mode) {
  SSMAnimHandle* h = Anim(index);
  if (!h || !object || static_cast<size_t>(index) >= object->anims.size()) return;
  const SSMAnim& a = *object->anims[static_cast<size_t>(index)];
  h->state |= 1u;
  h->speed = speed;
  h->mode = mode;
  h->key = 0;
  h->loops = 0;
  h->time = h->keyTime = h->blend = 0.0f;
  if (a.keyCount <= 0) return;
  if (mode & SSMAnimHandle::kReverse) h->key = static_cast<int16_t>(a.keyCount - 1);
  h->frameA = a.keyFrames[static_cast<size_t>(h->key)];
  h->frameB = a.keyFrames[static_cast<size_t>((h->key + 1) % a.keyCount)];
}

void SSMHandle::Advance(int16_t index, float dt) {
  SSMAnimHandle* h = Anim(index);
  if (!h || !(h->state & 1u) || !object || static_cast<size_t>(index) >= object->anims.size()) return;
  const SSMAnim& a = *object->anims[static_cast<size_t>(index)];
  // The reader drops animations that could not be walked; a model built in
  // memory gets the same guard here.
  if (a.keyCount <= 0 || !(a.duration > 0.0f) || a.keyDurations.size() != static_cast<size_t>(a.keyCount)) return;
  const double x = static_cast<double>(dt) * h->speed / a.duration;
  if (!std::isfinite(x)) return;
  double whole;
  const double fraction = std::modf(x, &whole);
  const float d = static_cast<float>(fraction * a.duration);
  // Whole cycles in one step are counted and skipped.
  h->loops = AddCycles(h->loops, whole);
  const bool reverse = (h->mode & SSMAnimHandle::kReverse) != 0;
  const bool loop = (h->mode & SSMAnimHandle::kLoop) != 0;
  h->keyTime += reverse ? -d : d;
  h->time = std::fmod(h->time + d, a.duration);
  if (h->time < 0.0f) h->time += a.duration;

  const int16_t count = a.keyCount;
  if (h->key < 0 || h->key >= count) return;
  const auto dur = [&](int16_t k) { return a.keyDurations[static_cast<size_t>(k)]; };
  // A settled state needs at most two cycles of keys. A key time pushed far
  // out (a negative speed against the direction, then a turn) could outlast
  // float precision; past the bound it restarts the key instead.
  int steps = 2 * count + 2;
  if (!reverse) {
    while (h->keyTime >= dur(h->key)) {
      if (--steps < 0) {
        h->keyTime = 0.0f;
        break;
      }
      h->keyTime -= dur(h->key);
      if (++h->key == count) {
        h->key = 0;
        h->loops = AddCycles(h->loops, 1.0);
      }
    }
    if (!loop && h->loops > 0) {
      h->state &= ~1u;
      h->key = static_cast<int16_t>(count - 1);
    }
  } else {
    // Walking backwards, each key entered gives back its own duration.
    while (h->keyTime < 0.0f) {
      if (--steps < 0) {
        h->keyTime = 0.0f;
        break;
      }
      if (--h->key < 0) {
        h->key = static_cast<int16_t>(count - 1);
        h->loops = AddCycles(h->loops, 1.0);
      }
      h->keyTime += dur(h->key);
    }
    if (!loop && h->loops > 0) {
      h->state &= ~1u;
      h->key = 0;
    }
  }
  const float keyDuration = dur(h->key);
  h->blend = keyDuration > 0.0f ? h->keyTime / keyDuration : 0.0f;
  h->frameA = a.keyFrames[static_cast<size_t>(h->key)];
  h->frameB = a.keyFrames[static_cast<size_t>((h->key + 1) % count)];
  if (!loop && h->key == count - 1) {
    h->blend = 0.0f;
    h->frameB = h->frameA;
  }
}

uint32_t SSMHandle::IsPlaying(int16_t index) const {
  const SSMAnimHandle* h = Anim(index);
  return h ? (h->state & 1u) : 0u;
}

void SSMHandle::Stop(int16_t index) {
  if (SSMAnimHandle* h = Anim(index)) h->state &= ~1u;
}

void SSMHandle::SetSpeed(int16_t index, float speed) {
  if (SSMAnimHandle* h = Anim(index)) h->speed = speed;
}

float SSMHandle::GetSpeed(int16_t index) const {
  const SSMAnimHandle* h = Anim(index);
  return h ? h->speed : 1.0f;
}

void SSMHandle::SetWeight(int16_t index, float weight) {
  if (SSMAnimHandle* h = Anim(index)) h->weight = weight;
}

float SSMHandle::GetWeight(int16_t index) const {
  const SSMAnimHandle* h = Anim(index);
  return h ? h->weight : 1.0f;
}

void SSMHandle::SetLoop(int16_t index, bool on) {
  if (SSMAnimHandle* h = Anim(index))
    h->mode = static_cast<uint8_t>(on ? (h->mode | SSMAnimHandle::kLoop) : (h->mode & ~SSMAnimHandle::kLoop));
}

uint8_t SSMHandle::GetLoop(int16_t index) const {
  const SSMAnimHandle* h = Anim(index);
  return h ? static_cast<uint8_t>(h->mode & SSMAnimHandle::kLoop) : 0;
}

void SSMHandle::SetReverse(int16_t index, bool on) {
  if (SSMAnimHandle* h = Anim(index))
    h->mode = static_cast<uint8_t>(on ? (h->mode | SSMAnimHandle::kReverse) : (h->mode & ~SSMAnimHandle::kReverse));
}

uint8_t SSMHandle::GetReverse(int16_t index) const {
  const SSMAnimHandle* h = Anim(index);
  return h ? static_cast<uint8_t>(h->mode & SSMAnimHandle::kReverse) : 0;
}
