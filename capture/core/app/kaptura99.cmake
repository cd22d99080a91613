# The capture program Kaptura99.exe (Windows only): the application, the main
# frame with the capture dispatch, on the framework, the image object, the
# documents, the settings store, the hook library and the format library.
#
# Parts that bring more of the program add their library to the global
# property KAPTURA_LIBS and name the stand-in file they replace in
# KAPTURA_REPLACED_STAND_INS, e.g.
#   set_property(GLOBAL APPEND PROPERTY KAPTURA_LIBS capture_engine)
#   set_property(GLOBAL APPEND PROPERTY KAPTURA_REPLACED_STAND_INS CaptureEngineStandIn.cpp)
# The stand-ins (*StandIn.cpp, in any room of the core) that nobody has
# replaced yet are built in.
if(WIN32)
  set(KAPTURA_DIR ${CMAKE_CURRENT_LIST_DIR})
  add_executable(Kaptura99 WIN32
    ${KAPTURA_DIR}/CaptureApp.cpp
    ${KAPTURA_DIR}/AppSettingsCommands.cpp
    ${KAPTURA_DIR}/AppServices.cpp
    ${KAPTURA_DIR}/MainFrame.cpp
    ${KAPTURA_DIR}/CommandBars.cpp
    ${KAPTURA_DIR}/MainFrameDispatch.cpp
    ${KAPTURA_DIR}/Shortcuts.cpp
    ${KAPTURA_DIR}/SplashWindow.cpp)
  target_include_directories(Kaptura99 PRIVATE ${KAPTURA_DIR})
  target_link_options(Kaptura99 PRIVATE -mwindows)
  # The splash picture lies beside the program.
  add_custom_command(TARGET Kaptura99 POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/resources/kaptura/Logo.png
            $<TARGET_FILE_DIR:Kaptura99>/LOGO.PNG)

  function(kaptura99_add_parts)
    get_property(parts GLOBAL PROPERTY KAPTURA_LIBS)
    get_property(replaced GLOBAL PROPERTY KAPTURA_REPLACED_STAND_INS)
    file(GLOB_RECURSE stand_ins CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/capture/core/*StandIn.cpp)
    foreach(stand_in ${stand_ins})
      get_filename_component(name ${stand_in} NAME)
      if(NOT name IN_LIST replaced)
        target_sources(Kaptura99 PRIVATE ${stand_in})
      endif()
    endforeach()
    if(TARGET kaptura_resources)
      target_sources(Kaptura99 PRIVATE $<TARGET_OBJECTS:kaptura_resources>)
    endif()
    target_link_libraries(Kaptura99 PRIVATE ${parts}
      capture_dispatch capture_document_core capture_image_gdi capture_image capture_settings
      kframework Pictova Kapthook
      comdlg32 comctl32 shell32 ole32 uuid winmm ${SUITE_STATIC_LINK})
  endfunction()
  # After every part of the build has had its say (the capture options and
  # the menu layer come after this folder).
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL kaptura99_add_parts)
endif()
