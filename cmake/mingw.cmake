# Cross-compiling for Windows with mingw-w64: its compilers, resource
# compiler, SDK headers and import libraries. The including toolchain file
# sets mingw_triplet (and mingw_flags, its architecture's own flags).

set(CMAKE_SYSTEM_NAME Windows)
# The POSIX thread model: std::thread for ddraw.dll's drawing threads.
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Floating point exactly as written, so the pictures match the other builds
# bit for bit: no fused multiply-adds.
set(CMAKE_C_FLAGS_INIT "-ffp-contract=off ${mingw_flags}")
set(CMAKE_CXX_FLAGS_INIT "-ffp-contract=off ${mingw_flags}")
