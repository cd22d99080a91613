# The installer's cases: setup.exe runs from a copy of the distribution
# folder in the group's own prefix; ksetupcheck reads back the time stamps
# and the shortcuts as Windows reads them.
# Each case starts many short helper programs under Wine: on a loaded
# machine the leaving cases alone take four minutes and more.
if(TARGET setup AND TARGET kdriver)
  add_executable(ksetupcheck ${CMAKE_CURRENT_LIST_DIR}/SetupCheck.cpp)
  target_link_libraries(ksetupcheck PRIVATE ole32 uuid shell32 ${SUITE_STATIC_LINK})
  add_dependencies(ksetupcheck distribution)
  add_e2e_cases(GROUP setup SCRIPT setup_e2e.sh NAME_PREFIX e2e_setup_ TIMEOUT 600
                CASES install_run_uninstall target_in_use missing_source folder_limits package_zip leaving_roads
                      leaving_copy_page leaving_uninstall folder_refusals uninstall_recorded uninstall_in_use
                MAIN_ROAD install_run_uninstall)
endif()
