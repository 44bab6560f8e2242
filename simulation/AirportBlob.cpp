#include "simulation/AirportBlob.h"

#include <cstring>

#include "base/ByteReader.h"
#include "engine/files/SerializeRecord.h"

namespace {

void PutText(SaveRecordWriter& out, const std::string& text) {
  // The text ends at its first zero byte, as it will when read back.
  out.PutBytes(text.c_str(), std::strlen(text.c_str()) + 1);
}

void PutName(SaveRecordWriter& out, const std::string& name) {
  uint8_t field[AirportBlob::kNameField] = {};
  std::memcpy(field, name.data(), std::min<size_t>(name.size(), AirportBlob::kNameField - 1));
  out.PutBytes(field, sizeof field);
}

// A text ended by a zero byte inside the blob; fails the reader otherwise.
std::string GetText(ByteReader& r) {
  const uint8_t* at = r.Current();
  const size_t left = r.Remaining();
  const void* end = left ? std::memchr(at, 0, left) : nullptr;
  if (!end) {
    r.Fail();
    return {};
  }
  const size_t length = static_cast<const uint8_t*>(end) - at;
  std::string text = r.String(length);
  r.Skip(1);
  return text;
}

// A 128-byte name field; the name ends at its first zero byte or at 127
// characters when the field holds none.
std::string GetName(ByteReader& r) {
  if (!r.Need(AirportBlob::kNameField)) return {};
  const char* at = reinterpret_cast<const char*>(r.Current());
  const size_t length = strnlen(at, AirportBlob::kNameField - 1);
  std::string name(at, length);
  r.Skip(AirportBlob::kNameField);
  return name;
}

}  // namespace

std::vector<uint8_t> AirportBlob::Serialize() const {
  SaveRecordWriter out;
  out.PutU32(static_cast<uint32_t>(messages.size()));
  for (const Message& m : messages) {
    PutText(out, m.subject);
    PutText(out, m.body);
  }
  out.PutU32(static_cast<uint32_t>(entries.size()));
  for (const Entry& e : entries) {
    out.PutU32(e.id);
    out.PutU8(e.read);
    out.PutU8(0);
    out.PutU8(0);
    out.PutU8(0);
  }
  out.PutU32(static_cast<uint32_t>(wonAwards.size()));
  for (const std::string& name : wonAwards) PutName(out, name);
  out.PutU32(static_cast<uint32_t>(events.size()));
  for (const TriggeredEvent& e : events) {
    PutName(out, e.name);
    out.PutU32(e.lastTriggerValue);
  }
  out.PutU8(closure);
  out.PutU32(traffic);
  for (uint32_t value : history) out.PutU32(value);
  return std::vector<uint8_t>(out.Data(), out.Data() + out.Size());
}

bool AirportBlob::Parse(const uint8_t* bytes, uint32_t size, AirportBlob* out, const char** why) {
  auto fail = [&](const char* reason) {
    if (why) *why = reason;
    return false;
  };
  if (!bytes) return fail("missing");
  ByteReader r(bytes, size);
  AirportBlob b;
  // Each message takes at least two bytes (two empty texts), each entry 8,
  // each award 128 and each event 132: counts are checked against that
  // before anything is reserved.
  const uint32_t messageCount = r.U32();
  if (!r.Ok() || messageCount > r.Remaining() / 2) return fail("a message count past its end");
  for (uint32_t i = 0; i < messageCount && r.Ok(); ++i) {
    Message m;
    m.subject = GetText(r);
    m.body = GetText(r);
    b.messages.push_back(std::move(m));
  }
  if (!r.Ok()) return fail("a message text running past its end");
  const uint32_t entryCount = r.U32();
  if (!r.Ok() || entryCount > r.Remaining() / 8) return fail("an entry count past its end");
  for (uint32_t i = 0; i < entryCount; ++i) {
    Entry e;
    e.id = r.U32();
    e.read = r.U8();
    r.Skip(3);
    if (e.id >= kFirstSavedId && e.id - kFirstSavedId >= messageCount)
      return fail("an entry naming a message that is not saved");
    b.entries.push_back(e);
  }
  const uint32_t awardCount = r.U32();
  if (!r.Ok() || awardCount > r.Remaining() / kNameField) return fail("an award count past its end");
  for (uint32_t i = 0; i < awardCount; ++i) b.wonAwards.push_back(GetName(r));
  const uint32_t eventCount = r.U32();
  if (!r.Ok() || eventCount > r.Remaining() / (kNameField + 4)) return fail("an event count past its end");
  for (uint32_t i = 0; i < eventCount; ++i) {
    TriggeredEvent e;
    e.name = GetName(r);
    e.lastTriggerValue = r.U32();
    b.events.push_back(std::move(e));
  }
  b.closure = r.U8();
  b.traffic = r.U32();
  for (uint32_t& value : b.history) value = r.U32();
  if (!r.Ok()) return fail("cut short");
  if (r.Remaining() != 0) return fail("longer than its contents");
  *out = std::move(b);
  return true;
}
