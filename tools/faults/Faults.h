// The fault layer: Tovix's code built again with every Win32 call that a
// correct program can see refused going through here, and every allocation
// of its thread, where a test fails the calls it chooses.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace faults {

// A call site: the function and the place in Tovix's code that calls it,
// "CreateWindowExW ./window/Controls.cpp", with its line. Calls from
// elsewhere (the tests, the runtime) pass straight through, unrecorded.
// Allocations have no place: "operator new".
using Site = std::string;

struct Layer {
  // What fails: "function", its first call anywhere; "function site", the
  // first call there; either followed by "@N", the Nth such call instead,
  // "@*", every one, or "@step", the first in that step of the walk.
  // Allocations are counted on Tovix's thread alone, while the test has it set.
  std::vector<Site> failing;
  // Until a test starts a walk (reset), every call not failed is Windows'
  // own. In a walk, boxes are answered OK unseen and kept, unless shown.
  bool walking = false;
  bool showBoxes = false;
  // Stands in for the Open dialog, where set.
  std::function<BOOL(OPENFILENAMEW*)> openDialog;
  // Runs before each call of a function of Tovix's that the layer passes:
  // another program at work meanwhile.
  std::function<void(const std::string& function, int call)> beforeCall;
  // The step of the walk the user is in ("start", "find", ...), set from the
  // user's thread between steps: each site is recorded at its first call in
  // each step, as "site@step", and its calls in each counted.
  const char* step = "start";
  std::vector<Site> reached;
  std::vector<Site> failed;               // the entries of failing that failed
  std::map<std::string, int> calls;       // by function, and by site
  std::vector<std::wstring> boxes;        // "caption|text" of each box stood in for
  std::vector<REGSAM> keyAccess;          // the access asked at each key opened
  std::vector<std::string> unknownNames;  // looked up by name, and not known here
  DWORD thread = 0;                       // Tovix's thread, whose allocations are counted
  std::string generator;                  // the random generator that answered, and its bytes
  ULONG_PTR generated = 0;
};

// The layer: at first use, what TOVIX_FAULTS lists (entries separated by
// ";") fails, in a process started for a case.
Layer& layer();
// Starts a walk afresh: the entries given fail, the rest is forgotten.
void reset(std::vector<Site> failing, bool showBoxes = false);

// Whether this call fails, counting it.
bool fails(const char* function, const char* site);
FARPROC lookUp(HMODULE module, LPCSTR name, const char* site);
int messageBox(const char* site, HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
LONG openKey(const char* site, HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key);
LONG closeKey(const char* site, HKEY key);

// A call that fails as its documentation says: the failure value, and a last
// error of ERROR_NOT_ENOUGH_MEMORY.
template <typename R, typename... Params, typename... Args>
R call(R(WINAPI* real)(Params...), std::type_identity_t<R> failure, const char* function, const char* site,
       Args... args) {
  if (!fails(function, site)) return real(args...);
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return failure;
}

}  // namespace faults
