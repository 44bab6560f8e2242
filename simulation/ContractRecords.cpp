#include "simulation/ContractRecords.h"

#include <cstring>

#include "base/ByteReader.h"
#include "simulation/AirlineContract.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractData.h"
#include "simulation/FlightContract.h"

namespace {

void Put8(uint8_t* out, size_t at, uint8_t v) { out[at] = v; }
void Put16(uint8_t* out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutF32(uint8_t* out, size_t at, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  Put32(out, at, bits);
}
void PutF64(uint8_t* out, size_t at, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  Put32(out, at, static_cast<uint32_t>(bits));
  Put32(out, at + 4, static_cast<uint32_t>(bits >> 32));
}
void PutName(uint8_t* out, const std::string& name) {
  std::memcpy(out, name.data(), name.size() < kRecordNameSize ? name.size() : kRecordNameSize);
}

uint32_t Get32(const uint8_t* in, size_t at) {
  ByteReader reader(in + at, 4);
  return reader.U32();
}
uint16_t Get16(const uint8_t* in, size_t at) {
  ByteReader reader(in + at, 2);
  return reader.U16();
}
float GetF32(const uint8_t* in, size_t at) {
  ByteReader reader(in + at, 4);
  return reader.F32();
}
double GetF64(const uint8_t* in, size_t at) {
  const uint64_t bits = Get32(in, at) | (uint64_t{Get32(in, at + 4)} << 32);
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

}  // namespace

std::string RecordName(const uint8_t* field) {
  const void* zero = std::memchr(field, 0, kRecordNameSize);
  const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - field) : kRecordNameSize;
  return std::string(reinterpret_cast<const char*>(field), n);
}

void WriteAirlineRecord(const cAirlineContract& c, uint8_t* out) {
  std::memset(out, 0, kAirlineRecordSize);
  PutName(out, c.data ? c.data->name : c.GetName());
  PutF32(out, 68, c.flightFactor);
  PutF32(out, 72, c.baseOffer);
  for (int i = 0; i < kFeeItemCount; ++i) PutF32(out, 76 + 4 * i, c.fees[i]);
  PutF64(out, 152, c.signingPayment);
  Put16(out, 160, c.delayCounter);
  Put32(out, 164, c.failedPlacements);
  Put8(out, 168, c.firstFlightPaid);
  Put32(out, 172, c.timeStamp);
  Put32(out, 176, c.start);
  Put32(out, 180, c.end);
  Put8(out, 184, c.attempts);
  PutF32(out, 188, c.satisfaction);
  Put8(out, 192, c.state);
  Put8(out, 196, c.renewal);
  PutF32(out, 200, c.minSecurity);
  PutF32(out, 204, c.minSafety);
  PutF32(out, 208, c.minSatisfaction);
  Put8(out, 212, c.checkInsToDedicate);
  Put8(out, 213, c.checkInExtra[0]);
  Put8(out, 214, c.checkInExtra[1]);
  PutF64(out, 216, c.levelValue);
  Put32(out, 224, c.requiredTraffic);
  Put8(out, 228, c.met);
  Put8(out, 229, c.possible);
}

void ReadAirlineRecord(const uint8_t* in, cAirlineContract* c) {
  c->flightFactor = GetF32(in, 68);
  c->baseOffer = GetF32(in, 72);
  for (int i = 0; i < kFeeItemCount; ++i) c->fees[i] = GetF32(in, 76 + 4 * i);
  c->signingPayment = GetF64(in, 152);
  c->delayCounter = Get16(in, 160);
  c->failedPlacements = Get32(in, 164);
  c->firstFlightPaid = in[168];
  c->timeStamp = Get32(in, 172);
  c->start = Get32(in, 176);
  c->end = Get32(in, 180);
  c->attempts = in[184];
  c->satisfaction = GetF32(in, 188);
  c->state = in[192];
  c->renewal = in[196];
  c->minSecurity = GetF32(in, 200);
  c->minSafety = GetF32(in, 204);
  c->minSatisfaction = GetF32(in, 208);
  c->checkInsToDedicate = in[212];
  c->checkInExtra[0] = in[213];
  c->checkInExtra[1] = in[214];
  c->levelValue = GetF64(in, 216);
  c->requiredTraffic = Get32(in, 224);
  c->met = in[228];
  c->possible = in[229];
}

void WriteFlightRecord(const cFlightContract& f, uint8_t* out) {
  std::memset(out, 0, kFlightRecordSize);
  PutName(out, f.airplane ? f.airplane->name : f.GetName());
  Put32(out, 68, f.flightId);
  Put16(out, 72, f.passengers);
  Put32(out, 76, f.buildingWord);
  Put8(out, 80, f.slotKeys[0]);
  Put8(out, 81, f.slotKeys[1]);
  Put32(out, 84, f.timeStamp);
  Put32(out, 88, f.start);
  Put32(out, 92, f.end);
  Put8(out, 96, f.delayed);
}

void ReadFlightRecord(const uint8_t* in, cFlightContract* f) {
  f->flightId = Get32(in, 68);
  f->passengers = Get16(in, 72);
  f->buildingWord = Get32(in, 76);
  f->slotKeys[0] = in[80];
  f->slotKeys[1] = in[81];
  f->timeStamp = Get32(in, 84);
  f->start = Get32(in, 88);
  f->end = Get32(in, 92);
  f->delayed = in[96];
}

void WriteBusinessRecord(const cBusinessContract& c, uint8_t* out) {
  std::memset(out, 0, kBusinessRecordSize);
  PutName(out, c.data ? c.data->name : c.GetName());
  Put8(out, 65, c.placed);
  PutF32(out, 68, c.negotiatedValue);
  PutF32(out, 72, c.monthlyPayment);
  PutName(out + 76, c.GetName());
  Put8(out, 141, c.renewal);
  PutF32(out, 144, c.GetSatisfaction());
  Put32(out, 148, c.timeStamp);
  Put32(out, 152, c.start);
  Put32(out, 156, c.end);
  Put8(out, 160, c.state);
  Put8(out, 161, c.attempts);
  Put16(out, 162, c.coolDown);
  PutF32(out, 168, c.minSecurity);
  PutF32(out, 172, c.minSafety);
  PutF32(out, 176, c.minSatisfaction);
  Put8(out, 180, c.checkInsToDedicate);
  Put8(out, 181, c.checkInExtra[0]);
  Put8(out, 182, c.checkInExtra[1]);
  PutF64(out, 184, c.levelValue);
  Put32(out, 192, c.requiredTraffic);
  Put8(out, 196, c.met);
  Put8(out, 197, c.possible);
}

void ReadBusinessRecord(const uint8_t* in, cBusinessContract* c) {
  c->placed = in[65];
  c->negotiatedValue = GetF32(in, 68);
  c->monthlyPayment = GetF32(in, 72);
  c->SetName(RecordName(in + 76));
  c->renewal = in[141];
  c->satisfaction = GetF32(in, 144);
  c->timeStamp = Get32(in, 148);
  c->start = Get32(in, 152);
  c->end = Get32(in, 156);
  c->state = in[160];
  c->attempts = in[161];
  c->coolDown = Get16(in, 162);
  c->minSecurity = GetF32(in, 168);
  c->minSafety = GetF32(in, 172);
  c->minSatisfaction = GetF32(in, 176);
  c->checkInsToDedicate = in[180];
  c->checkInExtra[0] = in[181];
  c->checkInExtra[1] = in[182];
  c->levelValue = GetF64(in, 184);
  c->requiredTraffic = Get32(in, 192);
  c->met = in[196];
  c->possible = in[197];
}
