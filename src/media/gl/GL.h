// The OpenGL entry points: OpenGL 3.3 core through libepoxy on the desktop, OpenGL ES 3.0
// (WebGL 2) in the browser. The shaders are written once for both; only their first lines
// differ, given here.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <epoxy/gl.h>
#endif

// The context to ask for.
#ifdef __EMSCRIPTEN__
inline constexpr bool GLContextES = true;
inline constexpr int GLContextMajor = 3, GLContextMinor = 0;
#else
inline constexpr bool GLContextES = false;
inline constexpr int GLContextMajor = 3, GLContextMinor = 3;
#endif

// Whether the context made is new enough for the shaders. The browser makes WebGL 2 or none.
inline bool GLContextSuffices() {
#ifdef __EMSCRIPTEN__
  return true;
#else
  return epoxy_gl_version() >= 33;
#endif
}

#ifdef __EMSCRIPTEN__
// ES has no default float precision in fragment shaders; texel coordinates need highp.
inline constexpr const char* GLShaderPrologue = "#version 300 es\nprecision highp float;\n";
#else
inline constexpr const char* GLShaderPrologue = "#version 330 core\n";
#endif

// The two calls ES names differently (it has no double-precision depth values).
inline void GLClearDepth(float Depth) {
#ifdef __EMSCRIPTEN__
  glClearDepthf(Depth);
#else
  glClearDepth(Depth);
#endif
}

inline void GLDepthRange(float Near, float Far) {
#ifdef __EMSCRIPTEN__
  glDepthRangef(Near, Far);
#else
  glDepthRange(Near, Far);
#endif
}
