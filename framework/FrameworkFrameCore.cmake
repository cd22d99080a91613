# The window-free half of the framework's frames and documents: document
# template strings, the recent-file list and its ini keys, window placement
# text. Built in both configurations; natively it joins the native tests.
if(NOT TARGET kframework_frame_core)
  include(${CMAKE_CURRENT_LIST_DIR}/FrameworkCore.cmake)
  add_library(kframework_frame_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DocTemplateStrings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentFileList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowPlacementText.cpp)
  target_link_libraries(kframework_frame_core PUBLIC kframework_core)
  target_compile_definitions(kframework_frame_core INTERFACE KFRAMEWORK_FRAME_CORE_LINKED)
  if(NOT WIN32)
    target_link_libraries(kframework_frame_core PUBLIC kernel_native)
    set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS kframework_frame_core)
  endif()
endif()
