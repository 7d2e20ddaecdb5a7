# The same sources as 64-bit Windows programs, for running under 64-bit Wine
# on machines that run no 32-bit code (see tools/wine/wine-arch.sh).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
