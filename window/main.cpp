// Tovix's start: the platform creates Form1, loads it, shows it and runs it.
#include "Form1.h"

#include <objbase.h>

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The picture loader and the Open dialog want a single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int exitCode = 0;
  {
    Form1 form;
    exitCode = form.Run();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}

// A window program has no console to print an uncaught exception's name on,
// so the runtime's terminate handler does not need to demangle it; replacing
// it keeps the C++ demangler and its printf out of the program file.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
