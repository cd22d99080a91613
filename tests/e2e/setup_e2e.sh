#!/usr/bin/env bash
# End-to-end cases of the installer under Wine: setup_e2e.sh <case>. Each
# case runs setup.exe from a copy of the distribution folder (dist/ beside
# the build's bin/), drives the wizard with window messages and reads back
# what it left: files, time stamps, shortcuts (through ksetupcheck) and the
# installed programs. Screenshots of the pages land in $E2E_ROOT/setup-shots.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

DIST="$BIN/../dist"
SHOTS="$E2E_ROOT/setup-shots"
mkdir -p "$SHOTS"
# Wine draws the windows' captions itself (there is no window manager), so
# that the wizard's close box is there for a real click.
set_user_values 'Software\Wine\X11 Driver' Decorated N

LISTED=(Kaptura99.exe Kapthook.dll Pictova.dll Pagent.dll Kaptura99.hlp Kaptura99.cnt Logo.png Readme.txt
        Uninstall.txt Pixorama99.exe Morfix99.exe)
FOLDER_PAGE="Installation Location and Registration Information"
COPY_PAGE="Ready to Copy Files"
FINISH_PAGE="Kaptura 99 Ready to Run"
EXIT_PAGE="Leaving Kaptura 99 Setup"
UNINSTALL_PAGE="Uninstall or Reinstall"
RESTART_PAGE="Restart Kaptura 99 Setup"
BACK=0x3023
NEXT=0x3024
CANCEL=2
PSM_GETCURRENTPAGEHWND=1142
WM_COMMAND=273

drive_c="$WINEPREFIX/drive_c"
target="$drive_c/Kaptura99"
windows_dir="$drive_c/windows"

