# Sourced by the test road before a Wine prefix is made: the local print
# service with the PDF printer, so that the prefix finds a real printer.
# The service is shared by everyone on the machine: it is started only when
# it is not running, and the queue is made only when it is missing; nothing
# here ever removes a queue or stops the service.
#
# Sets PRINT_QUEUE_OK=1 when the "PDF" queue accepts jobs.
PRINT_QUEUE_OK=0
print_queue_ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if command -v cupsd >/dev/null 2>&1 || [ -x /usr/sbin/cupsd ]; then
  if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    /usr/sbin/cupsd >/dev/null 2>&1 || true
    for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
  fi
  # Make (or re-enable) a queue only when it is missing or stopped.
  print_queue_add() {
    local name=$1
    if ! lpstat -p "$name" >/dev/null 2>&1; then
      lpadmin -p "$name" -v cups-pdf:/ -E -P "$print_queue_ppd" >/dev/null 2>&1 || return 1
    fi
    cupsenable "$name" >/dev/null 2>&1 || true
    cupsaccept "$name" >/dev/null 2>&1 || true
    lpstat -p "$name" >/dev/null 2>&1
  }
  if [ -f "$print_queue_ppd" ] && print_queue_add PDF; then
    # The machine's default printer, unless someone chose another.
    lpstat -d 2>/dev/null | grep -q "system default destination:" || lpadmin -d PDF >/dev/null 2>&1 || true
    PRINT_QUEUE_OK=1
  fi
fi
export PRINT_QUEUE_OK

# The folder the PDF printer writes a job of the given user (default: the
# user running this) into, found as cups-pdf finds it: the last "Out" line
# of its configuration (default ${HOME}/PDF), ${HOME} being the user's home
# in the password database, not the HOME of the process that printed, and
# ${USER} the user's name.
print_queue_outbox() {
  local user=${1:-$(id -un)} conf=${CUPS_PDF_CONF:-/etc/cups/cups-pdf.conf} out home
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\{1,\}//p' "$conf" 2>/dev/null | tail -n 1)
  out=${out%"${out##*[![:space:]]}"}
  [ -n "$out" ] || out='${HOME}/PDF'
  home=$(getent passwd "$user" | cut -d: -f6)
  out=${out//'${HOME}'/$home}
  echo "${out//'${USER}'/$user}"
}

# Waits until every job the print service holds now has left it, printed
# or dropped (jobs that come later do not count): a PDF that is not there
# then will not come. False after a minute.
print_queue_drain() {
  local held still
  held=$(lpstat -o 2>/dev/null | awk '{print $1}')
  for _ in $(seq 300); do
    [ -z "$held" ] && return 0
    still=$(lpstat -o 2>/dev/null | awk '{print $1}' | grep -Fx -f <(printf '%s\n' "$held") || true)
    [ -z "$still" ] && return 0
    sleep 0.2
  done
  return 1
}

# A print service of the caller's own in a folder, with its own "PDF" queue,
# for cases that remove the queue (lpadmin -x) without touching the shared
# one. Prints the service's socket; the caller points CUPS_SERVER at it and
# stops the service with print_queue_private_stop <folder>.
print_queue_private() {
  local dir=$1
  mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state/certs" "$dir/log"
  cat > "$dir/etc/cups-files.conf" <<CONF
SystemGroup root lpadmin
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
CONF
  cat > "$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
  # In the foreground, in the background: its id is ours to stop.
  /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >/dev/null 2>&1 &
  echo $! > "$dir/cupsd.pid"
  for _ in $(seq 50); do [ -S "$dir/cups.sock" ] && break; sleep 0.1; done
  CUPS_SERVER="$dir/cups.sock" lpadmin -p PDF -v cups-pdf:/ -E -P "$print_queue_ppd" >/dev/null 2>&1 || return 1
  CUPS_SERVER="$dir/cups.sock" lpadmin -d PDF >/dev/null 2>&1
  echo "$dir/cups.sock"
}

print_queue_private_stop() {
  local pid
  pid=$(cat "$1/cupsd.pid" 2>/dev/null) || return 0
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -f "$1/cupsd.pid"
}
