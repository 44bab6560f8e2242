#pragma once
// The sound output layer in the shape the sound service expects: output
// device enumeration, a device, its primary buffer with the output format,
// secondary buffers, 3D buffers and the listener, and effect slots on
// buffers. Numeric values of flags, modes and result codes are the ones the
// sound service's code is written against. Objects are reference counted:
// every pointer handed out carries one reference that the caller gives back
// with Release().
#include <cstdint>

#include "base/Status.h"

namespace platform {

// A 16-byte identifier in memory order (devices, interfaces, effect classes).
struct SoundGuid {
  uint8_t bytes[16];
  bool operator==(const SoundGuid&) const = default;
  bool IsZero() const;
};

// ---- result codes ---------------------------------------------------------
namespace dsdetail {
constexpr CoreStatus Make(uint32_t code) { return static_cast<CoreStatus>(0x88780000u | code); }
}  // namespace dsdetail

inline constexpr CoreStatus DS_OK = 0;
inline constexpr CoreStatus DS_NO_VIRTUALIZATION = 0x0878000A;
inline constexpr CoreStatus DSERR_ALLOCATED = dsdetail::Make(10);
inline constexpr CoreStatus DSERR_CONTROLUNAVAIL = dsdetail::Make(30);
inline constexpr CoreStatus DSERR_INVALIDPARAM = static_cast<CoreStatus>(0x80070057u);
inline constexpr CoreStatus DSERR_INVALIDCALL = dsdetail::Make(50);
inline constexpr CoreStatus DSERR_GENERIC = static_cast<CoreStatus>(0x80004005u);
inline constexpr CoreStatus DSERR_PRIOLEVELNEEDED = dsdetail::Make(70);
inline constexpr CoreStatus DSERR_OUTOFMEMORY = static_cast<CoreStatus>(0x8007000Eu);
inline constexpr CoreStatus DSERR_BADFORMAT = dsdetail::Make(100);
inline constexpr CoreStatus DSERR_UNSUPPORTED = static_cast<CoreStatus>(0x80004001u);
inline constexpr CoreStatus DSERR_NODRIVER = dsdetail::Make(120);
inline constexpr CoreStatus DSERR_ALREADYINITIALIZED = dsdetail::Make(130);
inline constexpr CoreStatus DSERR_NOAGGREGATION = static_cast<CoreStatus>(0x80040110u);
inline constexpr CoreStatus DSERR_BUFFERLOST = dsdetail::Make(150);
inline constexpr CoreStatus DSERR_OTHERAPPHASPRIO = dsdetail::Make(160);
inline constexpr CoreStatus DSERR_UNINITIALIZED = dsdetail::Make(170);
inline constexpr CoreStatus DSERR_NOINTERFACE = static_cast<CoreStatus>(0x80004002u);
inline constexpr CoreStatus DSERR_ACCESSDENIED = static_cast<CoreStatus>(0x80070005u);
inline constexpr CoreStatus DSERR_BUFFERTOOSMALL = dsdetail::Make(180);
inline constexpr CoreStatus DSERR_DS8_REQUIRED = dsdetail::Make(190);
inline constexpr CoreStatus DSERR_SENDLOOP = dsdetail::Make(200);
inline constexpr CoreStatus DSERR_BADSENDBUFFERGUID = dsdetail::Make(210);
inline constexpr CoreStatus DSERR_FXUNAVAILABLE = dsdetail::Make(220);
inline constexpr CoreStatus DSERR_OBJECTNOTFOUND = dsdetail::Make(4449);

// The symbolic name of a result code ("DSERR_BUFFERLOST"); "Unknown" for
// codes this layer does not know.
const char* DXGetErrorString8(CoreStatus result);

// ---- flags, modes and limits ---------------------------------------------
// Cooperative levels.
inline constexpr uint32_t DSSCL_NORMAL = 1;
inline constexpr uint32_t DSSCL_PRIORITY = 2;
inline constexpr uint32_t DSSCL_EXCLUSIVE = 3;
inline constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

// Buffer creation flags.
inline constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x00000001;
inline constexpr uint32_t DSBCAPS_STATIC = 0x00000002;
inline constexpr uint32_t DSBCAPS_LOCHARDWARE = 0x00000004;
inline constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x00000008;
inline constexpr uint32_t DSBCAPS_CTRL3D = 0x00000010;
inline constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x00000020;
inline constexpr uint32_t DSBCAPS_CTRLPAN = 0x00000040;
inline constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr uint32_t DSBCAPS_CTRLPOSITIONNOTIFY = 0x00000100;
inline constexpr uint32_t DSBCAPS_CTRLFX = 0x00000200;
inline constexpr uint32_t DSBCAPS_STICKYFOCUS = 0x00004000;
inline constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x00008000;
inline constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
inline constexpr uint32_t DSBCAPS_MUTE3DATMAXDISTANCE = 0x00020000;
inline constexpr uint32_t DSBCAPS_LOCDEFER = 0x00040000;

// Play, lock and status bits.
inline constexpr uint32_t DSBPLAY_LOOPING = 0x00000001;
inline constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x00000001;
inline constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x00000002;
inline constexpr uint32_t DSBSTATUS_PLAYING = 0x00000001;
inline constexpr uint32_t DSBSTATUS_BUFFERLOST = 0x00000002;
inline constexpr uint32_t DSBSTATUS_LOOPING = 0x00000004;
inline constexpr uint32_t DSBSTATUS_LOCHARDWARE = 0x00000008;
inline constexpr uint32_t DSBSTATUS_LOCSOFTWARE = 0x00000010;
inline constexpr uint32_t DSBSTATUS_TERMINATED = 0x00000020;

// Volume in hundredths of a decibel (0 = full, -10000 = silence), pan in
// hundredths of a decibel of attenuation of the other side, frequency in Hz.
inline constexpr int32_t DSBVOLUME_MIN = -10000;
inline constexpr int32_t DSBVOLUME_MAX = 0;
inline constexpr int32_t DSBPAN_LEFT = -10000;
inline constexpr int32_t DSBPAN_CENTER = 0;
inline constexpr int32_t DSBPAN_RIGHT = 10000;
inline constexpr uint32_t DSBFREQUENCY_ORIGINAL = 0;
inline constexpr uint32_t DSBFREQUENCY_MIN = 100;
inline constexpr uint32_t DSBFREQUENCY_MAX = 200000;
inline constexpr uint32_t DSBSIZE_MIN = 4;
inline constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

// 3D application and modes.
inline constexpr uint32_t DS3D_IMMEDIATE = 0;
inline constexpr uint32_t DS3D_DEFERRED = 1;
inline constexpr uint32_t DS3DMODE_NORMAL = 0;
inline constexpr uint32_t DS3DMODE_HEADRELATIVE = 1;
inline constexpr uint32_t DS3DMODE_DISABLE = 2;
inline constexpr float DS3D_DEFAULTMINDISTANCE = 1.0f;
inline constexpr float DS3D_DEFAULTMAXDISTANCE = 1000000000.0f;
inline constexpr uint32_t DS3D_DEFAULTCONEANGLE = 360;
inline constexpr int32_t DS3D_DEFAULTCONEOUTSIDEVOLUME = 0;
inline constexpr float DS3D_DEFAULTDISTANCEFACTOR = 1.0f;
inline constexpr float DS3D_DEFAULTROLLOFFFACTOR = 1.0f;
inline constexpr float DS3D_MAXROLLOFFFACTOR = 10.0f;
inline constexpr float DS3D_DEFAULTDOPPLERFACTOR = 1.0f;
inline constexpr float DS3D_MAXDOPPLERFACTOR = 10.0f;

// Effect placement (request flags and per-effect results of SetFX).
inline constexpr uint32_t DSFX_LOCHARDWARE = 0x00000001;
inline constexpr uint32_t DSFX_LOCSOFTWARE = 0x00000002;
inline constexpr uint32_t DSFXR_PRESENT = 0;
inline constexpr uint32_t DSFXR_LOCHARDWARE = 1;
inline constexpr uint32_t DSFXR_LOCSOFTWARE = 2;
inline constexpr uint32_t DSFXR_UNALLOCATED = 3;
inline constexpr uint32_t DSFXR_FAILED = 4;
inline constexpr uint32_t DSFXR_UNKNOWN = 5;
inline constexpr uint32_t DSFXR_SENDLOOP = 6;

// Device capability bits reported by GetCaps.
inline constexpr uint32_t DSCAPS_PRIMARYMONO = 0x00000001;
inline constexpr uint32_t DSCAPS_PRIMARYSTEREO = 0x00000002;
inline constexpr uint32_t DSCAPS_PRIMARY8BIT = 0x00000004;
inline constexpr uint32_t DSCAPS_PRIMARY16BIT = 0x00000008;
inline constexpr uint32_t DSCAPS_CONTINUOUSRATE = 0x00000010;
inline constexpr uint32_t DSCAPS_EMULDRIVER = 0x00000020;
inline constexpr uint32_t DSCAPS_SECONDARYMONO = 0x00000100;
inline constexpr uint32_t DSCAPS_SECONDARYSTEREO = 0x00000200;
inline constexpr uint32_t DSCAPS_SECONDARY8BIT = 0x00000400;
inline constexpr uint32_t DSCAPS_SECONDARY16BIT = 0x00000800;

inline constexpr uint16_t WAVE_FORMAT_PCM = 1;

// ---- records ----------------------------------------------------------------
// PCM format: 18 bytes, packed, as it is stored in files and buffers.
struct __attribute__((packed)) WAVEFORMATEX {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
};
static_assert(sizeof(WAVEFORMATEX) == 18);

// The size value callers put into the size field of each record below.
inline constexpr uint32_t kBufferDescSize = 36;
inline constexpr uint32_t kEffectDescSize = 32;
inline constexpr uint32_t kDeviceCapsSize = 96;

struct DSBUFFERDESC {
  uint32_t size = kBufferDescSize;
  uint32_t flags = 0;
  uint32_t bufferBytes = 0;
  uint32_t reserved = 0;
  const WAVEFORMATEX* format = nullptr;  // null for the primary buffer
  SoundGuid algorithm3D{};
};

struct DSBCAPS {
  uint32_t size = 20;
  uint32_t flags = 0;
  uint32_t bufferBytes = 0;
  uint32_t unlockTransferRate = 0;
  uint32_t playCpuOverhead = 0;
};

struct DSCAPS {
  uint32_t size = kDeviceCapsSize;
  uint32_t flags = 0;
  uint32_t minSecondarySampleRate = 0;
  uint32_t maxSecondarySampleRate = 0;
  uint32_t primaryBuffers = 0;
  uint32_t unused[19] = {};
};
static_assert(sizeof(DSCAPS) == kDeviceCapsSize);

struct DSEFFECTDESC {
  uint32_t size = kEffectDescSize;
  uint32_t flags = 0;
  SoundGuid effectClass{};
  uintptr_t reserved1 = 0;
  uintptr_t reserved2 = 0;
};

struct SoundVector {
  float x = 0, y = 0, z = 0;
};

struct DS3DBUFFER {
  uint32_t size = sizeof(DS3DBUFFER);
  SoundVector position;
  SoundVector velocity;
  uint32_t insideConeAngle = DS3D_DEFAULTCONEANGLE;
  uint32_t outsideConeAngle = DS3D_DEFAULTCONEANGLE;
  SoundVector coneOrientation{0, 0, 1};
  int32_t coneOutsideVolume = DS3D_DEFAULTCONEOUTSIDEVOLUME;
  float minDistance = DS3D_DEFAULTMINDISTANCE;
  float maxDistance = DS3D_DEFAULTMAXDISTANCE;
  uint32_t mode = DS3DMODE_NORMAL;
};

struct DS3DLISTENER {
  uint32_t size = sizeof(DS3DLISTENER);
  SoundVector position;
  SoundVector velocity;
  SoundVector orientFront{0, 0, 1};
  SoundVector orientTop{0, 1, 0};
  float distanceFactor = DS3D_DEFAULTDISTANCEFACTOR;
  float rolloffFactor = DS3D_DEFAULTROLLOFFFACTOR;
  float dopplerFactor = DS3D_DEFAULTDOPPLERFACTOR;
};

// ---- interface identifiers -----------------------------------------------
extern const SoundGuid IID_IDirectSound8;
extern const SoundGuid IID_IDirectSoundBuffer;
extern const SoundGuid IID_IDirectSoundBuffer8;
extern const SoundGuid IID_IDirectSound3DBuffer;
extern const SoundGuid IID_IDirectSound3DListener;

// ---- interfaces ---------------------------------------------------------------
class IDSUnknown {
 public:
  virtual CoreStatus QueryInterface(const SoundGuid& iid, void** out) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  virtual ~IDSUnknown() = default;
};

// A primary or secondary buffer. Secondary buffers hold PCM that the mixer
// plays; the primary buffer stands for the output and carries its format.
class IDirectSoundBuffer8 : public IDSUnknown {
 public:
  virtual CoreStatus GetCaps(DSBCAPS* caps) = 0;
  virtual CoreStatus GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
  virtual CoreStatus GetFormat(WAVEFORMATEX* format, uint32_t sizeAllocated, uint32_t* sizeWritten) = 0;
  virtual CoreStatus GetVolume(int32_t* volume) = 0;
  virtual CoreStatus GetPan(int32_t* pan) = 0;
  virtual CoreStatus GetFrequency(uint32_t* frequency) = 0;
  virtual CoreStatus GetStatus(uint32_t* status) = 0;
  virtual CoreStatus Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                          uint32_t* bytes2, uint32_t flags) = 0;
  virtual CoreStatus Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
  virtual CoreStatus SetCurrentPosition(uint32_t position) = 0;
  virtual CoreStatus SetFormat(const WAVEFORMATEX* format) = 0;
  virtual CoreStatus SetVolume(int32_t volume) = 0;
  virtual CoreStatus SetPan(int32_t pan) = 0;
  virtual CoreStatus SetFrequency(uint32_t frequency) = 0;
  virtual CoreStatus Stop() = 0;
  virtual CoreStatus Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) = 0;
  virtual CoreStatus Restore() = 0;
  // Replaces the buffer's effects with `count` new ones in the given order
  // (0 removes all). The buffer must be stopped and created with CTRLFX.
  virtual CoreStatus SetFX(uint32_t count, const DSEFFECTDESC* effects, uint32_t* resultCodes) = 0;
  // The index-th effect of the given class, through its parameter interface.
  virtual CoreStatus GetObjectInPath(const SoundGuid& object, uint32_t index, const SoundGuid& iid,
                                     void** out) = 0;
};
using IDirectSoundBuffer = IDirectSoundBuffer8;

