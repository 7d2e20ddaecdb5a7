// Tovix's start: the platform creates Form1, loads it, shows it and runs it.
#include "Form1.h"

#include <cstdlib>

namespace {

// Lets Windows load DLLs for this process from the system folder only, so that
// a DLL planted next to the program is never loaded in place of a system one.
// Resolved at run time: systems without the call still start.
void loadDllsFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  loadDllsFromSystemFolderOnly();
  Form1 form;
  return form.Run();
}

// A window program has no console to print an uncaught exception's name on,
// so the runtime's terminate handler does not need to demangle it; replacing
// it keeps the C++ demangler and its printf out of the program file.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
