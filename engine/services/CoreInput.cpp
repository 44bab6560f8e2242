#include "engine/services/CoreInput.h"

CoreInput::CoreInput() = default;
CoreInput::~CoreInput() = default;
cCore_Base_DeviceManager::cCore_Base_DeviceManager() = default;
cCore_Base_DeviceManager::~cCore_Base_DeviceManager() = default;
