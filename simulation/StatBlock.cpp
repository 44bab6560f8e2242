#include "simulation/StatBlock.h"

#include <cmath>
#include <cstring>
#include <type_traits>

#include "base/ByteReader.h"
#include "engine/files/SerializeRecord.h"

namespace {

// The block's fields in blob order, each visited by one function so the
// writer and the reader cannot disagree.
template <typename Block, typename Visitor>
void VisitFields(Block& b, Visitor&& v) {
  for (auto* d : {&b.cash, &b.monthlyUpkeep, &b.ticketSales, &b.ticketSalesEarlier, &b.parkingIncome,
                  &b.parkingIncomeEarlier, &b.amenityIncome, &b.amenityIncomeEarlier, &b.contractIncome,
                  &b.contractIncomeEarlier, &b.income, &b.incomeEarlier, &b.expenses, &b.reserved104,
                  &b.construction, &b.constructionEarlier, &b.upkeepPaid, &b.upkeepPaidEarlier}) {
    v(*d);
  }
  for (auto* u : {&b.passengers, &b.passengersEarlier, &b.flights, &b.flightsEarlier, &b.contractsSigned,
                  &b.reserved164}) {
    v(*u);
  }
  for (auto* f : {&b.safetyRating, &b.safetyBase, &b.safetyMaintenance, &b.safetyBuildings, &b.safetyInterior,
                  &b.securityRating, &b.securityBase, &b.securityBuildings, &b.securityInterior, &b.aesthetic,
                  &b.satisfactionRating, &b.satisfactionBase, &b.satisfactionBuildings, &b.satisfactionInterior,
                  &b.airlineSatisfaction, &b.businessSatisfaction, &b.upkeepFactor}) {
    v(*f);
  }
  v(b.reserved236);
}

}  // namespace

std::vector<uint8_t> StatBlock::Serialize() const {
  SaveRecordWriter writer;
  StatBlock copy = *this;
  VisitFields(copy, [&](auto& field) {
    using T = std::remove_reference_t<decltype(field)>;
    if constexpr (std::is_same_v<T, double>) {
      uint64_t bits;
      std::memcpy(&bits, &field, sizeof bits);
      writer.PutU32(static_cast<uint32_t>(bits));
      writer.PutU32(static_cast<uint32_t>(bits >> 32));
    } else if constexpr (std::is_same_v<T, float>) {
      writer.PutF32(field);
    } else {
      writer.PutU32(field);
    }
  });
  return std::vector<uint8_t>(writer.Data(), writer.Data() + writer.Size());
}

bool StatBlock::Parse(const uint8_t* bytes, uint32_t size, StatBlock* out, const char** why) {
  if (!bytes || size != kSize) {
    if (why) *why = "the block is not 240 bytes";
    return false;
  }
  ByteReader in(bytes, size);
  StatBlock block;
  bool finite = true;
  VisitFields(block, [&](auto& field) {
    using T = std::remove_reference_t<decltype(field)>;
    if constexpr (std::is_same_v<T, double>) {
      const uint64_t low = in.U32();
      const uint64_t bits = low | (static_cast<uint64_t>(in.U32()) << 32);
      std::memcpy(&field, &bits, sizeof field);
      finite = finite && std::isfinite(field);
    } else if constexpr (std::is_same_v<T, float>) {
      field = in.F32();
      finite = finite && std::isfinite(field);
    } else {
      field = in.U32();
    }
  });
  if (!finite) {
    if (why) *why = "a money or rating field is not a finite number";
    return false;
  }
  *out = block;
  return true;
}
