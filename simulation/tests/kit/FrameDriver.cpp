#include "simulation/tests/kit/FrameDriver.h"

#include "engine/entity/EntityManager.h"

namespace simkit {

void RunFrame(platform::TestClock& testClock, cGameManager& manager, const cSimulation_Clock& gameClock,
              float seconds) {
  testClock.AdvanceSeconds(seconds);
  manager.Update(gameClock.speed == 0.0f);
  // As the game's frame does: entities marked for removal during the frame
  // are destroyed here, so finished models do not pile up over a long run.
  if (cEntity_Manager* entities = manager.GetEntityManager()) entities->Update(manager.GetFrameTime());
}

void RunDays(platform::TestClock& testClock, cGameManager& manager, cSimulation_Clock& gameClock, uint32_t days,
             uint16_t speed, float frame) {
  gameClock.SetSpeed(speed);
  const uint32_t until = gameClock.totalSeconds + days * 86400u;
  while (gameClock.totalSeconds < until) RunFrame(testClock, manager, gameClock, frame);
}

}  // namespace simkit
