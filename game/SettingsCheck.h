#pragma once
// The settings a player can change on the options screens, checked as each
// settings file is read: a value the screens could not have written (a
// resolution they do not offer, a volume outside 0-255, a word where a
// number belongs) is replaced, with one log line, by the value the first
// start uses: the one "base.cfg" gave, or the program's own default.
#include <cstdint>
#include <map>
#include <string>

class cCore_ConfigManager;

class SettingsCheck {
 public:
  // `width` x `height`: the window the program opens when no setting names
  // one (it follows the desktop).
  SettingsCheck(int32_t width, int32_t height);

  // Checks every offered setting in `config` after `file` was read into it.
  // The first file checked ("base.cfg") sets the first-start values; a bad
  // value in a later file falls back to them. Returns the number replaced.
  int Check(cCore_ConfigManager& config, const std::string& file);

  // The first-start value of a checked setting ("" for one not checked).
  std::string FirstStart(const std::string& section, const std::string& name) const;
  int32_t FirstStartWidth() const { return width_; }
  int32_t FirstStartHeight() const { return height_; }
  // The first-start texture size (a power of two, 256 or more).
  int32_t FirstStartTextureSize() const;

  // What the screens offer, for callers that read the values back.
  static bool IsOfferedResolution(int32_t width, int32_t height);
  // "<w> <h>" of an offered resolution; false otherwise.
  static bool ParseResolution(const std::string& value, int32_t* width, int32_t* height);

 private:
  int32_t width_;
  int32_t height_;
  bool firstDone_ = false;
  std::map<std::string, std::string> firstStart_;  // "section|name" -> value
};
