#pragma once
// Where the mixer's output goes. The kind is chosen before the device is
// created (DirectSoundCreate8 reads it):
//  - Sdl: an SDL2 audio device pulls mixed samples from its own thread;
//  - Null: nothing is heard; playback advances with the performance counter
//    (platform/Clock.h), so sounds end in headless runs and a TestClock
//    drives them deterministically;
//  - Recording: nothing advances by itself; RenderAudioFrames mixes an exact
//    number of frames and keeps them for TakeRecordedSamples.
// The default is Sdl, or what the environment variable GAME_AUDIO_OUTPUT
// names ("sdl", "null", "recording").
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

enum class AudioOutputKind { Sdl, Null, Recording };

void SetAudioOutputKind(AudioOutputKind kind);
AudioOutputKind GetAudioOutputKind();

// Mixes `frames` frames on the most recently created device that is still
// open, whatever its output (on the SDL output it competes with the device's
// own pulls, so tests use Recording). Recording devices keep the samples.
// Returns the frames mixed; 0 when there is no open device.
size_t RenderAudioFrames(size_t frames);

// The samples recorded so far (interleaved 16-bit at the primary format's
// rate and channel count), cleared by the call.
std::vector<int16_t> TakeRecordedSamples();

// Marks every buffer of the current device as lost, the way an output
// taken away by another program does (tests of the restore path).
void LoseAudioBuffers();

}  // namespace platform
