# Cross-compiles for 32-bit Windows, the program's own platform.
set(CMAKE_SYSTEM_PROCESSOR i686)
# Floating point in SSE registers, as in the 64-bit build: the x87 unit keeps
# some intermediate results at 80 bits and rounds others when they are spilled,
# so equal computations could compare unequal and results would differ between
# the two builds.  The stack is realigned where SSE needs it, since Windows
# calls back with a stack aligned to 4 bytes only.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
