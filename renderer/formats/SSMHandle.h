#pragma once
// Per-instance state of a shared SSMObject: group visibility and shader, and
// one playback state per animation. Each model resource owns one handle.
#include <cstdint>
#include <memory>
#include <vector>

class SSMObject;
class SSMShaderRef;

struct SSMGroupHandle {
  uint32_t flags = 0;  // bit 0: visible
  uint32_t b = 0;
  SSMShaderRef* shader = nullptr;  // holds one reference when set
};

struct SSMAnimHandle {
  static constexpr uint8_t kLoop = 0x01;
  static constexpr uint8_t kReverse = 0x10;

  uint32_t state = 0;  // bit 0: playing
  uint32_t b = 0;
  uint8_t mode = 0;
  float weight = 0.0f;
  float speed = 1.0f;
  int16_t key = 0;
  uint16_t frameA = 0;
  uint16_t frameB = 0;
  float time = 0.0f;
  float keyTime = 0.0f;
  float blend = 0.0f;
  int16_t loops = 0;
};

class SSMHandle {
 public:
  explicit SSMHandle(SSMObject* owner) : object(owner) {}
  virtual ~SSMHandle();
  SSMHandle(const SSMHandle&) = delete;
  SSMHandle& operator=(const SSMHandle&) = delete;

  // Every index is range-checked; out of range does nothing or gives the
  // stated default.
  void Play(int16_t index, int ignored, float speed, uint8_t mode);
  void Advance(int16_t index, float dt);
  uint32_t IsPlaying(int16_t index) const;  // 0 out of range
  void Stop(int16_t index);
  void SetSpeed(int16_t index, float speed);
  float GetSpeed(int16_t index) const;  // 1.0 out of range
  void SetWeight(int16_t index, float weight);
  float GetWeight(int16_t index) const;  // 1.0 out of range
  void SetLoop(int16_t index, bool on);
  uint8_t GetLoop(int16_t index) const;
  void SetReverse(int16_t index, bool on);
  uint8_t GetReverse(int16_t index) const;  // the masked bit: 16 when set

  // Frees the animation states and gives back every group shader reference.
  void Clear();

  SSMObject* object;
  std::vector<std::unique_ptr<SSMGroupHandle>> groups;
  std::vector<std::unique_ptr<SSMAnimHandle>> anims;

 private:
  SSMAnimHandle* Anim(int16_t index) const;
};
