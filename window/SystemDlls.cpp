// Where the process loads DLLs from: the system folder only.
#include "SystemDlls.h"

#include <windows.h>

void loadDllsFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const auto setDefaultDllDirectories =
      kernel32 != nullptr ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                                reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                          : nullptr;
  if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
