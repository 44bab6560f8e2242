#include "engine/entity/Entity3D.h"

#include <cstring>

cEntity_Base3D::cEntity_Base3D(cEntity_Manager* manager)
    : cEntity_Base(manager, kEntityType_Base),
      world_(JMatrix::Identity()),
      translation_(JMatrix::Identity()),
      rotation_(JMatrix::Identity()),
      scale_(JMatrix::Identity()) {}

cEntity_Base3D::~cEntity_Base3D() = default;

JVector cEntity_Base3D::GetPosition() { return GetPositionJVector(); }

bool cEntity_Base3D::Init(ObjectDef* definition) { return cEntity_Base::Init(definition); }

void cEntity_Base3D::SetPositionVector(const float v[3]) {
  // Kept as two recompositions: a derived class sees the change of X alone
  // before the full position.
  SetPositionX(v[0]);
  SetPosition(v[0], v[1], v[2]);
}

void cEntity_Base3D::SetPosition(float x, float y, float z) {
  translation_.m[3][0] = x;
  translation_.m[3][1] = y;
  translation_.m[3][2] = z;
  RebuildWorldMatrix();
}

void cEntity_Base3D::SetPositionX(float v) {
  translation_.m[3][0] = v;
  RebuildWorldMatrix();
}

void cEntity_Base3D::SetPositionY(float v) {
  translation_.m[3][1] = v;
  RebuildWorldMatrix();
}

void cEntity_Base3D::SetPositionZ(float v) {
  translation_.m[3][2] = v;
  RebuildWorldMatrix();
}

void cEntity_Base3D::GetPositionVector(float out[3]) { GetPositionXYZ(out[0], out[1], out[2]); }

void cEntity_Base3D::GetPositionXYZ(float& x, float& y, float& z) {
  x = translation_.m[3][0];
  y = translation_.m[3][1];
  z = translation_.m[3][2];
}

float cEntity_Base3D::GetPositionX() { return translation_.m[3][0]; }
float cEntity_Base3D::GetPositionY() { return translation_.m[3][1]; }
float cEntity_Base3D::GetPositionZ() { return translation_.m[3][2]; }

JVector cEntity_Base3D::GetPositionJVector() {
  return JVector(GetPositionX(), GetPositionY(), GetPositionZ(), 0.0f);
}

void cEntity_Base3D::Translate(float x, float y, float z) {
  JMath_MatrixTranslate(translation_, x, y, z);
  RebuildWorldMatrix();
}

void cEntity_Base3D::TranslateVector(const float v[3]) { Translate(v[0], v[1], v[2]); }

void cEntity_Base3D::RotateTranslation(float x, float y, float z) {
  JMath_MatrixRotateXYZ(translation_, x, y, z);
  RebuildWorldMatrix();
}

void cEntity_Base3D::RotateTranslationVector(const float v[3]) { RotateTranslation(v[0], v[1], v[2]); }

void cEntity_Base3D::ResetTranslation() { translation_ = JMatrix::Identity(); }

void cEntity_Base3D::SetRotationMatrix(const float m[16]) { std::memcpy(rotation_.Data(), m, sizeof(rotation_)); }

void cEntity_Base3D::SetRotation(float x, float y, float z) {
  angles_[0] = x;
  angles_[1] = y;
  angles_[2] = z;
  RebuildRotation();
}

void cEntity_Base3D::SetRotationVector(const float v[3]) { SetRotation(v[0], v[1], v[2]); }

void cEntity_Base3D::SetRotationX(float a) {
  angles_[0] = a;
  RebuildRotation();
}

void cEntity_Base3D::SetRotationY(float a) {
  angles_[1] = a;
  RebuildRotation();
}

void cEntity_Base3D::SetRotationZ(float a) {
  angles_[2] = a;
  RebuildRotation();
}

void cEntity_Base3D::RebuildRotation() {
  JMath_MatrixRotationXYZ(rotation_, angles_[0], angles_[1], angles_[2]);
  RebuildWorldMatrix();
}

void cEntity_Base3D::GetRotationMatrix(float out[16]) { std::memcpy(out, rotation_.Data(), sizeof(rotation_)); }

void cEntity_Base3D::GetRotationXYZ(float& x, float& y, float& z) {
  x = angles_[0];
  y = angles_[1];
  z = angles_[2];
}

void cEntity_Base3D::GetRotationVector(float out[3]) { GetRotationXYZ(out[0], out[1], out[2]); }

float cEntity_Base3D::GetRotationX() { return angles_[0]; }
float cEntity_Base3D::GetRotationY() { return angles_[1]; }
float cEntity_Base3D::GetRotationZ() { return angles_[2]; }

void cEntity_Base3D::AddRotation(float x, float y, float z) {
  angles_[0] += x;
  angles_[1] += y;
  angles_[2] += z;
  JMath_MatrixRotateXYZ(rotation_, x, y, z);
  RebuildWorldMatrix();
}

void cEntity_Base3D::AddRotationVector(const float v[3]) { AddRotation(v[0], v[1], v[2]); }

void cEntity_Base3D::SetScale(float x, float y, float z) {
  scale_.m[0][0] = x;
  scale_.m[1][1] = y;
  scale_.m[2][2] = z;
  RebuildWorldMatrix();
}

void cEntity_Base3D::SetScaleVector(const float v[3]) { SetScale(v[0], v[1], v[2]); }

void cEntity_Base3D::SetScaleX(float v) {
  scale_.m[0][0] = v;
  RebuildWorldMatrix();
}

void cEntity_Base3D::SetScaleY(float v) {
  scale_.m[1][1] = v;
  RebuildWorldMatrix();
}

void cEntity_Base3D::SetScaleZ(float v) {
  scale_.m[2][2] = v;
  RebuildWorldMatrix();
}

void cEntity_Base3D::GetScaleMatrix(float out[16]) { std::memcpy(out, scale_.Data(), sizeof(scale_)); }

void cEntity_Base3D::GetScaleXYZ(float& x, float& y, float& z) {
  x = scale_.m[0][0];
  y = scale_.m[1][1];
  z = scale_.m[2][2];
}

void cEntity_Base3D::GetScaleVector(float out[3]) { GetScaleXYZ(out[0], out[1], out[2]); }

float cEntity_Base3D::GetScaleX() { return scale_.m[0][0]; }
float cEntity_Base3D::GetScaleY() { return scale_.m[1][1]; }
float cEntity_Base3D::GetScaleZ() { return scale_.m[2][2]; }

void cEntity_Base3D::MultiplyScale(float x, float y, float z) {
  JMath_MatrixScale(scale_, x, y, z);
  RebuildWorldMatrix();
}

void cEntity_Base3D::MultiplyScaleUniform(float s) { MultiplyScale(s, s, s); }

void cEntity_Base3D::MultiplyScaleVector(const float v[3]) { MultiplyScale(v[0], v[1], v[2]); }

void cEntity_Base3D::GetWorldMatrix(float out[16]) { std::memcpy(out, world_.Data(), sizeof(world_)); }

float* cEntity_Base3D::GetTranslationMatrixPtr() { return translation_.Data(); }

void cEntity_Base3D::GetTranslationMatrix(float out[16]) {
  std::memcpy(out, translation_.Data(), sizeof(translation_));
}

void cEntity_Base3D::RebuildWorldMatrix() {
  world_ = JMath_MatrixProduct(JMath_MatrixProduct(scale_, rotation_), translation_);
}
