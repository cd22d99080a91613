# End-to-end cases of the Windows builds: scripts that drive the real programs
# under Wine (tests/e2e/e2e-lib.sh, scripts/wine-session.sh). Their scratch
# folder is e2e/ in the build folder.

# add_e2e_cases(GROUP <group> SCRIPT <script> [NAME_PREFIX <prefix>]
#               [PROGRAMS <program.exe>...] TIMEOUT <seconds> CASES <case>...)
# Adds the test <prefix><case> for each case, running "<script> <case>".
# Every case has a Wine prefix and a display of its own, so that all run
# side by side. PROGRAMS are copied into each case's folder with the DLLs
# (Kaptura99.exe when not given).
function(add_e2e_cases)
  cmake_parse_arguments(E2E "" "GROUP;SCRIPT;NAME_PREFIX;TIMEOUT" "PROGRAMS;CASES" ${ARGN})
  if(NOT E2E_PROGRAMS)
    set(E2E_PROGRAMS Kaptura99.exe)
  endif()
  string(REPLACE ";" " " programs "${E2E_PROGRAMS}")
  foreach(scenario ${E2E_CASES})
    set(name ${E2E_NAME_PREFIX}${scenario})
    add_test(NAME ${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${E2E_SCRIPT} ${scenario})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "BIN=${CMAKE_BINARY_DIR}/bin;E2E_ROOT=${CMAKE_BINARY_DIR}/e2e;E2E_GROUP=${E2E_GROUP};E2E_PROGRAMS=${programs};E2E_SECONDS=${E2E_TIMEOUT};DISPLAY="
      TIMEOUT ${E2E_TIMEOUT})
  endforeach()
endfunction()
