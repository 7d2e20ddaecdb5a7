// The controls a Form holds: labels, text boxes, command buttons and image controls.
#pragma once

#include "Handles.h"
#include "Layout.h"
#include "Picture.h"

#include <functional>
#include <memory>
#include <string>

class Form;

// One control of a form, made from its row of the layout table. It owns its
// window, and its events go to the procedures the form hangs on it.
class Control {
public:
  Control(Form& form, const ControlRow& row);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND hwnd() const { return window_.get(); }
  const ControlRow& row() const { return row_; }

protected:
  friend class Form;
  // Creates the control's window at its place, given in pixels.
  virtual void create(HWND parent, int id, const RECT& place) = 0;
  // Where the control goes at the form's DPI, in client pixels: its row's place.
  virtual RECT place() const;
  // A notification the control sent its form (WM_COMMAND).
  virtual void command(WORD /*code*/) {}

  void createWindow(const wchar_t* className, DWORD style, HWND parent, int id, const RECT& place);

  const Form& form_;
  const ControlRow& row_;
  UniqueWindow window_;
};

// A fixed caption, wrapped at word boundaries, that never takes the focus.
class Label : public Control {
public:
  using Control::Control;

private:
  void create(HWND parent, int id, const RECT& place) override;
};

// A push button that is neither the default nor the cancel button.
class CommandButton : public Control {
public:
  using Control::Control;
  std::function<void()> Click = [] {};

private:
  void create(HWND parent, int id, const RECT& place) override;
  void command(WORD code) override;
};

// A one-line text box with a flat border and no length limit.
class TextBox : public Control {
public:
  using Control::Control;
  ~TextBox() override;

  // Runs after every change of the text, typed or set.
  std::function<void()> Change = [] {};
  // Runs again and again while the pointer moves over the box.
  std::function<void()> MouseMove = [] {};

  std::wstring text() const;
  // Replaces the whole text. Setting the text the box already holds is no
  // change, although a Win32 edit control would notify one.
  void setText(const std::wstring& text);

private:
  void create(HWND parent, int id, const RECT& place) override;
  void command(WORD code) override;
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
  using Control::Control;

  std::shared_ptr<const Picture> picture() const { return picture_; }
  // Shows the same picture object as the one given: nothing is copied.
  void setPicture(std::shared_ptr<const Picture> picture);

private:
  void create(HWND parent, int id, const RECT& place) override;
  RECT place() const override;
  void fitToPicture();
  void paint(HDC dc) const;
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::shared_ptr<const Picture> picture_;  // its row's from its creation on, never none
};
