// Form: a window built from a layout table, delivering its events to event procedures.
#pragma once

#include "Handles.h"
#include "Layout.h"
#include "Refusal.h"

#include <ole2.h>

#include <optional>
#include <span>
#include <vector>

class Control;

class Form {
public:
  Form(const FormRow& form, std::span<const ControlRow> controls);
  virtual ~Form();
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
  // The window and its controls go. If Windows refused the form something it
  // cannot do without, the user is told what (a box captioned "Tovix") and
  // the exit code is 1; after a close by the user it is 0.
  int End();

  HWND hwnd() const { return window_.get(); }
  // The DPI the window is laid out at: that of the monitor it is on.
  int dotsPerInch() const { return dotsPerInch_; }
  int pixels(Twips twips) const { return twipsToPixels(twips, dotsPerInch_); }
  // A row's place in the client area, in pixels at the window's DPI.
  RECT place(const ControlRow& row) const;
  int controlId(const ControlRow& row) const;

protected:
  virtual void Form_Load() {}
  virtual void Form_MouseMove() {}

private:
  // OLE on the window's thread for as long as the form lives: the picture
  // loader needs COM, and the Open dialog registers drop targets and uses the
  // clipboard, which work only where OLE is initialised. It ends after every
  // control, and the pictures they hold, are gone.
  class OleSession {
  public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
      if (initialised_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

  private:
    bool initialised_;
  };

  friend class Control;
  void adopt(Control& control) { controls_.push_back(&control); }
  // Windows refused something the form cannot do without: its events end
  // (the loop gets WM_QUIT), and End tells the user.
  void stop(const Refusal& refusal);

  static std::vector<Form*>& liveForms();
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCommand(int id, WORD code);
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

  OleSession ole_;
  const FormRow& form_;
  std::span<const ControlRow> rows_;
  std::vector<Control*> controls_;
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
  UniqueClass formClass_;
  UniqueWindow owner_;
  UniqueWindow window_;
  HWND lastFocus_ = nullptr;
  std::optional<Refusal> refusal_;
};
