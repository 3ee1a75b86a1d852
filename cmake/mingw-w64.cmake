# Cross-builds the Qt-free core for 64-bit Windows with mingw-w64 (posix threads), run by Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARVENOR_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TARVENOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVENOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVENOR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARVENOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime goes into every program and library, so they run without DLLs copied beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

find_program(TARVENOR_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(TARVENOR_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVENOR_WINE})
endif()
