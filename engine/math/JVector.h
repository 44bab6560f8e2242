#pragma once
// The engine's vector value: four floats, passed and returned by value.
// Geometry uses x, y and z; positions taken from entities carry w = 0.
struct JMatrix;

class JVector {
 public:
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 0.0f;

  JVector() = default;
  JVector(float x_, float y_, float z_, float w_ = 0.0f) : x(x_), y(y_), z(z_), w(w_) {}
  JVector(const JVector&) = default;
  JVector& operator=(const JVector&) = default;
  virtual ~JVector();

  // All four components added.
  JVector Add(JVector b) const;
  // a - b, all four components.
  static JVector Subtract(JVector a, JVector b);
  // All four components times s.
  JVector MultiplyScalar(float s) const;
  // Cross product of the x, y, z parts; w of the result is 0.
  JVector Cross(JVector b) const;
  // Scales x, y, z to unit length; a zero-length vector is left as it is.
  // w is untouched.
  void Normalize();
  // In place: (x, y, z) = (x, y, z, 1) x M, translation included; w untouched.
  void Transform(const JMatrix& M);
};
