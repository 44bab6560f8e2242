#include <gtest/gtest.h>

#include <random>

#include "simulation/tests/ContractRun.h"

namespace {

using namespace contracttest;

// Ten game years at speed 50,000; the fake airport places every flight.
class ContractTenYearTest : public ContractRun {};

TEST_F(ContractTenYearTest, ListsStayConsistentForTenYears) {
  std::mt19937 pick(7);
  const uint32_t saveDay = 400 + pick() % 3000;
  bool saved = false;
  for (uint32_t day = 1; day <= 3650; ++day) {
    w.world.RunDays(1, 50000);
    Play();
    ASSERT_NO_FATAL_FAILURE(CheckInvariants(day));
    if (day == saveDay) {
      SerialBlock block;
      uint32_t size = 0;
      ASSERT_TRUE(m->Save(&block, &size));
      std::vector<uint8_t> bytes(block.get(), block.get() + size);
      const std::vector<std::string> before = Snapshot(*m);
      ASSERT_NO_FATAL_FAILURE(LoadIntoFreshManager(bytes, day));
      // The fresh manager took the terminal shops' links; loading the blob
      // in place hands them back and the run goes on from the loaded lists.
      ASSERT_TRUE(m->ParseBlob(bytes.data(), size));
      EXPECT_EQ(Snapshot(*m), before) << "day " << day;
      SerialBlock again;
      uint32_t againSize = 0;
      ASSERT_TRUE(m->Save(&again, &againSize));
      EXPECT_EQ(std::vector<uint8_t>(again.get(), again.get() + againSize), bytes) << "day " << day;
      grown_.clear();
      saved = true;
    }
  }
  EXPECT_TRUE(saved);
  EXPECT_FALSE(m->allFlights.empty());
  const StatBlock& b = w.world.stats->block;
  EXPECT_GT(b.contractIncome + b.contractIncomeEarlier, 0.0);
  size_t active = 0;
  for (auto& group : m->businessLists) active += group[kList_Active].size();
  EXPECT_GT(active + m->airlineLists[kList_Active].size(), 0u);
}

}  // namespace
