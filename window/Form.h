// Form: a window built from a layout table, delivering its events to event procedures.
#pragma once

#include "Controls.h"
#include "Handles.h"
#include "Layout.h"
#include "Refusal.h"

#include <memory>
#include <optional>
#include <span>
#include <vector>

class Form {
public:
  // The form's controls are made here, one for each row of the table.
  Form(const FormRow& form, std::span<const ControlRow> controls);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window and every control, hidden, then runs Form_Load.
  void Load();
  // Shows the window, the focus on its first Tab stop.
  void Show();
  // Loads, shows and delivers events one at a time until the window is
  // closed; returns the program's exit code (End's).
  int Run();
  // Delivers the events already waiting, as Run does; false once the window
  // has been closed, or the form stopped.
  bool DoEvents();
  // The window and its controls go. If the form stopped on something it
  // cannot do without, the user is told what (a box captioned "Tovix") and
  // the exit code is 1; after a close by the user it is 0.
  int End();

  HWND hwnd() const { return window_; }
  // The DPI the window is laid out at: that of the monitor it is on.
  int dotsPerInch() const { return dotsPerInch_; }

protected:
  virtual void Form_Load() = 0;
  virtual void Form_MouseMove() = 0;

  // The control made from the table's row of that index.
  template <typename Kind, typename Row>
  Kind& control(Row row) const {
    return static_cast<Kind&>(*controls_[static_cast<size_t>(row)]);
  }

private:
  // The form cannot go on (Windows refused it something it cannot do
  // without, or memory ran out): its events end (the loop gets WM_QUIT), and
  // End tells the user.
  void stop();

  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onActivate(bool active);
  void onDpiChanged(int dpi, const RECT& suggested);
  void deliver(MSG& message);
  void createWindow();
  void createControls();
  SIZE outerSizeAt(int dpi) const;
  void makeFonts();
  void loadIcons();
  void giveIcons() const;
  void giveFont(const Control& control) const;

  // OLE on the window's thread for as long as the form lives: the picture
  // loader needs COM, and the Open dialog registers drop targets and uses the
  // clipboard, which work only where OLE is initialised. It ends after every
  // control, and the pictures they hold, are gone.
  UniqueOle ole_{SUCCEEDED(OleInitialize(nullptr))};
  const FormRow& form_;
  std::vector<std::unique_ptr<Control>> controls_;
  int dotsPerInch_ = 96;
  // Made for the window's DPI, and made again when it changes.
  UniqueFont arial825_;
  UniqueFont arial975_;
  UniqueFont dialogFont_;  // none where the stock dialog font is the right size
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  // The windows' classes, the form's with the icons; unregistered once the
  // windows are gone. None where another form registered them first.
  UniqueClass ownerClass_;
  UniqueClass imageClass_;
  UniqueClass formClass_;
  HWND window_ = nullptr;  // owned by owner_, and gone with it
  HWND lastFocus_ = nullptr;
  std::optional<Refusal> refusal_;
  // Last, so that it goes first: the windows, and the controls' with them,
  // go while the controls they deliver events to are still there.
  UniqueWindow owner_;
};
