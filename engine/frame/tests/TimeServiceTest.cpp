#include "engine/frame/TimeService.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/config/ConfigManager.h"
#include "engine/config/ConfigParser.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/tests/FrameTestWorld.h"
#include "platform/Clock.h"

namespace {

class Ticker : public cEntity_Base, public TimeServiceItem {
 public:
  Ticker() : cEntity_Base(nullptr, kEntityType_Base) {}
  void OnTimeEvent(TimeEvent* event) override { ids.push_back(event->id); }
  std::vector<int32_t> ids;
};

TEST(TimeServiceTest, DetachedItemsRegisterNothingAndAPausedClockFiresNothing) {
  platform::TestClock clock;
  TimeService service(nullptr);
  Ticker ticker;
  EXPECT_EQ(TimeService_AddItemTimeline(&ticker, 1, TimeEvent::kByFrames, 1.0f, Timer::kUnlimitedTime, false),
            status::Fail);
  EXPECT_EQ(TimeService_RemoveItemTimeline(&ticker, 1, 0), status::Fail);
  EXPECT_EQ(TimeService_AddItemTimeline(nullptr, 1, 0, 1.0f, 1.0f, false), status::Fail);
  EXPECT_EQ(service.AddItem(nullptr), status::Fail);
  ASSERT_EQ(service.AddItem(&ticker), status::Ok);
  ASSERT_EQ(TimeService_AddItemTimeline(&ticker, 1, TimeEvent::kByFrames, 1.0f, Timer::kUnlimitedTime, false),
            status::Ok);
  // A duplicate id is allowed when asked for: a second timeline, serial 1.
  ASSERT_EQ(TimeService_AddItemTimeline(&ticker, 1, TimeEvent::kByTime, 0.0f, 2.0f, true), status::Ok);
  EXPECT_NE(ticker.FindBehavior("Timeline:1:0:1"), nullptr);
  EXPECT_EQ(TimeService_AddItemTimeline(&ticker, 2, 7, 1.0f, 5.0f, false), status::Fail);  // no such kind

  service.GetTimer().SetPaused(service.GetOwnTimeline(), true);
  clock.AdvanceSeconds(1.0);
  EXPECT_FLOAT_EQ(service.Update(), 0.0f);
  EXPECT_TRUE(ticker.ids.empty());
  service.GetTimer().SetPaused(service.GetOwnTimeline(), false);
  clock.AdvanceSeconds(0.1);
  EXPECT_FLOAT_EQ(service.Update(), 0.1f);
  EXPECT_EQ(ticker.ids, (std::vector<int32_t>{1, 1}));

  // Detaching stops the events; the item's destructor then has no owner.
  EXPECT_EQ(service.RemoveItem(&ticker), status::Ok);
  EXPECT_EQ(ticker.GetTimeOwner(), nullptr);
  EXPECT_EQ(service.RemoveItem(&ticker), status::Ok);
  clock.AdvanceSeconds(0.1);
  service.Update();
  EXPECT_EQ(ticker.ids.size(), 2u);
}

TEST(TimeServiceTest, TheFirstFrameSpansEverythingSinceConstruction) {
  platform::TestClock clock;
  TimeService service(nullptr);
  clock.AdvanceSeconds(30.0);  // a long load: the step is not clamped
  EXPECT_FLOAT_EQ(service.Update(), 30.0f);
  clock.AdvanceSeconds(0.02);
  EXPECT_FLOAT_EQ(service.Update(), 0.02f);
}

TEST(TimeServiceTest, AnItemDestroyedFirstLeavesTheServiceAndItsTimelines) {
  platform::TestClock clock;
  TimeService service(nullptr);
  const int32_t before = service.GetTimer().GetFreeCount();
  {
    Ticker ticker;
    service.AddItem(&ticker);
    TimeService_AddItemTimeline(&ticker, 4, TimeEvent::kByFrames, 1.0f, Timer::kUnlimitedTime, false);
    EXPECT_EQ(service.GetTimer().GetFreeCount(), before - 1);
  }
  EXPECT_EQ(service.GetItemCount(), 0);
  EXPECT_EQ(service.GetTimer().GetFreeCount(), before);
  clock.AdvanceSeconds(0.1);
  service.Update();
}

TEST(TimeServiceTest, TimelinePropertyStatements) {
  platform::SetDebugStderr(false);
  frametest::FrameWorld world;
  ConfigParser* parser = world.config.GetParser();
  parser->SetTarget(&world.table);
  cEntity_Base* entity = nullptr;
  SpawnTimeService spawn;
  ASSERT_EQ(world.table.entityManager->CreateEntity(&spawn, &entity), status::Ok);
  auto* service = dynamic_cast<TimeService*>(entity);
  parser->SetCurrentObject(static_cast<cEntity_Base*>(service));
  CStringArray open{"timeline", "Sky"};
  ASSERT_EQ(TimelineCommand(open, parser), status::Ok);
  Timer& timer = service->GetTimer();
  const int32_t sky = timer.FindTimeline("Sky");
  ASSERT_NE(sky, -1);
  struct Case {
    CStringArray tokens;
    CoreStatus result;
    bool paused;
  };
  const Case cases[] = {
      {{"property", "paused", "1"}, status::Ok, true},      {{"property", "PAUSED", "yes"}, status::Ok, false},
      {{"property", "paused", "TRUE"}, status::Ok, true},   {{"property", "paused", "0"}, status::Ok, false},
      {{"property", "framespan", "12"}, status::Ok, false}, {{"property", "timespan", "1.5"}, status::Ok, false},
      {{"property", "speed", "2"}, status::Fail, false},     {{"property", "paused"}, status::Fail, false},
  };
  for (const Case& c : cases) {
    CStringArray tokens = c.tokens;
    EXPECT_EQ(TimelinePropCommand(tokens, parser), c.result) << c.tokens[1];
    EXPECT_EQ(timer.IsPaused(sky), c.paused) << c.tokens[1];
  }
  EXPECT_EQ(timer.GetRemainingFrames(sky), 12);
  EXPECT_FLOAT_EQ(timer.GetRemainingTime(sky), 1500.0f);
  CStringArray close{"}"};
  EXPECT_EQ(TLEndLangCommand(close, parser), status::Ok);
  CStringArray late{"property", "paused", "1"};
  EXPECT_EQ(TimelinePropCommand(late, parser), status::Fail);  // no current timeline
  // An empty name makes no timeline.
  const int32_t free = timer.GetFreeCount();
  CStringArray unnamed{"timeline", ""};
  EXPECT_EQ(TimelineCommand(unnamed, parser), status::Ok);
  EXPECT_EQ(timer.GetFreeCount(), free);
  parser->SetCurrentObject(nullptr);
  platform::SetDebugStderr(true);
}

}  // namespace
