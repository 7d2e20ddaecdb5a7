// Form1 in-process under Wine: start-up reads the zone's name and icon into
// the boxes, "Find..." fills the icon box, "Apply changes..." writes both back.
#include "Form1Fixture.h"

#include <cwchar>

namespace {

using Form1Test = Form1Fixture;

std::wstring currentFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  folder.resize(GetCurrentDirectoryW(MAX_PATH, folder.data()));
  return folder;
}

TEST_F(Form1Test, StartUpFillsTheBoxesWithTheStoredValues) {
  storeBothValues();
  start();
  EXPECT_EQ(text(Form1Control::Text1), L"Laura");
  EXPECT_EQ(text(Form1Control::Text2), L"explorer.exe#0100");
  EXPECT_TRUE(registry.messages.empty());
  EXPECT_EQ(GetFocus(), control(Form1Control::Text1));
}

TEST_F(Form1Test, StartUpWithAMissingValueReportsItAndLeavesItsBoxEmpty) {
  zone.create();
  zone.setText(L"DisplayName", "Laura");
  start();
  EXPECT_EQ(text(Form1Control::Text1), L"Laura");
  EXPECT_EQ(text(Form1Control::Text2), L"");
  EXPECT_EQ(registry.messages, (Messages{kLength, kValue}));
}

TEST_F(Form1Test, WithoutTheZoneKeyStartUpAndApplyEachReportTwiceAndCreateNothing) {
  start();
  EXPECT_EQ(registry.messages, (Messages{kOpening, kOpening}));
  EXPECT_EQ(text(Form1Control::Text1), L"");
  type(Form1Control::Text1, L"Laura");
  click(Form1Control::Command2);
  EXPECT_EQ(registry.messages, (Messages{kOpening, kOpening, kOpening, kOpening}));
  EXPECT_FALSE(zone.exists());
}

TEST_F(Form1Test, FailuresShowModalBoxesCaptionedTovixOwnedByTheWindow) {
  start();  // no zone key: the start-up messages were kept, not shown
  ScopedRegistryPlatform real(realRegistryPlatform());
  MessageBoxAnswers answers(GetCurrentThreadId(), 2);
  click(Form1Control::Command2);
  const auto& seen = answers.seen();
  ASSERT_EQ(seen.size(), 2u);
  for (const auto& box : seen) {
    EXPECT_EQ(box.caption, L"Tovix");
    EXPECT_EQ(box.text, kOpening);
    EXPECT_EQ(box.owner, form.hwnd());
    EXPECT_FALSE(box.ownerEnabled);  // the window takes no input while a box is up
  }
  EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
}

TEST_F(Form1Test, ApplyWritesBothBoxesAsTheyStandEvenEmptyOrUntouched) {
  storeBothValues();
  start();
  click(Form1Control::Command2);
  EXPECT_EQ(registry.writes, 2);
  EXPECT_EQ(zone.get(L"DisplayName")->bytes, std::string("Laura", 6));
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("explorer.exe#0100", 18));

  type(Form1Control::Text1, L"Zona de Laura");
  type(Form1Control::Text2, L"");
  click(Form1Control::Command2);
  EXPECT_EQ(zone.get(L"DisplayName")->bytes, std::string("Zona de Laura", 14));
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("", 1));
  EXPECT_TRUE(registry.messages.empty());
}

TEST_F(Form1Test, ApplyAttemptsTheIconEvenWhenTheNameFails) {
  zone.create();
  start();
  RecordingRegistry failing({Step::Set});
  click(Form1Control::Command2);
  EXPECT_EQ(failing.writes, 2);
  EXPECT_EQ(failing.messages, (Messages{kSaving, kSaving}));
  EXPECT_EQ(failing.closed, 2);
}

// "Find..." through the real Open dialog, started in a folder holding an icon
// and a text file: it lists only the icon under "Archivos de iconos"; a cancel
// leaves the icon box as it was, a choice in another folder puts its full path
// there; either way the process's current folder stays where it was.
TEST_F(Form1Test, FindListsIconFilesAndFillsTheIconBoxLeavingTheCurrentFolderAlone) {
  storeBothValues();
  start();
  const std::wstring listed = makeTempFile(L"Tovix find\\a.ico"), folder = listed.substr(0, listed.rfind(L'\\'));
  makeTempFile(L"Tovix find\\b.txt");
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
  {
    OpenDialogAnswer cancel(GetCurrentThreadId(), std::nullopt, folder);
    click(Form1Control::Command1);
    const auto shown = cancel.shown();
    EXPECT_EQ(shown.fileType, L"Archivos de iconos");
    EXPECT_EQ(shown.listed, std::vector<std::wstring>{L"a.ico"});
  }
  EXPECT_EQ(text(Form1Control::Text2), L"explorer.exe#0100");
  EXPECT_EQ(currentFolder(), folder);

  const std::wstring icon = makeTempFile(L"Tovix icons\\zone.ico");
  OpenDialogAnswer choose(GetCurrentThreadId(), icon);
  click(Form1Control::Command1);
  EXPECT_TRUE(choose.answered());
  EXPECT_EQ(text(Form1Control::Text2), icon);
  EXPECT_EQ(currentFolder(), folder);
}

