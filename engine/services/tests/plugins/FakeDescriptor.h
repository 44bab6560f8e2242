#pragma once
// A descriptor of one fake module class: name, version and service type are
// fixed per build of the library, the factory makes a T.
#include <new>

#include "engine/services/CoreBaseDescriptor.h"

namespace fake {

template <typename T>
class Descriptor final : public CoreBaseDescriptor {
 public:
  Descriptor(const char* name, float version, eServiceType type) : name_(name), version_(version), type_(type) {}
  const char* GetName() override { return name_; }
  const char* GetDescription() override { return "test module"; }
  float GetVersion() override { return version_; }
  float GetBaseAPIVersion() override { return 1.0f; }
  eServiceType GetServiceType() override { return type_; }
  CoreBase* CreateCoreClass() override { return new (std::nothrow) T(); }

 private:
  const char* name_;
  float version_;
  eServiceType type_;
};

}  // namespace fake

// Every test plug-in exports these three and nothing else.
#define FAKE_PLUGIN_EXPORTS(descriptorTable, descriptorCount)                       \
  CORE_PLUGIN_EXPORT CoreBaseDescriptor* GetCoreDesc(int32_t index) {               \
    return index >= 0 && index < (descriptorCount) ? (descriptorTable)[index] : nullptr; \
  }                                                                                 \
  CORE_PLUGIN_EXPORT const char* GetDescription() { return "test plug-in"; }        \
  CORE_PLUGIN_EXPORT float GetBaseAPIVersion() { return 1.0f; }
