// CommonDialog: the platform's Open dialog, with a filter and the chosen file's name.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <string>

class CommonDialog {
public:
  // Description and pattern pairs, each item separated from the next by a
  // vertical bar: "Icons|*.ico|All files|*.*".
  std::wstring Filter;
  // After ShowOpen, the full path of the chosen file.
  std::wstring FileName;

  // Shows the modal Open dialog owned by the given window, for choosing a
  // file that exists. True when the user chose one; false when the dialog was
  // cancelled or could not be shown, and then FileName is left as it was.
  // Either way the process's current folder is what it was before.
  bool ShowOpen(HWND owner);
};

// The seam through which CommonDialog shows the Open dialog: comdlg32's
// GetOpenFileNameW, unless a test has put its own in place for as long as a
// ScopedOpenDialog lives.
using OpenDialogFunction = std::function<BOOL(OPENFILENAMEW* dialog)>;

class ScopedOpenDialog {
public:
  explicit ScopedOpenDialog(OpenDialogFunction function);
  ~ScopedOpenDialog();
  ScopedOpenDialog(const ScopedOpenDialog&) = delete;
  ScopedOpenDialog& operator=(const ScopedOpenDialog&) = delete;

private:
  OpenDialogFunction previous_;
};
