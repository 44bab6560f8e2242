#pragma once
// The part every script shader shares: float registers (current and previous
// values, constant marks), named variables bound to registers, and compiled
// command lists that run each time the shader is used.
//
// An operand word names what a command reads or writes. Its top two bits say
// which kind: a variable (read and written through the variable), a register
// (constants and the hidden state of waveforms). The low 30 bits are the
// index. kNoOperand marks a failed parse and can never name register 0.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/services/C3DBaseShader.h"

class Lumetra;
class DX8BaseShader;
struct MeshGeometry;
struct DX8ShaderCommand;

using ShaderExecutor = void (*)(DX8BaseShader* shader, const DX8ShaderCommand& command, MeshGeometry* geometry);

struct DX8ShaderCommand {
  ShaderExecutor executor = nullptr;
  std::vector<uint32_t> operands;
};
using DX8CommandList = std::vector<DX8ShaderCommand>;

struct ShaderVariable {
  std::string name;  // lower case, with its leading number sign
  uint32_t reg = 0;
};

class DX8BaseShader : public C3DBaseShader {
 public:
  static constexpr uint32_t kNoOperand = 0xFFFFFFFFu;
  static constexpr uint32_t kVariableTag = 0x40000000u;
  static constexpr uint32_t kRegisterTag = 0x80000000u;
  static constexpr uint32_t kIndexMask = 0x3FFFFFFFu;
  // Counts the interface reports in 16 bits; a script asking for more is
  // refused statement by statement instead of wrapping.
  static constexpr uint32_t kMaxRegisters = 0xFFFF;
  static constexpr uint32_t kMaxVariables = 0x7FFF;

  DX8BaseShader(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8BaseShader() override;

  void OnUnreferenced() override;
  void DefineVariable(const std::string& name, float value) override;
  uint16_t GetVariableCount() override;
  std::string GetVariableName(uint16_t index) override;
  int16_t FindVariable(const std::string& name) override;
  void SetVariable(uint16_t index, float value) override;
  float GetVariable(uint16_t index) override;
  int32_t Check() override;

  // A new register, or with `constant` an existing constant register of the
  // same value. kNoOperand when the registers are full.
  virtual uint32_t AddRegister(float value, bool constant);
  virtual void PrepareRun();
  // A "#name" token names a variable (kNoOperand when unknown); other tokens
  // are numbers (constants) unless `variableOnly`.
  virtual uint32_t ParseOperand(const std::string& text, bool variableOnly);
  virtual void AddCommand(ShaderExecutor executor, const uint32_t* operands, uint16_t count);
  virtual void AddCommandTo(ShaderExecutor executor, const uint32_t* operands, uint16_t count,
                            DX8CommandList* list);

  // Run-time operand access; reads of a bad word give 0, writes to a
  // constant or a bad word are ignored.
  float Read(uint32_t operand) const;
  void Write(uint32_t operand, float value);
  // Runs every command of the list on the geometry.
  void Run(const DX8CommandList& list, MeshGeometry* geometry);

  Lumetra* GetRenderer() const { return renderer_; }
  const DX8CommandList& RootCommands() const { return root_; }
  uint32_t GetRegisterCount() const { return static_cast<uint32_t>(current_.size()); }
  float GetPreviousValue(uint32_t reg) const { return reg < previous_.size() ? previous_[reg] : 0.0f; }

 protected:
  DX8CommandList root_;

 private:
  int32_t FindVariableIndex(const std::string& lowerName) const;

  Lumetra* renderer_;
  std::vector<float> current_;
  std::vector<float> previous_;
  std::vector<uint8_t> constant_;
  std::vector<ShaderVariable> variables_;
};

// Reads a number as the scripts write them: a decimal real from the leading
// characters, 0 when there are none.
float ScriptNumber(const std::string& text);
// An integer from the leading digits, saturating at the int32 range.
int32_t ScriptInteger(const std::string& text);
