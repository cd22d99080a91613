# The image documents: file names, layout, notes and file I/O are window-free
# and build in both configurations (tested natively); on Windows a second
# library adds the document, its child frame and its views.
set(CAPTURE_DOCUMENT_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_document_core STATIC
  ${CAPTURE_DOCUMENT_DIR}/DocumentFileNames.cpp
  ${CAPTURE_DOCUMENT_DIR}/ImageDocLayout.cpp
  ${CAPTURE_DOCUMENT_DIR}/NoteSideFile.cpp
  ${CAPTURE_DOCUMENT_DIR}/ImageFileIO.cpp)
target_include_directories(capture_document_core PUBLIC ${CAPTURE_DOCUMENT_DIR})
target_link_libraries(capture_document_core PUBLIC capture_image capture_settings)

if(WIN32)
  target_link_libraries(capture_document_core PUBLIC Pictova)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_document_core)
else()
  target_link_libraries(capture_document_core PUBLIC pictova_core)
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_document_core)
endif()

if(WIN32)
  # The document, its image window, the views and the full-screen view.
  # What they call of the program's own services (messages, the main
  # window, the modal flag) comes with Kaptura99 itself.
  add_library(capture_document STATIC
    ${CAPTURE_DOCUMENT_DIR}/ImageDoc.cpp
    ${CAPTURE_DOCUMENT_DIR}/ImageDocFileCommands.cpp
    ${CAPTURE_DOCUMENT_DIR}/ImageDocToolCommands.cpp
    ${CAPTURE_DOCUMENT_DIR}/ImageChildFrame.cpp
    ${CAPTURE_DOCUMENT_DIR}/ImageView.cpp
    ${CAPTURE_DOCUMENT_DIR}/ImageViewDrag.cpp
    ${CAPTURE_DOCUMENT_DIR}/NotepadForm.cpp
    ${CAPTURE_DOCUMENT_DIR}/FullScreenView.cpp
    ${CAPTURE_DOCUMENT_DIR}/ExplorerTree.cpp
    ${CAPTURE_DOCUMENT_DIR}/PrintGlue.cpp)
  target_include_directories(capture_document PUBLIC ${CAPTURE_DOCUMENT_DIR})
  target_link_libraries(capture_document PUBLIC capture_document_core capture_image_gdi kframework Pagent
    comdlg32 comctl32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_document)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_REPLACED_STAND_INS ImageDocumentStandIn.cpp)
endif()

# The documents in a test MDI frame under Wine: their own test program, with
# the program's resources and test answers for the dialogs and services.
# Built once the framework's document and splitter layer is there.
file(GLOB DOCUMENT_FRAMEWORK_PARTS ${PROJECT_SOURCE_DIR}/framework/Document*.cpp
     ${PROJECT_SOURCE_DIR}/framework/Splitter*.cpp)
list(LENGTH DOCUMENT_FRAMEWORK_PARTS DOCUMENT_FRAMEWORK_PART_COUNT)
if(WIN32 AND TARGET gtest_main AND DOCUMENT_FRAMEWORK_PART_COUNT GREATER 1)
  add_executable(image_document_win_tests
    ${PROJECT_SOURCE_DIR}/tests/win/document/image_document_win_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/common/CiNoSkips.cpp
    $<TARGET_OBJECTS:kaptura_resources>)
  target_include_directories(image_document_win_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(image_document_win_tests PRIVATE capture_document capture_document_core
    capture_image_gdi capture_image capture_settings kframework Pictova Kapthook gtest_main
    comdlg32 comctl32 ${SUITE_STATIC_LINK})
  add_windows_test_program(image_document_win_tests)
endif()
