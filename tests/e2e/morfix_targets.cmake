# The batch converter's output formats: a small mixed set to every target,
# in three cases that run side by side.
if(TARGET Morfix99 AND TARGET kdriver AND TARGET kprobe)
  add_e2e_cases(GROUP morfix_targets SCRIPT morfix_targets_e2e.sh NAME_PREFIX e2e_morfix_targets_
                PROGRAMS Morfix99.exe TIMEOUT 300
                CASES bitmap_files indexed_files other_files)
endif()
