# The image object, the work image, the colour operations and clipboard
# images. The pixel code is window-free and builds in both configurations
# (natively for tests under the sanitizers); on Windows a second library adds
# the device bitmaps, palettes, drawing and the clipboard calls.
set(CAPTURE_IMAGE_DIR ${CMAKE_CURRENT_LIST_DIR})
include(${PROJECT_SOURCE_DIR}/framework/FrameworkCore.cmake)

add_library(capture_image STATIC
  ${CAPTURE_IMAGE_DIR}/DisplayImage.cpp
  ${CAPTURE_IMAGE_DIR}/DisplayImagePixels.cpp
  ${CAPTURE_IMAGE_DIR}/ImageNotify.cpp
  ${CAPTURE_IMAGE_DIR}/ImageResult.cpp
  ${CAPTURE_IMAGE_DIR}/ColorOps.cpp
  ${CAPTURE_IMAGE_DIR}/ColorReduction.cpp
  ${CAPTURE_IMAGE_DIR}/ClipboardImageDib.cpp
  ${CAPTURE_IMAGE_DIR}/WorkImage.cpp)
target_include_directories(capture_image PUBLIC ${CAPTURE_IMAGE_DIR})
target_link_libraries(capture_image PUBLIC capture_settings kframework_core)

if(WIN32)
  # Pictova.dll keeps its bitmap helpers to itself: the program side carries
  # its own copy.
  target_sources(capture_image PRIVATE ${PROJECT_SOURCE_DIR}/formats/DibHelpers.cpp)
  target_link_libraries(capture_image PUBLIC user32)
  add_library(capture_image_gdi STATIC
    ${CAPTURE_IMAGE_DIR}/DisplayImageGdi.cpp
    ${CAPTURE_IMAGE_DIR}/ColorOpsGdi.cpp
    ${CAPTURE_IMAGE_DIR}/ClipboardImageWin32.cpp)
  target_link_libraries(capture_image_gdi PUBLIC capture_image gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_image_gdi capture_image)
else()
  target_link_libraries(capture_image PUBLIC pictova_core)
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_image)
endif()

# A libFuzzer target for the clipboard block reader, its sources compiled in
# with the fuzzer's coverage counters.
if(NOT WIN32 AND BUILD_FUZZERS AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_executable(clipboard_dib_fuzz
    ${PROJECT_SOURCE_DIR}/fuzz/clipboard_dib_fuzz.cpp
    ${CAPTURE_IMAGE_DIR}/ClipboardImageDib.cpp
    ${CAPTURE_IMAGE_DIR}/ImageResult.cpp
    ${CAPTURE_IMAGE_DIR}/DisplayImage.cpp)
  target_compile_options(clipboard_dib_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(clipboard_dib_fuzz PRIVATE -fsanitize=fuzzer)
  target_include_directories(clipboard_dib_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(clipboard_dib_fuzz PRIVATE capture_settings kframework_core pictova_core)
  # The same over blocks of up to 32 MiB built from short recipes.
  add_executable(clipboard_dib_long_fuzz
    ${PROJECT_SOURCE_DIR}/fuzz/clipboard_dib_fuzz.cpp
    ${PROJECT_SOURCE_DIR}/fuzz/LongInput.cpp
    ${CAPTURE_IMAGE_DIR}/ClipboardImageDib.cpp
    ${CAPTURE_IMAGE_DIR}/ImageResult.cpp
    ${CAPTURE_IMAGE_DIR}/DisplayImage.cpp)
  target_compile_definitions(clipboard_dib_long_fuzz PRIVATE LLVMFuzzerTestOneInput=FuzzOneInput)
  target_compile_options(clipboard_dib_long_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(clipboard_dib_long_fuzz PRIVATE -fsanitize=fuzzer)
  target_include_directories(clipboard_dib_long_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(clipboard_dib_long_fuzz PRIVATE capture_settings kframework_core pictova_core)
endif()
