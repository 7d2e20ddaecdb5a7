// Where the process loads DLLs from, and functions of system DLLs looked up by name.
#pragma once

#include <windows.h>

// Lets Windows load DLLs for this process from the system folder only, so that
// a DLL planted next to the program is never loaded in place of a system one.
// Looked up by name: systems without the call still start, as does one that
// refuses it (the program then searches as Windows does by default).
void loadDllsFromSystemFolderOnly();

// A function of a system DLL that some Windows lack (or the library itself,
// none given): looked up by name at each use, so that Tovix still starts
// without it, and a lookup Windows refused once is not held against the next.
template <typename Fn>
Fn systemFunction(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}
