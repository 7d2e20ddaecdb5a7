// CommonDialog: the platform's Open dialog, with a filter and the chosen file's name.
#include "CommonDialog.h"

#include "Refusal.h"

#include <algorithm>

namespace {

// Room for the longest path Windows can hand back, so no choice is cut or refused.
constexpr DWORD kPathCapacity = 32768;

constexpr wchar_t kNoDialog[] = L"Tovix could not show the Open dialog.";

using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
using CommDlgExtendedErrorFn = DWORD(WINAPI*)();

// The dialog's own codes have no text in the system's message table
// (CDERR_DIALOGFAILURE, 0xFFFF, would read as another error there): the code
// is given as comdlg32 gives it, in 16 bits.
void tellDialogFailure(HWND owner, DWORD code) {
  wchar_t reason[] = L"Common dialog error 0x0000.";
  for (int digit = 0; digit < 4; ++digit) reason[25 - digit] = L"0123456789ABCDEF"[(code >> 4 * digit) & 0xF];
  tellUser(owner, kNoDialog, reason);
}

// The platform wants the filter's items separated by NULs and ended by two.
std::wstring platformFilter(std::wstring filter) {
  std::ranges::replace(filter, L'|', L'\0');
  filter.append(2, L'\0');
  return filter;
}

// The Open dialog makes the chosen file's folder the process's current one,
// whatever its flags say, and the process would then hold that folder open (a
// USB stick could not be ejected) until it ends. This puts the old one back.
class KeepCurrentFolder {
public:
  KeepCurrentFolder() : folder_(GetCurrentDirectoryW(0, nullptr), L'\0') {
    folder_.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder_.size()), folder_.data()));
  }
  // Where the old folder is gone, or no longer open to the user, the
  // process stays in the one the dialog left it in.
  ~KeepCurrentFolder() { SetCurrentDirectoryW(folder_.c_str()); }
  KeepCurrentFolder(const KeepCurrentFolder&) = delete;
  KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
  std::wstring folder_;
};

}  // namespace

bool CommonDialog::ShowOpen(HWND owner) {
  if (!comdlg32_) comdlg32_.reset(LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  FARPROC getOpenFileName = nullptr, extendedError = nullptr;
  if (comdlg32_ && (getOpenFileName = GetProcAddress(comdlg32_.get(), "GetOpenFileNameW")) != nullptr)
    extendedError = GetProcAddress(comdlg32_.get(), "CommDlgExtendedError");
  if (extendedError == nullptr) {
    tellUser(owner, {kNoDialog, GetLastError()});
    return false;
  }

  const std::wstring filter = platformFilter(Filter);
  std::wstring path(kPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();  // no filter: an empty list
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  // Only existing files are offered for choosing, in existing folders; a
  // read-only box would mean nothing here.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  const KeepCurrentFolder folder;
  if (!reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(getOpenFileName))(&dialog)) {
    // Zero: the user cancelled. Anything else: the dialog failed.
    const DWORD code = reinterpret_cast<CommDlgExtendedErrorFn>(reinterpret_cast<void*>(extendedError))();
    if (code != 0) tellDialogFailure(owner, code);
    return false;
  }

  path.resize(path.find(L'\0'));
  FileName = path;
  return true;
}
