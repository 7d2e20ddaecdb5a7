// CommonDialog: the platform's Open dialog, with a filter and the chosen file's name.
#include "CommonDialog.h"

#include <algorithm>
#include <utility>

namespace {

// Room for the longest path Windows can hand back, so no choice is cut or refused.
constexpr DWORD kPathCapacity = 32768;

// The common dialog library is loaded the first time the dialog is shown,
// not at start-up: most runs never open it.
BOOL realShowOpen(OPENFILENAMEW* dialog) {
  using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto fn = [] {
    HMODULE comdlg32 = LoadLibraryW(L"comdlg32.dll");
    if (comdlg32 == nullptr) return GetOpenFileNameFn{};
    return reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(GetProcAddress(comdlg32, "GetOpenFileNameW")));
  }();
  return fn != nullptr && fn(dialog);
}

OpenDialogFunction& current() {
  static OpenDialogFunction showOpen = realShowOpen;
  return showOpen;
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
  KeepCurrentFolder() {
    folder_.resize(GetCurrentDirectoryW(0, nullptr));
    folder_.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder_.size()), folder_.data()));
  }
  ~KeepCurrentFolder() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
  }
  KeepCurrentFolder(const KeepCurrentFolder&) = delete;
  KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
  std::wstring folder_;
};

}  // namespace

ScopedOpenDialog::ScopedOpenDialog(OpenDialogFunction function)
    : previous_(std::exchange(current(), std::move(function))) {}

ScopedOpenDialog::~ScopedOpenDialog() { current() = std::move(previous_); }

bool CommonDialog::ShowOpen(HWND owner) {
  const std::wstring filter = platformFilter(Filter);
  std::wstring path(kPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  // Only existing files are offered for choosing, in existing folders; a
  // read-only box would mean nothing here.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  const KeepCurrentFolder folder;
  if (!current()(&dialog)) return false;

  path.resize(path.find(L'\0'));
  FileName = path;
  return true;
}
