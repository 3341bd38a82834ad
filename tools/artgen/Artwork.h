// The game's image-list files, made from the drawn pictures.
#pragma once

#include <string>
#include <vector>

#include "Scenes.h"

namespace art {

struct TListEntry {
  std::string Name;
  TImage Image;
  std::string Kind = "TDIB";
  bool Keyed = false;  // transparent where the picture holds MaskKey
};

struct TListFile {
  std::string FileName;
  std::vector<TListEntry> Entries;
};

// Every file the game reads, in the order of its items.
std::vector<TListFile> ImageLists();
// Writes them into Folder (made if absent); raises on a write error.
void WriteImageLists(const std::string& Folder);
// One PNG with every picture, labelled.
void WriteContactSheet(const std::string& File);

}  // namespace art
