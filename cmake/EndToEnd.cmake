# Tests of the Windows builds under Wine: end-to-end cases, scripts that drive
# the real programs (tests/e2e/e2e-lib.sh, scripts/wine-session.sh; their
# scratch folder is e2e/ in the build folder), and the Windows test programs.

# add_e2e_cases(GROUP <group> SCRIPT <script> [NAME_PREFIX <prefix>]
#               [PROGRAMS <program.exe>...] TIMEOUT <seconds> CASES <case>...
#               [MAIN_ROAD <case>...])
# Adds the test <prefix><case> for each case, running "<script> <case>".
# Every case has a Wine prefix and a display of its own, so that all run
# side by side. PROGRAMS are copied into each case's folder with the DLLs
# (Kaptura99.exe when not given). MAIN_ROAD names the cases (of CASES) that
# walk the main road a user takes; they carry the label main_road, the cases
# a machine whose kernel refuses i386 programs still runs on the 32-bit
# product under an emulator (scripts/emulated-road.sh), where a case
# takes up to three times as long: they get 600 s at least.
function(add_e2e_cases)
  cmake_parse_arguments(E2E "" "GROUP;SCRIPT;NAME_PREFIX;TIMEOUT" "PROGRAMS;CASES;MAIN_ROAD" ${ARGN})
  if(NOT E2E_PROGRAMS)
    set(E2E_PROGRAMS Kaptura99.exe)
  endif()
  foreach(scenario ${E2E_MAIN_ROAD})
    if(NOT scenario IN_LIST E2E_CASES)
      message(FATAL_ERROR "add_e2e_cases: the main road case ${scenario} is not one of CASES")
    endif()
  endforeach()
  string(REPLACE ";" " " programs "${E2E_PROGRAMS}")
  foreach(scenario ${E2E_CASES})
    set(name ${E2E_NAME_PREFIX}${scenario})
    set(seconds ${E2E_TIMEOUT})
    if(scenario IN_LIST E2E_MAIN_ROAD AND seconds LESS 600)
      set(seconds 600)
    endif()
    add_test(NAME ${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${E2E_SCRIPT} ${scenario})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "BIN=${CMAKE_BINARY_DIR}/bin;E2E_ROOT=${CMAKE_BINARY_DIR}/e2e;E2E_GROUP=${E2E_GROUP};E2E_PROGRAMS=${programs};E2E_SECONDS=${seconds};DISPLAY="
      TIMEOUT ${seconds})
    if(scenario IN_LIST E2E_MAIN_ROAD)
      set_tests_properties(${name} PROPERTIES LABELS main_road)
    endif()
  endforeach()
endfunction()

# add_windows_test_program(<target> [ENVIRONMENT <variable=value>...])
# Runs the Windows test program <target> under Wine in the bin folder. The
# programs draw on and read back the session's screen, so they take turns.
# They carry the label windows_program (see MAIN_ROAD above).
function(add_windows_test_program target)
  cmake_parse_arguments(PROGRAM "" "" "ENVIRONMENT" ${ARGN})
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    RESOURCE_LOCK session_screen LABELS windows_program)
  if(PROGRAM_ENVIRONMENT)
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "${PROGRAM_ENVIRONMENT}")
  endif()
endfunction()
