// When Windows says no: every call of Tovix's that Windows may refuse, and
// its allocations, found by walking through Tovix as a user does, refused in
// turn. The walk (start, the pointer over both boxes, "Find..." then Escape,
// a key typed in the name box, "Apply changes...", close) either ends with a
// box captioned "Tovix" that says what failed and exit code 1, or carries on,
// the stored values shown and Apply storing exactly what the boxes show. The
// cases that end Tovix end again in a process of their own. And the stack
// guard: the system generator's answer, which an overwritten canary ends the
// program over.
#include "Faults.h"
#include "Form1.h"
#include "SystemDlls.h"
#include "TestRegistry.h"
#include "WindowTesting.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <map>
#include <ranges>
#include <set>
#include <string>

extern "C" uintptr_t __stack_chk_guard;

namespace {

using enum Form1Control;
using faults::Site;
using Texts = std::array<std::wstring, 2>;  // the name and the icon

const Texts kStored = {L"Zona Lucia 7", L"explorer.exe#0100"};
const std::wstring kNoDialog = L"Tovix|Tovix could not show the Open dialog.\n\n";
const std::wstring kEndings[] = {L"Tovix could not register its window class.", L"Tovix could not create its window.",
                                 L"Tovix could not create the controls of its window.",
                                 L"Tovix could not put a text into one of its boxes.", L"Tovix ran out of memory."};
// What the walk must reach, or the table tests nothing: the window's class
// and window, a control, a box's text, the registry, the Open dialog, memory.
const char* const kMustReach[] = {"RegisterClassExW ./window/Form.cpp",
                                  "CreateWindowExW ./window/Form.cpp",
                                  "CreateWindowExW ./window/Controls.cpp",
                                  "SetWindowTextW ./window/Controls.cpp",
                                  "RegOpenKeyExA ./registry/",
                                  "RegQueryValueExA ./registry/",
                                  "RegSetValueExA ./registry/",
                                  "RegCloseKey ./registry/",
                                  "GetOpenFileNameW ./window/",
                                  "operator new@start"};
constexpr size_t kFewestSites = 40;
// The controls the user sees, each with a window.
constexpr Form1Control kSeen[] = {Image1, Label1, Text1, Label2, Text2, Command1, Command2, Label3};

// The zone's key with both values stored, for as long as it lives.
struct StoredZone : ScratchKey {
  StoredZone() : ScratchKey(L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Lockdown_Zones\\0") {
    setWide(L"DisplayName", kStored[0]);
    setWide(L"Icon", kStored[1]);
  }
};

// What the user saw and what was stored, walking through Tovix with the
// listed sites failing: the boxes after the start and when Apply was pressed,
// the values after it; whether every control that is seen had its window,
// and whether the user closed the window at the end of the walk; accesses
// through a null pointer, which Windows may survive in a window procedure.
struct Walk {
  int exitCode = -1, nullWrites = 0;
  Texts shown, applied, stored;
  size_t boxesAtStart = 0, boxesBeforeApply = 0;
  bool whole = false, closed = false;
  faults::Layer layer;
};

// Counts accesses through null pointers as they happen, before any handler
// (Wine's, around a window procedure) swallows them. (Where qemu runs the
// 32-bit programs, such a write was seen to go through without an
// exception, the lowest addresses being mapped there: this catches it only
// where the kernel runs them.)
std::atomic<int> nullAccesses = 0;
LONG CALLBACK countNullAccess(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.ExceptionInformation[1] < 0x10000) ++nullAccesses;
  return EXCEPTION_CONTINUE_SEARCH;
}

// The user: a window of the test's own, without a place on the screen,
// whose one message takes the next step of the walk, unless the form has
// stopped, and posts itself again. Form::Run delivers it as any other, after
// what the step before left for it; each step paints at once.
struct User {
  std::vector<std::function<void()>> steps;
  size_t next = 0;
};
LRESULT CALLBACK userProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
  User& user = *reinterpret_cast<User*>(lParam);
  MSG quit;
  if (user.next == user.steps.size() || PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return 0;
  user.steps[user.next++]();
  PostMessageW(window, WM_APP, 0, lParam);
  return 0;
}

