// Where the process loads DLLs from: the system folder only.
#pragma once

// Lets Windows load DLLs for this process from the system folder only, so that
// a DLL planted next to the program is never loaded in place of a system one.
// Resolved at run time: systems without the call still start, as does one
// that refuses it (the program then searches as Windows does by default).
void loadDllsFromSystemFolderOnly();
