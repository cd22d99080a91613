# The capture kind pages of the Capture Setup sheet. Which sample each page
# paints and how the Title and Menu objects hold together are window-free
# and tested natively; the pages are part of the capture program.
set(CAPTURE_KIND_PAGES_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_kind_rules STATIC ${CAPTURE_KIND_PAGES_DIR}/KindPageRules.cpp)
target_include_directories(capture_kind_rules PUBLIC ${CAPTURE_KIND_PAGES_DIR})
if(WIN32)
  add_library(capture_kind_pages STATIC ${CAPTURE_KIND_PAGES_DIR}/KindPages.cpp)
  target_link_libraries(capture_kind_pages PUBLIC capture_kind_rules capture_hotkey_setup capture_decorations
    kframework comdlg32 gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_kind_rules)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_kind_rules)
endif()
