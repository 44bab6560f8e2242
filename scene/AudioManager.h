#pragma once
// The game's one gateway to the sound service (spawned as
// "SPN::KV9:AUDIO:MANAGER", entity "Entity_AudioManager"). It keeps the music
// and sound volumes, plays one-shot sounds, one music track, one looping
// background sound and a cross-faded pair of ambience loops, and places the
// positional sounds of buildings and moving objects around the listener
// itself: ten times a second each one's distance from the main camera sets
// its volume (silent beyond 100 units) and its pan between two ears beside
// the camera.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/entity/SpawnBase.h"
#include "engine/frame/TimeService.h"

class SoundHandle;
class SoundMgr;
class BOInstance;
class cKV9_GlobalWrapper;

class cEntity_AudioManager : public cEntity_Base, public TimeServiceItem {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:AUDIO:MANAGER";
  // Beyond this distance a positional sound is stopped.
  static constexpr float kHearingDistance = 100.0f;

  // One positional sound.
  struct SoundNode {
    SoundHandle* handle = nullptr;
    cEntity_Base* object = nullptr;    // a moving object, or null
    BOInstance* building = nullptr;    // a building, or null
    bool loop = false;
    uint32_t value = 0;                // the caller's
    float distance = 0.0f;             // to the listener, refreshed each tick
    float position[3] = {0.0f, 0.0f, 0.0f};
  };

  explicit cEntity_AudioManager(cEntity_Manager* manager, uint32_t type = kEntityType_Base);
  // Empties the node list (the sounds stay with the sound service).
  ~cEntity_AudioManager() override;

  // "MusicVolume" and "SoundVolume" of section App: 0..255 -> value / 255,
  // 50 when missing, 0 for zero or less. 0.
  virtual CoreStatus LoadVolumes();
  virtual void SetMusicVolume(float volume);
  virtual void SetSoundVolume(float volume);
  float GetMusicVolume() const { return musicVolume_; }
  float GetSoundVolume() const { return soundVolume_; }

  // Plays the file once or looping; null when sound is off, there is no
  // sound service or the name is empty. The flag goes into the handle.
  virtual SoundHandle* PlaySound(const std::string& fileName, bool loop, uint8_t flag);
  virtual void StopSound(SoundHandle* handle);
  // An empty name stops the music; the music already playing is kept.
  virtual void PlayMusic(const std::string& fileName);
  virtual void PlaySoundLoop(const std::string& fileName);
  virtual void SetLoopVolume(float volume);
  virtual void CrossFadeLoop(const std::string& fileName, float targetVolume, float fadeInSeconds);
  virtual void SetCrossFadeMix(float t);
  // A sound attached to a moving object (under the resource path): `loop`
  // non-zero loops it, `value` is the caller's word kept with the node.
  virtual void AddObjectSound(cEntity_Base* object, const std::string& fileName, float loop, float value);
  virtual void RemoveObjectSounds(cEntity_Base* object);
  // A sound fixed at the building's position (under the resource path's
  // "Sounds\"), looping when `loop` is non-zero. The building's position
  // comes from the locator the construction side installs; without one the
  // sound is not made.
  virtual void AddBuildingSound(BOInstance* building, const std::string& soundName, float loop, float unused);
  virtual void RemoveBuildingSounds(BOInstance* building);
  virtual void StopAllSounds();

  using BuildingLocator = bool (*)(BOInstance* building, float position[3]);
  static void SetBuildingLocator(BuildingLocator locator);

  // The listener tick (time event 1, every 0.1 s once the world is built).
  void OnTimeEvent(TimeEvent* event) override;
  // The tick's work with the listener at `eye` looking at `target`.
  void PlaceSounds(const float eye[3], const float target[3]);

  const std::vector<SoundNode>& GetNodes() const { return nodes_; }
  SoundHandle* GetMusic() const { return music_; }
  SoundHandle* GetLoop() const { return loop_; }
  SoundHandle* GetFadingIn() const { return fadeIn_; }
  SoundHandle* GetFadingOut() const { return fadeOut_; }

 private:
  SoundMgr* Sound() const;
  bool SoundOff() const;
  bool MusicOff() const;
  void AdvanceFades(float step);
  // Makes the file the sound in `slot` (playing `slotFile`): an empty name
  // stops and releases it, the file already playing there is kept, another
  // one replaces it and plays looped at `volume`.
  void Replace(SoundHandle*& slot, std::string& slotFile, const std::string& fileName, bool music, float volume);

  float musicVolume_ = 1.0f;
  float soundVolume_ = 1.0f;
  SoundHandle* music_ = nullptr;
  std::string musicFile_;
  SoundHandle* loop_ = nullptr;
  std::string loopFile_;
  SoundHandle* fadeOut_ = nullptr;
  SoundHandle* fadeIn_ = nullptr;
  float fadeInTarget_ = 0.0f;
  float fadeOutTarget_ = 0.0f;
  float fadeInTime_ = 0.0f;
  float fadeOutTime_ = 0.0f;
  std::vector<SoundNode> nodes_;
  cKV9_GlobalWrapper* wrapper_ = nullptr;
};

class SpawnAudioManager : public cSpawn_Base {
 public:
  SpawnAudioManager() : cSpawn_Base(cEntity_AudioManager::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
