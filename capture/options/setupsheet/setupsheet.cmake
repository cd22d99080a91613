# The Capture Setup sheet with its Send To, Capture and Notification pages,
# in place of its stand-in. The copy of the settings it edits and stores is
# window-free and tested natively.
set(CAPTURE_SETUP_SHEET_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_setup_values STATIC ${CAPTURE_SETUP_SHEET_DIR}/CaptureSetupValues.cpp)
target_include_directories(capture_setup_values PUBLIC ${CAPTURE_SETUP_SHEET_DIR})
target_link_libraries(capture_setup_values PUBLIC capture_settings)
if(WIN32)
  add_library(capture_setup_sheet STATIC ${CAPTURE_SETUP_SHEET_DIR}/CaptureSetupSheet.cpp)
  target_link_libraries(capture_setup_sheet PUBLIC capture_setup_values capture_kind_pages capture_engine
    capture_document Pagent kframework gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_setup_sheet)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_setup_values)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_setup_values)
endif()
