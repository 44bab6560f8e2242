#include "renderer/shaders/DX8BaseShader.h"

#include <cstring>

#include "base/StringUtil.h"
#include "platform/Locale.h"
#include "renderer/Lumetra.h"

float ScriptNumber(const std::string& text) { return platform::ParseFloat(text); }
int32_t ScriptInteger(const std::string& text) { return platform::ParseInt(text); }

DX8BaseShader::DX8BaseShader(Lumetra* owner, uint32_t flags, std::string name)
    : C3DBaseShader(owner, flags, std::move(name)), renderer_(owner) {}

DX8BaseShader::~DX8BaseShader() = default;

void DX8BaseShader::OnUnreferenced() {
  if (renderer_ && GetRegistryIndex() >= 0) renderer_->RemoveShader(static_cast<uint32_t>(GetRegistryIndex()));
}

int32_t DX8BaseShader::FindVariableIndex(const std::string& lowerName) const {
  for (size_t i = 0; i < variables_.size(); ++i) {
    if (variables_[i].name == lowerName) return static_cast<int32_t>(i);
  }
  return -1;
}

void DX8BaseShader::DefineVariable(const std::string& name, float value) {
  const std::string lower = str::ToLower(name);
  const int32_t found = FindVariableIndex(lower);
  if (found >= 0) {
    current_[variables_[static_cast<size_t>(found)].reg] = value;
    return;
  }
  if (variables_.size() >= kMaxVariables) return;
  const uint32_t reg = AddRegister(value, false);
  if (reg == kNoOperand) return;
  variables_.push_back(ShaderVariable{lower, reg & kIndexMask});
}

uint16_t DX8BaseShader::GetVariableCount() { return static_cast<uint16_t>(variables_.size()); }

std::string DX8BaseShader::GetVariableName(uint16_t index) {
  return index < variables_.size() ? variables_[index].name : std::string();
}

int16_t DX8BaseShader::FindVariable(const std::string& name) {
  if (name.empty()) return -1;
  return static_cast<int16_t>(FindVariableIndex(str::ToLower(name)));
}

void DX8BaseShader::SetVariable(uint16_t index, float value) {
  if (index < variables_.size()) current_[variables_[index].reg] = value;
}

float DX8BaseShader::GetVariable(uint16_t index) {
  return index < variables_.size() ? current_[variables_[index].reg] : 1.0f;
}

int32_t DX8BaseShader::Check() { return 0; }

uint32_t DX8BaseShader::AddRegister(float value, bool constant) {
  if (constant) {
    for (size_t i = 0; i < current_.size(); ++i) {
      if (constant_[i] && previous_[i] == value) return kRegisterTag | static_cast<uint32_t>(i);
    }
  }
  if (current_.size() >= kMaxRegisters) return kNoOperand;
  current_.push_back(value);
  previous_.push_back(value);
  constant_.push_back(constant ? 1 : 0);
  return kRegisterTag | static_cast<uint32_t>(current_.size() - 1);
}

void DX8BaseShader::PrepareRun() { previous_ = current_; }

uint32_t DX8BaseShader::ParseOperand(const std::string& text, bool variableOnly) {
  if (!text.empty() && text[0] == '#') {
    const int16_t index = FindVariable(text);
    return index < 0 ? kNoOperand : kVariableTag | static_cast<uint32_t>(index);
  }
  if (variableOnly) return kNoOperand;
  return AddRegister(ScriptNumber(text), true);
}

void DX8BaseShader::AddCommand(ShaderExecutor executor, const uint32_t* operands, uint16_t count) {
  AddCommandTo(executor, operands, count, &root_);
}

void DX8BaseShader::AddCommandTo(ShaderExecutor executor, const uint32_t* operands, uint16_t count,
                                 DX8CommandList* list) {
  if (!list || !executor) return;
  DX8ShaderCommand command;
  command.executor = executor;
  if (operands && count) command.operands.assign(operands, operands + count);
  list->push_back(std::move(command));
}

float DX8BaseShader::Read(uint32_t operand) const {
  const uint32_t index = operand & kIndexMask;
  switch (operand & ~kIndexMask) {
    case kVariableTag:
      return index < variables_.size() ? current_[variables_[index].reg] : 0.0f;
    case kRegisterTag:
      if (index >= current_.size()) return 0.0f;
      // A constant reads as its number, whatever a caller did to the
      // current value.
      return constant_[index] ? previous_[index] : current_[index];
    default:
      return 0.0f;
  }
}

void DX8BaseShader::Write(uint32_t operand, float value) {
  const uint32_t index = operand & kIndexMask;
  switch (operand & ~kIndexMask) {
    case kVariableTag:
      if (index < variables_.size()) current_[variables_[index].reg] = value;
      break;
    case kRegisterTag:
      if (index < current_.size() && !constant_[index]) current_[index] = value;
      break;
    default:
      break;
  }
}

void DX8BaseShader::Run(const DX8CommandList& list, MeshGeometry* geometry) {
  for (const DX8ShaderCommand& command : list) command.executor(this, command, geometry);
}
