# The folder-tree bar: which files it lists and their order (window-free,
# tested natively too), and on Windows the bar itself with what the main
# frame and the documents call of it.
set(CAPTURE_EXPLORER_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_explorer_names STATIC ${CAPTURE_EXPLORER_DIR}/ExplorerNames.cpp)
target_include_directories(capture_explorer_names PUBLIC ${CAPTURE_EXPLORER_DIR})
if(WIN32)
  add_library(capture_explorer STATIC
    ${CAPTURE_EXPLORER_DIR}/XDialogBar.cpp
    ${CAPTURE_EXPLORER_DIR}/FolderTreeCtrl.cpp
    ${CAPTURE_EXPLORER_DIR}/ExplorerSelection.cpp)
  target_link_libraries(capture_explorer PUBLIC capture_explorer_names capture_document kframework comctl32)
  # The main frame's header, for bringing the frame forward.
  target_include_directories(capture_explorer PRIVATE ${PROJECT_SOURCE_DIR}/capture/core/capture)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_explorer)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_explorer_names)
endif()
