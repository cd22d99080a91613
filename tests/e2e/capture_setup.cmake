# The Capture Setup sheet and the Hotkey Setup dialog, driven through their
# real windows: each page's controls against the ini file, Cancel, refused
# values, the capture that follows, and the hot keys typed on the keyboard.
if(TARGET Kaptura99 AND TARGET kdriver AND TARGET kprobe)
  add_e2e_cases(GROUP kaptura_setup SCRIPT capture_setup_e2e.sh NAME_PREFIX e2e_setup_ TIMEOUT 300
                CASES pages_round_trip cancel_keeps_file margin_refused garbage_keys file_by_time
                      hotkey_moves_screen hotkey_conflicts)
endif()
