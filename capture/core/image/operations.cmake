# The Tool and Crop menus' pixel operations: geometry (zoom, scale, flips,
# quarter turns), the merge of a merging document's images, crop, erase and
# the colour change. Window-free: built in both configurations and tested
# natively; on Windows they are part of the capture program.
set(CAPTURE_IMAGE_OPS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_image_ops STATIC
  ${CAPTURE_IMAGE_OPS_DIR}/ImageCrop.cpp
  ${CAPTURE_IMAGE_OPS_DIR}/ImageGeometry.cpp
  ${CAPTURE_IMAGE_OPS_DIR}/ImageResample.cpp
  ${CAPTURE_IMAGE_OPS_DIR}/RowKernels.cpp
  ${CAPTURE_IMAGE_OPS_DIR}/ImageMerge.cpp)
target_include_directories(capture_image_ops PUBLIC ${CAPTURE_IMAGE_OPS_DIR})
target_link_libraries(capture_image_ops PUBLIC capture_image_frame capture_image capture_settings)

if(WIN32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_image_ops)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_image_ops)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_image_ops)
endif()
