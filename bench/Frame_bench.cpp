// Frames on OpenGL (SDL's offscreen driver, the software rasterizer). The heaviest frame (the
// 5 x 5 board, the background, the help panel open) in a 640 x 480 window and in full screen
// on a 1920 x 1080 desktop, and beside it, in the same run and context, the plainest OpenGL
// code drawing what that frame draws: the background and each cube face that survives
// culling, then every 2D quad (border pieces, texts, the panel) at the same pixel size.
// Their ratio is the cost of the game's own drawing path. Besides wall time, each reports
// draw_cpu_ms: the CPU the drawing thread spends on a frame (the rasterizer's own threads
// aside), what a player with a real GPU pays. Also: start-up to the first frame.
// The plain frame draws into the window straight away with the game's culling (clockwise
// fronts, backs culled by the GPU), blending (premultiplied over, additive) and filtering
// (linear for the scene and scaled pictures, nearest for texts and 1:1 pictures); the
// window has no depth buffer, so it draws back to front without the depth test the game's
// back surface has.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "../tests/FormRig.h"
#include "DXMain.h"
#include "media/Clock.h"
#include "media/gl/GL.h"
#include "media/DXDraws.h"
#include "media/sdl/DIBCanvas.h"
#include "media/sdl/SdlDisplay.h"
#include "media/sdl/SdlPlatform.h"
#include "media/sdl/SdlText.h"

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libLLVM\nleak:libgallium\nleak:swrast_dri\nleak:libEGL_mesa\nleak:libglapi\n";
}

namespace {

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The drawing thread's CPU per iteration since Start (ThreadCpuMs).
void ReportDrawCpu(benchmark::State& State, double Start) {
  if (State.iterations() == 0) return;
  State.counters["draw_cpu_ms"] =
      (ThreadCpuMs() - Start) / static_cast<double>(State.iterations());
}

bool HaveArtwork() {
  return std::filesystem::exists(std::filesystem::path(ZELGORA_BUILD_DIR) / "Bitmaps" /
                                 "ZelgoraTobrin.dxg");
}

// ---- what one frame draws, recorded on its way to the GL backend ----

struct TFaceDraw {
  std::vector<TVertex> Vertices;
  TMatrix4 Transform;  // world x view x projection in force
  const TDeviceTexture* Texture = nullptr;
  uint32_t Ambient = 0;
};

struct TQuadDraw {
  TD3DRect Rect;  // surface pixels
  int32_t TextureWidth = 0, TextureHeight = 0;
  bool Coverage = false;  // a text: one byte a texel, drawn in a colour
  bool Additive = false;
};

struct TFrameRecord {
  bool On = false;
  std::vector<TFaceDraw> Faces;
  std::vector<TQuadDraw> Quads;
};

TMatrix4 Product(const TMatrix4& A, const TMatrix4& B) {
  TMatrix4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += A.M[i][k] * B.M[k][j];
      r.M[i][j] = s;
    }
  return r;
}

class TRecordingDevice : public TDirect3DDevice7 {
 public:
  TRecordingDevice(TDirect3DDevice7& Inner, TFrameRecord& Record) : FIn(Inner), FRec(Record) {
    for (int i = 0; i < 4; ++i) FWorld.M[i][i] = FView.M[i][i] = FProjection.M[i][i] = 1;
  }
  void BeginScene() override { FIn.BeginScene(); }
  void EndScene() override { FIn.EndScene(); }
  void Clear(const TD3DRect& R, uint32_t F, uint32_t C, float Z, uint32_t S) override {
    FIn.Clear(R, F, C, Z, S);
  }
  void SetViewport(const TD3DViewport& V) override { FIn.SetViewport(V); }
  void SetMaterial(const TD3DMaterial& M) override { FIn.SetMaterial(M); }
  void SetTransform(TD3DTransformState S, const TMatrix4& M) override {
    (S == TD3DTransformState::World  ? FWorld
     : S == TD3DTransformState::View ? FView
                                     : FProjection) = M;
    FIn.SetTransform(S, M);
  }
  void SetRenderState(uint32_t S, uint32_t V) override { FIn.SetRenderState(S, V); }
  uint32_t GetRenderState(uint32_t S) const override { return FIn.GetRenderState(S); }
  void SetTexture(uint32_t Stage, TDeviceTexture* T) override {
    if (Stage == 0) FTexture = T;
    FIn.SetTexture(Stage, T);
  }
  void DrawPrimitive(TD3DPrimitiveType T, uint32_t F, std::span<const TVertex> V,
                     uint32_t Flags) override {
    if (FRec.On) {
      FRec.Faces.push_back({{V.begin(), V.end()},
                            Product(Product(FWorld, FView), FProjection),
                            FTexture,
                            FIn.GetRenderState(D3DRENDERSTATE_AMBIENT)});
    }
    FIn.DrawPrimitive(T, F, V, Flags);
  }
  std::unique_ptr<TDeviceTexture> CreateTexture(const TDIB& P) override {
    return FIn.CreateTexture(P);
  }

