#pragma once
// Base of everything the renderer hands out by name: models, dynamic meshes,
// fonts, shaders and images. A resource is named, reference-counted and owned
// by the renderer's registries; users give up their reference with Release
// (or the renderer's ReleaseResource) and never delete a resource.
#include <cstdint>
#include <string>

class Core3D;

class C3DResource {
 public:
  C3DResource(Core3D* owner, uint32_t flags, std::string name);
  C3DResource(const C3DResource&) = delete;
  C3DResource& operator=(const C3DResource&) = delete;

  virtual std::string GetName();
  virtual uint32_t GetFlags();
  virtual void AddRef();
  // Drops one reference; at zero calls OnUnreferenced and does nothing else
  // (the registry decides when the object is deleted).
  virtual void Release();
  virtual uint16_t GetRefCount();
  virtual ~C3DResource();
  // Called once the last reference is gone. Nothing in the base.
  virtual void OnUnreferenced();

  // The registry's bookkeeping.
  int32_t GetRegistryIndex() const { return registryIndex_; }
  void SetRegistryIndex(int32_t index) { registryIndex_ = index; }
  uint16_t GetNameHash() const { return nameHash_; }
  const std::string& Name() const { return name_; }
  Core3D* GetOwner() const { return owner_; }

  // h = h * 9 + c over the name's bytes, each taken as a signed 8-bit
  // value, modulo 65536. "" -> 0, "abc" -> 8838.
  static uint16_t HashResourceName(const std::string& name);

 private:
  int32_t registryIndex_ = -1;
  uint16_t refCount_ = 1;
  std::string name_;
  uint16_t nameHash_;
  uint32_t flags_;
  Core3D* owner_;
};

// Request flag word of the resource factories.
enum ResourceFlags : uint32_t {
  RF_MATERIAL = 0x01,
  RF_VERTEX = 0x02,
  RF_EMPTY = 0x04,
  RF_NOFALLBACK = 0x08,
  RF_DEFAULT = 0x10,
  RF_BUILTIN = 0x20,
  RF_UNSHARED = 0x40,
  RF_FINDONLY = 0x80,
  RF_MIPCHAIN = 0x100,
};
