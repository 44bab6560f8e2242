// Identifier values of this layer's interfaces, effect classes and the
// headless output device, and the names of its result codes.
#include "platform/audio/AudioApi.h"
#include "platform/audio/AudioEffects.h"

namespace platform {
namespace {
// All identifiers share a prefix; the last byte tells them apart.
constexpr SoundGuid Id(uint8_t group, uint8_t n) {
  return SoundGuid{{0x3d, 0x8a, 0x51, 0xc7, 0x92, 0x0e, 0x4b, 0x6f, 0xa4, 0x17, 0x5c, 0xe0, 0x2b, 0x71, group, n}};
}
}  // namespace

bool SoundGuid::IsZero() const {
  for (uint8_t b : bytes)
    if (b) return false;
  return true;
}

const SoundGuid IID_IDirectSound8 = Id(1, 1);
const SoundGuid IID_IDirectSoundBuffer = Id(1, 2);
const SoundGuid IID_IDirectSoundBuffer8 = Id(1, 3);
const SoundGuid IID_IDirectSound3DBuffer = Id(1, 4);
const SoundGuid IID_IDirectSound3DListener = Id(1, 5);

const SoundGuid GUID_DSFX_STANDARD_CHORUS = Id(2, 0);
const SoundGuid GUID_DSFX_STANDARD_COMPRESSOR = Id(2, 1);
const SoundGuid GUID_DSFX_STANDARD_DISTORTION = Id(2, 2);
const SoundGuid GUID_DSFX_STANDARD_ECHO = Id(2, 3);
const SoundGuid GUID_DSFX_STANDARD_FLANGER = Id(2, 4);
const SoundGuid GUID_DSFX_STANDARD_GARGLE = Id(2, 5);
const SoundGuid GUID_DSFX_WAVES_REVERB = Id(2, 6);

const SoundGuid IID_IDirectSoundFXChorus8 = Id(3, 0);
const SoundGuid IID_IDirectSoundFXCompressor8 = Id(3, 1);
const SoundGuid IID_IDirectSoundFXDistortion8 = Id(3, 2);
const SoundGuid IID_IDirectSoundFXEcho8 = Id(3, 3);
const SoundGuid IID_IDirectSoundFXFlanger8 = Id(3, 4);
const SoundGuid IID_IDirectSoundFXGargle8 = Id(3, 5);
const SoundGuid IID_IDirectSoundFXWavesReverb8 = Id(3, 6);

const char* DXGetErrorString8(CoreStatus result) {
  switch (result) {
    case DS_OK: return "S_OK";
    case DS_NO_VIRTUALIZATION: return "DS_NO_VIRTUALIZATION";
    case DSERR_ALLOCATED: return "DSERR_ALLOCATED";
    case DSERR_CONTROLUNAVAIL: return "DSERR_CONTROLUNAVAIL";
    case DSERR_INVALIDPARAM: return "E_INVALIDARG";
    case DSERR_INVALIDCALL: return "DSERR_INVALIDCALL";
    case DSERR_GENERIC: return "E_FAIL";
    case DSERR_PRIOLEVELNEEDED: return "DSERR_PRIOLEVELNEEDED";
    case DSERR_OUTOFMEMORY: return "E_OUTOFMEMORY";
    case DSERR_BADFORMAT: return "DSERR_BADFORMAT";
    case DSERR_UNSUPPORTED: return "E_NOTIMPL";
    case DSERR_NODRIVER: return "DSERR_NODRIVER";
    case DSERR_ALREADYINITIALIZED: return "DSERR_ALREADYINITIALIZED";
    case DSERR_NOAGGREGATION: return "CLASS_E_NOAGGREGATION";
    case DSERR_BUFFERLOST: return "DSERR_BUFFERLOST";
    case DSERR_OTHERAPPHASPRIO: return "DSERR_OTHERAPPHASPRIO";
    case DSERR_UNINITIALIZED: return "DSERR_UNINITIALIZED";
    case DSERR_NOINTERFACE: return "E_NOINTERFACE";
    case DSERR_ACCESSDENIED: return "E_ACCESSDENIED";
    case DSERR_BUFFERTOOSMALL: return "DSERR_BUFFERTOOSMALL";
    case DSERR_DS8_REQUIRED: return "DSERR_DS8_REQUIRED";
    case DSERR_SENDLOOP: return "DSERR_SENDLOOP";
    case DSERR_BADSENDBUFFERGUID: return "DSERR_BADSENDBUFFERGUID";
    case DSERR_FXUNAVAILABLE: return "DSERR_FXUNAVAILABLE";
    case DSERR_OBJECTNOTFOUND: return "DSERR_OBJECTNOTFOUND";
    default: return "Unknown";
  }
}

}  // namespace platform