class IDirectSound3DBuffer8 : public IDSUnknown {
 public:
  virtual CoreStatus GetAllParameters(DS3DBUFFER* params) = 0;
  virtual CoreStatus SetAllParameters(const DS3DBUFFER* params, uint32_t apply) = 0;
  virtual CoreStatus GetPosition(SoundVector* position) = 0;
  virtual CoreStatus SetPosition(float x, float y, float z, uint32_t apply) = 0;
  virtual CoreStatus GetVelocity(SoundVector* velocity) = 0;
  virtual CoreStatus SetVelocity(float x, float y, float z, uint32_t apply) = 0;
  virtual CoreStatus GetMinDistance(float* distance) = 0;
  virtual CoreStatus SetMinDistance(float distance, uint32_t apply) = 0;
  virtual CoreStatus GetMaxDistance(float* distance) = 0;
  virtual CoreStatus SetMaxDistance(float distance, uint32_t apply) = 0;
  virtual CoreStatus GetMode(uint32_t* mode) = 0;
  virtual CoreStatus SetMode(uint32_t mode, uint32_t apply) = 0;
};
using IDirectSound3DBuffer = IDirectSound3DBuffer8;

class IDirectSound3DListener8 : public IDSUnknown {
 public:
  virtual CoreStatus GetAllParameters(DS3DLISTENER* params) = 0;
  virtual CoreStatus SetAllParameters(const DS3DLISTENER* params, uint32_t apply) = 0;
  virtual CoreStatus GetPosition(SoundVector* position) = 0;
  virtual CoreStatus SetPosition(float x, float y, float z, uint32_t apply) = 0;
  virtual CoreStatus GetVelocity(SoundVector* velocity) = 0;
  virtual CoreStatus SetVelocity(float x, float y, float z, uint32_t apply) = 0;
  virtual CoreStatus GetOrientation(SoundVector* front, SoundVector* top) = 0;
  virtual CoreStatus SetOrientation(float frontX, float frontY, float frontZ, float topX, float topY,
                                    float topZ, uint32_t apply) = 0;
  virtual CoreStatus GetDistanceFactor(float* factor) = 0;
  virtual CoreStatus SetDistanceFactor(float factor, uint32_t apply) = 0;
  virtual CoreStatus GetRolloffFactor(float* factor) = 0;
  virtual CoreStatus SetRolloffFactor(float factor, uint32_t apply) = 0;
  virtual CoreStatus GetDopplerFactor(float* factor) = 0;
  virtual CoreStatus SetDopplerFactor(float factor, uint32_t apply) = 0;
  // Applies every deferred listener and 3D buffer setting of the device.
  virtual CoreStatus CommitDeferredSettings() = 0;
};
using IDirectSound3DListener = IDirectSound3DListener8;

class IDirectSound8 : public IDSUnknown {
 public:
  virtual CoreStatus CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer8** out, void* outer) = 0;
  virtual CoreStatus GetCaps(DSCAPS* caps) = 0;
  // A new buffer sharing the original's audio data, with its own position,
  // volume, pan and frequency. Not possible for buffers with CTRLFX.
  virtual CoreStatus DuplicateSoundBuffer(IDirectSoundBuffer8* original, IDirectSoundBuffer8** out) = 0;
  // `window` is the opaque handle of the game's window (may be null).
  virtual CoreStatus SetCooperativeLevel(void* window, uint32_t level) = 0;
};

// ---- entry points ---------------------------------------------------------------
// Called once per device; a null guid stands for the default device.
// Returning false ends the enumeration.
using DSEnumCallback = bool (*)(const SoundGuid* guid, const char* description, const char* module,
                                void* context);
CoreStatus DirectSoundEnumerateA(DSEnumCallback callback, void* context);

// Opens the device named by `device` (null or all-zero: the default device)
// on the output chosen with SetAudioOutputKind (AudioOutput.h).
CoreStatus DirectSoundCreate8(const SoundGuid* device, IDirectSound8** out, void* outer);

}  // namespace platform
