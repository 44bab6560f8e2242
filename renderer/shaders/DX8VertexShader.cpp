#include "renderer/shaders/DX8VertexShader.h"

void DX8VertexShader::RunOn(MeshGeometry* geometry) {
  PrepareRun();
  Run(root_, geometry);
}
