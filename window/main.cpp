// Tovix's start: the platform creates Form1, loads it, shows it and runs it.
#include "Form1.h"
#include "SystemDlls.h"

#include <cstdlib>

// Run's exit code is the process's: 0 once the user closes the window, 1 once
// the user has been told what Windows refused.
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
