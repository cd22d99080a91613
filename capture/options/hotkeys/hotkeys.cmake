# The Hotkey Setup dialog. Its rules (conflict check, defaults, hot-key text)
# are window-free and tested natively; the dialog and its key caps are part
# of the capture program.
set(CAPTURE_HOTKEYS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_hotkey_rules STATIC ${CAPTURE_HOTKEYS_DIR}/HotkeyRules.cpp)
target_include_directories(capture_hotkey_rules PUBLIC ${CAPTURE_HOTKEYS_DIR})
target_link_libraries(capture_hotkey_rules PUBLIC capture_dispatch capture_settings)
if(WIN32)
  add_library(capture_hotkey_setup STATIC ${CAPTURE_HOTKEYS_DIR}/HotkeySetupDialog.cpp)
  target_link_libraries(capture_hotkey_setup PUBLIC capture_hotkey_rules kframework gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_hotkey_rules)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_hotkey_rules)
endif()
