// The program's icon: a picture cube as the game shows it, drawn for each size so that it
// stays legible down to 16 pixels.
#pragma once

#include <string>
#include <vector>

namespace art {

// The square sizes of the PNG icons.
inline const std::vector<int> IconSizes = {16, 32, 48, 64, 128, 256};

// Writes zelgora-<size>.png for every size and the scalable zelgora.svg into Folder (made if
// absent); raises on a write error.
void WriteIcons(const std::string& Folder);

}  // namespace art
