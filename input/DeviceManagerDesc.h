#pragma once
// The descriptor of the input library's one module class, the device
// manager.
#include "engine/services/CoreBaseDescriptor.h"

class cCore_DX8_DeviceMGR_DESC : public CoreBaseDescriptor {
 public:
  const char* GetName() override { return "Input Description Class"; }
  const char* GetDescription() override { return "Input Description Class"; }
  float GetVersion() override { return 2.0f; }
  float GetBaseAPIVersion() override { return 1.0f; }
  eServiceType GetServiceType() override { return eService_Input; }
  // A new cDX8_DeviceManager; null when memory cannot be had.
  CoreBase* CreateCoreClass() override;

  // The library's single instance.
  static cCore_DX8_DeviceMGR_DESC& Instance();
};
