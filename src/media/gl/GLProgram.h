#pragma once

#include <epoxy/gl.h>

#include <string>

// Compiles and links a vertex + fragment shader pair. A failure raises EDXDrawError with
// Failure as its message (the compiler's log in brackets after it when a shader fails).
GLuint MakeProgram(const char* VertexSource, const char* FragmentSource,
                   const std::string& Failure);
