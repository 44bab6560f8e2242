#pragma once
// The descriptor of the renderer plug-in's one service class.
#include "engine/services/CoreBaseDescriptor.h"

class LumetraDescriptor final : public CoreBaseDescriptor {
 public:
  const char* GetName() override;         // "Lumetra"
  const char* GetDescription() override;  // "DirectX 8.0a Rendering Layer"
  float GetVersion() override;            // 1.0
  float GetBaseAPIVersion() override;     // 1.0
  eServiceType GetServiceType() override; // graphics (3)
  // A new Lumetra; null when it cannot be allocated.
  CoreBase* CreateCoreClass() override;

  static LumetraDescriptor& Instance();
};

// The plug-in's library texts and version, shared by the exports.
inline constexpr const char* kLumetraLibraryDescription = "DirectX 8.0a Graphics API DLL";
float LumetraBaseAPIVersion();
