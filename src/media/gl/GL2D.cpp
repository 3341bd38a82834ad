#include "media/gl/GL2D.h"

#include <string>
#include <vector>

#include "media/DXClass.h"
#include "media/gl/GL.h"
#include "media/gl/GLProgram.h"

namespace {
const char* const VertexSource = R"(
layout(location = 0) in vec2 aPos;
layout(location = 1) in vec2 aTex;
uniform vec2 uSurface;
uniform bool uFlipY;
out vec2 vTex;
void main() {
  vec2 n = aPos / uSurface * 2.0 - 1.0;
  gl_Position = vec4(n.x, uFlipY ? n.y : -n.y, 0.0, 1.0);
  gl_PointSize = 1.0;  // ES leaves the size of points undefined otherwise
  vTex = aTex;
})";

// Modes: 0 premultiplied picture, 1 coverage in a colour, 2 solid colour.
const char* const FragmentSource = R"(
in vec2 vTex;
out vec4 oColor;
uniform sampler2D uTex;
uniform int uMode;
uniform vec4 uClamp;
uniform vec2 uTexSize;
uniform float uAlpha;
uniform vec3 uColor;
void main() {
  if (uMode == 2) { oColor = vec4(uColor, 1.0) * uAlpha; return; }
  vec4 s = texture(uTex, clamp(vTex, uClamp.xy, uClamp.zw) / uTexSize);
  if (uMode == 1) { float c = s.r * uAlpha; oColor = vec4(uColor * c, c); }
  else oColor = s * uAlpha;
})";

std::array<float, 3> ColorOf(uint32_t C) {
  return {static_cast<float>(C & 0xFF) / 255.0f, static_cast<float>((C >> 8) & 0xFF) / 255.0f,
          static_cast<float>((C >> 16) & 0xFF) / 255.0f};
}
}  // namespace

TGL2DTexture::~TGL2DTexture() {
  if (FName != 0 && !FAlive.expired()) {
    const GLuint name = FName;
    glDeleteTextures(1, &name);
  }
}

// Saves what a 2D draw changes and puts it back, whatever state the 3D device keeps.
class TGL2DRenderer::TStateGuard {
 public:
  TStateGuard() {
    glGetIntegerv(GL_CURRENT_PROGRAM, &Program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &Vao);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &Buffer);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &ActiveTexture);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &Texture);
    glGetIntegerv(GL_SAMPLER_BINDING, &Sampler);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &Framebuffer);
    glGetIntegerv(GL_VIEWPORT, Viewport);
    Blend = glIsEnabled(GL_BLEND);
    Depth = glIsEnabled(GL_DEPTH_TEST);
    Cull = glIsEnabled(GL_CULL_FACE);
    Scissor = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_BLEND_SRC_RGB, &SrcRGB);
    glGetIntegerv(GL_BLEND_DST_RGB, &DstRGB);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &SrcAlpha);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &DstAlpha);
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &EqRGB);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &EqAlpha);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &DepthMask);
  }
  ~TStateGuard() {
    glUseProgram(static_cast<GLuint>(Program));
    glBindVertexArray(static_cast<GLuint>(Vao));
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(Buffer));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(Texture));
    glBindSampler(0, static_cast<GLuint>(Sampler));
    glActiveTexture(static_cast<GLenum>(ActiveTexture));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(Framebuffer));
    glViewport(Viewport[0], Viewport[1], Viewport[2], Viewport[3]);
    Set(GL_BLEND, Blend);
    Set(GL_DEPTH_TEST, Depth);
    Set(GL_CULL_FACE, Cull);
    Set(GL_SCISSOR_TEST, Scissor);
    glBlendFuncSeparate(static_cast<GLenum>(SrcRGB), static_cast<GLenum>(DstRGB),
                        static_cast<GLenum>(SrcAlpha), static_cast<GLenum>(DstAlpha));
    glBlendEquationSeparate(static_cast<GLenum>(EqRGB), static_cast<GLenum>(EqAlpha));
    glDepthMask(DepthMask);
  }
  TStateGuard(const TStateGuard&) = delete;
  TStateGuard& operator=(const TStateGuard&) = delete;

 private:
  static void Set(GLenum Cap, GLboolean On) { On ? glEnable(Cap) : glDisable(Cap); }
  GLint Program = 0, Vao = 0, Buffer = 0, ActiveTexture = 0, Texture = 0, Sampler = 0,
        Framebuffer = 0, Viewport[4] = {};
  GLint SrcRGB = 0, DstRGB = 0, SrcAlpha = 0, DstAlpha = 0, EqRGB = 0, EqAlpha = 0;
  GLboolean Blend = 0, Depth = 0, Cull = 0, Scissor = 0, DepthMask = 0;
};

