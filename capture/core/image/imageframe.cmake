# The Frame operation. Window-free: built in both configurations and tested
# natively; on Windows it is part of the capture program.
set(CAPTURE_FRAME_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_image_frame STATIC ${CAPTURE_FRAME_DIR}/ImageFrame.cpp)
target_include_directories(capture_image_frame PUBLIC ${CAPTURE_FRAME_DIR})
target_link_libraries(capture_image_frame PUBLIC capture_document_core capture_image capture_settings)

if(WIN32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_image_frame)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_image_frame)
endif()
