#!/usr/bin/env bash
# make coverage: line and branch coverage of registry/ and window/ by the
# suites. Builds everything again, counting, into build/coverage/build (the
# coverage preset), runs every suite but the packaging one (it checks the
# release's bytes, which counting changes), and leaves gcovr's report in
# build/coverage/index.html. Throw branches (the runtime's, for exceptions
# that never come) and branches the compiler made unreachable are not counted.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/coverage/build
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j 2 -- --no-print-directory
find "$build" -name '*.gcda' -delete
ctest --preset coverage
# Only the objects' folders are searched: the Wine prefixes under the build
# folder hold a link to the whole file system (drive Z:).
gcovr --root . --gcov-executable i686-w64-mingw32-gcov --filter 'registry/' --filter 'window/' \
  --exclude-throw-branches --exclude-unreachable-branches --html-details build/coverage/index.html --print-summary \
  "$build/CMakeFiles" "$build/tests/CMakeFiles"