TGL2DRenderer::TGL2DRenderer(int32_t SurfaceWidth, int32_t SurfaceHeight,
                             std::function<void()> BindTarget, bool FlipY, int32_t TargetWidth,
                             int32_t TargetHeight)
    : FWidth(SurfaceWidth),
      FHeight(SurfaceHeight),
      FTargetWidth(TargetWidth > 0 ? TargetWidth : SurfaceWidth),
      FTargetHeight(TargetHeight > 0 ? TargetHeight : SurfaceHeight),
      FBindTarget(std::move(BindTarget)),
      FFlipY(FlipY) {
  FProgram = MakeProgram(VertexSource, FragmentSource, "2D drawing cannot be made");
  FUSurface = glGetUniformLocation(FProgram, "uSurface");
  FUFlip = glGetUniformLocation(FProgram, "uFlipY");
  FUMode = glGetUniformLocation(FProgram, "uMode");
  FUClamp = glGetUniformLocation(FProgram, "uClamp");
  FUTexSize = glGetUniformLocation(FProgram, "uTexSize");
  FUAlpha = glGetUniformLocation(FProgram, "uAlpha");
  FUColor = glGetUniformLocation(FProgram, "uColor");
  FUTex = glGetUniformLocation(FProgram, "uTex");
  GLint vao = 0, buffer = 0;
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vao);
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &buffer);
  glGenVertexArrays(1, &FVao);
  glGenBuffers(1, &FVbo);
  glBindVertexArray(FVao);
  glBindBuffer(GL_ARRAY_BUFFER, FVbo);
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                        reinterpret_cast<const void*>(2 * sizeof(float)));
  glBindVertexArray(static_cast<GLuint>(vao));
  glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(buffer));
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &FMaxTextureSize);
  // What stays the same from draw to draw is set once: the program keeps its uniforms, and
  // the two ways of sampling are objects of their own rather than each texture's state.
  GLint program = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glUseProgram(FProgram);
  glUniform2f(FUSurface, static_cast<float>(FWidth), static_cast<float>(FHeight));
  glUniform1i(FUFlip, FFlipY ? 1 : 0);
  glUniform1i(FUTex, 0);
  glUseProgram(static_cast<GLuint>(program));
  glGenSamplers(2, FSamplers.data());
  for (size_t i = 0; i < FSamplers.size(); ++i) {
    const GLint filter = i == 0 ? GL_NEAREST : GL_LINEAR;
    glSamplerParameteri(FSamplers[i], GL_TEXTURE_MIN_FILTER, filter);
    glSamplerParameteri(FSamplers[i], GL_TEXTURE_MAG_FILTER, filter);
    glSamplerParameteri(FSamplers[i], GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(FSamplers[i], GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
}

TGL2DRenderer::~TGL2DRenderer() {
  FAlive.reset();
  glDeleteSamplers(static_cast<GLsizei>(FSamplers.size()), FSamplers.data());
  glDeleteBuffers(1, &FVbo);
  glDeleteVertexArrays(1, &FVao);
  glDeleteProgram(FProgram);
}

namespace {
// A new texture name holding the pixels; 0 when the size is empty or beyond the device.
GLuint Upload(int32_t W, int32_t H, int32_t MaxSize, GLenum Internal, GLenum Format,
              const uint8_t* Data) {
  if (W <= 0 || H <= 0 || W > MaxSize || H > MaxSize) return 0;
  GLint bound = 0, align = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &align);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(Internal), W, H, 0, Format, GL_UNSIGNED_BYTE,
               Data);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, align);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
  return name;
}
}  // namespace

std::unique_ptr<TGL2DTexture> TGL2DRenderer::MakeTexture(int32_t W, int32_t H,
                                                         std::span<const uint8_t> RGBA) {
  if (W <= 0 || H <= 0 || RGBA.size() < static_cast<size_t>(W) * static_cast<size_t>(H) * 4)
    return nullptr;
  const GLuint name = Upload(W, H, FMaxTextureSize, GL_RGBA8, GL_RGBA, RGBA.data());
  if (name == 0) return nullptr;
  return std::unique_ptr<TGL2DTexture>(new TGL2DTexture(FAlive, name, W, H, false));
}

std::unique_ptr<TGL2DTexture> TGL2DRenderer::MakeCoverage(int32_t W, int32_t H,
                                                          std::span<const uint8_t> Cover) {
  if (W <= 0 || H <= 0 || Cover.size() < static_cast<size_t>(W) * static_cast<size_t>(H))
    return nullptr;
  const GLuint name = Upload(W, H, FMaxTextureSize, GL_R8, GL_RED, Cover.data());
  if (name == 0) return nullptr;
  return std::unique_ptr<TGL2DTexture>(new TGL2DTexture(FAlive, name, W, H, true));
}

