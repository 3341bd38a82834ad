#include "win/Console.h"

#include <windows.h>

#include <cstdio>

namespace {

bool Leads(DWORD Which) {
  const HANDLE h = GetStdHandle(Which);
  return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void AttachStartingConsole() {
  const bool out = Leads(STD_OUTPUT_HANDLE), err = Leads(STD_ERROR_HANDLE);
  if (out && err) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started from the desktop: nowhere to go
  SetConsoleOutputCP(CP_UTF8);
  if (!out) static_cast<void>(std::freopen("CONOUT$", "w", stdout));
  if (!err) static_cast<void>(std::freopen("CONOUT$", "w", stderr));
}