// What "Find..." asks of the dialog, and a chosen path of 1,000 characters,
// which Windows' own dialog can hand back (Wine's cannot): it fails the call
// when the buffer offered is too small for it.
TEST_F(Form1Test, FindOffersRoomForTheLongestPathAndTakesALongOneWhole) {
  start();
  const std::wstring chosen = L"C:\\" + std::wstring(988, L'x') + L"\\zone.ico";
  ASSERT_EQ(chosen.size(), 1000u);
  OPENFILENAMEW asked{};
  std::wstring filter;
  ScopedOpenDialog dialog([&](OPENFILENAMEW* open) {
    asked = *open;
    filter.assign(open->lpstrFilter, 26);
    if (open->nMaxFile <= chosen.size()) return FALSE;
    chosen.copy(open->lpstrFile, chosen.size());
    open->lpstrFile[chosen.size()] = L'\0';
    return TRUE;
  });
  click(Form1Control::Command1);
  EXPECT_EQ(text(Form1Control::Text2), chosen);
  EXPECT_EQ(asked.nMaxFile, 32768u);
  EXPECT_EQ(asked.hwndOwner, form.hwnd());
  const DWORD wanted = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  EXPECT_EQ(asked.Flags & wanted, wanted);
  EXPECT_EQ(filter, std::wstring(L"Archivos de iconos\0*.ico\0\0", 26));
}

// The Open dialog's drop targets and clipboard need OLE on the window's thread.
TEST_F(Form1Test, TheWindowsThreadTakesDropTargets) {
  start();
  struct NoDrop : IDropTarget {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
      *object = this;
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
  } target;
  EXPECT_EQ(RegisterDragDrop(form.hwnd(), &target), S_OK);
  RevokeDragDrop(form.hwnd());
}

// Texts in any script, as another program stores them through the Unicode
// API: Tovix runs with UTF-8 as its ANSI code page, so they show exactly and
// "Apply changes..." writes them back as they were.
const std::wstring kAnyScript[] = {
    L"\u0417\u043E\u043D\u0430 0",  // Cyrillic
    L"\u0396\u03CE\u03BD\u03B7",    // Greek
    L"\u533A\u57DF 0",              // Chinese
    L"Zona de Bego\u00F1a",         // accented Latin
    L"Zona \U0001F600",             // an emoji outside the Basic Multilingual Plane
    [] {                            // a thousand such characters
      std::wstring text;
      while (text.size() < 1000) text += L"\u0417\u03CE\u533A\u00F1\U0001F600";
      return text.substr(0, 1000);
    }(),
    std::wstring(10000, L'\u30BE'),  // Japanese: 30,000 bytes in UTF-8
};

class AnyScript : public Form1Fixture, public testing::WithParamInterface<std::wstring> {};

TEST_P(AnyScript, ShowsExactlyAndApplyLeavesItAsStored) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  zone.create();
  zone.setWide(L"DisplayName", GetParam());
  zone.setWide(L"Icon", L"C:\\" + GetParam().substr(0, 100) + L".ico");
  start();
  EXPECT_EQ(text(Form1Control::Text1), GetParam());
  EXPECT_EQ(text(Form1Control::Text2), L"C:\\" + GetParam().substr(0, 100) + L".ico");
  click(Form1Control::Command2);
  EXPECT_EQ(zone.wide(L"DisplayName"), GetParam());
  EXPECT_EQ(zone.wide(L"Icon"), L"C:\\" + GetParam().substr(0, 100) + L".ico");
  EXPECT_TRUE(registry.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, AnyScript, testing::ValuesIn(kAnyScript));

// Typed with the keyboard and pasted from the clipboard, such texts are stored exactly.
TEST_F(Form1Test, TextsInAnyScriptTypedOrPastedAreStoredExactly) {
  storeBothValues();
  start();
  const std::wstring typed = L"\u0396\u533A\U0001F600", pasted = L"\u0417\u043E\u043D\u0430 \U0001F600";
  SetFocus(control(Form1Control::Text1));
  SendMessageW(control(Form1Control::Text1), EM_SETSEL, 0, -1);
  for (const wchar_t unit : typed) {
    INPUT key[2]{};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wScan = key[1].ki.wScan = unit;
    key[0].ki.dwFlags = KEYEVENTF_UNICODE;
    key[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, key, sizeof(INPUT));
  }
  Sleep(100);
  form.DoEvents();
  ASSERT_TRUE(OpenClipboard(form.hwnd()));
  EmptyClipboard();
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
  std::wcscpy(static_cast<wchar_t*>(GlobalLock(copy)), pasted.c_str());
  GlobalUnlock(copy);
  SetClipboardData(CF_UNICODETEXT, copy);
  CloseClipboard();
  SendMessageW(control(Form1Control::Text2), EM_SETSEL, 0, -1);
  SendMessageW(control(Form1Control::Text2), WM_PASTE, 0, 0);
  click(Form1Control::Command2);
  EXPECT_EQ(zone.wide(L"DisplayName"), typed);
  EXPECT_EQ(zone.wide(L"Icon"), pasted);
}

}  // namespace
