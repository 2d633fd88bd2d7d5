# Compiles for WebAssembly with clang-14 and Debian's WASI C library and libc++ (wasi-libc,
# libc++-14-dev-wasm32, libclang-rt-14-dev-wasm32, lld-14): the web page's module. libc++ for
# this target has no exceptions.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
