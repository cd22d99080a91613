# The image documents kept whole: Exit refused while a dialog of theirs
# runs, notes kept when their file cannot be written, the notepad opened by
# its commands and by the splitter's bar, saved files sorted into the
# folder tree; the Capture Setup buttons that set values of their own.
if(TARGET Kaptura99 AND TARGET kdriver AND TARGET kprobe)
  add_e2e_cases(GROUP kaptura_exit SCRIPT kaptura_e2e.sh NAME_PREFIX e2e_ TIMEOUT 300
                CASES exit_during_dialogs exit_during_countdown)
  add_e2e_cases(GROUP kaptura_notes SCRIPT document_e2e.sh NAME_PREFIX e2e_document_ TIMEOUT 300
                CASES note_text_files note_file_kept splitter_drag saved_file_in_tree)
  add_e2e_cases(GROUP kaptura_setup_buttons SCRIPT capture_setup_e2e.sh NAME_PREFIX e2e_setup_ TIMEOUT 300
                CASES pen_colors_and_full_screen)
endif()

# The image browser's scan over a folder mounted inside itself.
if(TARGET Pixorama99 AND TARGET kdriver)
  add_e2e_cases(GROUP browser_loop SCRIPT browser_e2e.sh NAME_PREFIX e2e_browser_ TIMEOUT 300
                PROGRAMS Pixorama99.exe CASES scan_bind_loop)
endif()
