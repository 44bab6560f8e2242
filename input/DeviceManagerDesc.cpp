#include "input/DeviceManagerDesc.h"

#include <new>

#include "input/DeviceManager.h"

CoreBase* cCore_DX8_DeviceMGR_DESC::CreateCoreClass() { return new (std::nothrow) cDX8_DeviceManager(); }

cCore_DX8_DeviceMGR_DESC& cCore_DX8_DeviceMGR_DESC::Instance() {
  static cCore_DX8_DeviceMGR_DESC descriptor;
  return descriptor;
}
