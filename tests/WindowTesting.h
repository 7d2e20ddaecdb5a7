// Test helpers for windows: messages pumped, texts read, the Open dialog answered.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Delivers every message waiting for this thread's windows.
void pumpMessages();

std::wstring windowText(HWND window);

// Presses and releases a key as the keyboard would, Shift held if asked.
void pressKey(WORD key, bool shift = false);

// Moves the pointer as the mouse would, to a point of the screen.
void movePointer(POINT point);

// Moves the pointer to the screen's top-left corner, away from where windows
// appear. Wine learns where the pointer is only from input over one of its
// windows, so a small window is put there for the move.
void parkPointer();

// Answers the next Open dialog that a window of the given thread shows, from
// a thread of its own: notes what it shows (in the folder lookIn, if given,
// where it goes first), then types the path into the file name box and
// presses Open, or, with no path, presses Cancel.
class OpenDialogAnswer {
public:
  OpenDialogAnswer(DWORD uiThread, std::optional<std::wstring> path, std::wstring lookIn = L"");
  ~OpenDialogAnswer();
  OpenDialogAnswer(const OpenDialogAnswer&) = delete;
  OpenDialogAnswer& operator=(const OpenDialogAnswer&) = delete;

  bool answered() const { return answered_; }
  // The file type box's text and the names the file list held, once answered.
  struct Shown {
    std::wstring fileType;
    std::vector<std::wstring> listed;
  };
  Shown shown();

private:
  std::thread thread_;
  std::atomic<bool> answered_ = false;
  std::wstring fileType_;
  std::vector<std::wstring> listed_;
};

// Answers the next message boxes that a window of the given thread shows,
// from a thread of its own: notes each one's caption, text and owner, and
// whether the owner could take input while the box was up, then presses OK.
class MessageBoxAnswers {
public:
  struct Seen {
    std::wstring caption;
    std::wstring text;
    HWND owner;
    bool ownerEnabled;
  };
  MessageBoxAnswers(DWORD uiThread, int count);
  ~MessageBoxAnswers();
  MessageBoxAnswers(const MessageBoxAnswers&) = delete;
  MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

  // The boxes answered, once all have been or the wait has timed out.
  const std::vector<Seen>& seen();

private:
  std::thread thread_;
  std::vector<Seen> seen_;
};

// A file of the test's own under the Wine prefix's temporary folder, with
// the folders on its path made as needed.
std::wstring makeTempFile(const std::wstring& relativePath);
