// The stack guard that canaries are compared with, drawn at start, and the end of a run that overwrote one.
#include <windows.h>

#include <bcrypt.h>

#include <cstdint>

#include "Handles.h"
#include "SystemDlls.h"

// -fstack-protector-strong copies this guard into a canary in each protected
// function's frame and calls __stack_chk_fail when the canary no longer
// matches on the way out. Defining both here keeps GCC's libssp out of the
// program: libssp draws its guard with CryptAcquireContext and
// CryptGenRandom, which load an RSA cryptographic provider at every start
// (tens of milliseconds under Wine). The link does not name libssp, so a symbol it
// alone could give fails the build instead of bringing that back.
extern "C" {
uintptr_t __stack_chk_guard;
[[noreturn]] void __stack_chk_fail();
}

// drawGuard changes the guard while its own frame is live, so a canary of its
// own would no longer match when it returns, and __stack_chk_fail runs on a
// stack that can no longer be trusted: both are marked no_stack_protector, and
// so are the helpers drawGuard calls, which all return before the change.
namespace {

// Random bytes from the system's generator, without a cryptographic provider.
// RtlGenRandom comes first: advapi32 exports it as SystemFunction036, and its
// documentation asks for it to be looked up by name, as a function that a
// later Windows may change or drop. advapi32 is loaded with the program (the
// registry's functions are linked from it), and looking for it takes no reference. Where it is gone, the function
// the documentation names instead: BCryptGenRandom with the system's preferred
// generator (Windows Vista SP2 and later), from bcrypt.dll in the system
// folder alone (on Windows 7 that search needs KB2533623, else it fails here).
[[gnu::no_stack_protector]] bool systemRandom(uintptr_t& value) {
  using RtlGenRandomFn = BOOLEAN(WINAPI*)(void*, ULONG);
  using BCryptGenRandomFn = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);
  const auto rtlGenRandom = systemFunction<RtlGenRandomFn>(GetModuleHandleW(L"advapi32.dll"), "SystemFunction036");
  if (rtlGenRandom != nullptr && rtlGenRandom(&value, sizeof value)) return true;
  const UniqueLibrary bcrypt(LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  const auto bcryptGenRandom = systemFunction<BCryptGenRandomFn>(bcrypt.get(), "BCryptGenRandom");
  return bcryptGenRandom != nullptr && BCRYPT_SUCCESS(bcryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&value),
                                                                      sizeof value, BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

// What differs from one start to the next where no generator answers: the
// clock, the performance counter, the process and thread ids and an address
// on the stack, which address-space randomisation moves every start.
[[gnu::no_stack_protector]] uintptr_t thisStart() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return static_cast<uintptr_t>(counter.QuadPart) ^ (uintptr_t{now.dwHighDateTime} << 16) ^ now.dwLowDateTime ^
         (uintptr_t{GetCurrentProcessId()} << 8) ^ GetCurrentThreadId() ^ GetTickCount() ^
         reinterpret_cast<uintptr_t>(&counter);
}

// The generator's bytes as they came, which nothing could make more random;
// where none answered, this start's instead. Never zero, the guard's value
// before it is drawn.
[[gnu::no_stack_protector]] int drawGuard() {
  uintptr_t guard = 0;
  if (!systemRandom(guard)) guard = thisStart();
  __stack_chk_guard = guard != 0 ? guard : thisStart() | 1;
  return 0;
}

// MinGW-w64's start-up code calls the functions listed in the .CRT$XI
// sections, in the order of the sections' names, before the C++ constructors
// and main: the earliest point it offers a program. Its own one comes first
// (.CRT$XIAA) and protects nothing; no function of ours runs before this one.
[[gnu::section(".CRT$XIB"), gnu::used]] int (*const kDrawGuardAtStart)() = drawGuard;

}  // namespace

// A canary was overwritten: a write ran past an array on the stack. The
// process ends at once, running no exception handler, destructor or exit
// routine that the damage could steer: TerminateProcess, which does not return
// when a process ends itself, with STATUS_STACK_BUFFER_OVERRUN, the status
// Windows gives such an end. (A fail-fast request, int 0x29, would also tell
// Windows Error Reporting, on Windows 8 and later; but where qemu runs the
// 32-bit program, Wine takes that instruction for an illegal one, and the
// program would end otherwise there than on every Windows.)
// Should Windows refuse even that, an illegal instruction ends it all the same.
[[noreturn, gnu::no_stack_protector]] void __stack_chk_fail() {
  TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
  __builtin_trap();
}
