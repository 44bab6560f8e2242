#pragma once
// What a save needs of the PDA beyond adding and posting notices: the posted
// entries with their read state and the stored texts, and putting a saved
// posted list back. The PDA action provides it alongside ActionPDA.
#include <cstdint>
#include <string>
#include <vector>

class PdaArchive {
 public:
  struct Entry {
    uint32_t id = 0;
    uint8_t read = 0;
  };
  virtual ~PdaArchive() = default;

  // The posted entries, in posted order.
  virtual std::vector<Entry> PostedEntries() = 0;
  // The stored message `id`; false when there is none.
  virtual bool GetMessage(uint32_t id, std::string* subject, std::string* body) = 0;
  // Stores a message and returns its id (as ActionPDA::AddMessage).
  virtual uint32_t StoreMessage(const std::string& subject, const std::string& body) = 0;
  // Replaces the posted list with these entries, in this order.
  virtual void RestorePosted(const std::vector<Entry>& entries) = 0;
};
