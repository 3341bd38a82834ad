#include "media/gl/GLDevice.h"

#include <algorithm>
#include <vector>

#include "media/DIB.h"
#include "media/DXClass.h"
#include "media/DXDisplay.h"
#include "media/gl/GL.h"
#include "media/gl/GLProgram.h"

namespace {
const char* const VertexSource = R"(
layout(location = 0) in vec3 aPos;
layout(location = 2) in vec2 aTex;
uniform mat4 uMatrix;
out vec2 vTex;
void main() {
  gl_Position = uMatrix * vec4(aPos, 1.0);
  vTex = aTex;
})";

// Lighting is ambient only, so the lit colour is one value per draw.
const char* const FragmentSource = R"(
in vec2 vTex;
out vec4 oColor;
uniform vec4 uLit;
uniform bool uTextured;
uniform sampler2D uTex;
void main() {
  if (uTextured) {
    vec4 t = texture(uTex, vTex);
    oColor = vec4(t.rgb * uLit.rgb, t.a);
  } else {
    oColor = uLit;
  }
})";

TMatrix4 Identity() {
  TMatrix4 m;
  for (int i = 0; i < 4; ++i) m.M[i][i] = 1.0f;
  return m;
}

float Channel(uint32_t Color, int Shift) {
  return static_cast<float>((Color >> Shift) & 0xFF) / 255.0f;
}

// Nearest-texel scaling, for pictures larger than the device takes.
std::vector<uint8_t> Resample(const std::vector<uint8_t>& RGBA, int32_t W, int32_t H, int32_t NW,
                              int32_t NH) {
  std::vector<uint8_t> out(static_cast<size_t>(NW) * NH * 4, 0);
  if (W <= 0 || H <= 0) return out;
  for (int32_t y = 0; y < NH; ++y) {
    const int32_t sy = static_cast<int32_t>(int64_t{y} * H / NH);
    for (int32_t x = 0; x < NW; ++x) {
      const int32_t sx = static_cast<int32_t>(int64_t{x} * W / NW);
      std::copy_n(&RGBA[(static_cast<size_t>(sy) * W + sx) * 4], 4,
                  &out[(static_cast<size_t>(y) * NW + x) * 4]);
    }
  }
  return out;
}
}  // namespace

TGLTexture::~TGLTexture() {
  if (!FAlive.expired() && FName != 0) {
    const GLuint name = FName;
    glDeleteTextures(1, &name);
  }
}

TMatrix4 TGLDevice3D::Product(const TMatrix4& A, const TMatrix4& B) {
  return MultiplyMatrix(A, B);
}

TMatrix4 TGLDevice3D::DepthToGL(const TMatrix4& P) {
  TMatrix4 r = P;
  for (int i = 0; i < 4; ++i) r.M[i][2] = 2.0f * P.M[i][2] - P.M[i][3];
  return r;
}

TGLDevice3D::TGLDevice3D(int32_t SurfaceWidth, int32_t SurfaceHeight, bool DepthBuffer,
                         std::function<void()> BindTarget, int32_t TargetWidth,
                         int32_t TargetHeight)
    : FWidth(SurfaceWidth),
      FHeight(SurfaceHeight),
      FTargetWidth(TargetWidth > 0 ? TargetWidth : SurfaceWidth),
      FTargetHeight(TargetHeight > 0 ? TargetHeight : SurfaceHeight),
      FDepthBuffer(DepthBuffer),
      FBindTarget(std::move(BindTarget)),
      FWorld(Identity()),
      FView(Identity()),
      FProjection(Identity()) {
  FViewport.Width = SurfaceWidth;
  FViewport.Height = SurfaceHeight;
  FProgram =
      MakeProgram(VertexSource, FragmentSource, Format("%s cannot be made", "IDirect3DDevice7"));
  FUMatrix = glGetUniformLocation(FProgram, "uMatrix");
  FULit = glGetUniformLocation(FProgram, "uLit");
  FUTextured = glGetUniformLocation(FProgram, "uTextured");
  FUTex = glGetUniformLocation(FProgram, "uTex");

  GLint previousVao = 0;
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &previousVao);
  glGenVertexArrays(1, &FVao);
  glGenBuffers(1, &FVbo);
  glBindVertexArray(FVao);
  glBindBuffer(GL_ARRAY_BUFFER, FVbo);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(TVertex),
                        reinterpret_cast<const void*>(offsetof(TVertex, X)));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(TVertex),
                        reinterpret_cast<const void*>(offsetof(TVertex, TU)));
  glBindVertexArray(static_cast<GLuint>(previousVao));
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  FMaxTextureSize = std::max(max, 64);
}

