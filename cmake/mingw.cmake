# Cross-compiles for Windows with Debian's MinGW-w64 (the win32 thread model, which needs no
# libwinpthread-1.dll beside the programs): for 32-bit Windows, or for 64-bit Windows when
# QUILLET_MINGW_TARGET is x86_64-w64-mingw32.
set(QUILLET_MINGW_TARGET i686-w64-mingw32 CACHE STRING "The MinGW-w64 target triplet")
# Toolchain files are read again for each compiler check, which sees only the variables listed.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUILLET_MINGW_TARGET)
set(CMAKE_SYSTEM_NAME Windows)
if(QUILLET_MINGW_TARGET MATCHES "^x86_64")
    set(CMAKE_SYSTEM_PROCESSOR AMD64)
else()
    set(CMAKE_SYSTEM_PROCESSOR x86)
endif()

set(CMAKE_C_COMPILER ${QUILLET_MINGW_TARGET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QUILLET_MINGW_TARGET}-g++-win32)
set(CMAKE_RC_COMPILER ${QUILLET_MINGW_TARGET}-windres)
set(CMAKE_DLLTOOL ${QUILLET_MINGW_TARGET}-dlltool)
set(CMAKE_OBJDUMP ${QUILLET_MINGW_TARGET}-objdump)

# Libraries and packages come from the MinGW tree only, never from the host's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLET_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ and GCC runtimes go inside each program and the library, so that a Windows machine
# needs no MinGW DLLs: only the system's own are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
