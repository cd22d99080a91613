# The Open and Save As dialogs with the image preview: their rules
# (window-free, tested natively too), and on Windows the dialogs, the
# preview pane and the runners the application and the documents call.
set(CAPTURE_FILEDIALOGS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_filedialog_rules STATIC ${CAPTURE_FILEDIALOGS_DIR}/FileDialogRules.cpp)
target_include_directories(capture_filedialog_rules PUBLIC ${CAPTURE_FILEDIALOGS_DIR})
target_link_libraries(capture_filedialog_rules PUBLIC capture_document_core)
if(WIN32)
  add_library(capture_filedialogs STATIC
    ${CAPTURE_FILEDIALOGS_DIR}/FilePreview.cpp
    ${CAPTURE_FILEDIALOGS_DIR}/FileOpenDialogs.cpp
    ${CAPTURE_FILEDIALOGS_DIR}/FileSaveDialog.cpp)
  target_link_libraries(capture_filedialogs PUBLIC capture_filedialog_rules capture_document_core capture_image_gdi
    kframework comdlg32 shell32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_filedialogs)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_filedialog_rules)
endif()

# The Open dialogs in a test program of their own (the program's services
# are the test's), with the program's resources.
if(WIN32 AND TARGET gtest_main)
  add_executable(file_dialogs_win_tests ${PROJECT_SOURCE_DIR}/tests/win/filedialogs/file_dialogs_win_test.cpp)
  target_include_directories(file_dialogs_win_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(file_dialogs_win_tests PRIVATE capture_filedialogs capture_document_core capture_image_gdi
    capture_image capture_settings kframework Pictova gtest_main comdlg32 comctl32 shell32 ${SUITE_STATIC_LINK})
  add_dependencies(file_dialogs_win_tests KapturaResources)
  add_windows_test_program(file_dialogs_win_tests)
endif()

# The preview's speed in the Open dialog (bench/file_preview.sh runs it).
if(WIN32)
  add_executable(file_preview_bench ${PROJECT_SOURCE_DIR}/bench/file_preview_wine.cpp)
  target_include_directories(file_preview_bench PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(file_preview_bench PRIVATE capture_filedialogs capture_document_core capture_image_gdi
    capture_image capture_settings kframework Pictova comdlg32 comctl32 shell32 ${SUITE_STATIC_LINK})
endif()