TGLDevice3D::~TGLDevice3D() {
  glDeleteBuffers(1, &FVbo);
  glDeleteVertexArrays(1, &FVao);
  glDeleteProgram(FProgram);
}

std::array<int32_t, 4> TGLDevice3D::ToTarget(int32_t Left, int32_t Top, int32_t Right,
                                             int32_t Bottom) const {
  // Edges map on their own, so neighbouring rectangles stay neighbours at any scale.
  auto x = [this](int64_t V) {
    return static_cast<int32_t>((2 * V * FTargetWidth + FWidth) / (2 * int64_t{FWidth}));
  };
  auto y = [this](int64_t V) {
    return static_cast<int32_t>((2 * V * FTargetHeight + FHeight) / (2 * int64_t{FHeight}));
  };
  if (FTargetWidth == FWidth && FTargetHeight == FHeight) {
    return {Left, FHeight - Bottom, Right - Left, Bottom - Top};
  }
  const int32_t l = x(Left), r = x(Right), t = y(Top), b = y(Bottom);
  return {l, FTargetHeight - b, r - l, b - t};
}

void TGLDevice3D::ApplyStates() {
  if (FBindTarget) FBindTarget();
  const auto vp = ToTarget(FViewport.X, FViewport.Y, FViewport.X + FViewport.Width,
                           FViewport.Y + FViewport.Height);
  glViewport(vp[0], vp[1], vp[2], vp[3]);
  GLDepthRange(FViewport.MinZ, FViewport.MaxZ);
  glUseProgram(FProgram);
  glBindVertexArray(FVao);
  glBindBuffer(GL_ARRAY_BUFFER, FVbo);
  if (FDepthBuffer) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  // Fronts wind clockwise on screen; backs are culled.
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CW);
  glCullFace(GL_BACK);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (FAlphaBlend != 0) {
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glBlendEquation(GL_FUNC_ADD);
  } else {
    glDisable(GL_BLEND);
  }
  glActiveTexture(GL_TEXTURE0);
}

void TGLDevice3D::BeginScene() {
  ApplyStates();
}

void TGLDevice3D::EndScene() {
  glBindVertexArray(0);
  glUseProgram(0);
}

