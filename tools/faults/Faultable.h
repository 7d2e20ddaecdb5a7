// Included before anything else in each of Tovix's files when built for the
// fault layer: each Win32 function that a correct program can see refused
// (for memory, GDI or USER objects, the desktop, a policy or an access list,
// a missing DLL or function, a dialog) is called through faults::call, which
// knows where it was called from. Calls that fail only on wrong arguments of
// ours pass straight to Windows.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <olectl.h>

#include "Faults.h"

#define FAULT_SITE_LINE(line) __FILE__ ":" #line
#define FAULT_SITE(line) FAULT_SITE_LINE(line)
#define FAULTABLE(function, failure, ...) \
  faults::call(&::function, failure, #function, FAULT_SITE(__LINE__) __VA_OPT__(, ) __VA_ARGS__)

#define GetProcAddress(...) faults::lookUp(__VA_ARGS__, FAULT_SITE(__LINE__))
#define MessageBoxW(...) faults::messageBox(FAULT_SITE(__LINE__), __VA_ARGS__)
#define RegOpenKeyExA(...) faults::openKey(FAULT_SITE(__LINE__), __VA_ARGS__)
#define RegCloseKey(...) faults::closeKey(FAULT_SITE(__LINE__), __VA_ARGS__)

// The window, its controls and texts: the desktop heap and USER objects.
#define RegisterClassExW(...) FAULTABLE(RegisterClassExW, 0, __VA_ARGS__)
#define CreateWindowExW(...) FAULTABLE(CreateWindowExW, nullptr, __VA_ARGS__)
#define SetWindowTextW(...) FAULTABLE(SetWindowTextW, FALSE, __VA_ARGS__)
#define GetCursorPos(...) FAULTABLE(GetCursorPos, FALSE, __VA_ARGS__)

// Drawing, pictures and icons: GDI objects and memory.
#define GetDC(...) FAULTABLE(GetDC, nullptr, __VA_ARGS__)
#define BeginPaint(...) FAULTABLE(BeginPaint, nullptr, __VA_ARGS__)
#define CreateCompatibleDC(...) FAULTABLE(CreateCompatibleDC, nullptr, __VA_ARGS__)
#define CreateFontIndirectW(...) FAULTABLE(CreateFontIndirectW, nullptr, __VA_ARGS__)
#define CreateDIBSection(...) FAULTABLE(CreateDIBSection, nullptr, __VA_ARGS__)
#define CreateBitmap(...) FAULTABLE(CreateBitmap, nullptr, __VA_ARGS__)
#define GetDIBits(...) FAULTABLE(GetDIBits, 0, __VA_ARGS__)
#define CreateIconFromResourceEx(...) FAULTABLE(CreateIconFromResourceEx, nullptr, __VA_ARGS__)
#define CreateIconIndirect(...) FAULTABLE(CreateIconIndirect, nullptr, __VA_ARGS__)
#define GetIconInfo(...) FAULTABLE(GetIconInfo, FALSE, __VA_ARGS__)
#define OleInitialize(...) FAULTABLE(OleInitialize, E_OUTOFMEMORY, __VA_ARGS__)
#define OleLoadPicture(...) FAULTABLE(OleLoadPicture, E_OUTOFMEMORY, __VA_ARGS__)
#define CreateStreamOnHGlobal(...) FAULTABLE(CreateStreamOnHGlobal, E_OUTOFMEMORY, __VA_ARGS__)
#define GlobalAlloc(...) FAULTABLE(GlobalAlloc, nullptr, __VA_ARGS__)

// Libraries, the current folder, texts and the registry.
#define LoadLibraryExW(...) FAULTABLE(LoadLibraryExW, nullptr, __VA_ARGS__)
#define SetCurrentDirectoryW(...) FAULTABLE(SetCurrentDirectoryW, FALSE, __VA_ARGS__)
#define WideCharToMultiByte(...) FAULTABLE(WideCharToMultiByte, 0, __VA_ARGS__)
#define MultiByteToWideChar(...) FAULTABLE(MultiByteToWideChar, 0, __VA_ARGS__)
#define FormatMessageW(...) FAULTABLE(FormatMessageW, 0, __VA_ARGS__)
#define RegQueryValueExA(...) FAULTABLE(RegQueryValueExA, ERROR_NOT_ENOUGH_MEMORY, __VA_ARGS__)
#define RegSetValueExA(...) FAULTABLE(RegSetValueExA, ERROR_NOT_ENOUGH_MEMORY, __VA_ARGS__)
