#pragma once
// The headless frame driver: one engine frame of test-clock time through a
// game manager, and runs of whole game days at a speed. The kit's own world
// and the game's tests on the real spawn table drive their frames with it.
#include <cstdint>

#include "engine/frame/GameManager.h"
#include "platform/Clock.h"
#include "simulation/SimulationClock.h"

namespace simkit {

// One engine frame of `seconds` real time on the test clock; the frame runs
// as paused while the game's speed is exactly 0.
void RunFrame(platform::TestClock& testClock, cGameManager& manager, const cSimulation_Clock& gameClock,
              float seconds);
// Frames of `frame` seconds at `speed` until `days` game days have passed.
void RunDays(platform::TestClock& testClock, cGameManager& manager, cSimulation_Clock& gameClock, uint32_t days,
             uint16_t speed, float frame = 1.0f);

}  // namespace simkit
