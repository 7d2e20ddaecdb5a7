// The controls a Form holds: labels, text boxes, command buttons and image controls.
#include "Controls.h"

#include "Form.h"

Control::Control(Form& form, const ControlRow& row) : form_(form), row_(row) { form.adopt(*this); }

RECT Control::place() const { return form_.place(row_); }

void Control::createWindow(const wchar_t* className, DWORD style, HWND parent, int id, const RECT& place) {
  if (row_.visible) style |= WS_VISIBLE;
  window_.reset(CreateWindowExW(0, className, row_.text, WS_CHILD | style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this));
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
  if (code == BN_CLICKED && Click) Click();
}

TextBox::~TextBox() {
  if (hwnd() != nullptr) SetWindowLongPtrW(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
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
  // for every message the box gets.
  SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBox::windowProc)));
}

void TextBox::command(WORD code) {
  if (code == EN_CHANGE && Change) Change();
}

std::wstring TextBox::text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())), L'\0');
  if (!text.empty())
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size() + 1))));
  return text;
}

void TextBox::setText(const std::wstring& text) {
  if (text == this->text()) return;
  SetWindowTextW(hwnd(), text.c_str());
}

LRESULT CALLBACK TextBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<TextBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_MOUSEMOVE && box->MouseMove) box->MouseMove();
  return CallWindowProcW(box->editProc_, window, message, wParam, lParam);
}
