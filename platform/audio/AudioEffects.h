#pragma once
// The seven standard effects a buffer created with DSBCAPS_CTRLFX can carry:
// their class identifiers, their parameter blocks (laid out field by field
// as the sound service hands them over) and the parameter interface that
// GetObjectInPath gives for each.
#include <cstdint>

#include "platform/audio/AudioApi.h"

namespace platform {

// Effect class identifiers, in the order of the sound service's effect types.
extern const SoundGuid GUID_DSFX_STANDARD_CHORUS;
extern const SoundGuid GUID_DSFX_STANDARD_COMPRESSOR;
extern const SoundGuid GUID_DSFX_STANDARD_DISTORTION;
extern const SoundGuid GUID_DSFX_STANDARD_ECHO;
extern const SoundGuid GUID_DSFX_STANDARD_FLANGER;
extern const SoundGuid GUID_DSFX_STANDARD_GARGLE;
extern const SoundGuid GUID_DSFX_WAVES_REVERB;

// Parameter interface identifiers.
extern const SoundGuid IID_IDirectSoundFXChorus8;
extern const SoundGuid IID_IDirectSoundFXCompressor8;
extern const SoundGuid IID_IDirectSoundFXDistortion8;
extern const SoundGuid IID_IDirectSoundFXEcho8;
extern const SoundGuid IID_IDirectSoundFXFlanger8;
extern const SoundGuid IID_IDirectSoundFXGargle8;
extern const SoundGuid IID_IDirectSoundFXWavesReverb8;

// Waveforms and phases of chorus and flanger, wave shapes of gargle.
inline constexpr int32_t DSFXCHORUS_WAVE_TRIANGLE = 0;
inline constexpr int32_t DSFXCHORUS_WAVE_SIN = 1;
inline constexpr int32_t DSFX_PHASE_MIN = 0;
inline constexpr int32_t DSFX_PHASE_MAX = 4;
inline constexpr int32_t DSFX_PHASE_90 = 3;
inline constexpr uint32_t DSFXGARGLE_WAVE_TRIANGLE = 0;
inline constexpr uint32_t DSFXGARGLE_WAVE_SQUARE = 1;

struct DSFXChorus {
  float wetDryMix;
  float depth;
  float feedback;
  float frequency;
  int32_t waveform;
  float delay;
  int32_t phase;
};
using DSFXFlanger = DSFXChorus;

struct DSFXCompressor {
  float gain;
  float attack;
  float release;
  float threshold;
  float ratio;
  float predelay;
};

struct DSFXDistortion {
  float gain;
  float edge;
  float postEQCenterFrequency;
  float postEQBandwidth;
  float preLowpassCutoff;
};

struct DSFXEcho {
  float wetDryMix;
  float feedback;
  float leftDelay;
  float rightDelay;
  int32_t panDelay;
};

struct DSFXGargle {
  uint32_t rateHz;
  uint32_t waveShape;
};

struct DSFXWavesReverb {
  float inGain;
  float reverbMix;
  float reverbTime;
  float highFreqRTRatio;
};

// The parameter interface of one effect slot. SetAllParameters refuses a
// block with any value outside the effect's valid range (DSERR_INVALIDPARAM)
// and keeps the previous values.
template <class Params>
class IDirectSoundFXParams : public IDSUnknown {
 public:
  virtual CoreStatus SetAllParameters(const Params* params) = 0;
  virtual CoreStatus GetAllParameters(Params* params) = 0;
};
using IDirectSoundFXChorus8 = IDirectSoundFXParams<DSFXChorus>;
using IDirectSoundFXCompressor8 = IDirectSoundFXParams<DSFXCompressor>;
using IDirectSoundFXDistortion8 = IDirectSoundFXParams<DSFXDistortion>;
using IDirectSoundFXEcho8 = IDirectSoundFXParams<DSFXEcho>;
using IDirectSoundFXGargle8 = IDirectSoundFXParams<DSFXGargle>;
using IDirectSoundFXWavesReverb8 = IDirectSoundFXParams<DSFXWavesReverb>;
// Flanger shares the chorus block layout but has its own interface id;
// the two are told apart by the id passed to GetObjectInPath.
using IDirectSoundFXFlanger8 = IDirectSoundFXParams<DSFXChorus>;

}  // namespace platform
