// Out-of-line members of the small service interfaces, so their vtables live
// in the engine core.
#include "engine/services/CoreInterface.h"
#include "engine/services/CorePhysics.h"

CorePhysics::CorePhysics() = default;
CorePhysics::~CorePhysics() = default;
CoreInterface::CoreInterface() = default;
CoreInterface::~CoreInterface() = default;
