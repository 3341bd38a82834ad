#include "media/sdl/InstalledData.h"

#include "media/sdl/SdlBasePath.h"

// Set by the build from the install directories, so that a moved tree still finds its data.
#ifndef ZELGORA_DATA_RELATIVE
#define ZELGORA_DATA_RELATIVE ""
#endif
#ifndef ZELGORA_DATA_INSTALLED
#define ZELGORA_DATA_INSTALLED ""
#endif

TDataPlaces ProgramDataPlaces() {
  TDataPlaces places;
  places.ProgramFolder = SdlBasePath();
  places.RelativeToProgram = ZELGORA_DATA_RELATIVE;
  places.InstallFolder = ZELGORA_DATA_INSTALLED;
  return places;
}
