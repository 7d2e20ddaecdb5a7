// What a layout table is made of: a form's caption, client size and icon, and one
// row per control with its kind, place, size, text and font, in twips.
#pragma once

#include "Twips.h"

#include <cstddef>

enum class ControlKind { Image, Label, TextBox, CommandButton };

// The fonts the window uses: one shared font object each.
enum class FontKind { DialogDefault, Arial825, Arial975 };

struct FormRow {
  const wchar_t* caption;
  Twips clientWidth;
  Twips clientHeight;
  int icon;  // resource id of the window's icon
};

struct ControlRow {
  const wchar_t* name;
  ControlKind kind;
  Twips left, top, width, height;
  const wchar_t* text;
  FontKind font;
  int picture;   // resource id of an image control's picture, 0 for none
  bool border;   // a one-pixel flat border around an image control's picture
  bool visible;  // the stored pictures are never shown
};

// A control's id: its row's index in the table, above IDOK and IDCANCEL,
// which the dialog keys send.
constexpr int controlId(size_t row) { return 100 + static_cast<int>(row); }
