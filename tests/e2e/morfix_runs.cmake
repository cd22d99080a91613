# The batch converter's long runs: rows and output names gathered over many
# files reach the lists whole, once each, with the last ones in view.
if(TARGET Morfix99 AND TARGET kdriver AND TARGET kprobe)
  add_e2e_cases(GROUP morfix_runs SCRIPT morfix_runs_e2e.sh NAME_PREFIX e2e_morfix_runs_ TIMEOUT 300
                CASES many_small_files)
endif()
