#pragma once
// A render pass: one ordered stage of the frame, with its view, an entity
// list whose members are asked to render, four hooks through which its owner
// is called back, and an ordered item list kept for the owner. The renderer
// derives its device-backed pass from this base; the base itself keeps no
// lights and no fog.
#include <cstdint>
#include <string>
#include <vector>

struct CameraView;
class C3DPass;

// Implemented by whoever a pass calls back. Every operation is empty here.
class C3DEntity {
 public:
  virtual ~C3DEntity();
  virtual void OnPassBegin(C3DPass* pass);
  virtual void OnPassPrepare(C3DPass* pass);
  virtual void Render(C3DPass* pass);
  virtual void OnPassFinish(C3DPass* pass);
  virtual void OnPassEnd(C3DPass* pass);
};

class C3DPass {
 public:
  C3DPass();
  // Frees both lists, not their elements.
  virtual ~C3DPass();
  C3DPass(const C3DPass&) = delete;
  C3DPass& operator=(const C3DPass&) = delete;

  virtual void SetSorted(bool sorted);
  virtual int32_t GetIndex();
  virtual void SetName(const std::string& name);
  virtual std::string GetName();
  virtual void SetPassView(CameraView* view);
  virtual CameraView* GetPassView();

  // Lights: indices into the renderer's light registry. None in the base.
  virtual int32_t AddLight(uint32_t lightIndex);
  virtual void RemoveLight(int32_t position);
  virtual int32_t GetLightCount();
  virtual int32_t GetLight(int32_t position);
  virtual bool IsDeviceBacked();

  // Fog. The base keeps none: it reports fog off and values of 0.
  virtual bool IsFogEnabled();
  virtual void EnableFog();
  virtual void DisableFog();
  virtual void SetFogValueA(float value);
  virtual float GetFogValueA();
  virtual void SetFogValueB(float value);
  virtual float GetFogValueB();
  virtual void SetFogDensity(float density);
  virtual float GetFogDensity();
  virtual void SetFogColour(float red, float green, float blue);
  virtual void GetFogColour(float* red, float* green, float* blue);

  // The owner's item list: a negative position, or one past the end, appends.
  virtual int32_t InsertItem(void* item, int32_t position);
  virtual void RemoveItem(int32_t position);
  virtual int32_t GetItemCount();
  virtual void* GetItem(int32_t position);

  // The per-frame entity list. Entries are nulled, not removed, so the list
  // keeps its length across frames; it is compacted only when it fills up.
  virtual void AddEntity(C3DEntity* entity);
  virtual void ClearEntity(int32_t position);
  virtual int32_t GetEntityCount();
  virtual C3DEntity* GetEntity(int32_t position);
  virtual void ClearEntities();
  virtual void RenderEntities();

  virtual void SetBeginHook(C3DEntity* hook);
  virtual C3DEntity* GetBeginHook();
  virtual void RunBeginHook();
  virtual void SetPrepareHook(C3DEntity* hook);
  virtual C3DEntity* GetPrepareHook();
  virtual void RunPrepareHook();
  virtual void SetFinishHook(C3DEntity* hook);
  virtual C3DEntity* GetFinishHook();
  virtual void RunFinishHook();
  virtual void SetEndHook(C3DEntity* hook);
  virtual C3DEntity* GetEndHook();
  virtual void RunEndHook();

  // Kept up to date by the renderer when passes move.
  void SetIndex(int32_t index) { index_ = index; }
  bool IsSorted() const { return sorted_; }
  bool IsDepthSorted() const { return depthSorted_; }
  void SetDepthSorted(bool depthSorted) { depthSorted_ = depthSorted; }
  size_t GetEntityCapacity() const { return entityCapacity_; }

 private:
  int32_t index_ = -1;
  std::string name_;
  CameraView* view_ = nullptr;
  std::vector<void*> items_;
  std::vector<C3DEntity*> entities_;
  size_t entityCapacity_ = 0;
  bool sorted_ = true;
  bool depthSorted_ = false;
  C3DEntity* beginHook_ = nullptr;
  C3DEntity* prepareHook_ = nullptr;
  C3DEntity* finishHook_ = nullptr;
  C3DEntity* endHook_ = nullptr;
};