 private:
  TDirect3DDevice7& FIn;
  TFrameRecord& FRec;
  TMatrix4 FWorld, FView, FProjection;
  TDeviceTexture* FTexture = nullptr;
};

class TRecordingCanvas : public TCanvas {
 public:
  TRecordingCanvas(TCanvas& Inner, TFrameRecord& Record, TTextRasterizer& Text, double Scale)
      : FIn(Inner), FRec(Record), FText(Text), FScale(Scale) {}
  void TextOut(int32_t X, int32_t Y, const std::string& Text) override {
    Pass();
    if (FRec.On) {
      // The text's box as the GL canvas draws it, from the same rasteriser at the same scale.
      const TTextImage image = FText.Render(Text, Font.Size, Font.Bold, FScale);
      if (image.Width > 0) {
        const auto w = static_cast<int32_t>(image.Width / FScale);
        const auto h = static_cast<int32_t>(image.Height / FScale);
        FRec.Quads.push_back({{X, Y, X + w, Y + h}, image.Width, image.Height, true, false});
      }
    }
    FIn.TextOut(X, Y, Text);
  }
  void MoveTo(int32_t X, int32_t Y) override {
    Pass();
    FIn.MoveTo(X, Y);
  }
  void LineTo(int32_t X, int32_t Y) override {
    Pass();
    FIn.LineTo(X, Y);
  }
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override {
    Pass();
    FIn.Ellipse(X1, Y1, X2, Y2);
  }
  void Release() override { FIn.Release(); }

 private:
  void Pass() {
    FIn.Font = Font;
    FIn.Pen = Pen;
    FIn.Brush = Brush;
  }
  TCanvas& FIn;
  TFrameRecord& FRec;
  TTextRasterizer& FText;
  double FScale;
};

class TRecordingDrawer : public TPictureDrawer {
 public:
  TRecordingDrawer(TPictureDrawer& Inner, TFrameRecord& Record) : FIn(Inner), FRec(Record) {}
  void Draw(TPictureCollectionItem& I, TDirectDrawSurface& D, int32_t X, int32_t Y,
            int32_t P) override {
    const TD3DRect s = I.Patterns(P).Rect;
    Note({X, Y, X + s.Right - s.Left, Y + s.Bottom - s.Top}, I, false);
    FIn.Draw(I, D, X, Y, P);
  }
  void DrawAlpha(TPictureCollectionItem& I, TDirectDrawSurface& D, const TD3DRect& R, int32_t P,
                 int32_t A) override {
    if (A > 0) Note(R, I, false);
    FIn.DrawAlpha(I, D, R, P, A);
  }
  void DrawRotatedAdditive(TPictureCollectionItem& I, TDirectDrawSurface& D, int32_t X, int32_t Y,
                           int32_t W, int32_t H, int32_t P, double CX, double CY, int32_t Angle,
                           int32_t A) override {
    if (A > 0) Note({X, Y, X + W, Y + H}, I, true);
    FIn.DrawRotatedAdditive(I, D, X, Y, W, H, P, CX, CY, Angle, A);
  }

 private:
  void Note(const TD3DRect& R, TPictureCollectionItem& I, bool Additive) {
    if (FRec.On) {
      FRec.Quads.push_back({R, I.Picture().Width(), I.Picture().Height(), false, Additive});
    }
  }
  TPictureDrawer& FIn;
  TFrameRecord& FRec;
};

