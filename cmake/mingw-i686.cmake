# Cross-compiling the 32-bit Windows programs (JV-Link is a 32-bit control) with mingw-w64.
# The POSIX thread model gives std::thread and std::mutex; the programs link statically, so
# they need no DLL of ours beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(KOYOMI_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KOYOMI_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOYOMI_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KOYOMI_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KOYOMI_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
