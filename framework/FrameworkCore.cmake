# The window-free core of the framework (strings, collections, run-time
# class records): one static library for both builds. Programs and window-free
# parts that use it include this file and link kframework_core; on Windows
# the framework library links it too.
if(NOT TARGET kframework_core)
  add_library(kframework_core STATIC ${CMAKE_CURRENT_LIST_DIR}/CString.cpp)
  target_include_directories(kframework_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
endif()
# Tests that need the library compile only where it is linked.
target_compile_definitions(kframework_core INTERFACE KFRAMEWORK_CORE_LINKED)
