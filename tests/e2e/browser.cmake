# The image browser's end-to-end cases (browser_e2e.sh).
if(TARGET Pixorama99)
  add_e2e_cases(GROUP browser SCRIPT browser_e2e.sh NAME_PREFIX e2e_browser_ TIMEOUT 300
                PROGRAMS Pixorama99.exe
                CASES scan_matches_find cancel_midway exit_midway sort_orders rename_convert delete_file copy_image full_screen
                      rename_drive_refused delete_unreachable unaddressable_names
                      settings_round_trip print_image
                MAIN_ROAD scan_matches_find)
endif()
