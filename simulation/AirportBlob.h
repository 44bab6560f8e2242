#pragma once
// The airport manager's save blob: the player's PDA messages with their
// posted entries, the won awards and triggered events by name, the closure
// counter and the traffic with its history. Little-endian throughout.
#include <cstdint>
#include <string>
#include <vector>

struct AirportBlob {
  static constexpr uint32_t kNameField = 128;  // a name cut to 127 characters, zero-filled
  static constexpr uint32_t kFirstSavedId = 1000;  // PDA ids from here on are the player's own
  static constexpr uint32_t kHistoryLength = 10;

  struct Message {
    std::string subject;
    std::string body;
  };
  struct Entry {
    uint32_t id = 0;  // saved ids of 1000 and more number the saved messages
    uint8_t read = 0;
  };
  struct TriggeredEvent {
    std::string name;
    uint32_t lastTriggerValue = 0;
  };

  std::vector<Message> messages;
  std::vector<Entry> entries;
  std::vector<std::string> wonAwards;
  std::vector<TriggeredEvent> events;
  uint8_t closure = 0;
  uint32_t traffic = 0;
  uint32_t history[kHistoryLength] = {};

  std::vector<uint8_t> Serialize() const;
  // Fills `out` from a blob that checks out to its last byte: texts end
  // inside the blob, every count fits the bytes left, an entry's saved id
  // names one of the saved messages. False (out untouched) otherwise, with
  // the reason in *why.
  static bool Parse(const uint8_t* bytes, uint32_t size, AirportBlob* out, const char** why);
};