void TGLDevice3D::Clear(const TD3DRect& Rect, uint32_t Flags, uint32_t Color, float Z, uint32_t) {
  if (FBindTarget) FBindTarget();
  const int32_t left = std::clamp(Rect.Left, 0, FWidth), right = std::clamp(Rect.Right, 0, FWidth);
  const int32_t top = std::clamp(Rect.Top, 0, FHeight);
  const int32_t bottom = std::clamp(Rect.Bottom, 0, FHeight);
  if (right <= left || bottom <= top) return;
  glEnable(GL_SCISSOR_TEST);
  const auto box = ToTarget(left, top, right, bottom);
  glScissor(box[0], box[1], box[2], box[3]);
  GLbitfield mask = 0;
  if (Flags & D3DCLEAR_TARGET) {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(Channel(Color, 16), Channel(Color, 8), Channel(Color, 0), Channel(Color, 24));
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if ((Flags & D3DCLEAR_ZBUFFER) && FDepthBuffer) {
    glDepthMask(GL_TRUE);
    GLClearDepth(std::clamp(Z, 0.0f, 1.0f));
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (mask) glClear(mask);
  glDisable(GL_SCISSOR_TEST);
}

void TGLDevice3D::SetViewport(const TD3DViewport& Viewport) {
  FViewport = Viewport;
}

void TGLDevice3D::SetMaterial(const TD3DMaterial& Material) {
  FMaterial = Material;
}

void TGLDevice3D::SetTransform(TD3DTransformState State, const TMatrix4& Matrix) {
  switch (State) {
    case TD3DTransformState::World:
      FWorld = Matrix;
      break;
    case TD3DTransformState::View:
      FView = Matrix;
      break;
    case TD3DTransformState::Projection:
      FProjection = Matrix;
      break;
  }
}

void TGLDevice3D::SetRenderState(uint32_t State, uint32_t Value) {
  if (State == D3DRENDERSTATE_AMBIENT) FAmbient = Value;
  if (State == D3DRENDERSTATE_ALPHABLENDENABLE) FAlphaBlend = Value;
}

uint32_t TGLDevice3D::GetRenderState(uint32_t State) const {
  if (State == D3DRENDERSTATE_AMBIENT) return FAmbient;
  if (State == D3DRENDERSTATE_ALPHABLENDENABLE) return FAlphaBlend;
  return 0;
}

void TGLDevice3D::SetTexture(uint32_t Stage, TDeviceTexture* Texture) {
  if (Stage != 0) return;
  auto* gl = dynamic_cast<TGLTexture*>(Texture);
  FTexture = gl ? gl->Name() : 0;
}

void TGLDevice3D::DrawPrimitive(TD3DPrimitiveType Type, uint32_t VertexFormat,
                                std::span<const TVertex> Vertices, uint32_t) {
  if (Type != TD3DPrimitiveType::TriangleStrip || VertexFormat != D3DFVF_VERTEX ||
      Vertices.size() < 3) {
    return;
  }
  ApplyStates();
  // Fresh storage for every draw: writing into the storage the previous draw still reads
  // would make the driver finish that draw first, one face at a time.
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(Vertices.size_bytes()), Vertices.data(),
               GL_STREAM_DRAW);

  const TMatrix4 m = DepthToGL(Product(Product(FWorld, FView), FProjection));
  glUniformMatrix4fv(FUMatrix, 1, GL_FALSE, &m.M[0][0]);
  // Ambient-only lighting: emissive + material ambient x ambient level; alpha from diffuse.
  const float lit[4] = {
      std::clamp(FMaterial.Emissive.R + FMaterial.Ambient.R * Channel(FAmbient, 16), 0.0f, 1.0f),
      std::clamp(FMaterial.Emissive.G + FMaterial.Ambient.G * Channel(FAmbient, 8), 0.0f, 1.0f),
      std::clamp(FMaterial.Emissive.B + FMaterial.Ambient.B * Channel(FAmbient, 0), 0.0f, 1.0f),
      std::clamp(FMaterial.Diffuse.A, 0.0f, 1.0f)};
  glUniform4fv(FULit, 1, lit);
  glUniform1i(FUTextured, FTexture != 0 ? 1 : 0);
  glUniform1i(FUTex, 0);
  glBindTexture(GL_TEXTURE_2D, FTexture);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, static_cast<GLsizei>(Vertices.size()));
}

std::unique_ptr<TDeviceTexture> TGLDevice3D::CreateTexture(const TDIB& Picture) {
  TTextureCaps caps;
  caps.MaxWidth = caps.MaxHeight = FMaxTextureSize;
  int32_t w = 0, h = 0;
  TextureSize(caps, Picture.Width(), Picture.Height(), w, h);
  std::vector<uint8_t> rgba = Picture.ToRGBA();  // top row first: texture row 0 is the top
  if (w != Picture.Width() || h != Picture.Height()) {
    rgba = Resample(rgba, Picture.Width(), Picture.Height(), w, h);
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  if (name == 0) return nullptr;
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (glGetError() == GL_OUT_OF_MEMORY) {
    glDeleteTextures(1, &name);
    return nullptr;
  }
  return std::make_unique<TGLTexture>(FAlive, name, w, h);
}
