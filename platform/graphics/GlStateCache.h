#pragma once
// The GL context state the gl backend sets, shadowed so that a value equal to
// the one the context already holds is not sent again. Every setting starts
// unknown (and is unknown again after Invalidate), so its first use always
// reaches the context. All GL state the backend changes goes through here.
#include <epoxy/gl.h>

#include <array>
#include <optional>

namespace platform::gfx {

class GlStateCache {
 public:
  // Forgets every shadowed value, e.g. when the context may have been
  // changed behind the cache's back.
  void Invalidate() { *this = GlStateCache{}; }

  // GL_DEPTH_TEST, GL_BLEND, GL_CULL_FACE, GL_STENCIL_TEST or GL_SCISSOR_TEST.
  void Enable(GLenum cap, bool on);
  void DepthFunc(GLenum func);
  void DepthMask(bool on);
  void BlendFunc(GLenum src, GLenum dst);
  void BlendEquation(GLenum mode);
  void CullFace(GLenum face);
  void PolygonMode(GLenum mode);
  void ColorMask(bool r, bool g, bool b, bool a);
  void StencilFunc(GLenum func, GLint ref, GLuint mask);
  void StencilOp(GLenum fail, GLenum zfail, GLenum pass);
  void StencilMask(GLuint mask);
  void Viewport(GLint x, GLint y, GLsizei w, GLsizei h);
  void DepthRange(float nearZ, float farZ);
  void Scissor(GLint x, GLint y, GLsizei w, GLsizei h);
  void ClearColor(float r, float g, float b, float a);
  void ClearDepth(float z);
  void ClearStencil(GLint s);

  void UseProgram(GLuint program);
  // Binds `texture` on `unit` (0..3) for drawing.
  void BindTexture(GLuint unit, GLuint texture);
  // Binds `texture` on the active unit for glTex* calls that edit it.
  void BindTextureForEdit(GLuint texture);
  void BindArrayBuffer(GLuint buffer);
  void BindElementBuffer(GLuint buffer);
  void BindDrawFramebuffer(GLuint fbo);
  void BindReadFramebuffer(GLuint fbo);
  // Drops a deleted object from the shadows, so that a new object given the
  // same name is bound again.
  void ForgetTexture(GLuint texture);
  void ForgetBuffer(GLuint buffer);

 private:
  // Sends `send` when `value` differs from the shadow (or the shadow is unknown).
  template <class T, class Send>
  static void Set(std::optional<T>& shadow, const T& value, Send send) {
    if (shadow && *shadow == value) return;
    shadow = value;
    send();
  }

  enum Cap { kDepthTest, kBlend, kCullFace, kStencilTest, kScissorTest, kCapCount };
  std::array<std::optional<bool>, kCapCount> caps_;
  std::optional<GLenum> depthFunc_, blendEquation_, cullFace_, polygonMode_;
  std::optional<bool> depthMask_;
  std::optional<std::array<GLenum, 2>> blendFunc_;
  std::optional<std::array<bool, 4>> colorMask_;
  std::optional<std::array<GLuint, 3>> stencilFunc_;
  std::optional<std::array<GLenum, 3>> stencilOp_;
  std::optional<GLuint> stencilMask_;
  std::optional<std::array<GLint, 4>> viewport_, scissor_;
  std::optional<std::array<float, 2>> depthRange_;
  std::optional<std::array<float, 4>> clearColor_;
  std::optional<float> clearDepth_;
  std::optional<GLint> clearStencil_;
  std::optional<GLuint> program_, activeUnit_, arrayBuffer_, elementBuffer_, drawFbo_, readFbo_;
  std::array<std::optional<GLuint>, 4> textures_;
};

}  // namespace platform::gfx
