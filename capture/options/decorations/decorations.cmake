# The Snapshot Buttons and Kaptura Clock dialogs, which preview their
# choices on the caption decorations. The clock preview's text is
# window-free (tested natively).
set(CAPTURE_DECORATION_DIALOGS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_decoration_previews STATIC ${CAPTURE_DECORATION_DIALOGS_DIR}/ClockPreview.cpp)
target_include_directories(capture_decoration_previews PUBLIC ${CAPTURE_DECORATION_DIALOGS_DIR})
target_link_libraries(capture_decoration_previews PUBLIC capture_decorations_core)

if(WIN32)
  add_library(capture_decoration_dialogs STATIC
    ${CAPTURE_DECORATION_DIALOGS_DIR}/ClockDialog.cpp
    ${CAPTURE_DECORATION_DIALOGS_DIR}/SnapshotButtonsDialog.cpp)
  target_link_libraries(capture_decoration_dialogs PUBLIC capture_decoration_previews capture_small_dialogs
                        capture_decorations capture_settings kframework gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_decoration_dialogs)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_decoration_previews)
endif()