// The SDL display with the recorders laid over its device, canvas and drawer.
class TRecordingBackend : public TDisplayBackend {
 public:
  TRecordingBackend(std::unique_ptr<TDisplayBackend> Inner, TFrameRecord& Record)
      : FIn(std::move(Inner)), FRec(Record), FText(ZELGORA_BUILD_DIR) {}
  TDisplayMode Open(const TDisplayOpenRequest& R) override {
    FDevice.reset();
    FCanvas.reset();
    FDrawer.reset();
    const TDisplayMode mode = FIn->Open(R);
    const auto* gl = static_cast<TSdlGLDisplay*>(FIn.get());
    const double scale = static_cast<double>(gl->Picture().Height) / R.SurfaceHeight;
    if (FIn->Device()) FDevice = std::make_unique<TRecordingDevice>(*FIn->Device(), FRec);
    if (FIn->Canvas())
      FCanvas = std::make_unique<TRecordingCanvas>(*FIn->Canvas(), FRec, FText, scale);
    if (FIn->PictureDrawer())
      FDrawer = std::make_unique<TRecordingDrawer>(*FIn->PictureDrawer(), FRec);
    return mode;
  }
  void Close() override {
    FDevice.reset();
    FCanvas.reset();
    FDrawer.reset();
    FIn->Close();
  }
  TDirect3DDevice7* Device() override { return FDevice.get(); }
  TCanvas* Canvas() override { return FCanvas.get(); }
  TPictureDrawer* PictureDrawer() override { return FDrawer.get(); }
  bool HasZBuffer() const override { return FIn->HasZBuffer(); }
  TSurfaceState RestoreSurfaces() override { return FIn->RestoreSurfaces(); }
  void Present(const TDXDrawOptions& O) override { FIn->Present(O); }
  TSdlGLDisplay& GL() { return *static_cast<TSdlGLDisplay*>(FIn.get()); }

 private:
  std::unique_ptr<TDisplayBackend> FIn;
  TFrameRecord& FRec;
  TTextRasterizer FText;
  std::unique_ptr<TRecordingDevice> FDevice;
  std::unique_ptr<TRecordingCanvas> FCanvas;
  std::unique_ptr<TRecordingDrawer> FDrawer;
};

// ---- the game, brought to its heaviest frame ----

struct TGame {
  THeldKeys Keys;
  TManualClock Clock;
  TFrameRecord Record;
  TSdlPlatform Platform;
  TRecordingBackend* Backend = nullptr;
  std::unique_ptr<TMainForm> Form;

  // Full screen on a desktop of Width x Height, or a 640 x 480 window when Width is 0.
  explicit TGame(int32_t Width = 0, int32_t Height = 0)
      : Platform(TPlatformOptions{.Headless = true,
                                  .FontFolder = ZELGORA_BUILD_DIR,
                                  .ScreenWidth = Width,
                                  .ScreenHeight = Height}) {
    TFormServices s;
    s.Window = Platform.MakeFormWindow();
    auto backend = std::make_unique<TRecordingBackend>(Platform.MakeDisplay(), Record);
    Backend = backend.get();
    s.Display = std::move(backend);
    s.Keys = &Keys;
    s.Clock = &Clock;
    s.DataDir = ZELGORA_BUILD_DIR;
    s.Seed = 1;
    s.PictureCanvas = MakeDIBCanvasMaker(ZELGORA_BUILD_DIR);
    Form = std::make_unique<TMainForm>(std::move(s));
    if (Width > 0) Form->PrepareFullScreen();  // as the program starts in full screen
    Platform.Attach(Form->DXDraw);
    Platform.Show();
  }

  // Straight to the last level (a solved board of level 3 and Alt held), settled, with the
  // help panel open when asked.
  bool ToBoard5x5(bool Help) {
    TMainForm& f = *Form;
    GoToLastLevel(f);
    if (Help) {
      f.FormKeyDown(VK::F1, {});
      for (int i = 0; i < 60; ++i) f.DXTimerTimer(0);  // the panel opens
    }
    return f.BoardRows == 5 && f.BackgroundVisible && (!Help || f.PanelHeight > 0);
  }
};

void BM_GameFrame5x5(benchmark::State& State) {
  if (!HaveArtwork()) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  TGame game;
  if (!game.ToBoard5x5(false)) State.SkipWithError("not on the 5 x 5 board");
  for (auto _ : State) {
    game.Form->DXTimerTimer(0);
    glFinish();  // the software rasterizer draws behind the calls: wait for the picture
  }
}
BENCHMARK(BM_GameFrame5x5)->Unit(benchmark::kMillisecond);

// The heaviest frame: the board, its background, the help panel's blended background and its
// thirteen lines on top of the borders and head-up texts. Argument: the desktop's width in
// full screen (its height 9/16 of it), or 0 for the 640 x 480 window.
void BM_HeaviestFrame(benchmark::State& State) {
  if (!HaveArtwork()) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  const auto w = static_cast<int32_t>(State.range(0));
  TGame game(w, w * 9 / 16);
  if (!game.ToBoard5x5(true)) State.SkipWithError("help panel not open on the 5 x 5 board");
  const TPictureRect picture = game.Backend->GL().Picture();
  State.SetLabel(std::to_string(picture.Width) + "x" + std::to_string(picture.Height));
  const double cpu = ThreadCpuMs();
  for (auto _ : State) {
    game.Form->DXTimerTimer(0);
    glFinish();
  }
  ReportDrawCpu(State, cpu);
}
BENCHMARK(BM_HeaviestFrame)->Arg(0)->Arg(1920)->Unit(benchmark::kMillisecond);

