#include "renderer/LumetraDescriptor.h"

#include <new>

#include "renderer/Lumetra.h"

float LumetraBaseAPIVersion() { return 1.0f; }

const char* LumetraDescriptor::GetName() { return "Lumetra"; }
const char* LumetraDescriptor::GetDescription() { return "DirectX 8.0a Rendering Layer"; }
float LumetraDescriptor::GetVersion() { return LumetraBaseAPIVersion(); }
float LumetraDescriptor::GetBaseAPIVersion() { return 1.0f; }
eServiceType LumetraDescriptor::GetServiceType() { return eService_Graphics; }
CoreBase* LumetraDescriptor::CreateCoreClass() { return new (std::nothrow) Lumetra(); }

LumetraDescriptor& LumetraDescriptor::Instance() {
  static LumetraDescriptor descriptor;
  return descriptor;
}
