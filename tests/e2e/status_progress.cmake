# The capture program's status bar after the image commands' pixel loops.
if(TARGET Kaptura99 AND TARGET kdriver AND TARGET kprobe)
  add_e2e_cases(GROUP status_progress SCRIPT status_progress_e2e.sh NAME_PREFIX e2e_status_progress_ TIMEOUT 300
                CASES after_each_command)
endif()
