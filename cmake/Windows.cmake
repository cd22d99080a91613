# The product: 32-bit Windows programs and DLLs, and Windows test programs
# that run under Wine.
add_compile_definitions(WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500 NOMINMAX)
# Every processor that runs a current Windows has SSE2: the codecs' hot loops
# use it, and floating point goes through it rather than the x87 stack (the
# 64-bit build does both anyway).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  add_compile_options(-msse2 -mfpmath=sse)
endif()
# Everything links the C and C++ runtimes statically: the suite ships no
# runtime DLLs of its own.
set(SUITE_STATIC_LINK -static -static-libgcc -static-libstdc++)

# zlib goes into Pictova.dll itself: a Windows machine has no zlib1.dll.
# A build folder configured before zlib went static still names the import
# library in its cache: look again.
if(ZLIB_LIBRARY_RELEASE MATCHES "\\.dll\\.a$")
  unset(ZLIB_LIBRARY_RELEASE CACHE)
  unset(ZLIB_LIBRARY CACHE)
endif()
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(cmake/EndToEnd.cmake)

add_subdirectory(formats)
# Libraries may add themselves to the Windows test program through the
# global property WIN_TEST_LIBS.
foreach(part framework hook capture/core capture/options print capture ui/coolbars browser convert setup tests/framework tests/print)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${part}/CMakeLists.txt)
    add_subdirectory(${part})
  endif()
endforeach()

add_subdirectory(tests/win)
add_subdirectory(tests/driver)
# End-to-end cases need the programs and the driver above.
if(EXISTS ${PROJECT_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
