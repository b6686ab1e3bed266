# Cross-builds for 64-bit Windows with Debian's mingw-w64, POSIX thread model (so that
# std::thread and std::mutex work).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER ${triple}-gcc-posix)
find_program(CMAKE_CXX_COMPILER ${triple}-g++-posix)
find_program(CMAKE_RC_COMPILER ${triple}-windres)
if(NOT CMAKE_C_COMPILER OR NOT CMAKE_CXX_COMPILER)
  message(FATAL_ERROR "${triple}-g++-posix was not found: the Windows build needs Debian's "
                      "g++-mingw-w64-x86-64-posix (bash scripts/install-deps.sh windows)")
endif()

# Libraries and headers come from the cross environment only, never from the build
# machine's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
