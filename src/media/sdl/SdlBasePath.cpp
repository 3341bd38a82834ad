#include "media/sdl/SdlBasePath.h"

#include <SDL.h>

#include <memory>

std::string SdlBasePath() {
  std::unique_ptr<char, decltype(&SDL_free)> path(SDL_GetBasePath(), &SDL_free);
  return path ? std::string(path.get()) : std::string();
}