// Tovix runs as wWinMain runs it, its events delivered by Form::Run, the
// user's steps among them: the same calls at each run. The form is destroyed
// at the end, as a test's must be. What the test itself reads in between
// allocates unseen by the layer.
Walk walk(std::vector<Site> failing, bool showBoxes = false) {
  const StoredZone zone;
  faults::reset(std::move(failing), showBoxes);
  faults::layer().openDialog = [](OPENFILENAMEW*) { return FALSE; };  // the user presses Escape
  static const WNDCLASSW userClass{0, userProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"Tovix.User"};
  static const ATOM registered = RegisterClassW(&userClass);
  Walk walk;
  loadDllsFromSystemFolderOnly();
  nullAccesses = 0;
  const auto tovix = [](bool counted) { faults::layer().thread = counted ? GetCurrentThreadId() : 0; };
  tovix(true);
  try {
    Form1 form;
    const auto box = [&](Form1Control which) { return GetDlgItem(form.hwnd(), controlId(which)); };
    const auto texts = [&] {
      tovix(false);
      const Texts read{windowText(box(Text1)), windowText(box(Text2))};
      tovix(true);
      return read;
    };
    const auto step = [&](const char* name, HWND to, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
      if (name != nullptr) faults::layer().step = name;
      SendMessageW(to, message, wParam, lParam);
      RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    User user{{[&] {
                 step(nullptr, form.hwnd(), WM_NULL);
                 walk.whole = std::ranges::all_of(kSeen, [&](Form1Control seen) { return box(seen) != nullptr; });
                 walk.shown = texts();
                 walk.boxesAtStart = faults::layer().boxes.size();
               },
               [&] { step("hover", box(Text1), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4)); },
               [&] { step(nullptr, box(Text2), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4)); },
               [&] { step("find", box(Command1), BM_CLICK); }, [&] { step("type", box(Text1), EM_SETSEL, 1000, 1000); },
               [&] { step(nullptr, box(Text1), WM_CHAR, L'x', 1); },
               [&] {
                 walk.applied = texts();
                 walk.boxesBeforeApply = faults::layer().boxes.size();
                 step("apply", box(Command2), BM_CLICK);
               },
               [&] {
                 tovix(false);
                 walk.stored = {zone.wide(L"DisplayName"), zone.wide(L"Icon")};
                 tovix(true);
                 walk.closed = true;
                 step("close", form.hwnd(), WM_SYSCOMMAND, SC_CLOSE);
               }}};
    const HWND steps =
        CreateWindowExW(0, MAKEINTATOM(registered), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    PostMessageW(steps, WM_APP, 0, reinterpret_cast<LPARAM>(&user));
    walk.exitCode = form.Run();
    DestroyWindow(steps);
  } catch (...) {
    tellUser(nullptr, refusalOfCurrentException());
    walk.exitCode = 1;
  }
  tovix(false);
  walk.nullWrites = nullAccesses;
  walk.layer = faults::layer();
  return walk;
}

bool isRegistryMessage(const std::wstring& box) {
  return std::ranges::count(std::initializer_list{kOpening, kLength, kValue, kSaving, kClosing}, box.substr(6)) == 1;
}

// The outcome allowed for a failing site: a message and the end, or the
// window carrying on with the values whole.
void expectSound(const Walk& walk) {
  const std::vector<std::wstring>& boxes = walk.layer.boxes;
  EXPECT_EQ(walk.layer.failed, walk.layer.failing) << "a site listed was not reached";
  for (size_t box = 0; box < boxes.size(); ++box) {
    const bool last = box + 1 == boxes.size(), told = boxes[box].starts_with(L"Tovix|Tovix could not ") ||
                                                      boxes[box].starts_with(L"Tovix|Tovix ran out of memory.");
    EXPECT_TRUE(boxes[box].starts_with(L"Tovix|") && (isRegistryMessage(boxes[box]) || told) &&
                (last || !told || boxes[box].starts_with(kNoDialog)))
        << boxes[box];
  }
  // A refused box says nothing, and what it would have said cannot be checked.
  const auto refused = [&](const char* function) {
    return std::ranges::any_of(walk.layer.failed, [&](const Site& site) { return site.starts_with(function); });
  };
  if (walk.exitCode != 0) {
    wchar_t reason[512];  // the system's text for the error
    const std::wstring because(reason, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                                      nullptr, ERROR_NOT_ENOUGH_MEMORY, 0, reason, 512, nullptr));
    const std::wstring said =
        refused("FormatMessageW") ? L"Windows error 8." : because.substr(0, because.find_last_not_of(L"\r\n ") + 1);
    const std::wstring last = boxes.empty() ? L"" : boxes.back();
    EXPECT_EQ(walk.exitCode, 1);
    EXPECT_TRUE(
        refused("MessageBoxW ./window/Refusal.cpp") ||
        std::ranges::any_of(kEndings, [&](auto& ending) { return last == L"Tovix|" + ending + L"\n\n" + said; }))
        << last;
    return;
  }
  // An Open dialog that could not be shown says so.
  const bool noDialog = refused("GetOpenFileNameW") || refused("LoadLibraryExW ./window/CommonDialog") ||
                        refused("GetProcAddress(GetOpenFileNameW)") || refused("GetProcAddress(CommDlgExtendedError)");
  EXPECT_TRUE(!noDialog || refused("MessageBoxW") || std::ranges::any_of(boxes, [](auto& box) {
    return box.starts_with(kNoDialog);
  })) << "a failed Open dialog was not told";
  EXPECT_EQ(walk.nullWrites, 0);
  EXPECT_TRUE(walk.closed) << "the window went before the user closed it";
  EXPECT_TRUE(walk.whole) << "the window lacks a control";
  EXPECT_EQ(walk.applied, (Texts{walk.shown[0] + L"x", walk.shown[1]}));
  // What the start could not read it said; what Apply could not store it said,
  // and the old value stays. Only the Open dialog is told apart from those.
  for (int value = 0; value < 2 && !refused("MessageBoxW"); ++value) {
    EXPECT_TRUE(walk.boxesAtStart > 0 || walk.shown[value] == kStored[value]) << walk.shown[value];
    EXPECT_TRUE(walk.stored[value] == walk.applied[value] ||
                (walk.boxesBeforeApply < boxes.size() && walk.stored[value] == kStored[value]))
        << walk.stored[value];
  }
}

