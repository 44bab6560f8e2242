#include "simulation/tests/kit/FrameDriver.h"

namespace simkit {

void RunFrame(platform::TestClock& testClock, cGameManager& manager, const cSimulation_Clock& gameClock,
              float seconds) {
  testClock.AdvanceSeconds(seconds);
  manager.Update(gameClock.speed == 0.0f);
}

void RunDays(platform::TestClock& testClock, cGameManager& manager, cSimulation_Clock& gameClock, uint32_t days,
             uint16_t speed, float frame) {
  gameClock.SetSpeed(speed);
  const uint32_t until = gameClock.totalSeconds + days * 86400u;
  while (gameClock.totalSeconds < until) RunFrame(testClock, manager, gameClock, frame);
}

}  // namespace simkit
