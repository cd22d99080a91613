# The snapshot strip and the title-bar clock. The clock's texts, the strip's
# slots and the caption geometry are window-free (built in both
# configurations, tested natively); the drawing into captions is part of
# the capture program, in place of its stand-in.
set(CAPTURE_DECORATIONS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_decorations_core STATIC ${CAPTURE_DECORATIONS_DIR}/TitleBarLayout.cpp)
target_include_directories(capture_decorations_core PUBLIC ${CAPTURE_DECORATIONS_DIR})
target_link_libraries(capture_decorations_core PUBLIC capture_dispatch capture_settings)

if(WIN32)
  add_library(capture_decorations STATIC ${CAPTURE_DECORATIONS_DIR}/TitleBarDecorations.cpp)
  target_link_libraries(capture_decorations PUBLIC capture_decorations_core capture_screen kframework Kapthook gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_decorations)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_decorations_core)
endif()
