// Tovix's start: the platform creates Form1, loads it, shows it and runs it.
#include "Form1.h"
#include "SystemDlls.h"

#ifdef TOVIX_COVERAGE
// A build that counts coverage writes its counts at the runtime's exit,
// which ExitProcess does not run: they are written first.
extern "C" void __gcov_dump();
#define ExitProcess(code) (__gcov_dump(), ExitProcess(code))
#endif

// Run's exit code is the process's: 0 once the user closes the window, 1 once
// the user has been told why Tovix cannot go on. The process then ends at
// once, the window gone: what the form still holds (fonts, pictures, icons,
// window classes, OLE, libraries), the end of the process frees all together.
// Only the form's making comes before Run, which answers for everything after.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  loadDllsFromSystemFolderOnly();
  try {
    Form1 form;
    ExitProcess(static_cast<UINT>(form.Run()));
  } catch (...) {
    tellUser(nullptr, refusalOfCurrentException());
    return 1;
  }
}

// The runtime calls this where an exception would leave a function that
// throws none, which nothing of Tovix's lets happen. A window program has no
// console to print the exception's name on: replacing the runtime's handler
// keeps the C++ demangler and its printf out of the program file. It ends the
// program as a refusal would, rather than by abort().
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  tellUser(nullptr, kOwnFault, L"");
  ExitProcess(1);
}
}  // namespace __gnu_cxx
