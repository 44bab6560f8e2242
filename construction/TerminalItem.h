#pragma once
// A terminal-object record of the terminal objects table; the building
// manager keeps them and deletes them at its destruction.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/services/C3DBaseShader.h"

class cBusinessContract;

// A shader reference the record holds and gives back when it goes.
struct ShaderRelease {
  void operator()(C3DBaseShader* shader) const {
    if (shader) shader->Release();
  }
};
using ShaderHandle = std::unique_ptr<C3DBaseShader, ShaderRelease>;

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
