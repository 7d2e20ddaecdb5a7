// Where the process loads DLLs from, and functions of system DLLs looked up by name.
#include "SystemDlls.h"

void loadDllsFromSystemFolderOnly() {
  const auto setDefaultDllDirectories =
      systemFunction<BOOL(WINAPI*)(DWORD)>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
