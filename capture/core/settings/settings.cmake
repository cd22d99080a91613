# The capture settings store: window-free in both builds; on Windows it also
# reads the screen, registers the auxiliary window classes and talks to the
# hook library.
set(CAPTURE_SETTINGS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_settings STATIC
  ${CAPTURE_SETTINGS_DIR}/SettingsStore.cpp
  ${CAPTURE_SETTINGS_DIR}/SettingsNative.cpp
  ${CAPTURE_SETTINGS_DIR}/SettingsWin32.cpp
  ${CAPTURE_SETTINGS_DIR}/AuxWindows.cpp)
target_include_directories(capture_settings PUBLIC ${CAPTURE_SETTINGS_DIR})
if(WIN32)
  target_link_libraries(capture_settings PUBLIC Kapthook user32 gdi32)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_settings)
else()
  target_link_libraries(capture_settings PUBLIC kernel_native)
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_settings)
endif()
