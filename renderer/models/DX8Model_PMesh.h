#pragma once
// The editable polymesh: geometry its user fills between BeginEdit and
// EndEdit, shared vertices and per-part indices, each part with its own
// shader and visibility. Names beginning "polymesh_plane" come ready as a
// textured unit square with one of five anchor corners, resized and
// re-textured by the plane edits.
#include <memory>
#include <optional>
#include <vector>

#include "renderer/DrawItem.h"
#include "renderer/models/DX8Model.h"

class DX8MaterialShader;

class DX8Model_PMesh : public DX8Model {
 public:
  enum class Anchor { LowerLeft, UpperLeft, UpperRight, LowerRight, Centre };
  // Read from the first 16 characters of the lower-case name.
  static Anchor PlaneAnchor(const std::string& name);

  // A plane for names beginning "polymesh_plane", otherwise empty; null
  // only when the plane cannot be built.
  static DX8Model_PMesh* Create(Lumetra* owner, uint32_t flags, const std::string& name);

  DX8Model_PMesh(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8Model_PMesh() override;

  // The box around the vertices (all of them, shown or not); a mesh without
  // vertices is a point at the origin. The matrix moves to the box's centre.
  void GetBounds(float minimum[3], float maximum[3], JMatrix* matrix) override;

  uint16_t GetPartCount() override;
  void SetPartVisible(uint16_t index, bool visible) override;
  bool IsPartVisible(uint16_t index) override;
  void SetShader(uint16_t index, C3DBaseShader* shader) override;
  C3DBaseShader* GetShader(uint16_t index) override;
  uint16_t GetVertexCount() override;
  bool IsEditable() override { return true; }
  bool BeginEdit() override;
  bool EndEdit() override;
  bool IsEditing() override { return editing_; }
  void SetVertices(const RenderVertex* vertices, uint16_t count) override;
  void SetIndices(const uint16_t* values, const uint16_t* parts, uint32_t count) override;
  void SetPartCount(uint16_t count) override;
  void SetTextureRect(int32_t set, float uLeft, float uRight, float vTop, float vBottom) override;
  void SetTextureExtent(int32_t set, float u, float v) override;
  void SetWidth(float width) override;
  void SetHeight(float height) override;
  void AddInstance(JMatrix* matrix) override;
  void RemoveInstance(JMatrix* matrix) override;
  void Draw(C3DPass* pass, const JMatrix* world) override;

  // For tests: what a part draws from.
  const MeshGeometry* PartGeometry(uint16_t index) const;
  const RenderVertex* Vertices() const { return vertices_.empty() ? nullptr : vertices_.data(); }
  const InstanceList& Instances() const { return instances_; }

 private:
  struct Part {
    MeshGeometry geometry;
    DrawItem item;
    DX8MaterialShader* shader = nullptr;
    std::vector<uint16_t> indices;
    platform::gfx::IndexBuffer* indexBuffer = nullptr;
    bool visible = true;
  };

  bool Editable4() const { return !editing_ && static_ == 0 && vertexCount_ == 4 && vertices_.size() == 4; }
  void DropParts();
  void DropVertices();
  void Clear();
  void ClearPending();
  void PointPartsAtVertices();
  bool ReplaceVertices();
  bool DealIndices();
  void BuildPlane(Anchor anchor);

  platform::gfx::VertexBuffer* vertexBuffer_ = nullptr;
  std::vector<RenderVertex> vertices_;
  bool editing_ = false;
  std::vector<std::unique_ptr<Part>> parts_;
  uint16_t vertexCount_ = 0;

  // What the current edit was given; the arrays stay the caller's.
  std::optional<uint16_t> pendingPartCount_;
  std::optional<uint16_t> pendingVertexCount_;
  const RenderVertex* pendingVertices_ = nullptr;
  std::optional<uint32_t> pendingIndexCount_;
  bool changed_ = false;
  const uint16_t* pendingParts_ = nullptr;
  const uint16_t* pendingValues_ = nullptr;

  InstanceList instances_;
};
