# The capture program's small dialogs: each a dialog of the program's
# resources, run modally by the command that needs it. The About box's logo
# animation is window-free (tested natively).
set(CAPTURE_DIALOGS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_dialogs_core STATIC ${CAPTURE_DIALOGS_DIR}/AboutLogoAnimation.cpp)
target_include_directories(capture_dialogs_core PUBLIC ${CAPTURE_DIALOGS_DIR})

if(WIN32)
  add_library(capture_dialogs STATIC
    ${CAPTURE_DIALOGS_DIR}/CheckColorDialog.cpp)
  target_include_directories(capture_dialogs PUBLIC ${CAPTURE_DIALOGS_DIR})
  target_link_libraries(capture_dialogs PUBLIC kframework gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_dialogs)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_dialogs)

  # The option dialogs the application and the documents run; they stand on
  # the program's settings and caption decorations, so only the program
  # links them.
  add_library(capture_small_dialogs STATIC
    ${CAPTURE_DIALOGS_DIR}/AboutDialog.cpp
    ${CAPTURE_DIALOGS_DIR}/BlackWhiteDialog.cpp
    ${CAPTURE_DIALOGS_DIR}/ColorSwatches.cpp
    ${CAPTURE_DIALOGS_DIR}/DialogHelpers.cpp
    ${CAPTURE_DIALOGS_DIR}/FrameDialog.cpp
    ${CAPTURE_DIALOGS_DIR}/ImageInfoDialog.cpp
    ${CAPTURE_DIALOGS_DIR}/SetupDialog.cpp)
  target_link_libraries(capture_small_dialogs PUBLIC capture_dialogs_core capture_decorations capture_settings
                        kframework comdlg32 comctl32 gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_small_dialogs)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_dialogs_core)
endif()
