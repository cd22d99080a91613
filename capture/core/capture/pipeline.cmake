# The capture pipeline. Its window-free parts (automatic file names, the
# freehand shape, the flash lines, the button search) build in both
# configurations and are tested natively; the engine, the destinations and
# the capture kinds are part of the capture program.
set(CAPTURE_PIPELINE_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(capture_pipeline_core STATIC
  ${CAPTURE_PIPELINE_DIR}/ButtonEdges.cpp
  ${CAPTURE_PIPELINE_DIR}/CaptureFileNames.cpp
  ${CAPTURE_PIPELINE_DIR}/FeedbackSweeps.cpp
  ${CAPTURE_PIPELINE_DIR}/FreehandShape.cpp)
target_include_directories(capture_pipeline_core PUBLIC ${CAPTURE_PIPELINE_DIR})

if(WIN32)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_pipeline_core)
else()
  set_property(GLOBAL APPEND PROPERTY NATIVE_TEST_LIBS capture_pipeline_core)
endif()

# The engine, the destinations and the capture kinds: part of the capture
# program, in place of its stand-in engine. They call the application, the
# main frame and the documents, which the program itself brings.
if(WIN32)
  # The screen side that needs nothing of the program: pixel reads and
  # window probes, the capture bitmap, sound and flash (tested under Wine).
  add_library(capture_screen STATIC
    ${CAPTURE_PIPELINE_DIR}/CaptureCanvas.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureFeedback.cpp
    ${CAPTURE_PIPELINE_DIR}/ScreenProbes.cpp)
  target_link_libraries(capture_screen PUBLIC capture_pipeline_core capture_image_gdi capture_image
    capture_settings winmm gdi32 user32)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS capture_screen)

  add_library(capture_engine STATIC
    ${CAPTURE_PIPELINE_DIR}/CaptureButton.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureCommandBar.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureDestinations.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureEngine.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureFreehand.cpp
    ${CAPTURE_PIPELINE_DIR}/CapturePointer.cpp
    ${CAPTURE_PIPELINE_DIR}/CapturePostProcess.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureRegion.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureState.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureTitleMenu.cpp
    ${CAPTURE_PIPELINE_DIR}/CaptureWindowKind.cpp
    ${CAPTURE_PIPELINE_DIR}/MouseTracking.cpp)
  target_link_libraries(capture_engine PUBLIC
    capture_screen capture_document_core kframework Pictova)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_engine)
  set_property(GLOBAL APPEND PROPERTY KAPTURA_REPLACED_STAND_INS CaptureEngineStandIn.cpp)
endif()
