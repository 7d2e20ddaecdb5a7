// The controls a Form holds: labels, text boxes, command buttons and image controls.
#pragma once

#include "Handles.h"
#include "Layout.h"
#include "Picture.h"

#include <functional>
#include <memory>
#include <string>

// One control of a form, made from its row of the layout table. Its window
// is a child of the form's, and goes with it. The form creates it, lays it
// out again when the DPI changes, and passes on what it notifies.
class Control {
public:
  explicit Control(const ControlRow& row) : row_(row) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND hwnd() const { return window_; }
  const ControlRow& row() const { return row_; }
  // Creates the control's window at its row's place at the DPI.
  virtual void create(HWND parent, int id, int dpi) = 0;
  // Lays the control out again at another DPI.
  virtual void moveTo(int dpi);
  // A notification the control sent its form (WM_COMMAND).
  virtual void command(WORD /*code*/) {}

protected:
  // Where the control goes at that DPI, in client pixels: its row's place.
  virtual RECT place(int dpi) const;
  void createWindow(const wchar_t* className, DWORD style, HWND parent, int id, int dpi);

  const ControlRow& row_;
  HWND window_ = nullptr;
};

// A fixed caption, wrapped at word boundaries, that never takes the focus.
class Label : public Control {
public:
  using Control::Control;
  void create(HWND parent, int id, int dpi) override;
};

// A push button that is neither the default nor the cancel button.
class CommandButton : public Control {
public:
  using Control::Control;
  // The form's event procedures, which it sets for each of its controls.
  std::function<void()> Click;

  void create(HWND parent, int id, int dpi) override;
  void command(WORD code) override;
};

// A one-line text box with a flat border and no length limit.
class TextBox : public Control {
public:
  using Control::Control;

  // Runs after every change of the text, typed or set.
  std::function<void()> Change;
  // Runs again and again while the pointer moves over the box.
  std::function<void()> MouseMove;

  std::wstring text() const;
  // Replaces the whole text. Setting the text the box already holds is no
  // change, although a Win32 edit control would notify one.
  void setText(const std::wstring& text);

  void create(HWND parent, int id, int dpi) override;
  void command(WORD code) override;

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WNDPROC editProc_ = nullptr;  // the edit control's own window procedure
};

// Shows a picture at its own size, never stretched, inside an optional
// one-pixel border; the control is always the picture's size plus the border.
// A hidden one only holds its picture, and has no window.
// The picture's own size is its size at 96 DPI scaled with the DPI: the same
// length on the screen at any display scaling.
class Image : public Control {
public:
  explicit Image(const ControlRow& row) : Control(row), picture_(Picture::fromResource(row.picture)) {}

  std::shared_ptr<const Picture> picture() const { return picture_; }
  // Shows the same picture object as the one given: nothing is copied.
  void setPicture(std::shared_ptr<const Picture> picture);

  void create(HWND parent, int id, int dpi) override;
  void moveTo(int dpi) override;

  // The window class of image controls, which the form registers.
  static constexpr wchar_t kClass[] = L"Tovix.Image";
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
  RECT place(int dpi) const override;
  void paint(HDC dc) const;

  std::shared_ptr<const Picture> picture_;
  int dpi_ = 96;
};
