# The folder-tree bar and the Open and Save As dialogs with the image
# preview: driven through the real common dialogs under Wine, a fixture
# folder mapped as drive M: for the bar.
if(TARGET Kaptura99 AND TARGET kdriver AND TARGET kprobe)
  add_e2e_cases(GROUP kaptura_files SCRIPT filedialogs_e2e.sh NAME_PREFIX e2e_files_ TIMEOUT 300
                CASES explorer_bar open_preview open_corrupt save_formats save_as_names capture_prompt_filename
                      save_readonly)
endif()
