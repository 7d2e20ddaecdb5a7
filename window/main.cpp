// Tovix's start: the platform creates Form1, loads it, shows it and runs it.
#include "Form1.h"

#include <objbase.h>

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
