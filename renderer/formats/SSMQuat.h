#pragma once
// The quaternion operations anchors use: conversion from a rotation matrix and
// spherical interpolation between key frames.
struct SSMQuat {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;
};

inline SSMQuat SSMQuatIdentity() { return SSMQuat{}; }

// Row-major 4x4 matrix; only the upper 3x3 is read (the trace method).
SSMQuat SSMQuatFromMatrix(const float m[4][4]);

// Interpolates from q1 (t = 0) to q2 (t = 1) without flipping q2's sign and
// without renormalising the result.
SSMQuat SSMQuatSlerp(const SSMQuat& q1, const SSMQuat& q2, float t);
