// Runs the suite on a thread in a single-threaded apartment, as the program's own thread is,
// or, started with the rewrite switch, plays another program that rewrites a value.
#include <objbase.h>

#include "TestRegistry.h"

#include <gtest/gtest.h>

#include <cwchar>

int main(int argc, char** argv) {
  // Started again by a test as the other program that rewrites a value.
  if (std::wcsstr(GetCommandLineW(), kRewriteSwitch) != nullptr) return rewriteValueUntilStopped();
  testing::InitGoogleTest(&argc, argv);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
