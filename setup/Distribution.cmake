# The suite as a user receives it: dist/ in the build folder holds setup.exe,
# its side picture and every file the installer copies; the target
# "package" zips that folder as Kaptura99-<version>-win32.zip (-win64 for
# the 64-bit test build).
set(KAPTURA_SUITE_VERSION 5.0)
set(SETUP_DIST_DIR ${CMAKE_BINARY_DIR}/dist)

# Deferred to the end of the configuration, so that every program's target
# is known whatever folder adds it (the image browser's among them, when it
# is built).
function(setup_lay_out_distribution)
  set(dist ${CMAKE_BINARY_DIR}/dist)
  set(programs setup Kaptura99 Kapthook Pictova Pagent Morfix99)
  if(TARGET Pixorama99)
    list(APPEND programs Pixorama99)
  endif()
  set(files)
  foreach(program ${programs})
    list(APPEND files $<TARGET_FILE:${program}>)
  endforeach()
  set(assets ${PROJECT_SOURCE_DIR}/resources)
  list(APPEND files ${assets}/setup/setup.png ${assets}/kaptura/Logo.png
                    ${assets}/setup/Readme.txt ${assets}/setup/Uninstall.txt)
  # Laid out again only when a file in it changed: a later build (cpack's,
  # while cases copy the folder) must not empty it under them.
  set(stamp ${CMAKE_BINARY_DIR}/distribution.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dist}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist}
    COMMAND ${CMAKE_COMMAND} -E copy ${files} ${dist}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${files} ${programs}
    COMMENT "Laying out the distribution in ${dist}"
    VERBATIM)
  add_custom_target(distribution ALL DEPENDS ${stamp})
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL setup_lay_out_distribution)

install(DIRECTORY ${SETUP_DIST_DIR}/ DESTINATION .)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kaptura99)
set(CPACK_PACKAGE_VERSION ${KAPTURA_SUITE_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kaptura99-${KAPTURA_SUITE_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
