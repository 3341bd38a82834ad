// The plainest start of an SDL program on OpenGL, beside which scripts/bench times the game's
// own: the same hidden window and OpenGL 3.3 core context the game makes headless (SDL's
// offscreen driver, software GL), one clear, one presentation, one pixel read back.
// Exit status 0 when the pixel read is the colour cleared.
#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>

int main(int, char**) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "PlainGLStart: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_Window* window =
      SDL_CreateWindow("PlainGLStart", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                       SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  int status = 1;
  if (context) {
    glClearColor(0.0f, 0.5f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    unsigned char pixel[4] = {};
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    status = pixel[0] == 0 && pixel[2] == 255 ? 0 : 1;
    if (status != 0) std::fprintf(stderr, "PlainGLStart: the pixel read is not the one cleared\n");
    SDL_GL_DeleteContext(context);
  } else {
    std::fprintf(stderr, "PlainGLStart: %s\n", SDL_GetError());
  }
  if (window) SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}
