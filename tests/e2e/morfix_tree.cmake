# The converter's folder trees clicked with the real mouse.
if(TARGET Morfix99 AND TARGET kdriver AND TARGET kprobe)
  add_e2e_cases(GROUP morfix_tree SCRIPT morfix_tree_e2e.sh NAME_PREFIX e2e_morfix_tree_ TIMEOUT 300
                CASES collapse_moves_selection unaddressable_names)
endif()
