// Included before anything else in each of Tovix's files when built for the
// fault layer: each Win32 function whose documentation says it can fail is
// called through faults::call, which knows where it was called from.
#pragma once

#include <windows.h>

#include <bcrypt.h>
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

// 32-bit Windows has no ...LongPtr functions: the headers name the Long ones.
#undef SetWindowLongPtrW
#undef GetWindowLongPtrW
#undef SetClassLongPtrW
#undef GetClassLongPtrW
#define SetWindowLongPtrW(...) FAULTABLE(SetWindowLongW, 0, __VA_ARGS__)
#define GetWindowLongPtrW(...) FAULTABLE(GetWindowLongW, 0, __VA_ARGS__)
#define SetClassLongPtrW(...) FAULTABLE(SetClassLongW, 0, __VA_ARGS__)
#define GetClassLongPtrW(...) FAULTABLE(GetClassLongW, 0, __VA_ARGS__)

// Windows and their messages.
#define RegisterClassExW(...) FAULTABLE(RegisterClassExW, 0, __VA_ARGS__)
#define UnregisterClassW(...) FAULTABLE(UnregisterClassW, FALSE, __VA_ARGS__)
#define CreateWindowExW(...) FAULTABLE(CreateWindowExW, nullptr, __VA_ARGS__)
#define DestroyWindow(...) FAULTABLE(DestroyWindow, FALSE, __VA_ARGS__)
#define GetMessageW(...) FAULTABLE(GetMessageW, -1, __VA_ARGS__)
#define SetWindowTextW(...) FAULTABLE(SetWindowTextW, FALSE, __VA_ARGS__)
#define GetWindowTextW(...) FAULTABLE(GetWindowTextW, 0, __VA_ARGS__)
#define GetWindowTextLengthW(...) FAULTABLE(GetWindowTextLengthW, 0, __VA_ARGS__)
#define SetWindowPos(...) FAULTABLE(SetWindowPos, FALSE, __VA_ARGS__)
#define GetClientRect(...) FAULTABLE(GetClientRect, FALSE, __VA_ARGS__)
#define InvalidateRect(...) FAULTABLE(InvalidateRect, FALSE, __VA_ARGS__)
#define RedrawWindow(...) FAULTABLE(RedrawWindow, FALSE, __VA_ARGS__)
#define SetFocus(...) FAULTABLE(SetFocus, nullptr, __VA_ARGS__)
#define GetNextDlgTabItem(...) FAULTABLE(GetNextDlgTabItem, nullptr, __VA_ARGS__)
#define InitCommonControlsEx(...) FAULTABLE(InitCommonControlsEx, FALSE, __VA_ARGS__)
#define LoadCursorW(...) FAULTABLE(LoadCursorW, nullptr, __VA_ARGS__)
#define GetCursorPos(...) FAULTABLE(GetCursorPos, FALSE, __VA_ARGS__)
#define GetMonitorInfoW(...) FAULTABLE(GetMonitorInfoW, FALSE, __VA_ARGS__)
#define GetSystemMetrics(...) FAULTABLE(GetSystemMetrics, 0, __VA_ARGS__)
#define AdjustWindowRectEx(...) FAULTABLE(AdjustWindowRectEx, FALSE, __VA_ARGS__)

