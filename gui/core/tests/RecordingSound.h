#pragma once
// A sound service that makes named handles and logs the volume and play
// calls the widgets make.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/services/tests/SilentSoundMgr.h"

namespace guitest {

class RecordingSound final : public SilentSoundMgr {
 public:
  const char* GetName() override { return "[RecordingSound]"; }
  const char* GetDescription() override { return "recording sound"; }

  bool PlaySound(SoundHandle* handle, bool loop) override {
    log.push_back("play " + NameOf(handle) + (loop ? " loop" : " once"));
    return true;
  }
  void SetVolume(SoundHandle* handle, float volume) override {
    log.push_back("volume " + NameOf(handle) + " " + std::to_string(volume));
  }
  SoundHandle* CreateSound(const std::string& name) override {
    handles.push_back(std::make_unique<SoundHandle>());
    names[handles.back().get()] = name;
    return handles.back().get();
  }

  std::string NameOf(SoundHandle* handle) const {
    auto it = names.find(handle);
    return it == names.end() ? std::string("?") : it->second;
  }

  std::vector<std::unique_ptr<SoundHandle>> handles;
  std::map<SoundHandle*, std::string> names;
  std::vector<std::string> log;
};

}  // namespace guitest
