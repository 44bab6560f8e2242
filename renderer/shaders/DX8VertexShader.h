#pragma once
// A vertex shader: a ".jsv" script whose commands rewrite the colours and
// first texture coordinates of the vertices they run on. Its commands live
// in the root list and run through Run with the geometry to change.
#include "engine/services/C3DBaseShader.h"
#include "renderer/shaders/DX8BaseShader.h"

// Marks a vertex shader; it has no operations of its own.
class C3DVertexShader {
 protected:
  ~C3DVertexShader() = default;
};

class DX8VertexShader : public DX8BaseShader, public C3DVertexShader {
 public:
  using DX8BaseShader::DX8BaseShader;
  // Runs the commands on the geometry's vertices (which the caller owns and
  // lets the shader change).
  void RunOn(MeshGeometry* geometry);
};
