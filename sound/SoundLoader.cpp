#include "sound/SoundLoader.h"

#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

SoundLoader::~SoundLoader() = default;

bool SoundLoader::Load(const std::string&) { return false; }

void SoundLoader::Clear() {
  format_.reset();
  data_.clear();
  data_.shrink_to_fit();
}

bool SoundLoader::ReadFile(const std::string& name, size_t maxBytes, std::vector<uint8_t>* bytes) {
  platform::FileReadError why;
  if (!platform::ReadFileBytes(name, maxBytes, bytes, &why)) {
    platform::DebugPrintf("Sound: \"%s\" %s\n", name.c_str(), why.text.c_str());
    return false;
  }
  return true;
}

bool SoundLoader::CheckFormat(const platform::WAVEFORMATEX& f, const std::string& name) {
  const char* problem = nullptr;
  if (f.formatTag != platform::WAVE_FORMAT_PCM) {
    problem = "not PCM";
  } else if (f.channels != 1 && f.channels != 2) {
    problem = "channel count not 1 or 2";
  } else if (f.bitsPerSample != 8 && f.bitsPerSample != 16) {
    problem = "sample size not 8 or 16 bits";
  } else if (f.samplesPerSec < platform::DSBFREQUENCY_MIN || f.samplesPerSec > platform::DSBFREQUENCY_MAX) {
    problem = "sample rate out of range";
  } else if (f.blockAlign != f.channels * f.bitsPerSample / 8) {
    problem = "block size does not match the channels and sample size";
  } else if (f.avgBytesPerSec != f.samplesPerSec * f.blockAlign) {
    problem = "byte rate does not match the sample rate";
  }
  if (!problem) return true;
  platform::DebugPrintf("Sound: \"%s\": unusable format: %s\n", name.c_str(), problem);
  return false;
}
