#pragma once

#include <string>

#include "media/gl/GL.h"

// Compiles and links a vertex + fragment shader pair, each source after the platform's
// shader prologue (version line and precision). A failure raises EDXDrawError with
// Failure as its message (the compiler's log in brackets after it when a shader fails).
GLuint MakeProgram(const char* VertexSource, const char* FragmentSource,
                   const std::string& Failure);
