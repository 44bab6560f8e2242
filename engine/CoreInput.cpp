#include "engine/CoreInput.h"

CoreInputReceiver::~CoreInputReceiver() = default;
CoreInput::CoreInput() = default;
CoreInput::~CoreInput() = default;
cCore_Base_DeviceManager::cCore_Base_DeviceManager() = default;
cCore_Base_DeviceManager::~cCore_Base_DeviceManager() = default;
