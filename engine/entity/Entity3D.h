#pragma once
// An entity with a place in the world: position, Euler rotation angles and
// scale kept as three separate 4x4 matrices and composed into a world matrix
// (world = scale x rotation x translation, row vectors). Each setter changes
// one component and recomposes through the virtual RebuildWorldMatrix, so a
// derived class can react to every change.
#include "engine/entity/EntityBase.h"
#include "engine/math/JMatrix.h"

class cEntity_Base3D : public cEntity_Base {
 public:
  explicit cEntity_Base3D(cEntity_Manager* manager);
  ~cEntity_Base3D() override;

  // (x, y, z, 0) of the position.
  JVector GetPosition() override;
  bool Init(ObjectDef* definition) override;

  virtual void SetPositionVector(const float v[3]);
  virtual void SetPosition(float x, float y, float z);
  virtual void SetPositionX(float v);
  virtual void SetPositionY(float v);
  virtual void SetPositionZ(float v);
  virtual void GetPositionVector(float out[3]);
  virtual void GetPositionXYZ(float& x, float& y, float& z);
  virtual float GetPositionX();
  virtual float GetPositionY();
  virtual float GetPositionZ();
  virtual JVector GetPositionJVector();
  // translation = translation x T(x, y, z).
  virtual void Translate(float x, float y, float z);
  virtual void TranslateVector(const float v[3]);
  // translation = translation x R(x, y, z): turns the position about the
  // world origin.
  virtual void RotateTranslation(float x, float y, float z);
  virtual void RotateTranslationVector(const float v[3]);
  // translation = identity, without recomposing the world matrix.
  virtual void ResetTranslation();
  // rotation = m; the angles stay and the world matrix is not recomposed.
  virtual void SetRotationMatrix(const float m[16]);
  virtual void SetRotation(float x, float y, float z);
  virtual void SetRotationVector(const float v[3]);
  virtual void SetRotationX(float a);
  virtual void SetRotationY(float a);
  virtual void SetRotationZ(float a);
  // rotation = R(angles), then the world matrix.
  virtual void RebuildRotation();
  virtual void GetRotationMatrix(float out[16]);
  virtual void GetRotationXYZ(float& x, float& y, float& z);
  virtual void GetRotationVector(float out[3]);
  virtual float GetRotationX();
  virtual float GetRotationY();
  virtual float GetRotationZ();
  // angles += (x, y, z); the matrix is turned further (rotation x R), not
  // rebuilt from the summed angles.
  virtual void AddRotation(float x, float y, float z);
  virtual void AddRotationVector(const float v[3]);
  virtual void SetScale(float x, float y, float z);
  virtual void SetScaleVector(const float v[3]);
  virtual void SetScaleX(float v);
  virtual void SetScaleY(float v);
  virtual void SetScaleZ(float v);
  virtual void GetScaleMatrix(float out[16]);
  virtual void GetScaleXYZ(float& x, float& y, float& z);
  virtual void GetScaleVector(float out[3]);
  virtual float GetScaleX();
  virtual float GetScaleY();
  virtual float GetScaleZ();
  // scale = scale x diag(x, y, z, 1).
  virtual void MultiplyScale(float x, float y, float z);
  virtual void MultiplyScaleUniform(float s);
  virtual void MultiplyScaleVector(const float v[3]);
  virtual void GetWorldMatrix(float out[16]);
  // Callers that write through this pointer call RebuildWorldMatrix.
  virtual float* GetTranslationMatrixPtr();
  virtual void GetTranslationMatrix(float out[16]);
  // world = scale x rotation x translation.
  virtual void RebuildWorldMatrix();

 protected:
  JMatrix world_;
  float angles_[3] = {0.0f, 0.0f, 0.0f};
  JMatrix translation_;
  JMatrix rotation_;
  JMatrix scale_;
};
