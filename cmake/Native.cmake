# Native Linux build of the window-free code: tests under AddressSanitizer
# and UBSan, libFuzzer targets, benchmarks.
option(SANITIZE "Build with AddressSanitizer and UBSan" ON)
option(BUILD_FUZZERS "Build libFuzzer targets (clang only)" ON)
option(BUILD_BENCHMARKS "Build benchmarks" OFF)

if(SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(ZLIB REQUIRED)

add_library(kernel_native STATIC framework/kernel/KernelApiNative.cpp)
target_include_directories(kernel_native PUBLIC framework/kernel)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(formats)
# Window-free parts of the programs; they add their libraries to the native
# test program through the global property NATIVE_TEST_LIBS.
foreach(part capture/core capture/options print browser convert setup ui/coolbars)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${part}/CMakeLists.txt)
    add_subdirectory(${part})
  endif()
endforeach()
# The framework's window-free frame and document logic.
include(framework/FrameworkFrameCore.cmake)
add_subdirectory(tests/native)
# The build and test road's own scripts, and what their displays need.
add_subdirectory(tests/scripts)
add_subdirectory(tests/display)

if(BUILD_FUZZERS AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_subdirectory(fuzz)
endif()
if(BUILD_BENCHMARKS)
  add_subdirectory(bench)
endif()
