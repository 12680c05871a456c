# 32-bit Windows (i686) with mingw-w64. Arithmetic in SSE2 registers rather
# than the x87 unit, whose extended precision would round differently from
# the other builds.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triplet i686-w64-mingw32)
set(mingw_flags "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
