#pragma once
// Counts the allocations made through the global operator new in this test
// program (the loaded input library included) while counting is on.
#include <cstddef>

namespace itest {

void StartCountingAllocations();
// Stops counting and answers the allocations seen since the start.
size_t StopCountingAllocations();

}  // namespace itest
