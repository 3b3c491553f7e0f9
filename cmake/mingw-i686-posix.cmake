# mingw-w64 for 32-bit Windows with the POSIX thread model, whose C++ library has std::mutex
# (GoogleTest needs it). The product keeps the default Win32 thread model.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
