// Runs the suite, or, started with the rewrite switch, plays another program
// that rewrites a value. Each window under test sets up OLE on the thread
// itself, as the program's window does.
#include "TestRegistry.h"

#include <gtest/gtest.h>

#include <cwchar>

int main(int argc, char** argv) {
  // Started again by a test as the other program that rewrites a value.
  if (std::wcsstr(GetCommandLineW(), kRewriteSwitch) != nullptr) return rewriteValueUntilStopped();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
