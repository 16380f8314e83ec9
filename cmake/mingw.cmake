# Cross build for Windows with Debian's mingw-w64 (win32 thread model: no
# libwinpthread to ship). TARNVEX_WINDOWS_ARCH picks the compilers: i686 (the
# shipped 32-bit build) or x86_64.
set(TARNVEX_WINDOWS_ARCH i686 CACHE STRING "Windows architecture of the cross build: i686 or x86_64")
set_property(CACHE TARNVEX_WINDOWS_ARCH PROPERTY STRINGS i686 x86_64)
set(tarnvex_triple ${TARNVEX_WINDOWS_ARCH}-w64-mingw32)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TARNVEX_WINDOWS_ARCH})
set(CMAKE_C_COMPILER ${tarnvex_triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${tarnvex_triple}-g++-win32)
set(CMAKE_RC_COMPILER ${tarnvex_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${tarnvex_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