// ---- the same frame by the plainest OpenGL code ----

GLuint Program(const char* Vs, const char* Fs) {
  const GLuint program = glCreateProgram();
  for (auto [type, src] : {std::pair{GL_VERTEX_SHADER, Vs}, std::pair{GL_FRAGMENT_SHADER, Fs}}) {
    const GLuint sh = glCreateShader(type);
    glShaderSource(sh, 1, &src, nullptr);
    glCompileShader(sh);
    glAttachShader(program, sh);
    glDeleteShader(sh);
  }
  glLinkProgram(program);
  return program;
}

void BM_PlainFrame(benchmark::State& State) {
  if (!HaveArtwork()) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  const auto w = static_cast<int32_t>(State.range(0));
  TGame game(w, w * 9 / 16);
  if (!game.ToBoard5x5(true)) {
    State.SkipWithError("help panel not open on the 5 x 5 board");
    return;
  }
  game.Record.On = true;
  game.Form->DXTimerTimer(0);
  game.Record.On = false;
  const TPictureRect picture = game.Backend->GL().Picture();
  int outW = 0, outH = 0;
  SDL_GL_GetDrawableSize(game.Platform.Window(), &outW, &outH);
  if (w > 0) outW = w, outH = w * 9 / 16;
  SDL_GL_MakeCurrent(game.Platform.Window(), SDL_GL_GetCurrentContext());

  // The faces in front of the camera, taken to clip space once; the GPU culls the backs.
  struct TFace {
    GLuint Texture;
    float Lit;
  };
  std::vector<float> faceData;  // x y z w u v
  std::vector<TFace> faces;
  std::map<const TDeviceTexture*, GLuint> textures;
  for (const TFaceDraw& d : game.Record.Faces) {
    for (size_t f = 0; f + 4 <= d.Vertices.size(); f += 4) {
      std::array<std::array<float, 4>, 4> clip{};
      bool behind = false;
      for (int v = 0; v < 4; ++v) {
        const TVertex& p = d.Vertices[f + static_cast<size_t>(v)];
        for (int j = 0; j < 4; ++j)
          clip[v][j] = p.X * d.Transform.M[0][j] + p.Y * d.Transform.M[1][j] +
                       p.Z * d.Transform.M[2][j] + d.Transform.M[3][j];
        behind = behind || clip[v][3] <= 0;
      }
      if (behind) continue;
      for (int v = 0; v < 4; ++v) {
        const TVertex& p = d.Vertices[f + static_cast<size_t>(v)];
        // The device's depth range 0..1 taken to OpenGL's -1..1.
        faceData.insert(faceData.end(), {clip[v][0], clip[v][1], 2 * clip[v][2] - clip[v][3],
                                         clip[v][3], p.TU, p.TV});
      }
      auto& t = textures[d.Texture];
      if (t == 0 && d.Texture) {
        std::vector<uint8_t> texels(
            static_cast<size_t>(d.Texture->Width()) * static_cast<size_t>(d.Texture->Height()) * 4,
            180);
        glGenTextures(1, &t);
        glBindTexture(GL_TEXTURE_2D, t);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, d.Texture->Width(), d.Texture->Height(), 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
      }
      faces.push_back({t, static_cast<float>(d.Ambient & 0xFF) / 255.0f});
    }
  }

  // The 2D quads in window pixels, each with a texture of its own size.
  struct TQuad {
    GLuint Texture;
    bool Coverage, Additive;
  };
  std::vector<float> quadData;  // x y u v, already in clip space
  std::vector<TQuad> quads;
  std::vector<GLuint> quadTextures;
  const double sx = static_cast<double>(picture.Width) / 640.0;
  const double sy = static_cast<double>(picture.Height) / 480.0;
  for (const TQuadDraw& q : game.Record.Quads) {
    auto x = [&](int32_t X) { return static_cast<float>((X * sx) / picture.Width * 2 - 1); };
    auto y = [&](int32_t Y) { return static_cast<float>(1 - (Y * sy) / picture.Height * 2); };
    const float l = x(q.Rect.Left), r = x(q.Rect.Right), t = y(q.Rect.Top), b = y(q.Rect.Bottom);
    quadData.insert(quadData.end(), {l, t, 0, 0, r, t, 1, 0, l, b, 0, 1, r, b, 1, 1});
    const size_t texels =
        static_cast<size_t>(q.TextureWidth) * static_cast<size_t>(q.TextureHeight);
    std::vector<uint8_t> data(texels * (q.Coverage ? 1 : 4), 128);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, q.Coverage ? GL_R8 : GL_RGBA8, q.TextureWidth, q.TextureHeight,
                 0, q.Coverage ? GL_RED : GL_RGBA, GL_UNSIGNED_BYTE, data.data());
    const GLint filter = q.Coverage || (sx == 1.0 && !q.Additive) ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    quadTextures.push_back(name);
    quads.push_back({name, q.Coverage, q.Additive});
  }

  const GLuint faceProgram = Program(R"(#version 330 core
layout(location = 0) in vec4 p; layout(location = 1) in vec2 t; out vec2 v;
void main() { gl_Position = p; v = t; })",
                                     R"(#version 330 core
