#pragma once

#include <string>

// The folder that holds the program file, with a trailing slash ("" when unknown).
std::string SdlBasePath();
