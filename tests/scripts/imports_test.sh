#!/usr/bin/env bash
# The distribution as a user receives it starts on a bare Windows: every DLL
# a file of it imports is either one of the system's own or shipped beside
# it, and each program takes from the suite's libraries exactly the exports
# it is meant to.
#
# Usage: imports_test.sh DIST_FOLDER...
set -uo pipefail
objdump=${KAPTURA_OBJDUMP:-x86_64-w64-mingw32-objdump}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# What every Windows the suite runs on carries (lower case).
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ntdll.dll ole32.dll shell32.dll user32.dll version.dll winmm.dll winspool.drv "

# The suite's libraries each file may take functions from, as "Dll:Function".
expected_suite_imports() {
  local pictova_read="Pictova.dll:DisplayFormatErrorMsg Pictova.dll:ExportImageFile Pictova.dll:ImportImageFile"
  case "$1" in
    Kaptura99.exe)
      echo "$pictova_read Pagent.dll:PrintAllXImage Pagent.dll:PrintAllXImageOnePage Pagent.dll:PrintOneXImage" \
        "Pagent.dll:PrintXImageSetup Pagent.dll:PrinterSetup Pagent.dll:ResetPrinter" \
        "Kapthook.dll:InstallHooks Kapthook.dll:PassKapturaWnd Kapthook.dll:PassLeftButtonStatus Kapthook.dll:PassSnapRect" ;;
    Pixorama99.exe) echo "$pictova_read Pagent.dll:PrintOneXImage Pagent.dll:PrinterSetup" ;;
    Morfix99.exe) echo "Pictova.dll:ExportImageFile Pictova.dll:GetErrorMessage Pictova.dll:ImportImageFile" ;;
    setup.exe) echo "Pictova.dll:ImportImageFile" ;;
    *) echo "" ;;
  esac
}

# "Dll:Function" for every function the file imports, one a line.
imports_of() {
  "$objdump" -p "$1" | awk '
    /DLL Name:/ { dll = $3; next }
    dll != "" && /^[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+[^ \t]+$/ { print dll ":" $3 }'
}

check_file() {
  local file=$1 folder name dll lower want got
  folder=$(dirname "$file") name=$(basename "$file")
  local listing
  listing=$("$objdump" -p "$file") || { fail "$name: $objdump cannot read it"; return; }
  while read -r dll; do
    lower=${dll,,}
    [[ "$system_dlls" == *" $lower "* ]] && continue
    find "$folder" -maxdepth 1 -iname "$dll" | grep -q . && continue
    fail "$name imports $dll, which is neither a system DLL nor shipped in $folder"
  done < <(awk '/DLL Name:/ { print $3 }' <<<"$listing")
  want=$(expected_suite_imports "$name" | tr ' ' '\n' | grep . | sort)
  got=$(imports_of "$file" | grep -E '^(Pictova|Pagent|Kapthook)\.dll:' | sort)
  [ "$want" = "$got" ] ||
    fail "$name takes from the suite's libraries: $(echo $got); it should take: $(echo $want)"
}

[ $# -gt 0 ] || { echo "usage: $0 DIST_FOLDER..."; exit 2; }
command -v "$objdump" >/dev/null || { echo "FAIL: $objdump is missing"; exit 1; }
for folder in "$@"; do
  if [ ! -d "$folder" ]; then
    fail "no distribution folder $folder (build both Windows builds first)"
    continue
  fi
  files=("$folder"/*.exe "$folder"/*.dll)
  [ -e "${files[0]}" ] || { fail "$folder holds no programs"; continue; }
  for program in Kaptura99.exe Pixorama99.exe Morfix99.exe setup.exe Pictova.dll Pagent.dll Kapthook.dll; do
    [ -e "$folder/$program" ] || fail "$folder lacks $program"
  done
  for file in "${files[@]}"; do [ -e "$file" ] && check_file "$file"; done
done
[ "$failures" = 0 ] && echo "imports: every file of $* starts on its own" && exit 0
exit 1
