// Test helpers for windows: texts read, real input sent, dialogs answered, files made.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

std::wstring windowText(HWND window);

// Presses and releases keys as the keyboard would: virtual keys (Shift held
// if asked), or the characters of a text, each typed as itself.
void pressKey(WORD key, bool shift = false);
void typeText(const std::wstring& text);

// Moves the pointer as the mouse would, to a point of the screen.
void movePointer(POINT point);

// Moves the pointer to the screen's top-left corner, away from where windows
// appear. Wine learns where the pointer is only from input over one of its
// windows, so a small window is put there for the move.
void parkPointer();

// Answers the next `count` dialog boxes that windows of the given thread show,
// one after the other, from a thread of its own: `answer` reads what it needs
// and presses a button. Finished when the object goes, or at wait().
class DialogAnswers {
public:
  DialogAnswers(DWORD uiThread, int count, std::function<void(HWND dialog)> answer);
  ~DialogAnswers() { wait(); }
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;
  void wait();

private:
  std::thread thread_;
};

void pressButton(HWND dialog, int id);

// In an Open dialog: goes to the folder and gives the names its file list
// then holds, once filled; the text of the file type box.
std::vector<std::wstring> listedIn(HWND openDialog, const std::wstring& folder);
std::wstring fileTypeOf(HWND openDialog);
// Types a path into the file name box and presses Open.
void choose(HWND openDialog, const std::wstring& path);

// A file of the test's own under the Wine prefix's temporary folder, with
// the folders on its path made as needed.
std::wstring makeTempFile(const std::wstring& relativePath);
