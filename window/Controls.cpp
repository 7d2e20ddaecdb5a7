// The controls a Form holds: labels, text boxes, command buttons and image controls.
#include "Controls.h"

#include "Refusal.h"

namespace {

constexpr wchar_t kNoControl[] = L"Tovix could not create the controls of its window.";
constexpr wchar_t kTextNotSet[] = L"Tovix could not put a text into one of its boxes.";

// What a text box tells its form when the pointer moves over it: the edit
// control's own notifications are all below it.
constexpr WORD kMouseMoved = 0xF000;

}  // namespace

RECT Control::place(int dpi) const {
  const auto pixels = [dpi](Twips twips) { return twipsToPixels(twips, dpi); };
  return {pixels(row_.left), pixels(row_.top), pixels(row_.left + row_.width), pixels(row_.top + row_.height)};
}

// Only controls that are seen have windows.
void Control::createWindow(const wchar_t* className, DWORD style, HWND parent, int id, int dpi) {
  const RECT at = place(dpi);
  window_ = CreateWindowExW(0, className, row_.text, WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.right - at.left,
                            at.bottom - at.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) refuse(kNoControl);
  attach<Control>(window_, this);
}

void Control::moveTo(int dpi) {
  const RECT at = place(dpi);
  SetWindowPos(window_, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// SS_NOTIFY makes the label answer hit tests: without it a static control is
// transparent to the mouse, and moving over it would count as moving over the
// bare window beneath. SS_NOPREFIX: no caption marks an access key.
void Label::create(HWND parent, int id, int dpi) {
  createWindow(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, parent, id, dpi);
}

void CommandButton::create(HWND parent, int id, int dpi) {
  createWindow(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, parent, id, dpi);
}

void CommandButton::command(WORD code) {
  if (code == BN_CLICKED) Click();
}

// WS_BORDER without WS_EX_CLIENTEDGE: a flat one-pixel border instead of the
// sunken edge. ES_AUTOHSCROLL: a long text scrolls sideways in the one line.
void TextBox::create(HWND parent, int id, int dpi) {
  createWindow(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, parent, id, dpi);
  // An edit control stops taking text at 30,000 characters unless told otherwise.
  SendMessageW(window_, EM_SETLIMITTEXT, 0, 0);
  // The edit control tells its parent of changes but not of mouse moves, so
  // its window procedure is wrapped to tell those too. A plain wrap rather
  // than the common controls' subclass helpers: under Wine those cost a trip
  // to the server for every message the box gets.
  editProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBox::windowProc)));
}

void TextBox::command(WORD code) {
  if (code == EN_CHANGE) Change();
  if (code == kMouseMoved) MouseMove();
}

std::wstring TextBox::text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)), L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()) + 1)));
  return text;
}

// The box's text is the only copy of what the user sees and what Apply
// writes, so a text that cannot be put in stops the program rather than
// leave another standing for it.
void TextBox::setText(const std::wstring& text) {
  if (text == this->text()) return;
  if (!SetWindowTextW(window_, text.c_str())) refuse(kTextNotSet);
}

// A move over the box reaches the form as its other notifications do, so
// that what the event procedure does is the form's to answer for.
LRESULT CALLBACK TextBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* box = static_cast<const TextBox*>(objectOf<Control>(window));
  if (message == WM_MOUSEMOVE)
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), kMouseMoved),
                 reinterpret_cast<LPARAM>(window));
  return CallWindowProcW(box->editProc_, window, message, wParam, lParam);
}
