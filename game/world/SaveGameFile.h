#pragma once
// The save-game file: fifteen length-prefixed records (a 4-byte little-endian
// count, then that many bytes) with nothing between or after them. Record 1
// is the header "KV9S" 2 1; record 2 the scenario's blob; record 3 the
// scenario record; records 4 to 15 the managers' own, in a fixed order.
// A file is read whole and split here before anything of it is used.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kSaveRecordCount = 15;
inline constexpr int kSaveManagerRecords = 12;  // records 4 to 15
inline constexpr uint32_t kSaveHeaderBytes = 6;
inline constexpr uint32_t kWeatherRecordBytes = 184;
// Record numbers (1-based, as in the file).
inline constexpr int kSaveRecordHeader = 1;
inline constexpr int kSaveRecordBlob = 2;
inline constexpr int kSaveRecordScenario = 3;
inline constexpr int kSaveRecordWeather = 14;
// A save of a big airport is a few megabytes.
inline constexpr uint64_t kMaxSaveFileBytes = uint64_t{256} << 20;

// The six header bytes.
void MakeSaveHeader(uint8_t out[kSaveHeaderBytes]);
bool IsSaveHeader(const uint8_t* bytes, uint32_t n);

// A save name as callers give it ("autosave.kv9"): not empty, no folder
// separators, no "..", no ':' and no control characters.
bool IsSafeSaveName(const std::string& name);

class SaveFileImage {
 public:
  // Splits `bytes` into its records: every count within the bytes left,
  // exactly fifteen records, nothing after the last, a valid header. False
  // (with `why`) otherwise.
  bool Parse(std::vector<uint8_t> bytes, std::string* why);

  // Record `number` (1-15): its bytes (null when empty) and size.
  const uint8_t* Record(int number) const;
  uint32_t RecordSize(int number) const;

 private:
  std::vector<uint8_t> bytes_;
  size_t offsets_[kSaveRecordCount] = {};
  uint32_t sizes_[kSaveRecordCount] = {};
};
