// Out-of-line members of the small service interfaces, so their vtables live
// in the engine core.
#include "engine/CoreInterface.h"
#include "engine/CorePhysics.h"

CorePhysics::CorePhysics() = default;
CorePhysics::~CorePhysics() = default;
CoreInterface::CoreInterface() = default;
CoreInterface::~CoreInterface() = default;
