#!/usr/bin/env bash
# A print queue for one test run: a CUPS daemon of the run's own, on its own
# socket, with a default queue whose paper is a PDF file (cups-pdf) and a
# queue that refuses jobs.
#
#   eval "$(scripts/print-queue.sh start)"   # prints the exports for the tests
#   scripts/print-queue.sh stop               # stops and removes what start made
#
# The run never touches the machine's own CUPS daemon, queues or default
# printer. Under CI=true a queue that cannot be set up fails the run; elsewhere
# start warns and prints nothing, and the queue tests skip with the reason.
set -euo pipefail

queue=Quillon_PDF
closed=Quillon_Closed

fail() {
  echo "print-queue: $*" >&2
  if [ "${CI:-}" = "true" ]; then
    exit 1
  fi
  exit 0
}

start() {
  [ "$(id -u)" -eq 0 ] || fail "not root: cupsd and the cups-pdf backend need root; the print tests will skip"
  for tool in cupsd lpadmin lpstat cupsreject; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing: run scripts/install-deps.sh"
  done
  [ -x /usr/lib/cups/backend/cups-pdf ] || fail "the cups-pdf backend is missing (printer-driver-cups-pdf)"
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  [ -f "$ppd" ] || fail "$ppd is missing (printer-driver-cups-pdf)"

  local run
  run=$(mktemp -d /tmp/quillon-print.XXXXXX)
  chmod 755 "$run"
  mkdir -p "$run"/{etc/ppd,spool,cache,state,tmp,log,out}
  # Filters run as lp and read the spooled job.
  chown root:lp "$run/spool" "$run/tmp" && chmod 1770 "$run/spool" "$run/tmp"

  cat >"$run/etc/cups-files.conf" <<EOF
ServerRoot $run/etc
RequestRoot $run/spool
CacheDir $run/cache
StateDir $run/state
TempDir $run/tmp
ErrorLog $run/log/error_log
AccessLog $run/log/access_log
PageLog $run/log/page_log
SystemGroup root
EOF
  cat >"$run/etc/cupsd.conf" <<EOF
Listen $run/cups.sock
LogLevel warn
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
MaxJobs 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

  # cups-pdf reads /etc/cups/cups-pdf-<instance>.conf for a cups-pdf:/<instance>
  # device, so the machine's own cups-pdf.conf stays as it is.
  local instance
  instance=$(basename "$run")
  cat >"/etc/cups/cups-pdf-$instance.conf" <<EOF
Out $run/out
AnonDirName $run/out
Spool $run/cups-pdf-spool
Label 1
UserUMask 0022
AnonUMask 0022
Log $run/log
LogType 3
EOF
  echo "$instance" >"$run/instance"

  cupsd -f -c "$run/etc/cupsd.conf" -s "$run/etc/cups-files.conf" >"$run/log/cupsd.out" 2>&1 &
  echo $! >"$run/cupsd.pid"

  local sock="$run/cups.sock" i
  # lpstat -r exits 0 either way; only its words tell.
  running() { lpstat -h "$sock" -r 2>/dev/null | grep -q "scheduler is running"; }
  for i in $(seq 100); do
    running && break
    sleep 0.1
  done
  if ! running; then
    cat "$run/log/cupsd.out" "$run/log/error_log" >&2 2>/dev/null || true
    stop_run "$run"
    fail "the CUPS daemon did not start within 10 s"
  fi
  # lpadmin warns that PPD drivers are deprecated; only its failure matters.
  # Cairo turns the job into PostScript with real fonts, so the PDF that
  # comes out still has text to read back (the default gives Type 3 glyphs).
  # The closed queue refuses every job, as a paused printer does.
  if ! lpadmin -h "$sock" -p "$queue" -E -v "cups-pdf:/$instance" -P "$ppd" \
         -o pdftops-renderer-default=pdftocairo 2>"$run/log/lpadmin.err" ||
     ! lpadmin -h "$sock" -d "$queue" 2>>"$run/log/lpadmin.err" ||
     ! lpadmin -h "$sock" -p "$closed" -E -v "cups-pdf:/$instance" -P "$ppd" 2>>"$run/log/lpadmin.err" ||
     ! cupsreject -h "$sock" -r "closed for the test run" "$closed" 2>>"$run/log/lpadmin.err"; then
    cat "$run/log/lpadmin.err" >&2
    stop_run "$run"
    fail "the queue $queue could not be added"
  fi

  echo "export QUILLON_PRINT_RUN='$run'"
  echo "export CUPS_SERVER='$sock'"
  echo "export QUILLON_TEST_PRINT_DIR='$run/out'"
  echo "export QUILLON_TEST_CLOSED_QUEUE='$closed'"
  echo "print-queue: default queue $queue through $sock, PDFs in $run/out" >&2
}

stop_run() {
  local run=$1
  if [ -f "$run/cupsd.pid" ]; then
    local pid i
    pid=$(cat "$run/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    for i in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  fi
  [ -f "$run/instance" ] && rm -f "/etc/cups/cups-pdf-$(cat "$run/instance").conf"
  rm -rf "$run"
}

case "${1:-}" in
  start) start ;;
  stop)
    run=${QUILLON_PRINT_RUN:-}
    case "$run" in
      /tmp/quillon-print.*) if [ -d "$run" ]; then stop_run "$run"; fi ;;
      *) ;;
    esac
    ;;
  *) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
