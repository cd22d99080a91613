# The capture program's small dialogs: each a dialog of the program's
# resources, run modally by the command that needs it.
if(WIN32)
  set(CAPTURE_DIALOGS_DIR ${CMAKE_CURRENT_LIST_DIR})
  add_library(capture_dialogs STATIC
    ${CAPTURE_DIALOGS_DIR}/CheckColorDialog.cpp)
  target_include_directories(capture_dialogs PUBLIC ${CAPTURE_DIALOGS_DIR})
  target_link_libraries(capture_dialogs PUBLIC kframework gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_dialogs)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_dialogs)
endif()
