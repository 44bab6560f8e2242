#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/tests/BuildingWorld.h"
#include "engine/math/JVector.h"

using namespace buildtest;

namespace {

struct Site {
  BOInstance* office = nullptr;
  BOInstance* office2 = nullptr;
  BOInstance* terminal = nullptr;
  BOInstance* runway = nullptr;
};

Site Populate(BuildingWorld& w) {
  Site s;
  auto* office = w.manager.Define(kClass_Building, "Office", 1, 1, 1);
  s.office = w.BuildFinished(office, 1, 1);
  s.office2 = w.BuildFinished(office, 3, 1);
  s.terminal = w.BuildFinished(w.manager.Define<cTerminal>(kClass_Terminal, "Terminal", 1, 2, 2), 10, 10);
  s.runway = w.manager.Place(w.manager.Define<cRunway>(kClass_Runway, "Runway", 1, 1, 4), 20, 10);
  return s;
}

}  // namespace

TEST(BuildingDisasters, EarthquakesDamageEveryBuildingButTerminalsAndRunways) {
  struct Case {
    const char* name;
    int32_t magnitude;
    float officeBefore;
    size_t officesLeft;
    float officeAfter;  // of the first office left
  };
  const Case cases[] = {
      {"magnitude 0 damages nothing", 0, 0.8f, 2, 0.8f},
      {"magnitude 30", 30, 1.0f, 2, 0.7f},
      {"magnitude 150 destroys", 150, 1.0f, 0, 0.0f},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    Site s = Populate(w);
    s.office->health = c.officeBefore;
    s.office2->health = c.officeBefore;
    s.terminal->health = 0.3f;
    s.runway->health = 0.2f;
    w.Clock().SetSpeed(1000);
    w.roads.world.random.UseUpper();  // no fires
    w.manager.ApplyEarthquakeDamage(c.magnitude);
    EXPECT_FLOAT_EQ(s.terminal->health, 1.0f) << c.name;
    EXPECT_FLOAT_EQ(s.runway->health, 1.0f) << c.name;
    auto* type = w.manager.GetBuildingType(kClass_Building, 0, 1);
    ASSERT_EQ(type->GetInstanceCount(), c.officesLeft) << c.name;
    if (c.officesLeft) {
      EXPECT_NEAR(type->GetInstance(0)->health, c.officeAfter, 1e-6) << c.name;
      EXPECT_NEAR(type->GetInstance(1)->health, c.officeAfter, 1e-6) << c.name;
      EXPECT_TRUE(w.Subjects().empty()) << c.name;
    } else {
      // Both destroyed: the second was still damaged after the first went.
      EXPECT_EQ(w.Subjects(), (std::vector<std::string>{"An eartquake destroyed your Office.",
                                                        "An eartquake destroyed your Office."}))
          << c.name;
      EXPECT_FLOAT_EQ(w.Clock().speed, 1.0f) << c.name;
      EXPECT_EQ(w.manager.GetInstanceAt(1, 1), nullptr) << c.name;
    }
  }
}

TEST(BuildingDisasters, AnEarthquakeOfSixtySetsFireByTheDraw) {
  struct Case {
    const char* name;
    double fraction;  // of the 0-50 draw; the threshold is 15
    bool fire;
  };
  const Case cases[] = {{"draw 14.5", 0.29, true}, {"draw 15.5", 0.31, false}};
  for (const Case& c : cases) {
    BuildingWorld w;
    Site s = Populate(w);
    w.roads.world.random.UseSequence({c.fraction});
    w.manager.ApplyEarthquakeDamage(60);
    EXPECT_NEAR(s.office->health, 0.4f, 1e-6) << c.name;
    EXPECT_EQ(s.office->onFire != 0, c.fire) << c.name;
    EXPECT_EQ(s.office2->onFire != 0, c.fire) << c.name;
  }
}

TEST(BuildingDisasters, ATornadoDestroysWhatItHitsExceptTerminalsAndRunways) {
  struct Case {
    const char* name;
    float x;  // in cells
    float z;
    const char* subject;  // "" for no message
    bool officeGone;
  };
  const Case cases[] = {
      {"over the office", 1.5f, 1.2f, "A tornado destroyed your Office.", true},
      {"over the terminal", 10.5f, 11.5f, "Your Terminal has been damaged by the tornado!", false},
      {"over empty land", 30.5f, 30.5f, "", false},
      {"just off the low edge", -0.5f, 1.5f, "", false},
      {"far off the plot", -500.0f, 9000.0f, "", false},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    Site s = Populate(w);
    // The funnel at x = -0.5 would land on cell 0 if the cell were cut
    // toward zero: a building stands there.
    BOInstance* edge = w.BuildFinished(w.manager.GetBuildingType(kClass_Building, 0, 1), 0, 1);
    s.terminal->health = 0.5f;
    w.Clock().SetSpeed(100);
    // Cell coordinates to world ones: the plot's centre is the world origin.
    cEntity_GamePlot& plot = w.roads.world.plot;
    w.manager.ApplyTornadoDamage(
        JVector(c.x - plot.GetWorldSizeX() * 0.5f, 0.0f, c.z - plot.GetWorldSizeZ() * 0.5f));
    const std::vector<std::string> subjects = w.Subjects();
    if (*c.subject) {
      ASSERT_EQ(subjects.size(), 1u) << c.name;
      EXPECT_EQ(subjects[0], c.subject) << c.name;
    } else {
      EXPECT_TRUE(subjects.empty()) << c.name;
    }
    EXPECT_EQ(w.manager.GetInstanceAt(1, 1) == nullptr, c.officeGone) << c.name;
    EXPECT_EQ(w.manager.GetInstanceAt(0, 1), edge) << c.name;
    EXPECT_FLOAT_EQ(s.terminal->health, std::string(c.name) == "over the terminal" ? 1.0f : 0.5f) << c.name;
    EXPECT_FLOAT_EQ(w.Clock().speed, c.officeGone ? 1.0f : 100.0f) << c.name;
  }
}
