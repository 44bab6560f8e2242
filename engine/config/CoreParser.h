#pragma once
// Base of every script reader. Command handlers receive the reader that read
// their statement as a CoreParser and down-cast it (dynamic_cast) to the
// reader they expect; the virtual destructor makes that check possible.
class CoreParser {
 public:
  CoreParser() = default;
  virtual ~CoreParser() = default;
  CoreParser(const CoreParser&) = delete;
  CoreParser& operator=(const CoreParser&) = delete;
};
