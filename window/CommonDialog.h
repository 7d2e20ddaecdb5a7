// CommonDialog: the platform's Open dialog, with a filter and the chosen file's name.
#pragma once

#include <windows.h>

#include <string>

class CommonDialog {
public:
  // Description and pattern pairs, each item separated from the next by a
  // vertical bar: "Icons|*.ico|All files|*.*".
  std::wstring Filter;
  // After ShowOpen, the full path of the chosen file.
  std::wstring FileName;

  // Shows the modal Open dialog owned by the given window. True when the user
  // chose a file; false when the dialog was cancelled or could not be shown,
  // and then FileName is left as it was.
  bool ShowOpen(HWND owner);
};