// Drawing, pictures and icons.
#define GetDC(...) FAULTABLE(GetDC, nullptr, __VA_ARGS__)
#define ReleaseDC(...) FAULTABLE(ReleaseDC, 0, __VA_ARGS__)
#define BeginPaint(...) FAULTABLE(BeginPaint, nullptr, __VA_ARGS__)
#define CreateCompatibleDC(...) FAULTABLE(CreateCompatibleDC, nullptr, __VA_ARGS__)
#define DeleteDC(...) FAULTABLE(DeleteDC, FALSE, __VA_ARGS__)
#define SelectObject(...) FAULTABLE(SelectObject, nullptr, __VA_ARGS__)
#define BitBlt(...) FAULTABLE(BitBlt, FALSE, __VA_ARGS__)
#define FrameRect(...) FAULTABLE(FrameRect, 0, __VA_ARGS__)
#define FillRect(...) FAULTABLE(FillRect, 0, __VA_ARGS__)
#define InflateRect(...) FAULTABLE(InflateRect, FALSE, __VA_ARGS__)
#define GetSysColorBrush(...) FAULTABLE(GetSysColorBrush, nullptr, __VA_ARGS__)
#define GetStockObject(...) FAULTABLE(GetStockObject, nullptr, __VA_ARGS__)
#define GetObjectW(...) FAULTABLE(GetObjectW, 0, __VA_ARGS__)
#define DeleteObject(...) FAULTABLE(DeleteObject, FALSE, __VA_ARGS__)
#define CreateFontIndirectW(...) FAULTABLE(CreateFontIndirectW, nullptr, __VA_ARGS__)
#define CreateDIBSection(...) FAULTABLE(CreateDIBSection, nullptr, __VA_ARGS__)
#define CreateBitmap(...) FAULTABLE(CreateBitmap, nullptr, __VA_ARGS__)
#define GetDIBits(...) FAULTABLE(GetDIBits, 0, __VA_ARGS__)
#define CreateIconFromResourceEx(...) FAULTABLE(CreateIconFromResourceEx, nullptr, __VA_ARGS__)
#define CreateIconIndirect(...) FAULTABLE(CreateIconIndirect, nullptr, __VA_ARGS__)
#define GetIconInfo(...) FAULTABLE(GetIconInfo, FALSE, __VA_ARGS__)
#define DestroyIcon(...) FAULTABLE(DestroyIcon, FALSE, __VA_ARGS__)
#define OleInitialize(...) FAULTABLE(OleInitialize, E_OUTOFMEMORY, __VA_ARGS__)
#define OleLoadPicture(...) FAULTABLE(OleLoadPicture, E_OUTOFMEMORY, __VA_ARGS__)
#define CreateStreamOnHGlobal(...) FAULTABLE(CreateStreamOnHGlobal, E_OUTOFMEMORY, __VA_ARGS__)

// The program file's resources, memory, libraries and texts.
#define FindResourceW(...) FAULTABLE(FindResourceW, nullptr, __VA_ARGS__)
#define LoadResource(...) FAULTABLE(LoadResource, nullptr, __VA_ARGS__)
#define LockResource(...) FAULTABLE(LockResource, nullptr, __VA_ARGS__)
#define SizeofResource(...) FAULTABLE(SizeofResource, 0, __VA_ARGS__)
#define GlobalAlloc(...) FAULTABLE(GlobalAlloc, nullptr, __VA_ARGS__)
#define GlobalLock(...) FAULTABLE(GlobalLock, nullptr, __VA_ARGS__)
#define GetModuleHandleW(...) FAULTABLE(GetModuleHandleW, nullptr, __VA_ARGS__)
#define LoadLibraryExW(...) FAULTABLE(LoadLibraryExW, nullptr, __VA_ARGS__)
#define FreeLibrary(...) FAULTABLE(FreeLibrary, FALSE, __VA_ARGS__)
#define GetCurrentDirectoryW(...) FAULTABLE(GetCurrentDirectoryW, 0, __VA_ARGS__)
#define SetCurrentDirectoryW(...) FAULTABLE(SetCurrentDirectoryW, FALSE, __VA_ARGS__)
#define WideCharToMultiByte(...) FAULTABLE(WideCharToMultiByte, 0, __VA_ARGS__)
#define MultiByteToWideChar(...) FAULTABLE(MultiByteToWideChar, 0, __VA_ARGS__)
#define FormatMessageW(...) FAULTABLE(FormatMessageW, 0, __VA_ARGS__)
#define QueryPerformanceCounter(...) FAULTABLE(QueryPerformanceCounter, FALSE, __VA_ARGS__)
