# The document's side of the Tool and Crop operations (Windows only): the
# Scale dialog, the merge with its progress dialog, and the image view's
# cropping lines and colour picking. The pixel work is capture_image_ops.
if(WIN32)
  set(CAPTURE_DOCUMENT_OPS_DIR ${CMAKE_CURRENT_LIST_DIR})
  add_library(capture_document_ops STATIC
    ${CAPTURE_DOCUMENT_OPS_DIR}/ImageViewCrop.cpp
    ${CAPTURE_DOCUMENT_OPS_DIR}/MergeProgressDialog.cpp
    ${CAPTURE_DOCUMENT_OPS_DIR}/ScaleDialog.cpp)
  target_include_directories(capture_document_ops PUBLIC ${CAPTURE_DOCUMENT_OPS_DIR})
  target_link_libraries(capture_document_ops PUBLIC capture_document capture_image_ops kframework
    comdlg32 comctl32)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_document_ops)
endif()