// This program started again (see main), with the plans given failing (their
// entries separated by ";", the plans by "|"; for the guard, one plan that
// the layer reads at its first use) and the boxes shown: each box,
// answered ("caption|text"), and the exit code once the process has ended.
std::pair<std::vector<std::wstring>, DWORD> runAlone(const std::vector<std::vector<Site>>& plans, const wchar_t* as) {
  std::string listed;
  for (const auto& plan : plans) {
    for (const Site& site : plan) listed += site + ";";
    listed += "|";
  }
  const char* variable = std::wstring(as) == L"--walks" ? "TOVIX_WALKS" : "TOVIX_FAULTS";
  SetEnvironmentVariableA(variable, listed.c_str());
  wchar_t self[MAX_PATH];
  std::wstring command = L"\"" + std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH)) + L"\" " + as;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return {{L"not started"}, 0};
  SetEnvironmentVariableA(variable, nullptr);
  std::vector<std::wstring> said;
  const bool ended = waitFor(
      [&] {
        for (HWND box = nullptr; (box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr;) {
          DWORD owner = 0;
          GetWindowThreadProcessId(box, &owner);
          if (owner != process.dwProcessId || !IsWindowVisible(box)) continue;
          said.push_back(windowText(box) + L"|" + windowText(GetDlgItem(box, 0xFFFF)));
          pressButton(box, IDOK);
          waitFor([&] { return !IsWindow(box); });  // each box once, however slow it is to go
        }
        return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
      },
      120000);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  if (!ended) TerminateProcess(process.hProcess, STILL_ACTIVE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {said, code};
}

// Each site is failed at its first call in each step of the walk, and the
// conversions of texts for the registry at each of their calls (the text
// stored on Apply comes after its key's path and its value's name); each allocation of the start is
// failed, then a spread of the rest, the last one included. A site reached
// only behind a failure (the message's box, its text) is failed too, behind
// the same failure.
TEST(WhenWindowsSaysNo, EachCallFailedEndsWithAMessageOrCarriesOnWithTheValuesWhole) {
  std::vector<std::vector<Site>> plans = {{}};
  std::set<Site> seen;
  std::vector<Walk> endings;
  walk({});  // the first form of the process makes what the others find made (a map of pictures)
  for (size_t plan = 0; plan < plans.size(); ++plan) {
    SCOPED_TRACE(plans[plan].empty() ? "" : plans[plan].back());
    Walk failed = walk(plans[plan]);
    expectSound(failed);
    for (const Site& site : failed.layer.reached) {
      if (!seen.insert(site).second || (plan > 0 && site.starts_with("operator new"))) continue;
      plans.push_back(plans[plan]);
      plans.back().push_back(site);
    }
    if (plan == 0) {
      const std::map<std::string, int>& calls = failed.layer.calls;
      EXPECT_TRUE(failed.layer.boxes.empty()) << "a walk failing nothing shows no box";
      EXPECT_TRUE(failed.layer.unknownNames.empty()) << "looked up by name, unknown to the layer";
      EXPECT_GE(failed.layer.reached.size(), kFewestSites);
      for (const char* must : kMustReach)
        EXPECT_TRUE(std::ranges::any_of(failed.layer.reached, [&](const Site& site) { return site.starts_with(must); }))
            << must << " was not reached";
      for (const auto& [site, count] : calls)
        for (int call = 2;
             site.find(" ./registry/AnsiText") != Site::npos && site.find('@') == Site::npos && call <= count; ++call)
          plans.push_back({site + "@" + std::to_string(call)});
      const int start = calls.at("operator new@start"), all = calls.at("operator new");
      for (int call = 1; call <= all; call += call < start ? 1 : std::max(1, (all - start) / 8))
        plans.push_back({"operator new@" + std::to_string(call)});
      plans.push_back({"operator new@" + std::to_string(all)});
      std::cout << all << " allocations in the walk, " << start << " of them at the start.\n";
    }
    if (plan > 0)
      std::cout << (failed.exitCode != 0 ? "  ends Tovix: " : "  carried on: ") << plans[plan].back() << "\n";
    if (failed.exitCode != 0) endings.push_back(std::move(failed));
  }
  std::cout << plans.size() - 1 << " calls failed, " << endings.size() << " of them ending Tovix.\n";
  // Those end again in a process of their own, one after the other, with
  // the same boxes shown, and exit code 1.
  const StoredZone zone;
  std::vector<std::vector<Site>> ending;
  std::vector<std::wstring> boxes;
  for (const Walk& walk : endings) {
    ending.push_back(walk.layer.failing);
    boxes.insert(boxes.end(), walk.layer.boxes.begin(), walk.layer.boxes.end());
  }
  EXPECT_EQ(runAlone(ending, L"--walks"), std::pair(boxes, DWORD{1}));
}

// The guard is what the system's generator answered, RtlGenRandom's, else
// BCryptGenRandom's, whichever step of the first Windows refuses, and so
// another at each start; where neither answers, still never zero. A write past an array on the stack ends the program
// at once with STATUS_STACK_BUFFER_OVERRUN (without canaries, its return would jump to the bytes written instead).
TEST(WhenWindowsSaysNo, TheStackGuardIsTheGeneratorsAnswerAndAnOverwrittenCanaryEndsTheProgram) {
  const std::tuple<std::vector<Site>, const wchar_t*, DWORD> runs[] = {
      {{}, L"--guard", 1},
      {{"GetProcAddress(SystemFunction036)"}, L"--guard", 2},
      {{"SystemFunction036"}, L"--guard", 2},
      {{"SystemFunction036", "LoadLibraryExW"}, L"--guard", 3},
      {{"SystemFunction036", "GetProcAddress(BCryptGenRandom)"}, L"--guard", 3},
      {{"SystemFunction036", "BCryptGenRandom"}, L"--guard", 3},
      {{}, L"--overrun", static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN)}};
  for (const auto& [failing, as, code] : runs) EXPECT_EQ(runAlone({failing}, as).second, code) << as;
}

