// Form1: the window where the user reads, edits and applies the zone's name and icon.
// Its Open dialog's Spanish filter text is kept as designed (docs/as-designed.md).
#include "Form1.h"

#include "escribeREG.h"

namespace {

// Where Windows keeps the name and the icon that a file-browser window shows
// in its status bar for lockdown security zone 0.
const HKEY kZoneRoot = HKEY_CURRENT_USER;
constexpr wchar_t kZoneKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Lockdown_Zones\\0";

}  // namespace

Form1::Form1() : Form(kForm1, kForm1Controls) {
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Text1.MouseMove = [this] { Text1_MouseMove(); };
  Text1.Change = [this] { Text1_Change(); };
  Text2.MouseMove = [this] { Text2_MouseMove(); };
  Text2.Change = [this] { Text2_Change(); };
}

void Form1::Form_Load() {
  Text1.setText(leeCadenaREG(kZoneRoot, kZoneKey, L"DisplayName"));
  Text2.setText(leeCadenaREG(kZoneRoot, kZoneKey, L"Icon"));
}

// "Find...": fills the icon box with the icon file the user chooses.
void Form1::Command1_Click() {
  CommonDialog1.Filter = L"Archivos de iconos|*.ico";
  // A cancelled dialog leaves the icon box as it was.
  if (!CommonDialog1.ShowOpen(hwnd())) return;
  Text2.setText(CommonDialog1.FileName);
}

// "Apply changes...": writes both boxes back, the icon even if the name failed.
void Form1::Command2_Click() {
  escribeCadenaREG(kZoneRoot, kZoneKey, L"DisplayName", Text1.text());
  escribeCadenaREG(kZoneRoot, kZoneKey, L"Icon", Text2.text());
}

// The banner shows what the part of the window under the pointer, or being
// edited, is about: the plain scene over bare window, the ringed name over or
// while editing the name box, the ringed icon over or while editing the icon box.
void Form1::Form_MouseMove() { Image1.setPicture(Image4.picture()); }

void Form1::Text1_MouseMove() { Image1.setPicture(Image2.picture()); }

void Form1::Text1_Change() { Image1.setPicture(Image2.picture()); }

void Form1::Text2_MouseMove() { Image1.setPicture(Image3.picture()); }

void Form1::Text2_Change() { Image1.setPicture(Image3.picture()); }
