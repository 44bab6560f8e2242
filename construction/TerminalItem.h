#pragma once
// A terminal-object record of the terminal objects table; the building
// manager keeps them and deletes them at its destruction.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/services/C3DBaseShader.h"

class cBusinessContract;

// One reference to a shader: taken over on reset, one more for each copy,
// given back when the handle goes.
class ShaderHandle {
 public:
  ShaderHandle() = default;
  ShaderHandle(const ShaderHandle& other) : shader_(other.shader_) {
    if (shader_) shader_->AddRef();
  }
  ShaderHandle& operator=(ShaderHandle other) {
    std::swap(shader_, other.shader_);
    return *this;
  }
  ~ShaderHandle() { reset(); }
  void reset(C3DBaseShader* shader = nullptr) {
    if (shader_) shader_->Release();
    shader_ = shader;
  }
  C3DBaseShader* get() const { return shader_; }
  C3DBaseShader* operator->() const { return shader_; }
  friend bool operator==(const ShaderHandle& handle, std::nullptr_t) { return handle.shader_ == nullptr; }

 private:
  C3DBaseShader* shader_ = nullptr;
};

struct TerminalItem {
  std::string name;
  // The object's group (0-4) from the table's "type"; `type` keeps the same
  // value for the contracts' item lists.
  uint8_t kind = 0;
  uint8_t width = 0;
  uint8_t length = 0;
  uint8_t type = 0;
  uint32_t level = 0;
  std::string date;
  float satisfaction = 0.0f;
  float safety = 0.0f;
  float security = 0.0f;
  // The table's maintenance cost.
  float monthlyExpense = 0.0f;
  // Monthly income of the linked business, in dollars (0 when none).
  float monthlyIncome = 0.0f;
  cBusinessContract* business = nullptr;  // not owned

  // Shaders of the object standing, being moved and being placed (null when
  // the renderer could not make one), with the names they were made from.
  ShaderHandle defShader;
  ShaderHandle movShader;
  ShaderHandle depShader;
  std::string defShaderName;
  std::string movShaderName;
  std::string depShaderName;
  std::string tooltip;
  std::string button;
  float price = 0.0f;
  uint16_t year = 0;
  float monthlyRevenue = 0.0f;
};
