#include "media/gl/GLProgram.h"

#include "media/DXClass.h"

namespace {

GLuint Compile(GLenum Type, const char* Source, const std::string& Failure) {
  const GLuint shader = glCreateShader(Type);
  const char* const parts[] = {GLShaderPrologue, Source};
  glShaderSource(shader, 2, parts, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    glDeleteShader(shader);
    throw EDXDrawError(Failure + " (" + log + ")");
  }
  return shader;
}

}  // namespace

GLuint MakeProgram(const char* VertexSource, const char* FragmentSource,
                   const std::string& Failure) {
  const GLuint vs = Compile(GL_VERTEX_SHADER, VertexSource, Failure);
  GLuint fs = 0;
  try {
    fs = Compile(GL_FRAGMENT_SHADER, FragmentSource, Failure);
  } catch (...) {
    glDeleteShader(vs);
    throw;
  }
  const GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    glDeleteProgram(program);
    throw EDXDrawError(Failure);
  }
  return program;
}
