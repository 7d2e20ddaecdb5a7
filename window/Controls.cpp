// The controls a Form holds: labels, text boxes, command buttons and image controls.
#include "Controls.h"

#include "Form.h"

namespace {

constexpr wchar_t kNoControl[] = L"Tovix could not create the controls of its window.";
constexpr wchar_t kTextNotSet[] = L"Tovix could not put a text into one of its boxes.";
constexpr wchar_t kTextNotRead[] = L"Tovix could not read the text of one of its boxes.";

}  // namespace

Control::Control(Form& form, const ControlRow& row) : form_(form), row_(row) { form.adopt(*this); }

RECT Control::place() const { return form_.place(row_); }

// Only controls that are seen have windows.
void Control::createWindow(const wchar_t* className, DWORD style, HWND parent, int id, const RECT& place) {
  window_.reset(CreateWindowExW(0, className, row_.text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this));
  if (!window_) refuse(kNoControl);
}

// SS_NOTIFY makes the label answer hit tests: without it a static control is
// transparent to the mouse, and moving over it would count as moving over the
// bare window beneath. SS_NOPREFIX: no caption marks an access key.
void Label::create(HWND parent, int id, const RECT& place) {
  createWindow(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, parent, id, place);
}

void CommandButton::create(HWND parent, int id, const RECT& place) {
  createWindow(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, parent, id, place);
}

void CommandButton::command(WORD code) {
  if (code == BN_CLICKED) Click();
}

TextBox::~TextBox() {
  if (hwnd() != nullptr && editProc_ != nullptr)
    SetWindowLongPtrW(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
}

// WS_BORDER without WS_EX_CLIENTEDGE: a flat one-pixel border instead of the
// sunken edge. ES_AUTOHSCROLL: a long text scrolls sideways in the one line.
void TextBox::create(HWND parent, int id, const RECT& place) {
  createWindow(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, parent, id, place);
  // An edit control stops taking text at 30,000 characters unless told otherwise.
  SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
  // The edit control tells its parent of changes but not of mouse moves, so
  // its window procedure is wrapped. A plain wrap rather than the common
  // controls' subclass helpers: under Wine those cost a trip to the server
  // for every message the box gets. Where Windows refuses either step, the
  // box works unwrapped, and moving over it leaves the banner as it was. Both
  // calls answer with the value they replace, zero for the first (a new
  // window's data), so only the thread's last error tells a failure.
  SetLastError(ERROR_SUCCESS);
  SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (GetLastError() != ERROR_SUCCESS) return;
  editProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBox::windowProc)));
}

void TextBox::command(WORD code) {
  if (code == EN_CHANGE) Change();
}

// The box's text is the only copy of what the user sees and what Apply
// writes, so a text that cannot be read or put in stops the program rather
// than stand for another. An empty box and a failure both give zero: only the
// thread's last error, cleared first, tells them apart.
std::wstring TextBox::text() const {
  SetLastError(ERROR_SUCCESS);
  const int length = GetWindowTextLengthW(hwnd());
  if (length == 0 && GetLastError() != ERROR_SUCCESS) refuse(kTextNotRead);
  std::wstring text(static_cast<size_t>(length), L'\0');
  if (text.empty()) return text;
  const int copied = GetWindowTextW(hwnd(), text.data(), length + 1);
  if (copied == 0) refuse(kTextNotRead);
  text.resize(static_cast<size_t>(copied));
  return text;
}

void TextBox::setText(const std::wstring& text) {
  if (text == this->text()) return;
  if (!SetWindowTextW(hwnd(), text.c_str())) refuse(kTextNotSet);
}

LRESULT CALLBACK TextBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Where Windows will not give the box back, the edit control's own
  // procedure, its class's, still answers: only the banner misses a move.
  auto* box = reinterpret_cast<TextBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (box == nullptr) {
    const auto edit = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    return edit != nullptr ? CallWindowProcW(edit, window, message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_MOUSEMOVE) box->MouseMove();
  return CallWindowProcW(box->editProc_, window, message, wParam, lParam);
}