void TGL2DRenderer::DrawQuad(const TGL2DTexture* Texture, const TQuad& Quad) {
  const auto& c = Quad.Corners;
  const auto& s = Quad.Source;
  const float l = static_cast<float>(s.Left), t = static_cast<float>(s.Top),
              r = static_cast<float>(s.Right), b = static_cast<float>(s.Bottom);
  // Two triangles: top-left, top-right, bottom-left, bottom-right as a strip.
  const float v[] = {c[0].X, c[0].Y, l, t, c[1].X, c[1].Y, r, t,
                     c[3].X, c[3].Y, l, b, c[2].X, c[2].Y, r, b};
  Draw(GL_TRIANGLE_STRIP, v, Texture ? (Texture->Coverage() ? 1 : 0) : 2, Texture, Quad);
}

void TGL2DRenderer::DrawPixels(std::span<const TPixelPoint> Pixels, uint32_t Color) {
  if (Pixels.empty()) return;
  if (Scaled()) {
    // A point would cover one framebuffer pixel: each surface pixel becomes its square.
    std::vector<TPointF> squares;
    squares.reserve(Pixels.size() * 6);
    for (const auto& p : Pixels) {
      const auto x = static_cast<float>(p.X), y = static_cast<float>(p.Y);
      squares.insert(
          squares.end(),
          {TPointF{x, y}, {x + 1, y}, {x, y + 1}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}});
    }
    DrawTriangles(squares, Color);
    return;
  }
  std::vector<float> v;
  v.reserve(Pixels.size() * 4);
  for (const auto& p : Pixels) {
    v.insert(v.end(), {static_cast<float>(p.X) + 0.5f, static_cast<float>(p.Y) + 0.5f, 0, 0});
  }
  TQuad solid;
  solid.Color = Color;
  Draw(GL_POINTS, v, 2, nullptr, solid);
}

void TGL2DRenderer::DrawTriangles(std::span<const TPointF> Corners, uint32_t Color) {
  if (Corners.size() < 3) return;
  const size_t whole = Corners.size() / 3 * 3;
  std::vector<float> v;
  v.reserve(whole * 4);
  for (size_t i = 0; i < whole; ++i) v.insert(v.end(), {Corners[i].X, Corners[i].Y, 0, 0});
  TQuad solid;
  solid.Color = Color;
  Draw(GL_TRIANGLES, v, 2, nullptr, solid);
}

void TGL2DRenderer::Draw(uint32_t Primitive, std::span<const float> Vertices, int Mode,
                         const TGL2DTexture* Texture, const TQuad& Quad) {
  TStateGuard guard;
  if (FBindTarget) FBindTarget();
  glViewport(0, 0, FTargetWidth, FTargetHeight);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_SCISSOR_TEST);
  glDepthMask(GL_FALSE);
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  // The target's alpha is kept as it is: only colour is drawn.
  if (Quad.Blend == TGL2DBlend::Add) {
    glBlendFuncSeparate(GL_ONE, GL_ONE, GL_ZERO, GL_ONE);
  } else {
    glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
  }
  glUseProgram(FProgram);
  // Uniforms are the program's own: only those that change are sent again.
  if (Mode != FLast.Mode) glUniform1i(FUMode, Mode);
  if (Quad.Alpha != FLast.Alpha) glUniform1f(FUAlpha, Quad.Alpha);
  if (Quad.Color != FLast.Color) {
    const auto color = ColorOf(Quad.Color);
    glUniform3f(FUColor, color[0], color[1], color[2]);
  }
  FLast = {Mode, Quad.Alpha, Quad.Color};
  if (Texture) {
    const auto& s = Quad.Source;
    // Texel centres of the source's first and last column and row bound every sample.
    glUniform4f(FUClamp, static_cast<float>(s.Left) + 0.5f, static_cast<float>(s.Top) + 0.5f,
                static_cast<float>(s.Right) - 0.5f, static_cast<float>(s.Bottom) - 0.5f);
    glUniform2f(FUTexSize, static_cast<float>(Texture->Width()),
                static_cast<float>(Texture->Height()));
    glBindTexture(GL_TEXTURE_2D, Texture->Name());
    glBindSampler(0, FSamplers[Quad.Linear ? 1 : 0]);
  }
  glBindVertexArray(FVao);
  glBindBuffer(GL_ARRAY_BUFFER, FVbo);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(Vertices.size_bytes()), Vertices.data(),
               GL_STREAM_DRAW);
  glDrawArrays(Primitive, 0, static_cast<GLsizei>(Vertices.size() / 4));
}
