// Form1: the window where the user reads, edits and applies the zone's name and icon.
#pragma once

#include "CommonDialog.h"
#include "Controls.h"
#include "Form.h"
#include "Form1Layout.h"

class Form1 : public Form {
public:
  Form1();

private:
  void Form_Load() override;
  void Command1_Click();
  void Command2_Click();
  void Form_MouseMove() override;
  void Text1_MouseMove();
  void Text1_Change();
  void Text2_MouseMove();
  void Text2_Change();

  // The form's controls, by the names of the table's rows.
  Image& Image1 = control<Image>(Form1Control::Image1);
  Label& Label1 = control<Label>(Form1Control::Label1);
  TextBox& Text1 = control<TextBox>(Form1Control::Text1);
  Label& Label2 = control<Label>(Form1Control::Label2);
  TextBox& Text2 = control<TextBox>(Form1Control::Text2);
  CommandButton& Command1 = control<CommandButton>(Form1Control::Command1);
  CommandButton& Command2 = control<CommandButton>(Form1Control::Command2);
  Label& Label3 = control<Label>(Form1Control::Label3);
  Image& Image2 = control<Image>(Form1Control::Image2);
  Image& Image3 = control<Image>(Form1Control::Image3);
  Image& Image4 = control<Image>(Form1Control::Image4);
  CommonDialog CommonDialog1;
};
