# Cross build for Windows with MinGW-w64: i686 (the product, 32-bit) by
# default, or x86_64 with TANDREL_MINGW_ARCH=x86_64 (the same sources as a
# 64-bit program, for test machines whose Wine runs 64-bit programs only).
set(TANDREL_MINGW_ARCH i686 CACHE STRING "i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TANDREL_MINGW_ARCH})

set(TANDREL_MINGW_PREFIX ${TANDREL_MINGW_ARCH}-w64-mingw32)
# The POSIX thread model: GoogleTest needs std::mutex, which the win32 model
# lacks. Linked statically, the program still needs no MinGW DLL.
set(CMAKE_C_COMPILER ${TANDREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TANDREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TANDREL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TANDREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine; the test script provides the prefix and the display.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
