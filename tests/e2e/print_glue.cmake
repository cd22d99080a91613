# The capture program's printing as a user drives it: the library's windows
# hold the program, settings changes under the sheet, copies, the two
# all-image commands, the activation after Cancel on the meter.
if(TARGET Kaptura99 AND TARGET kdriver AND TARGET kprobe AND TARGET koptprobe AND TARGET Pagent)
  add_e2e_cases(GROUP print_glue SCRIPT print_glue_e2e.sh NAME_PREFIX e2e_print_glue_ TIMEOUT 300
                CASES close_during_sheet close_during_meter cancel_meter_keeps_activation settings_change_during_sheet copies print_all
                      texts_whole_all_images texts_whole_one_page texts_whole_print_setup)
endif()
