#pragma once
// What model instances need of a renderer shader: one counted reference per
// holder. The renderer's shader resources implement it; the model format only
// ever takes and gives back references, so it stays free of any device.
class SSMShaderRef {
 public:
  virtual void AddShaderRef() = 0;
  virtual void ReleaseShaderRef() = 0;

 protected:
  ~SSMShaderRef() = default;
};
