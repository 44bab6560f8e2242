#pragma once
// Shaders: named renderer resources with named float variables. A material
// shader also offers C3DMaterialShader, its texture layers and colours
// (reach it with dynamic_cast from the shader).
#include <cstdint>
#include <string>

#include "engine/services/C3DResource.h"

class C3DImage;

class C3DBaseShader : public C3DResource {
 public:
  using C3DResource::C3DResource;

  // Sets the variable of that name (lower-cased), adding it when new.
  virtual void DefineVariable(const std::string& name, float value) = 0;
  virtual uint16_t GetVariableCount() = 0;
  virtual std::string GetVariableName(uint16_t index) = 0;
  // Index of the named variable, or -1.
  virtual int16_t FindVariable(const std::string& name) = 0;
  virtual void SetVariable(uint16_t index, float value) = 0;
  virtual float GetVariable(uint16_t index) = 0;
  virtual int32_t Check() = 0;
};

class C3DMaterialShader {
 public:
  virtual uint16_t GetLayerCount() = 0;
  virtual C3DImage* GetLayerImage(int32_t index) = 0;
  virtual void SetLayerImage(int32_t index, C3DImage* image) = 0;
  virtual bool EnableLayer(int32_t index) = 0;
  virtual bool DisableLayer(int32_t index) = 0;
  virtual void SetLayerBlend(int32_t index, bool textureAlpha, bool diffuse) = 0;
  // 0, or a failure status for a count outside 1..4.
  virtual int32_t SetLayerCount(int32_t count) = 0;
  virtual void SetAmbient(float red, float green, float blue, float alpha) = 0;
  virtual void SetDiffuse(float red, float green, float blue, float alpha) = 0;

 protected:
  // Owned through the shader resource, never deleted through this interface.
  ~C3DMaterialShader() = default;
};
