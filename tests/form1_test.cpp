// Form1 in-process under Wine: start-up reads the zone's name and icon into
// the boxes, "Find..." fills the icon box, "Apply changes..." writes both back,
// in any script, and what goes wrong around them is reported.
#include "Form1Fixture.h"

#include <cwchar>
#include <filesystem>
#include <fstream>

namespace {

using namespace std::string_literals;

using Form1Test = Form1Fixture;

// Start-up fills the boxes with what is stored, reports what is missing, and
// leaves the banner ringing the icon if its box was filled last, else plain;
// Apply then writes the untouched texts back as they were, or, without the
// key, reports it and creates nothing. Texts in any script, as another program
// stores them through the Unicode API, show and are written back exactly:
// Tovix runs with UTF-8 as its ANSI code page.
struct StartUp {
  bool key;
  std::wstring name, icon;  // empty: not stored
  Messages messages;
  Form1Control picture;
};

class StartingUp : public Form1Fixture, public testing::WithParamInterface<StartUp> {};

TEST_P(StartingUp, FillsTheBoxesReportsWhatIsMissingAndApplyKeepsTheTexts) {
  const StartUp& with = GetParam();
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  if (with.key) zone.create();
  if (!with.name.empty()) zone.setWide(L"DisplayName", with.name);
  if (!with.icon.empty()) zone.setWide(L"Icon", with.icon);
  start();
  EXPECT_EQ(text(Text1), with.name);
  EXPECT_EQ(text(Text2), with.icon);
  EXPECT_EQ(registry.messages(), with.messages);
  EXPECT_EQ(shown(Image1), shown(with.picture));
  EXPECT_EQ(GetFocus(), control(Text1));
  click(Command2);
  EXPECT_EQ(zone.wide(L"DisplayName"), with.name);
  EXPECT_EQ(zone.wide(L"Icon"), with.icon);
  EXPECT_EQ(zone.exists(), with.key);
}

std::wstring thousandCharacters() {
  std::wstring text;
  while (text.size() < 1000) text += L"\u0417\u03CE\u533A\u00F1\U0001F600";
  return text.substr(0, 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, StartingUp,
    testing::Values(StartUp{true, L"Laura", L"explorer.exe#0100", {}, Image3},
                    StartUp{true, L"Laura", L"", {kLength, kValue}, Image2},
                    StartUp{false, L"", L"", {kOpening, kOpening}, Image4},
                    StartUp{true, thousandCharacters(), thousandCharacters().substr(0, 200), {}, Image3},
                    StartUp{
                        true, std::wstring(10000, L'\u30BE'), L"C:\\\u30BE.ico", {}, Image3},  // 30,000 bytes in UTF-8
                    // Each text starting with a combining mark before an Arabic letter
                    // (shadda before beh; hiriq before alef), which the boxes' shaping
                    // must place on a base that comes after it.
                    StartUp{true, L"\u0651\u0628", L"\u05B4\u0627", {}, Image3}));

// The texts the user reads, exactly as written, in the program's code page
// and in the double-byte one of the suite started under it; and failures shown
// in modal boxes.
TEST_F(Form1Test, ShowsItsTextsAndFailuresInModalBoxesCaptionedTovixOwnedByTheWindow) {
  start();  // no zone key: the start-up messages were kept, not shown
  // clang-format off
  const std::pair<HWND, std::wstring> texts[] = {
      {form.hwnd(), L"Tovix your Explorer"}, {control(Label1), L"Status Name:"}, {control(Label2), L"Status Icon:"},
      {control(Command1), L"Find..."},       {control(Command2), L"Apply changes..."},
      {control(Label3), L"Remenber for see the changes you need restart your computer"}};
  // clang-format on
  for (const auto& [window, wanted] : texts) EXPECT_EQ(windowText(window), wanted);
  faults::layer().showBoxes = true;
  std::vector<std::wstring> seen;
  auto answers = answerDialogs(GetCurrentThreadId(), 2, [&](HWND box) {
    const HWND owner = GetWindow(box, GW_OWNER);
    seen.push_back(windowText(box) + L"|" + windowText(GetDlgItem(box, 0xFFFF)) + L"|" +
                   (owner == form.hwnd() && !IsWindowEnabled(owner) ? L"owner disabled" : L"?"));
    pressButton(box, IDOK);
  });
  click(Command2);
  answers.join();
  EXPECT_EQ(seen, std::vector<std::wstring>(2, L"Tovix|Error opening key.|owner disabled"));
}

// "Find..." through the real Open dialog (its filter the stand-in below checks
// exactly): a cancel leaves the icon box as it was; a choice in another
// folder puts the file's full path there and rings the icon in the banner.
// Either way the process's current folder stays where it was. The pointer rings the name
// first, then rests on a label, where the moves Windows sends as the dialog
// goes change nothing.
TEST_F(Form1Test, FindFillsTheIconBoxWithTheChosenIconLeavingTheCurrentFolderAlone) {
  storeBothValues();
  start();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"Tovix icons",
                              icon = folder / L"zone.ico";
  std::filesystem::create_directories(folder);
  std::ofstream{icon};
  const std::filesystem::path current = L"C:\\windows";
  std::filesystem::current_path(current);
  pointAt(Text1);
  pointAt(Label2);
  {
    auto cancel = answerDialogs(GetCurrentThreadId(), 1, [](HWND dialog) { pressButton(dialog, IDCANCEL); });
    click(Command1);
  }
  EXPECT_EQ(text(Text2), L"explorer.exe#0100");
  EXPECT_EQ(shown(Image1), shown(Image2));
  {
    auto answer = answerDialogs(GetCurrentThreadId(), 1, [&](HWND dialog) { choose(dialog, icon); });
    click(Command1);
  }
  EXPECT_EQ(text(Text2), icon);
  EXPECT_EQ(shown(Image1), shown(Image3));
  EXPECT_EQ(std::filesystem::current_path(), current);

  // Through a stand-in: what "Find..." asks of the dialog, and a chosen path of
  // 1,000 characters, which Windows' own dialog can hand back (Wine's cannot).
  // Windows fails the call when the buffer offered is too small for the path,
  // and its dialog moves the current folder to the one browsed, whatever the flags say.
  const std::wstring chosen = L"C:\\" + std::wstring(988, L'x') + L"\\zone.ico";
  const std::wstring wantedFilter = L"Archivos de iconos\0*.ico\0\0"s;
  OPENFILENAMEW asked{};
  std::wstring filter;
  faults::layer().openDialog = [&](OPENFILENAMEW* open) {
    asked = *open;
    filter.assign(open->lpstrFilter, wantedFilter.size());
    SetCurrentDirectoryW(folder.c_str());
    return open->nMaxFile > chosen.size() && std::wcscpy(open->lpstrFile, chosen.c_str());
  };
  click(Command1);
  EXPECT_EQ(text(Text2), chosen);
  EXPECT_EQ(std::filesystem::current_path(), current);
  EXPECT_EQ(filter, wantedFilter);
  EXPECT_EQ(asked.nMaxFile, 32768u);
  EXPECT_EQ(asked.hwndOwner, form.hwnd());
  const DWORD wanted = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  EXPECT_EQ(asked.Flags & wanted, wanted);
}

// Apply writes both boxes as they stand: a name typed with the keyboard
// after one longer than an edit control takes by default (30,000
// characters), in any script, stored exactly; an emptied icon box as the
// empty text; and the icon even when the name could not be written. Typing
// rings the name in the banner, the pointer away.
TEST_F(Form1Test, ApplyWritesBothBoxesAsTheyStandTypedEmptiedOrAfterAFailure) {
  const std::wstring longName(40000, L'n'), typed = L"\u0396\u533A\U0001F600";
  storeBothValues();
  zone.setWide(L"DisplayName", longName);
  start();
  SendMessageW(control(Text1), EM_SETSEL, longName.size(), longName.size());
  send(typing(typed));
  EXPECT_EQ(shown(Image1), shown(Image2));
  type(Text2, L"");
  click(Command2);
  EXPECT_EQ(zone.wide(L"DisplayName"), longName + typed);
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("", 1));
  EXPECT_TRUE(registry.messages().empty());
  RecordingRegistry failing({kSet + "@*"});
  click(Command2);
  EXPECT_EQ(failing.calls("RegSetValueExA"), 2);
  EXPECT_EQ(failing.messages(), (Messages{kSaving, kSaving}));
}

}  // namespace
