# The capture program's option dialogs, each run from its command, in a
# virtual desktop of the group's prefix (the caption strip needs one).
# koptprobe measures how fast a window answers and reads shell links back.
if(TARGET Kaptura99 AND TARGET kdriver AND TARGET kprobe)
  add_executable(koptprobe OptionsProbe.cpp)
  target_link_libraries(koptprobe PRIVATE user32 ole32 uuid ${SUITE_STATIC_LINK})
  add_e2e_cases(GROUP kaptura_options SCRIPT options_e2e.sh NAME_PREFIX e2e_options_ TIMEOUT 300
                CASES snapshot_buttons clock black_white frame setup image_info image_info_path about clamped_values)
endif()
