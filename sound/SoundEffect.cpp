#include "sound/SoundEffect.h"

#include "platform/audio/EffectParameterTable.h"
#include "sound/DXSoundError.h"

using namespace platform;

SoundEffect::~SoundEffect() = default;

SoundEffect::SoundEffect(int32_t type) : type_(type) {
  if (const EffectTypeInfo* info = GetEffectTypeInfo(type)) classGuid_ = *info->classGuid;
}

void SoundEffect::Apply(int, IDirectSoundBuffer8*) {}
void SoundEffect::SetNamedParameter(const std::string&, const std::string&) {}
int SoundEffect::GetParameterCount() {
  const EffectTypeInfo* info = GetEffectTypeInfo(type_);
  return info ? info->parameterCount : 0;
}
int SoundEffect::GetParameterIndex(const std::string& key) { return FindEffectParameter(type_, key); }
int SoundEffect::GetParameterType(int index) {
  const EffectParameterInfo* p = GetEffectParameterInfo(type_, index);
  return p ? p->kind : kEffectKindNone;
}
void SoundEffect::GetParameterKey(int index, std::string& out) {
  if (const EffectParameterInfo* p = GetEffectParameterInfo(type_, index)) out = p->key;
}
void SoundEffect::GetParameterLabel(int index, std::string& out) {
  if (const EffectParameterInfo* p = GetEffectParameterInfo(type_, index)) out = p->label;
}
void SoundEffect::GetParameterRange(int index, std::string& minimum, std::string& maximum) {
  GetEffectParameterRange(type_, index, &minimum, &maximum);
}
void SoundEffect::GetParameterText(int index, std::string& out) {
  const void* block = GetBlock();
  if (block && GetEffectParameterInfo(type_, index)) out = FormatEffectParameter(type_, block, index);
}
void SoundEffect::SetParameterText(int index, const std::string& text) {
  if (void* block = MutableBlock()) SetEffectParameterText(type_, block, index, text);
}

namespace {

// One effect type: its block and the parameter interface it is applied through.
template <class Block, int32_t Type>
class TableEffect : public SoundEffect {
 public:
  TableEffect() : SoundEffect(Type) { SetEffectDefaults(Type, &block_); }

  void Apply(int, IDirectSoundBuffer8* buffer) override {
    if (!buffer) return;
    const EffectTypeInfo* info = GetEffectTypeInfo(Type);
    void* object = nullptr;
    if (!DXSucceeded(buffer->GetObjectInPath(classGuid_, 0, *info->parameterIid, &object)) || !object) return;
    auto* params = static_cast<IDirectSoundFXParams<Block>*>(object);
    DXSucceeded(params->SetAllParameters(&block_));
    params->Release();
  }
  const void* GetBlock() const override { return &block_; }

 protected:
  void* MutableBlock() override { return &block_; }
  Block block_{};
};

// Compressor, distortion and reverb hold only numbers and answer "number"
// for any index; the others know which of their indices exist.
template <class Block, int32_t Type>
class NumbersOnlyEffect : public TableEffect<Block, Type> {
 public:
  int GetParameterType(int) override { return kEffectKindNumber; }
};

}  // namespace

class ChorusEffect final : public TableEffect<DSFXChorus, kEffectChorus> {};
class CompressorEffect final : public NumbersOnlyEffect<DSFXCompressor, kEffectCompressor> {};
class DistortionEffect final : public NumbersOnlyEffect<DSFXDistortion, kEffectDistortion> {};
class EchoEffect final : public TableEffect<DSFXEcho, kEffectEcho> {};
class FlangerEffect final : public TableEffect<DSFXFlanger, kEffectFlanger> {};
class GargleEffect final : public TableEffect<DSFXGargle, kEffectGargle> {};
class ReverbEffect final : public NumbersOnlyEffect<DSFXWavesReverb, kEffectReverb> {};

SoundEffect* CreateBuiltInEffect(int type) {
  switch (type) {
    case kEffectChorus: return new ChorusEffect();
    case kEffectCompressor: return new CompressorEffect();
    case kEffectDistortion: return new DistortionEffect();
    case kEffectEcho: return new EchoEffect();
    case kEffectFlanger: return new FlangerEffect();
    case kEffectGargle: return new GargleEffect();
    case kEffectReverb: return new ReverbEffect();
    default: return nullptr;
  }
}
