#include "platform/graphics/GlStateCache.h"

namespace platform::gfx {

void GlStateCache::Enable(GLenum cap, bool on) {
  Cap index;
  switch (cap) {
    case GL_DEPTH_TEST: index = kDepthTest; break;
    case GL_BLEND: index = kBlend; break;
    case GL_CULL_FACE: index = kCullFace; break;
    case GL_STENCIL_TEST: index = kStencilTest; break;
    case GL_SCISSOR_TEST: index = kScissorTest; break;
    default:  // not shadowed
      on ? glEnable(cap) : glDisable(cap);
      return;
  }
  Set(caps_[index], on, [&] { on ? glEnable(cap) : glDisable(cap); });
}

void GlStateCache::DepthFunc(GLenum func) {
  Set(depthFunc_, func, [&] { glDepthFunc(func); });
}

void GlStateCache::DepthMask(bool on) {
  Set(depthMask_, on, [&] { glDepthMask(on ? GL_TRUE : GL_FALSE); });
}

void GlStateCache::BlendFunc(GLenum src, GLenum dst) {
  Set(blendFunc_, {src, dst}, [&] { glBlendFunc(src, dst); });
}

void GlStateCache::BlendEquation(GLenum mode) {
  Set(blendEquation_, mode, [&] { glBlendEquation(mode); });
}

void GlStateCache::CullFace(GLenum face) {
  Set(cullFace_, face, [&] { glCullFace(face); });
}

void GlStateCache::PolygonMode(GLenum mode) {
  Set(polygonMode_, mode, [&] { glPolygonMode(GL_FRONT_AND_BACK, mode); });
}

void GlStateCache::ColorMask(bool r, bool g, bool b, bool a) {
  Set(colorMask_, {r, g, b, a}, [&] { glColorMask(r, g, b, a); });
}

void GlStateCache::StencilFunc(GLenum func, GLint ref, GLuint mask) {
  Set(stencilFunc_, {func, GLuint(ref), mask}, [&] { glStencilFunc(func, ref, mask); });
}

void GlStateCache::StencilOp(GLenum fail, GLenum zfail, GLenum pass) {
  Set(stencilOp_, {fail, zfail, pass}, [&] { glStencilOp(fail, zfail, pass); });
}

void GlStateCache::StencilMask(GLuint mask) {
  Set(stencilMask_, mask, [&] { glStencilMask(mask); });
}

void GlStateCache::Viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  Set(viewport_, {x, y, w, h}, [&] { glViewport(x, y, w, h); });
}

void GlStateCache::DepthRange(float nearZ, float farZ) {
  Set(depthRange_, {nearZ, farZ}, [&] { glDepthRange(nearZ, farZ); });
}

void GlStateCache::Scissor(GLint x, GLint y, GLsizei w, GLsizei h) {
  Set(scissor_, {x, y, w, h}, [&] { glScissor(x, y, w, h); });
}

void GlStateCache::ClearColor(float r, float g, float b, float a) {
  Set(clearColor_, {r, g, b, a}, [&] { glClearColor(r, g, b, a); });
}

void GlStateCache::ClearDepth(float z) {
  Set(clearDepth_, z, [&] { glClearDepth(z); });
}

void GlStateCache::ClearStencil(GLint s) {
  Set(clearStencil_, s, [&] { glClearStencil(s); });
}

void GlStateCache::UseProgram(GLuint program) {
  Set(program_, program, [&] { glUseProgram(program); });
}

void GlStateCache::BindTexture(GLuint unit, GLuint texture) {
  if (textures_[unit] && *textures_[unit] == texture) return;
  Set(activeUnit_, unit, [&] { glActiveTexture(GL_TEXTURE0 + unit); });
  textures_[unit] = texture;
  glBindTexture(GL_TEXTURE_2D, texture);
}

void GlStateCache::BindTextureForEdit(GLuint texture) {
  Set(activeUnit_, GLuint(0), [&] { glActiveTexture(GL_TEXTURE0); });
  Set(textures_[0], texture, [&] { glBindTexture(GL_TEXTURE_2D, texture); });
}

void GlStateCache::BindArrayBuffer(GLuint buffer) {
  Set(arrayBuffer_, buffer, [&] { glBindBuffer(GL_ARRAY_BUFFER, buffer); });
}

void GlStateCache::BindElementBuffer(GLuint buffer) {
  Set(elementBuffer_, buffer, [&] { glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer); });
}

void GlStateCache::BindDrawFramebuffer(GLuint fbo) {
  Set(drawFbo_, fbo, [&] { glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo); });
}

void GlStateCache::BindReadFramebuffer(GLuint fbo) {
  Set(readFbo_, fbo, [&] { glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo); });
}

void GlStateCache::ForgetTexture(GLuint texture) {
  for (auto& t : textures_)
    if (t && *t == texture) t.reset();
}

void GlStateCache::ForgetBuffer(GLuint buffer) {
  if (arrayBuffer_ && *arrayBuffer_ == buffer) arrayBuffer_.reset();
  if (elementBuffer_ && *elementBuffer_ == buffer) elementBuffer_.reset();
}

}  // namespace platform::gfx
