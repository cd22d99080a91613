# The capture program's resources (Windows only): an object library that the
# program links, and a resource-only DLL built from the same object so that
# the Windows tests can load and check the resources without the program.
if(WIN32)
  set(KAPTURA_RC ${PROJECT_SOURCE_DIR}/resources/Kaptura99.rc)
  file(GLOB KAPTURA_RC_ASSETS CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/resources/kaptura/*.rc2
    ${PROJECT_SOURCE_DIR}/resources/kaptura/*.ico
    ${PROJECT_SOURCE_DIR}/resources/kaptura/*.cur
    ${PROJECT_SOURCE_DIR}/resources/kaptura/*.bmp
    ${PROJECT_SOURCE_DIR}/resources/kaptura/*.wav)
  set_source_files_properties(${KAPTURA_RC} PROPERTIES
    OBJECT_DEPENDS "${KAPTURA_RC_ASSETS};${CMAKE_CURRENT_LIST_DIR}/resource.h")

  add_library(kaptura_resources OBJECT ${KAPTURA_RC})
  target_include_directories(kaptura_resources PRIVATE ${PROJECT_SOURCE_DIR}/resources)

  # No code and no entry point: only the resources.
  add_library(KapturaResources SHARED $<TARGET_OBJECTS:kaptura_resources>)
  set_target_properties(KapturaResources PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  target_link_options(KapturaResources PRIVATE -nostdlib -Wl,-e,0)

  # The tests load the DLL at run time, create its dialogs and read its
  # version block.
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_DLLS KapturaResources)
  set_property(GLOBAL APPEND PROPERTY WIN_TEST_LIBS comctl32 version)
endif()
