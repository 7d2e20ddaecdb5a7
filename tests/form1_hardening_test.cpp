// Form1 against what can go wrong around it: the zone key deleted or made by
// another program while the window is open, very long texts and paths, and
// long use. (That Apply writes nothing but the two values is checked end to
// end, on an export of the whole user registry.)
#include "Form1Fixture.h"
#include "escribeREG.h"

#include <psapi.h>

namespace {

using Form1Hardening = Form1Fixture;

TEST_F(Form1Hardening, TheZoneKeyDeletedBeforeApplyIsReportedAndNotMadeAgain) {
  storeBothValues();
  start();
  zone.remove();
  click(Form1Control::Command2);
  EXPECT_EQ(registry.messages, (Messages{kOpening, kOpening}));
  EXPECT_FALSE(zone.exists());
}

TEST_F(Form1Hardening, TheZoneKeyMadeBeforeApplyGetsBothValues) {
  start();
  ASSERT_EQ(registry.messages, (Messages{kOpening, kOpening}));
  zone.create();
  type(Form1Control::Text1, L"Laura");
  type(Form1Control::Text2, L"explorer.exe#0100");
  click(Form1Control::Command2);
  EXPECT_EQ(registry.messages.size(), 2u);
  EXPECT_EQ(zone.get(L"DisplayName")->bytes, std::string("Laura", 6));
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("explorer.exe#0100", 18));
}

TEST_F(Form1Hardening, TextsOfAHundredThousandCharactersAreAppliedAndReadBackWhole) {
  storeBothValues();
  start();
  std::wstring name(100000, L'n');
  std::wstring icon(100000, L'i');
  name.back() = L'!';
  icon.back() = L'?';
  type(Form1Control::Text1, name);
  type(Form1Control::Text2, icon);
  click(Form1Control::Command2);
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, kZoneKey, L"DisplayName"), name);
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, kZoneKey, L"Icon"), icon);
  EXPECT_TRUE(registry.messages.empty());
  // Typing goes on past an edit control's default limit of 30,000 characters.
  SendMessageW(control(Form1Control::Text1), EM_SETSEL, name.size(), name.size());
  SendMessageW(control(Form1Control::Text1), WM_CHAR, L'.', 0);
  EXPECT_EQ(text(Form1Control::Text1), name + L".");
}

// The box takes the dialog's path whole, however long. Wine's own Open dialog
// handles paths up to MAX_PATH only (a longer one typed into it overruns the
// dialog's buffer), so the path here is as long as that dialog allows.
TEST_F(Form1Hardening, AFileWithAPathAsLongAsTheDialogAllowsLandsWholeInTheIconBox) {
  storeBothValues();
  start();
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = L"Tovix long\\";
  for (int depth = 0; depth < 4; ++depth)
    folder += L"a folder with a rather long name number " + std::to_wstring(depth) + L"\\";
  const size_t stem = MAX_PATH - 1 - (std::wstring(temp).size() + folder.size() + 4);
  const std::wstring icon = makeTempFile(folder + std::wstring(stem, L'z') + L".ico");
  ASSERT_EQ(icon.size(), MAX_PATH - 1u);
  OpenDialogAnswer answer(GetCurrentThreadId(), icon);
  click(Form1Control::Command1);
  EXPECT_TRUE(answer.answered());
  EXPECT_EQ(text(Form1Control::Text2), icon);
}

// What the process holds of the platform's resources. Wine keeps no count of
// GDI and USER objects or kernel handles (it answers 0), so the process's
// committed memory is measured too: a picture copied and never freed at every
// change would add some 75 KB a time.
struct Holdings {
  DWORD gdiObjects;
  DWORD userObjects;
  DWORD handles;
  SIZE_T committedBytes;
};

Holdings holdings() {
  Holdings now{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
               GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 0, 0};
  GetProcessHandleCount(GetCurrentProcess(), &now.handles);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  now.committedBytes = memory.PagefileUsage;
  return now;
}

TEST_F(Form1Hardening, LongUseLeavesTheProcessHoldingWhatItHeld) {
  storeBothValues();
  start();
  // Warm up once: the first paint and the first apply load what they need.
  click(Form1Control::Command2);
  const Holdings before = holdings();

  for (int change = 0; change < 100000; ++change) {
    const Form1Control over = change % 3 == 0   ? Form1Control::Text1
                              : change % 3 == 1 ? Form1Control::Text2
                                                : Form1Control::Label1;
    const HWND target = over == Form1Control::Label1 ? form.hwnd() : control(over);
    SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(20, 130));
    if (change % 100 == 0) UpdateWindow(control(Form1Control::Image1));
  }
  for (int apply = 0; apply < 1000; ++apply) click(Form1Control::Command2);
  form.DoEvents();

  const Holdings after = holdings();
  std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu, handles %lu -> %lu, committed KB %lu -> %lu\n",
              before.gdiObjects, after.gdiObjects, before.userObjects, after.userObjects, before.handles, after.handles,
              static_cast<unsigned long>(before.committedBytes / 1024),
              static_cast<unsigned long>(after.committedBytes / 1024));
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.userObjects, before.userObjects);
  EXPECT_EQ(after.handles, before.handles);
  EXPECT_GT(before.committedBytes, 0u);
  EXPECT_LT(after.committedBytes, before.committedBytes + 4 * 1024 * 1024);
  // Our own: every key opened was closed, and no message was needed.
  EXPECT_EQ(registry.opened, registry.closed);
  EXPECT_EQ(registry.opened, 2 * 1001 + 2);
  EXPECT_TRUE(registry.messages.empty());
}

}  // namespace