// A write of a length the compiler cannot check: the program's path, longer
// than the array, copied there by Windows.
[[gnu::noinline]] void overrunAnArrayOnTheStack() {
  char path[8];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
}

}  // namespace

// Started with --walks, this program walks through Tovix once for each plan
// TOVIX_FAULTS lists, and ends with 1 if each walk ended with it; with --guard,
// it answers how its guard was drawn: 1 or 2, a generator's answer
// (RtlGenRandom's, BCryptGenRandom's); 3, none, and not zero; --overrun
// overwrites a canary, and ends with 0 if nothing stopped it.
int main(int argc, char** argv) {
  AddVectoredExceptionHandler(TRUE, countNullAccess);
  const std::string as = argc == 2 ? argv[1] : "";
  const faults::Layer& layer = faults::layer();
  if (as == "--walks") {
    walk({}, true);  // as in the suite: the first form of the process makes the map of pictures
    int ended = 1;
    for (const auto plan : std::views::split(std::string_view(std::getenv("TOVIX_WALKS")), '|')) {
      std::vector<Site> failing;
      for (const auto entry : std::views::split(std::string_view(plan.begin(), plan.end()), ';'))
        if (!entry.empty()) failing.emplace_back(entry.begin(), entry.end());
      if (!failing.empty() && walk(failing, true).exitCode != 1) ended = 0;
    }
    return ended;
  }
  if (as == "--overrun") return overrunAnArrayOnTheStack(), 0;
  if (as == "--guard" && layer.generator.empty()) return __stack_chk_guard != 0 ? 3 : 13;
  if (as == "--guard")
    return __stack_chk_guard != layer.generated ? 12 : layer.generator == "SystemFunction036" ? 1 : 2;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
