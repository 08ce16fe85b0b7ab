# Cross-compiles the Windows programs on Linux with MinGW-w64 (posix thread model,
# so std::thread and std::mutex work). Everything is linked statically: no MinGW
# DLL has to travel beside Orvan.exe.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVAN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVAN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVAN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine; the wrapper keeps the prefix inside the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
