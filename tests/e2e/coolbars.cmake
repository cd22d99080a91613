# The capture program's menu bar and owner-drawn menus, driven with the real
# keyboard and mouse (xdotool); screenshots are left in e2e/coolbars-shots.
if(TARGET Kaptura99 AND TARGET kdriver)
  add_e2e_cases(GROUP kaptura_coolbars SCRIPT coolbars_e2e.sh NAME_PREFIX e2e_coolbars_ TIMEOUT 300
                CASES menu_keys mouse_switch maximised_child)
endif()
