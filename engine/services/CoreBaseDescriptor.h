#pragma once
// The plug-in interface. A plug-in is a shared library loaded at run time
// that exports three functions with C linkage:
//   GetCoreDesc(index)    -> the library's descriptor number `index`, null past the last
//   GetDescription()      -> a text describing the library
//   GetBaseAPIVersion()   -> the interface version the library was built for (1.0)
// A descriptor describes one module class and creates its modules. It is a
// static object of its library: the engine never deletes it, and it is gone
// once the library is unloaded.
#include <cstdint>

#include "engine/services/CoreBase.h"

class CoreBaseDescriptor {
 public:
  virtual const char* GetName() = 0;
  virtual const char* GetDescription() = 0;
  // The class's version; the library manager keeps classes whose version,
  // cut to a whole number, lies in its window, and settles conflicts by it.
  virtual float GetVersion() = 0;
  virtual float GetBaseAPIVersion() = 0;
  virtual eServiceType GetServiceType() = 0;
  // A new module; the caller (the library manager) owns it. Null when the
  // module cannot be made.
  virtual CoreBase* CreateCoreClass() = 0;

 protected:
  // Descriptors are never deleted through this interface.
  ~CoreBaseDescriptor() = default;
};

// The exports, as the library manager looks them up.
extern "C" {
using GetCoreDescFunc = CoreBaseDescriptor* (*)(int32_t index);
using GetDescriptionFunc = const char* (*)();
using GetBaseAPIVersionFunc = float (*)();
}

inline constexpr const char* kGetCoreDescExport = "GetCoreDesc";
inline constexpr const char* kGetDescriptionExport = "GetDescription";
inline constexpr const char* kGetBaseAPIVersionExport = "GetBaseAPIVersion";

// Marks a plug-in export: C linkage and default visibility, so a plug-in built
// with hidden visibility still exports exactly its three entry points.
#define CORE_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
