// The layout of Form1: every control's kind, place, size, text and font, in twips.
// The reminder's spelling and the window title are kept as designed (docs/as-designed.md).
#pragma once

#include "Layout.h"
#include "ResourceIds.h"

inline constexpr FormRow kForm1{L"Tovix your Explorer", 4710, 4410, IDI_FORM1};

// Rows in creation order, which is also the Tab order of the controls that take
// the focus: Text1, Text2, Command1, Command2. Each label is created just
// before the box it names, so that screen readers name the box after it.
enum class Form1Control { Image1, Label1, Text1, Label2, Text2, Command1, Command2, Label3, Image2, Image3, Image4 };

// clang-format off
inline constexpr ControlRow kForm1Controls[] = {
  // name        kind                        left   top  width height  text                                                            font                      picture     border visible
  {L"Image1",   ControlKind::Image,           75,   75, 4530,  975, L"",                                                               FontKind::DialogDefault, IDP_BANNER_PLAIN, true,  true},
  {L"Label1",   ControlKind::Label,          240, 1395, 1140,  345, L"Status Name:",                                                   FontKind::Arial825,      0,          false, true},
  {L"Text1",    ControlKind::TextBox,       1605, 1305, 2880,  405, L"",                                                               FontKind::Arial975,      0,          false, true},
  {L"Label2",   ControlKind::Label,          240, 2220, 1095,  435, L"Status Icon:",                                                   FontKind::Arial825,      0,          false, true},
  {L"Text2",    ControlKind::TextBox,       1605, 2145, 1845,  405, L"",                                                               FontKind::Arial975,      0,          false, true},
  {L"Command1", ControlKind::CommandButton, 3600, 2115,  900,  420, L"Find...",                                                        FontKind::DialogDefault, 0,          false, true},
  {L"Command2", ControlKind::CommandButton, 1485, 3690, 1770,  420, L"Apply changes...",                                               FontKind::DialogDefault, 0,          false, true},
  {L"Label3",   ControlKind::Label,          285, 2895, 3540,  480, L"Remenber for see the changes you need restart your computer",   FontKind::Arial825,      0,          false, true},
  {L"Image2",   ControlKind::Image,          120, 4485, 4500,  945, L"",                                                               FontKind::DialogDefault, IDP_BANNER_NAME,  false, false},
  {L"Image3",   ControlKind::Image,          210, 4530, 4500,  945, L"",                                                               FontKind::DialogDefault, IDP_BANNER_ICON,  false, false},
  {L"Image4",   ControlKind::Image,          105, 5535, 4500,  945, L"",                                                               FontKind::DialogDefault, IDP_BANNER_PLAIN, false, false},
};
// clang-format on

constexpr const ControlRow& row(Form1Control control) { return kForm1Controls[static_cast<size_t>(control)]; }

constexpr int controlId(Form1Control control) { return controlId(static_cast<size_t>(control)); }
