// The fault layer: Tovix's code built again with every Win32 call that can
// fail going through here, where a test fails the call sites it chooses.
#pragma once

#include <windows.h>

#include <string>
#include <type_traits>
#include <vector>

namespace faults {

// A call site: the function and the place in Tovix's code that calls it,
// "CreateWindowExW ./window/Controls.cpp:17". Calls from elsewhere (the tests,
// the runtime) pass straight through, unrecorded.
using Site = std::string;

struct Layer {
  // The first call at each of these sites fails; an entry naming a function
  // alone fails its first call anywhere.
  std::vector<Site> failing;
  // Until a test starts a walk (reset), every call not failed is Windows'
  // own. In a walk the Open dialog is answered here, as a user who presses
  // Escape, and so are message boxes (OK, unseen) unless they are shown.
  bool walking = false;
  bool showBoxes = false;
  std::vector<Site> reached;        // every site called, in the order first called
  std::vector<Site> failed;         // the entries of failing that failed
  std::vector<std::wstring> boxes;  // "caption|text" of each box stood in for
  std::string generator;            // the random generator that answered, and its bytes
  ULONG_PTR generated = 0;
};

// The layer: at first use, what TOVIX_FAULTS lists (sites separated by ";")
// fails, in a process started for a case.
Layer& layer();
// Starts a walk afresh: the sites given fail, the rest is forgotten.
void reset(std::vector<Site> failing, bool showBoxes);

// Whether this call fails: the first at a site the layer lists.
bool fails(const char* function, const char* site);
FARPROC lookUp(HMODULE module, LPCSTR name, const char* site);
int messageBox(const char* site, HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

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
