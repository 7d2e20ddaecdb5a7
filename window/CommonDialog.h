// CommonDialog: the platform's Open dialog, with a filter and the chosen file's name.
#pragma once

#include "Handles.h"

#include <commdlg.h>

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
  // cancelled, or could not be shown, which the user is then told in a box
  // captioned "Tovix"; either way FileName is left as it was. The process's
  // current folder is what it was before.
  bool ShowOpen(HWND owner);

private:
  // The common dialog library, loaded when the dialog is first shown (most
  // runs never open it), and held as long as this object lives: what the
  // dialog leaves behind in the process may still run its code.
  UniqueLibrary comdlg32_;
};