# A Windows path of drive C: as a path here.
unix_path() { local p=${1#[Cc]:}; printf '%s%s' "$drive_c" "${p//\\//}"; }
check_tool() { kwine "$BIN/ksetupcheck.exe" "$@" 2>>"$case_dir/ksetupcheck.log" | tr -d '\r'; }
edit_text() { check_tool text "$(kd item "$1" "$2")"; }
shot() { import-im6.q16 -window root "$SHOTS/$1.png"; }

# The prefix's Desktop is a link to the home folder: the cases want a folder
# of the prefix's own there. Left-overs of an earlier case go.
fresh_prefix() {
  local desktop
  for desktop in "$drive_c"/users/*/Desktop; do
    if [ -L "$desktop" ]; then rm -f "$desktop"; mkdir -p "$desktop"; fi
  done
  rm -rf "$target"
  rm -f "$windows_dir"/{Kaptura99,KTPrint,Pixorama,Morfixvert}.ini
}

# The distribution as the case runs it: a copy in the case's folder.
copy_dist() {
  dist="$case_dir/dist"
  cp -r "$DIST" "$dist"
  [ -f "$dist/Pixorama99.exe" ] || fail "no Pixorama99.exe in the distribution"
}

start_setup() {
  session_ready
  (cd "$dist" && exec "$KAPTURA_WINE" setup.exe >"$case_dir/setup.log" 2>&1) &
  setup_pid=$!
  pids+=($setup_pid)
  sheet=$(kd wait-dialog - "$1" 30) || fail "setup did not open on '$1'"
  sleep 1
}

page() { kd send "$sheet" $PSM_GETCURRENTPAGEHWND 0 0; }
press() { kd post "$sheet" $WM_COMMAND "$1" 0 >/dev/null; }
# Every control of the wizard's current page lies inside it.
page_whole() {
  local cut
  cut=$(kd cut-off "$(page)")
  [ -z "$cut" ] || fail "the page '$(kd title "$sheet")' cuts off: $cut"
  cut=$(kd text-fit "$(page)")
  [ -z "$cut" ] || fail "the page '$(kd title "$sheet")' cuts texts: $cut"
}
# Waits until the wizard shows the page titled $1.
wait_title() {
  local title=""
  for _ in $(seq 120); do
    # A look that fails on a loaded machine is tried again in the next round.
    title=$(kd title "$sheet") || title="(no answer)"
    [ "$title" = "$1" ] && return 0
    sleep 0.25
  done
  fail "the wizard shows '$title', not '$1'"
}
# Waits until the wizard shows the page titled $1, whole.
wait_page() {
  wait_title "$1"
  sleep 0.5
  page_whole
}
# Waits for the installer's message box and prints its text; answers OK.
message_box() {
  local box
  box=$(kd wait-dialog - "Kaptura 99 Setup" 20) || fail "no message box"
  sleep 0.5
  kd dialog-text "$box"
  [ -z "${1:-}" ] || shot "$1"
  kd answer "$box" 1 >/dev/null
  kd wait-gone "$box" 10 >/dev/null || fail "the message box stayed"
}
button_text() { kd title "$(kd item "$sheet" "$1")"; }
button_visible() { kd visible "$(kd item "$sheet" "$1")"; }

# Real input: the pointer clicks a point of the wizard ("close", "caption" or
# a button's id); keys go to the wizard once a click on its caption has made
# it the active window.
click_sheet() {
  local point
  point=$(check_tool point "$sheet" "$1") || fail "no point '$1' on the wizard"
  xdotool mousemove $point click 1 || fail "xdotool cannot click"
}
activate_sheet() {
  click_sheet caption
  local deadline=$((SECONDS + 20))
  until check_tool active "$sheet" >/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the wizard did not become the active window"
    sleep 0.2
  done
}
key_to_sheet() {
  activate_sheet
  xdotool key "$1" || fail "xdotool cannot press $1"
}
# Types $1 into the wizard's control that has the focus.
type_to_sheet() {
  activate_sheet
  xdotool type --delay 40 "$1" || fail "xdotool cannot type '$1'"
}
# Leaves the page shown the way $1 names: the Exit Setup button, Esc, the
# close box or Alt+F4.
leave_by() {
  case $1 in
    exit-button) click_sheet $CANCEL ;;
    escape) key_to_sheet Escape ;;
    close-box) click_sheet close ;;
    alt-f4) key_to_sheet alt+F4 ;;
  esac
}
LEAVING_ROADS=(exit-button escape close-box alt-f4)
# After leaving by $1 the wizard shows the Exit page; $2 names the page left.
expect_exit_page() {
  local title="" deadline=$((SECONDS + 30))
  while [ $SECONDS -lt $deadline ]; do
    title=$(kd title "$sheet") || title=""
    if [ -z "$title" ] && kd wait-gone "$sheet" 1 >/dev/null; then
      fail "$1 on the $2 quit setup instead of showing the Exit page"
    fi
    [ "$title" = "$EXIT_PAGE" ] && { page_whole; return 0; }
    sleep 0.25
  done
  fail "$1 on the $2: the wizard shows '$title', not the Exit page"
}
# The record a run of setup reads the installed copy from.
record_folder() { grep -a '^FolderPath=' "$windows_dir/Kaptura99.ini" 2>/dev/null | cut -d= -f2- | tr -d '\r'; }

# Folder page: the user name typed in the field that has the focus; Next
# there leads to the empty organisation field first, then to the copy page;
# Next there copies.
install_default() {
  kd set-text "$(page)" 1023 "$1" >/dev/null
  press $NEXT
  sleep 1
  [ "$(kd title "$sheet")" = "$FOLDER_PAGE" ] || fail "Next in the name field left the page"
  press $NEXT
  wait_page "$COPY_PAGE"
  press $NEXT
}

wait_setup_end() {
  kd wait-gone "$sheet" 20 >/dev/null || fail "the wizard did not close"
  for _ in $(seq 40); do kill -0 "$setup_pid" 2>/dev/null || return 0; sleep 0.25; done
  fail "setup.exe did not end"
}

expect_stamp() {
  local file line
  for file in "$@"; do
    line=$(check_tool times "C:\\Kaptura99\\$file") || fail "no times for $file"
    [ "$line" = "1998-06-11 01:00:00 | 1998-06-11 01:00:00 | 1998-06-11 01:00:00" ] ||
      fail "$file carries '$line'"
  done
}

# The shortcut at the Windows path $1 leads to $2 and starts in C:\Kaptura99.
expect_link() {
  local answer
  [ -f "$(unix_path "$1")" ] || fail "no shortcut $1"
  answer=$(check_tool link "$1") || fail "the shortcut $1 does not read"
  [ "$(sed -n 1p <<<"$answer")" = "C:\\Kaptura99\\$2" ] || fail "$1 leads to '$(sed -n 1p <<<"$answer")'"
  [ "$(sed -n 2p <<<"$answer")" = "C:\\Kaptura99" ] || fail "$1 starts in '$(sed -n 2p <<<"$answer")'"
}

shell_folder() {
  grep -a -A40 '^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders\]' \
    "$WINEPREFIX/user.reg" | grep -a "^\"$1\"=" | head -1 | cut -d'"' -f4 | sed 's/\\\\/\\/g'
}

group_links=("Kaptura99.lnk:Kaptura99.exe" "Readme.lnk:Readme.txt" "Uninstall.lnk:Uninstall.txt"
             "Online User's Guide.lnk:Kaptura99.hlp" "Pixorama99.lnk:Pixorama99.exe" "Morfix99.lnk:Morfix99.exe")

case_install_run_uninstall() {
  fresh_prefix
  copy_dist
  start_setup "$FOLDER_PAGE"
  shot background-and-folder-page
  local p
  p=$(page)
  local size
  size=$(python3 - "$dist" "${LISTED[@]}" <<'PY'
import os, sys
folder, names = sys.argv[1], sys.argv[2:]
total = sum(os.path.getsize(os.path.join(folder, n)) for n in names if os.path.exists(os.path.join(folder, n)))
print("%0.2fMB" % (total / 1048576.0))
PY
)
  kd dialog-text "$p" | grep -qx "$size" || fail "the required space is not $size: $(kd dialog-text "$p" | tr '\n' '|')"
  [ "$(edit_text "$p" 1006)" = 'C:\Kaptura99' ] || fail "the install folder is not C:\\Kaptura99"
  [ "$(kd enabled "$(kd item "$sheet" $BACK)")" = 0 ] || fail "Back is enabled on the first page"
  # Next without a user name is refused.
  press $NEXT
  message_box folder-page-no-user-name | grep -q "User name is required." || fail "no user name message"
  [ "$(kd title "$sheet")" = "$FOLDER_PAGE" ] || fail "the folder page did not stay"
  # Cancel leads to the Exit page; Setup back to the folder page with the entries kept.
  kd set-text "$p" 1023 "Ada Lovelace" >/dev/null
  kd set-text "$p" 1027 "Analytical Engines" >/dev/null
  press $CANCEL
  wait_page "$EXIT_PAGE"
  shot exit-page
  [ "$(button_visible $BACK)" = 0 ] && [ "$(button_text $NEXT)" = "&Setup" ] || fail "Exit page buttons"
  press $NEXT
  wait_page "$FOLDER_PAGE"
  [ "$(edit_text "$p" 1023)" = "Ada Lovelace" ] || fail "the user name was not kept"
  press $NEXT
  wait_page "$COPY_PAGE"
  shot copy-page
  kd dialog-text "$(page)" | grep -qx "Ada Lovelace" || fail "the copy page does not show the user name"
  press $NEXT
  wait_page "$FINISH_PAGE"
  shot finish-page
  [ "$(button_visible $BACK)$(button_visible $NEXT)" = 00 ] || fail "Back or Next shown on the Finish page"
  [ "$(button_text $CANCEL)" = "Finish" ] || fail "Cancel does not read Finish"

  # The files carry the one stamp (read first: reading a file here moves its
  # access time) and equal the distribution's.
  local file installed=()
  for file in "${LISTED[@]}"; do
    if [ -f "$dist/$file" ]; then
      installed+=("$file")
    else
      [ ! -e "$target/$file" ] || fail "$file installed without a source"
    fi
  done
  expect_stamp "${installed[@]}"
  for file in "${installed[@]}"; do
    cmp -s "$dist/$file" "$target/$file" || fail "$file differs from the distribution's"
  done

  # The nine shortcuts.
  local desktop start_menu startup group entry
  desktop=$(shell_folder Desktop); start_menu=$(shell_folder "Start Menu")
  startup=$(shell_folder StartUp); group="$(shell_folder Programs)\\Kaptura99"
  expect_link "$desktop\\Kaptura99.lnk" Kaptura99.exe
  expect_link "$start_menu\\Kaptura99.lnk" Kaptura99.exe
  expect_link "$startup\\Kaptura99.lnk" Kaptura99.exe
  for entry in "${group_links[@]}"; do expect_link "$group\\${entry%%:*}" "${entry#*:}"; done
  press $CANCEL
  wait_setup_end

  # The installed program starts from the desktop link's target and captures.
  local program
  program=$(check_tool link "$desktop\\Kaptura99.lnk" | sed -n 1p)
  ini="$(dirname "$(unix_path "$program")")/Kaptura99.ini"
  seed_ini "SendtoPage=0,1,1,0,0,0,0,5,5" "CapturePage=1,0,0,0,0" "NotifyPage=0,0" "Format=14,1,1,1,0"
  (cd "$target" && exec "$KAPTURA_WINE" "$program" >"$case_dir/kaptura.log" 2>&1) &
  pids+=($!)
  frame=$(kd find-prop Kaptura 30) || fail "the installed program did not start"
  kd hotkey "$frame" 1 c >/dev/null
  wait_children 1
  exit_kaptura

  # The suite's settings, and a file of the user's own in the folder.
  printf '[x]\r\n' | tee "$windows_dir/KTPrint.ini" "$windows_dir/Pixorama.ini" "$windows_dir/Morfixvert.ini" >/dev/null
  printf 'mine\r\n' > "$target/Notes.txt"

  # A second run knows the installed copy and uninstalls it.
  start_setup "$UNINSTALL_PAGE"
  shot uninstall-page
  local shown
  shown=$(kd dialog-text "$(page)")
  grep -qx "Ada Lovelace" <<<"$shown" && grep -qx "Analytical Engines" <<<"$shown" &&
    grep -qx 'C:\\Kaptura99' <<<"$shown" || fail "the Uninstall page shows: $(tr '\n' '|' <<<"$shown")"
  [ "$(button_text $BACK)|$(button_text $NEXT)" = "&Uninstall|&Reinstall" ] || fail "Uninstall page buttons"
  press $BACK
  wait_page "$RESTART_PAGE"
  shot restart-page
  for file in "${LISTED[@]}" Kaptura99.ini; do [ ! -e "$target/$file" ] || fail "$file is left"; done
  [ -f "$target/Notes.txt" ] || fail "the user's own file went"
  for file in Kaptura99 KTPrint Pixorama Morfixvert; do
    [ ! -e "$windows_dir/$file.ini" ] || fail "$file.ini is left in the Windows folder"
  done
  for file in "$desktop\\Kaptura99.lnk" "$start_menu\\Kaptura99.lnk" "$startup\\Kaptura99.lnk" "$group"; do
    [ ! -e "$(unix_path "$file")" ] || fail "$file is left"
  done
  # Setup from the Restart page leads to the folder page, whose Back returns.
  press $NEXT
  wait_page "$FOLDER_PAGE"
  [ "$(kd enabled "$(kd item "$sheet" $BACK)")" = 1 ] || fail "Back is not enabled after the Restart page"
  press $BACK
  wait_page "$RESTART_PAGE"
  press $CANCEL
  wait_setup_end
  # Nothing installed: the next run starts on the folder page.
  start_setup "$FOLDER_PAGE"
  press $CANCEL
  wait_page "$EXIT_PAGE"
  press $CANCEL
  wait_setup_end
}

# A Kaptura99.exe held open without sharing: the copy stops on it.
case_target_in_use() {
  fresh_prefix
  copy_dist
  mkdir -p "$target"
  (exec "$KAPTURA_WINE" "$BIN/ksetupcheck.exe" hold 'C:\Kaptura99\Kaptura99.exe' 60 >/dev/null 2>&1) &
  pids+=($!)
  for _ in $(seq 80); do [ -e "$target/Kaptura99.exe.held" ] && break; sleep 0.25; done
  [ -e "$target/Kaptura99.exe.held" ] || fail "the file is not held"
  start_setup "$FOLDER_PAGE"
  install_default "Grace Hopper"
  message_box copy-target-in-use | grep -qxF 'Cannot create file C:\Kaptura99\Kaptura99.exe. The file is being used.' ||
    fail "no in-use message"
  wait_page "$EXIT_PAGE"
  local file
  for file in "${LISTED[@]:1}"; do [ ! -e "$target/$file" ] || fail "$file was copied after the failure"; done
  [ ! -e "$windows_dir/Kaptura99.ini" ] || fail "a failed install is recorded"
  press $CANCEL
  wait_setup_end
}

# A listed file missing from the distribution: the help files are skipped
# quietly, any other stops the copy; the required space leaves it out.
case_missing_source() {
  fresh_prefix
  copy_dist
  local readme_size
  rm -f "$dist/Readme.txt"
  start_setup "$FOLDER_PAGE"
  install_default "Alan Turing"
  message_box | grep -qxF "Cannot read file $(printf 'Z:%s' "$dist" | tr '/' '\\')\\Readme.txt." ||
    fail "no message for the missing Readme.txt"
  wait_page "$EXIT_PAGE"
  local file
  for file in Kaptura99.exe Kapthook.dll Pictova.dll Pagent.dll Logo.png; do
    cmp -s "$dist/$file" "$target/$file" || fail "$file before the missing one was not copied"
  done
  for file in Uninstall.txt Pixorama99.exe Morfix99.exe; do [ ! -e "$target/$file" ] || fail "$file was copied"; done
  press $CANCEL
  wait_setup_end
}

# Install folders of 259 and 260 characters are refused on the folder page;
# Cancel and Setup cycles between the folder and copy pages go on past the
# history's 21 entries.
case_folder_limits() {
  fresh_prefix
  copy_dist
  start_setup "$FOLDER_PAGE"
  local p length folder
  p=$(page)
  kd set-text "$p" 1023 "Edsger Dijkstra" >/dev/null
  for length in 259 260; do
    folder="C:\\$(printf 'd%.0s' $(seq $((length - 3))))"
    kd set-text "$p" 1006 "$folder" >/dev/null
    press $NEXT
    message_box "folder-limit-$length" | grep -qx "The folder name is too long." || fail "a $length-character folder was taken"
    [ "$(kd title "$sheet")" = "$FOLDER_PAGE" ] || fail "the folder page did not stay"
  done
  kd set-text "$p" 1006 'C:\Kaptura99' >/dev/null
  for _ in $(seq 12); do
    press $NEXT
    wait_page "$COPY_PAGE"
    press $CANCEL
    wait_page "$EXIT_PAGE"
    press $NEXT
    wait_page "$FOLDER_PAGE"
  done
  # Back still walks the latest steps.
  press $BACK
  wait_page "$COPY_PAGE"
  press $BACK
  wait_page "$FOLDER_PAGE"
  press $CANCEL
  wait_page "$EXIT_PAGE"
  press $CANCEL
  wait_setup_end
}

# Every way of leaving the wizard before it ends, by real clicks and keys,
# leads to the Exit page: on the folder page (and, in the next case, on the
# copy page); Setup there returns with the entries kept.
case_leaving_roads() {
  leaving_roads_on "$FOLDER_PAGE" "folder page"
}

case_leaving_copy_page() {
  leaving_roads_on "$COPY_PAGE" "copy page"
}

# Each road in turn from page $1 (the folder or the copy page), named $2.
leaving_roads_on() {
  fresh_prefix
  copy_dist
  start_setup "$FOLDER_PAGE"
  local p road
  p=$(page)
  kd set-text "$p" 1023 "Barbara Liskov" >/dev/null
  kd set-text "$p" 1027 "Abstractions" >/dev/null
  for road in "${LEAVING_ROADS[@]}"; do
    if [ "$1" = "$COPY_PAGE" ]; then
      press $NEXT
      wait_page "$COPY_PAGE"
    fi
    leave_by "$road"
    expect_exit_page "$road" "$2"
    [ "$road" = close-box ] && shot "exit-page-by-close-box-from-${2// /-}"
    press $NEXT
    wait_page "$FOLDER_PAGE"
  done
  [ "$(edit_text "$p" 1023)" = "Barbara Liskov" ] || fail "the user name was not kept"
  press $CANCEL
  wait_page "$EXIT_PAGE"
  press $CANCEL
  wait_setup_end
}

# The same roads from the Uninstall page of a recorded copy; the record
# stays. On the Exit page the close box ends setup.
case_leaving_uninstall() {
  fresh_prefix
  copy_dist
  local road
  mkdir -p "$target"
  printf '[Setup]\r\nUserName=Barbara Liskov\r\nOrganization=Abstractions\r\nFolderPath=C:\\Kaptura99\r\n' \
    >"$windows_dir/Kaptura99.ini"
  for road in "${LEAVING_ROADS[@]}"; do
    start_setup "$UNINSTALL_PAGE"
    leave_by "$road"
    expect_exit_page "$road" "Uninstall page"
    [ "$(record_folder)" = 'C:\Kaptura99' ] || fail "$road on the Uninstall page lost the record"
    if [ "$road" = alt-f4 ]; then
      click_sheet close
    else
      press $CANCEL
    fi
    wait_setup_end
  done
}

# The end of a case that mounted $1: the mount goes first.
unmount_and_finish() {
  local status=$?
  trap - ERR
  set +e
  umount "$1"
  (exit "$status")
  finish
}

# Next on the folder page says what is wrong with the folder, and makes
# nothing on disk before the page is accepted.
case_folder_refusals() {
  fresh_prefix
  copy_dist
  local long longest ro="$case_dir/read-only" p
  long="C:\\$(printf 'e%.0s' $(seq 242))"   # 245 characters
  longest=${long%e}
  mkdir -p "$(unix_path "$long")" "$(unix_path "$longest")"
  rm -f "$WINEPREFIX/dosdevices/q:" "$WINEPREFIX/dosdevices/r:"
  # A read-only drive R: (a read-only mount: root writes anywhere else).
  mkdir -p "$ro"
  if mount -t tmpfs -o ro,size=64k kaptura-ro "$ro"; then
    trap "unmount_and_finish '$ro'" EXIT
    ln -sfn "$ro" "$WINEPREFIX/dosdevices/r:"
  else
    [ -z "${CI:-}" ] || fail "cannot mount a read-only file system and CI is set"
    echo "no read-only drive: cannot mount here" >&2
    ro=""
  fi
  printf 'x' >"$drive_c/a-file"

  start_setup "$FOLDER_PAGE"
  p=$(page)
  # A new folder with no user name: refused for the name, nothing made.
  kd set-text "$p" 1006 'C:\Kaptura99' >/dev/null
  press $NEXT
  message_box | grep -qx "User name is required." || fail "no user name message"
  [ ! -e "$target" ] || fail "the folder was made before the page was accepted"
  # The name typed into its field, which has the focus now, and Enter: the
  # organisation field takes the focus, the page stays and still nothing is
  # made; the organisation is typed there.
  type_to_sheet "Niklaus Wirth"
  key_to_sheet Return
  type_to_sheet "Pascal"
  local deadline=$((SECONDS + 30))
  until [ "$(edit_text "$p" 1023)|$(edit_text "$p" 1027)" = "Niklaus Wirth|Pascal" ]; do
    [ $SECONDS -lt $deadline ] ||
      fail "Enter in the name field did not lead to the organisation field: name '$(edit_text "$p" 1023)'," \
        "organisation '$(edit_text "$p" 1027)'"
    sleep 0.25
  done
  [ "$(kd title "$sheet")" = "$FOLDER_PAGE" ] || fail "Enter in the name field left the folder page"
  [ ! -e "$target" ] || fail "the folder was made when Enter led to the organisation field"
  refused() {   # folder typed, the line the message must hold, screenshot name
    kd set-text "$p" 1006 "$1" >/dev/null
    press $NEXT
    local said
    said=$(message_box "$3")
    grep -qxF "$2" <<<"$said" || fail "'$1' was refused with: $(tr '\n' '|' <<<"$said")"
    [ "$(kd title "$sheet")" = "$FOLDER_PAGE" ] || fail "the folder page did not stay for '$1'"
  }
  refused "$long" "The folder name is too long." folder-refused-too-long
  refused 'Q:\Kaptura99' "The drive Q: does not exist." folder-refused-no-drive
  # Wine reports a read-only mount as access denied, and takes a drive type
  # from the registry only after a restart of its server.
  [ -z "$ro" ] || refused 'R:\Kaptura99' 'Setup may not create the folder R:\Kaptura99.' folder-refused-read-only
  [ -z "$ro" ] || [ -z "$(ls -A "$ro")" ] || fail "something was made on the read-only drive"
  refused 'C:\No\Such\Place' 'The folder C:\No\Such does not exist.' folder-refused-no-parent
  refused 'C:\a-file' 'C:\a-file is a file, not a folder.' folder-refused-file
  [ ! -e "$drive_c/No" ] || fail "a refused folder was made"
  # Cancel after the refusals: nothing was made.
  kd set-text "$p" 1006 'C:\Kaptura99' >/dev/null
  press $CANCEL
  wait_page "$EXIT_PAGE"
  [ ! -e "$target" ] || fail "Cancel left an empty install folder behind"
  # Accepted: the folder is made on the way to the copy page.
  press $NEXT
  wait_page "$FOLDER_PAGE"
  press $NEXT
  wait_page "$COPY_PAGE"
  [ -d "$target" ] || fail "the accepted folder was not made"
  # An existing folder of 244 characters, the longest that leaves room for
  # every file's path, is taken (the copy page cannot show the whole name).
  press $BACK
  wait_page "$FOLDER_PAGE"
  kd set-text "$p" 1006 "$longest" >/dev/null
  press $NEXT
  wait_title "$COPY_PAGE"
  press $CANCEL
  wait_page "$EXIT_PAGE"
  press $CANCEL
  wait_setup_end
}

# Installs with the defaults for user $1 and closes the wizard.
install_whole() {
  start_setup "$FOLDER_PAGE"
  install_default "$1"
  wait_page "$FINISH_PAGE"
  press $CANCEL
  wait_setup_end
}

# Uninstall removes the recorded installation, whatever folder the folder
# page took after Reinstall, and touches no other folder.
case_uninstall_recorded() {
  fresh_prefix
  copy_dist
  install_whole "John Backus"
  local other="$drive_c/Other" file
  mkdir -p "$other"
  printf 'my own notes\r\n' >"$other/Readme.txt"
  printf 'my own picture\r\n' >"$other/Logo.png"
  start_setup "$UNINSTALL_PAGE"
  press $NEXT
  wait_page "$FOLDER_PAGE"
  kd set-text "$(page)" 1006 'C:\Other' >/dev/null
  kd set-text "$(page)" 1027 "Fortran" >/dev/null
  press $NEXT
  wait_page "$COPY_PAGE"
  press $BACK
  wait_page "$FOLDER_PAGE"
  press $BACK
  wait_page "$UNINSTALL_PAGE"
  kd dialog-text "$(page)" | grep -qxF 'C:\Kaptura99' || fail "the Uninstall page no longer shows the recorded folder"
  press $BACK
  wait_page "$RESTART_PAGE"
  [ "$(cat "$other/Readme.txt")" = $'my own notes\r' ] || fail "the user's Readme.txt in C:\Other went"
  [ "$(cat "$other/Logo.png")" = $'my own picture\r' ] || fail "the user's Logo.png in C:\Other went"
  for file in "${LISTED[@]}"; do [ ! -e "$target/$file" ] || fail "$file of the installation is left"; done
  [ ! -e "$target" ] || fail "the installation's folder is left"
  [ -z "$(record_folder)" ] || fail "the record is left"
  press $CANCEL
  wait_setup_end
}

# Uninstall while the installed program runs: the files in use are named,
# the page and the record stay; once the program has ended the next run
# offers Uninstall again and removes everything.
case_uninstall_in_use() {
  fresh_prefix
  copy_dist
  install_whole "Frances Allen"
  ini="$target/Kaptura99.ini"
  seed_ini
  (cd "$target" && exec "$KAPTURA_WINE" "C:\\Kaptura99\\Kaptura99.exe" >"$case_dir/kaptura.log" 2>&1) &
  pids+=($!)
  frame=$(kd find-prop Kaptura 30) || fail "the installed program did not start"
  start_setup "$UNINSTALL_PAGE"
  press $BACK
  local said file left=""
  said=$(message_box uninstall-file-in-use)
  grep -qxF 'Cannot remove file C:\Kaptura99\Kaptura99.exe. The file is being used.' <<<"$said" ||
    fail "no in-use message: $(tr '\n' '|' <<<"$said")"
  wait_page "$UNINSTALL_PAGE"
  # Each of the installed files that is left is named, and only those (the
  # running program may write its settings file again at any time).
  for file in "${LISTED[@]}"; do
    [ ! -e "$target/$file" ] || left+="Cannot remove file C:\\Kaptura99\\$file. The file is being used."$'\n'
  done
  [ "$(grep '^Cannot remove file ' <<<"$said" | sort)" = "$(sort <<<"${left%$'\n'}")" ] ||
    fail "the in-use message says: $(tr '\n' '|' <<<"$said"); left are: $(ls "$target" | tr '\n' ' ')"
  [ -f "$target/Kaptura99.exe" ] || fail "Kaptura99.exe went while it ran"
  [ "$(record_folder)" = 'C:\Kaptura99' ] || fail "the record went while files of the installation are left"
  press $CANCEL
  wait_page "$EXIT_PAGE"
  press $CANCEL
  wait_setup_end
  exit_kaptura

  start_setup "$UNINSTALL_PAGE"
  press $BACK
  wait_page "$RESTART_PAGE"
  [ ! -e "$target" ] || fail "the installation is left after the program ended: $(ls "$target")"
  [ -z "$(record_folder)" ] || fail "the record is left"
  press $CANCEL
  wait_setup_end
}

# The package holds the distribution's files, byte for byte.
case_package_zip() {
  local build zip
  build=$(cd "$BIN/.." && pwd)
  # Other cases copy the folder meanwhile: packaging must not lay it out anew.
  local laid_out
  laid_out=$(stat -c "%i %y" "$DIST/setup.exe")
  (cd "$build" && cpack -G ZIP >"$case_dir/cpack.log" 2>&1) || fail "cpack failed"
  [ "$(stat -c "%i %y" "$DIST/setup.exe")" = "$laid_out" ] || fail "packaging laid the distribution folder out again"
  zip=$(ls "$build"/Kaptura99-*-win*.zip | head -1)
  python3 - "$zip" "$DIST" <<'PY' || fail "the package differs from the distribution"
import os, sys, zipfile
archive, folder = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(archive) as z:
    held = {os.path.basename(n): z.read(n) for n in z.namelist() if not n.endswith("/")}
files = sorted(os.listdir(folder))
assert sorted(held) == files, (sorted(held), files)
for name in files:
    with open(os.path.join(folder, name), "rb") as f:
        assert f.read() == held[name], name
PY
}

"case_$1"