in vec2 v; out vec4 o; uniform sampler2D s; uniform float lit;
void main() { o = vec4(texture(s, v).rgb * lit, 1.0); })");
  const GLuint quadProgram = Program(R"(#version 330 core
layout(location = 0) in vec2 p; layout(location = 1) in vec2 t; out vec2 v;
void main() { gl_Position = vec4(p, 0.0, 1.0); v = t; })",
                                     R"(#version 330 core
in vec2 v; out vec4 o; uniform sampler2D s; uniform bool coverage;
void main() { vec4 c = texture(s, v); o = coverage ? vec4(0.26, 0.16, 0.98, 1.0) * c.r : c; })");
  const GLint litAt = glGetUniformLocation(faceProgram, "lit");
  const GLint coverageAt = glGetUniformLocation(quadProgram, "coverage");
  GLuint vao[2] = {}, vbo[2] = {};
  glGenVertexArrays(2, vao);
  glGenBuffers(2, vbo);
  glBindVertexArray(vao[0]);
  glBindBuffer(GL_ARRAY_BUFFER, vbo[0]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(faceData.size() * sizeof(float)),
               faceData.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 24, nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 24, reinterpret_cast<const void*>(16));
  glBindVertexArray(vao[1]);
  glBindBuffer(GL_ARRAY_BUFFER, vbo[1]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(quadData.size() * sizeof(float)),
               quadData.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));

  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_SCISSOR_TEST);
  glFrontFace(GL_CW);
  glCullFace(GL_BACK);
  State.SetLabel(std::to_string(picture.Width) + "x" + std::to_string(picture.Height));
  State.counters["faces"] = static_cast<double>(faces.size());
  State.counters["quads"] = static_cast<double>(quads.size());
  const double cpu = ThreadCpuMs();
  for (auto _ : State) {
    glViewport(0, 0, outW, outH);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The picture's place in the window; back to front (background first), so no depth test.
    glViewport(picture.X, outH - picture.Y - picture.Height, picture.Width, picture.Height);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glUseProgram(faceProgram);
    glBindVertexArray(vao[0]);
    for (size_t i = 0; i < faces.size(); ++i) {
      glBindTexture(GL_TEXTURE_2D, faces[i].Texture);
      glUniform1f(litAt, faces[i].Lit);
      glDrawArrays(GL_TRIANGLE_STRIP, static_cast<GLint>(i * 4), 4);
    }
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glUseProgram(quadProgram);
    glBindVertexArray(vao[1]);
    for (size_t i = 0; i < quads.size(); ++i) {
      glBlendFunc(GL_ONE, quads[i].Additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
      glUniform1i(coverageAt, quads[i].Coverage ? 1 : 0);
      glBindTexture(GL_TEXTURE_2D, quads[i].Texture);
      glDrawArrays(GL_TRIANGLE_STRIP, static_cast<GLint>(i * 4), 4);
    }
    SDL_GL_SwapWindow(game.Platform.Window());
    glFinish();
  }
  ReportDrawCpu(State, cpu);
  for (auto& [key, name] : textures) glDeleteTextures(1, &name);
  glDeleteTextures(static_cast<GLsizei>(quadTextures.size()), quadTextures.data());
  glDeleteBuffers(2, vbo);
  glDeleteVertexArrays(2, vao);
  glDeleteProgram(faceProgram);
  glDeleteProgram(quadProgram);
}
BENCHMARK(BM_PlainFrame)->Arg(0)->Arg(1920)->Unit(benchmark::kMillisecond);

void BM_StartToFirstFrame(benchmark::State& State) {
  if (!HaveArtwork()) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  for (auto _ : State) {
    TGame game;
    game.Form->DXTimerTimer(0);
    benchmark::DoNotOptimize(game.Form.get());
  }
}
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
