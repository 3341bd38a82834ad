// The commands of zelgora-dxg. Each raises EDXError (or a JSON error) with one line of text.
#pragma once

#include <ostream>
#include <string>

// One line per item: index, name, picture kind, size, bit count, pattern size and count,
// transparency.
void ListImages(const std::string& File, std::ostream& Out);
// Every picture as DIR/<name>.png, plus DIR/manifest.json that packs them back.
void ExtractImages(const std::string& File, const std::string& Dir);
// An image-list file from a JSON manifest (see README.md); PNG paths are relative to it.
void PackImages(const std::string& OutFile, const std::string& Manifest);
