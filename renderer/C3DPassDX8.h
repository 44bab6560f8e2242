#pragma once
// The device-backed render pass: the base pass plus the per-frame draw list
// that resources queue into, a second per-frame record buffer, the pass's
// device lights, its fog, and the block allocator for extra draw items.
#include <cstdint>
#include <vector>

#include "engine/services/C3DPass.h"
#include "renderer/BlockAllocator.h"
#include "renderer/DrawItem.h"

class C3DPassDX8 : public C3DPass {
 public:
  static constexpr size_t kInitialDrawListCapacity = 1024;
  static constexpr size_t kInitialSecondBufferCapacity = 4096;

  C3DPassDX8();
  ~C3DPassDX8() override;

  int32_t AddLight(uint32_t lightIndex) override;
  void RemoveLight(int32_t position) override;
  int32_t GetLightCount() override;
  int32_t GetLight(int32_t position) override;
  bool IsDeviceBacked() override;

  bool IsFogEnabled() override;
  void EnableFog() override;
  void DisableFog() override;
  void SetFogValueA(float value) override;
  float GetFogValueA() override;
  void SetFogValueB(float value) override;
  float GetFogValueB() override;
  void SetFogDensity(float density) override;
  float GetFogDensity() override;
  void SetFogColour(float red, float green, float blue) override;
  void GetFogColour(float* red, float* green, float* blue) override;

  // Frame start: the allocator's blocks become free and both per-frame
  // lists empty.
  void ResetForFrame();
  void AppendDrawItem(DrawItem* item) { drawList_.push_back(item); }
  std::vector<DrawItem*>& DrawList() { return drawList_; }
  // The second per-frame buffer: 12-byte records counted toward "something
  // to draw".
  struct SecondRecord {
    uint32_t a = 0, b = 0, c = 0;
  };
  std::vector<SecondRecord>& SecondBuffer() { return secondBuffer_; }
  BlockAllocator& Allocator() { return allocator_; }
  bool HasSomethingToDraw() const { return !drawList_.empty() || !secondBuffer_.empty(); }

 private:
  std::vector<DrawItem*> drawList_;
  std::vector<SecondRecord> secondBuffer_;
  std::vector<uint32_t> lights_;
  bool fog_ = false;
  float fogValueA_ = 0.0f;
  float fogValueB_ = 1.0f;
  float fogDensity_ = 1.0f;
  float fogColour_[3] = {1.0f, 1.0f, 1.0f};
  BlockAllocator allocator_;
};
