#pragma once
// 4x4 float matrices, row-major (m[row][column]), applied to row vectors:
// a point transforms as (x, y, z, 1) x M, so the translation sits in row 3
// and the product A x B applies A first. Angles are radians.
//
// The builders below work on affine matrices (rotation, scale, translation):
// products ignore the fourth column of their operands and produce
// (0, 0, 0, 1) there.
class JVector;

struct JMatrix {
  float m[4][4];

  static JMatrix Identity();
  static JMatrix Zero();
  float* Data() { return &m[0][0]; }
  const float* Data() const { return &m[0][0]; }
};

static_assert(sizeof(JMatrix) == 16 * sizeof(float), "JMatrix is sixteen packed floats");

// out = a x b as an affine product (see above). out may be a or b.
JMatrix& JMath_MatrixMultiply(JMatrix& out, const JMatrix& a, const JMatrix& b);
// a x b as a new matrix.
JMatrix JMath_MatrixProduct(const JMatrix& a, const JMatrix& b);

// M = identity with row 3 = (x, y, z, 1).
void JMath_MatrixTranslation(JMatrix& M, float x, float y, float z);
// M = M x translation(x, y, z).
void JMath_MatrixTranslate(JMatrix& M, float x, float y, float z);
// M = M x diag(x, y, z, 1).
void JMath_MatrixScale(JMatrix& M, float x, float y, float z);
void JMath_MatrixScaleVector(JMatrix& M, const JVector& v);

// Elementary rotations. With c = cos a, s = sin a:
//   Rx: row 1 = (0, c, -s, 0), row 2 = (0, s, c, 0)
//   Ry: row 0 = (c, 0, -s, 0), row 2 = (s, 0, c, 0)
//   Rz: row 0 = (c, s, 0, 0),  row 1 = (-s, c, 0, 0)
// Ry turns +X towards -Z, Rz turns +X towards +Y, Rx turns +Y towards -Z.
JMatrix JMath_RotationX(float a);
JMatrix JMath_RotationY(float a);
JMatrix JMath_RotationZ(float a);

void JMath_MatrixRotationY(JMatrix& M, float a);                   // M = Ry(a)
void JMath_MatrixRotateY(JMatrix& M, float a);                     // M = M x Ry(a)
void JMath_MatrixRotateZ(JMatrix& M, float a);                     // M = M x Rz(a)
void JMath_MatrixRotationXYZ(JMatrix& M, float x, float y, float z);  // M = Rx x Ry x Rz
void JMath_MatrixRotateXYZ(JMatrix& M, float x, float y, float z);    // M = M x Rx x Ry x Rz

// Inverse of a rotation + translation: the transposed 3x3 and the translation
// carried back through it. out may be M.
void JMath_MatrixInverseRigid(const JMatrix& M, JMatrix& out);
// Inverse of scale + rotation + translation: the rigid inverse post-multiplied
// by diag(1/|r0|^2, 1/|r1|^2, 1/|r2|^2, 1), |ri|^2 being the squared length of
// row i of M over its four elements; a zero row leaves its factor 0.
void JMath_MatrixInverse(const JMatrix& M, JMatrix& out);
