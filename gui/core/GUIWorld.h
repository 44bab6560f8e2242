#pragma once
// The root of the GUI tree ("TheWorld") and the GUI pass's hook: it clears
// the frame and draws the whole tree when the renderer runs the pass, and
// holds the GUI-wide bounds shaders and fonts.
#include <cstdint>
#include <string>

#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DFont.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/C3DPass.h"
#include "gui/core/GUIEntity.h"

class GUIWorld : public GUIEntity, public C3DEntity {
 public:
  explicit GUIWorld(cEntity_Manager* owner);
  ~GUIWorld() override;

  CoreStatus Initialize() override;
  CoreStatus Exit() override;

  // Makes both shaders from the service's resource path and the names, then
  // the default font.
  virtual void SetBoundsShaders(const std::string& solid, const std::string& ghost);
  virtual C3DBaseShader* GetSolidShader() { return solidShader_.Get(); }
  virtual C3DBaseShader* GetGhostShader() { return ghostShader_.Get(); }
  // Null asks the renderer for its built-in "future font".
  virtual void SetDefaultFont(C3DFont* font) { StoreFont(font1_, font); }
  virtual void SetFont2(C3DFont* font) { StoreFont(font2_, font); }
  virtual void SetFont3(C3DFont* font) { StoreFont(font3_, font); }
  virtual C3DFont* GetDefaultFont() { return font1_.Get(); }
  virtual C3DFont* GetFont2() { return font2_.Get(); }
  virtual C3DFont* GetFont3() { return font3_.Get(); }
  virtual void SetBeginClear(uint8_t on) { beginClear_ = on; }
  virtual uint8_t GetBeginClear() { return beginClear_; }
  virtual void SetBeginColour(uint32_t colour) { beginColour_ = colour; }
  virtual uint32_t GetBeginColour() { return beginColour_; }
  virtual void SetBeginDepthClear(uint8_t on) { beginDepthClear_ = on; }
  virtual uint8_t GetBeginDepthClear() { return beginDepthClear_; }
  virtual void SetPrepareClear(uint8_t on) { prepareClear_ = on; }
  virtual uint8_t GetPrepareClear() { return prepareClear_; }
  virtual void SetPrepareColour(uint32_t colour) { prepareColour_ = colour; }
  virtual uint32_t GetPrepareColour() { return prepareColour_; }
  virtual void SetPrepareDepthClear(uint8_t on) { prepareDepthClear_ = on; }
  virtual uint8_t GetPrepareDepthClear() { return prepareDepthClear_; }
  virtual void SetShowBounds(uint8_t on) { showBounds_ = on; }
  virtual uint8_t GetShowBounds() { return showBounds_; }

  // The pass's hooks.
  void OnPassBegin(C3DPass* pass) override;
  void OnPassPrepare(C3DPass* pass) override;
  void Render(C3DPass* pass) override;
  using GUIEntity::Render;

  // The unit box edges as a line mesh drawn with the solid or ghost shader;
  // null without a renderer.
  C3DMesh* GetBoundsMesh(bool solid);

 private:
  void StoreFont(ResourceRef<C3DFont>& slot, C3DFont* font);

  ResourceRef<C3DBaseShader> solidShader_;
  ResourceRef<C3DBaseShader> ghostShader_;
  ResourceRef<C3DFont> font1_;
  ResourceRef<C3DFont> font2_;
  ResourceRef<C3DFont> font3_;
  uint8_t beginClear_ = 0;
  uint32_t beginColour_ = 0;
  uint8_t beginDepthClear_ = 0;
  uint8_t prepareClear_ = 0;
  uint32_t prepareColour_ = 0;
  uint8_t prepareDepthClear_ = 1;
  uint8_t showBounds_ = 0;
  ResourceRef<C3DMesh> boundsMeshes_[2];
  RenderVertex boxVertices_[8] = {};
  uint16_t boxIndices_[24] = {};
};
