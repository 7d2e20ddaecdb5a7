// CommonDialog: the platform's Open dialog, with a filter and the chosen file's name.
#include "CommonDialog.h"

#include <commdlg.h>

#include <algorithm>

namespace {

// Room for the longest path Windows can hand back, so no choice is cut or refused.
constexpr DWORD kPathCapacity = 32768;

// The common dialog library is loaded the first time the dialog is shown,
// not at start-up: most runs never open it.
using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);

GetOpenFileNameFn getOpenFileName() {
  static const auto fn = [] {
    HMODULE comdlg32 = LoadLibraryW(L"comdlg32.dll");
    if (comdlg32 == nullptr) return GetOpenFileNameFn{};
    return reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(GetProcAddress(comdlg32, "GetOpenFileNameW")));
  }();
  return fn;
}

// The platform wants the filter's items separated by NULs and ended by two.
std::wstring platformFilter(std::wstring filter) {
  std::ranges::replace(filter, L'|', L'\0');
  filter.append(2, L'\0');
  return filter;
}

}  // namespace

bool CommonDialog::ShowOpen(HWND owner) {
  const auto showOpen = getOpenFileName();
  if (showOpen == nullptr) return false;

  const std::wstring filter = platformFilter(Filter);
  std::wstring path(kPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!showOpen(&dialog)) return false;

  path.resize(path.find(L'\0'));
  FileName = path;
  return true;
}
