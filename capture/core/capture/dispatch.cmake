# The window-free half of the capture dispatch (hot keys, guard, countdown,
# progress, type table) and the settings file copy: built in both configurations and tested natively.
set(CAPTURE_DISPATCH_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_dispatch STATIC
  ${CAPTURE_DISPATCH_DIR}/CaptureDispatch.cpp
  ${CAPTURE_DISPATCH_DIR}/HotkeyKeys.cpp
  ${CAPTURE_DISPATCH_DIR}/SettingsFileCopy.cpp)
target_include_directories(capture_dispatch PUBLIC ${CAPTURE_DISPATCH_DIR})
target_link_libraries(capture_dispatch PUBLIC capture_settings)
if(WIN32)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_dispatch)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_dispatch)
endif()
