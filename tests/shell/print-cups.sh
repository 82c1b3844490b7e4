#!/usr/bin/env bash
# Prints one photo through the program's real printing path onto a private CUPS server whose
# default queue writes PDF files (cups-pdf), then checks the page that came out.
#   tests/shell/print-cups.sh SHELL_TESTS_EXECUTABLE
# The server keeps its configuration, spool, logs and socket in a temporary folder and has no
# network port: a CUPS of the system is left alone. It never waits more than a minute.
set -euo pipefail

tests=$(realpath "$1")
fail() {
  echo "print-cups: FAILED: $*" >&2
  exit 1
}
PATH=$PATH:/usr/sbin:/sbin
for tool in cupsd lpadmin lpstat pdfinfo pdftoppm; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || fail "the cups-pdf backend is missing"

work=$(mktemp -d /tmp/fotavel-cups.XXXXXX)
# The filters run as the user lp, who must reach the spool below.
chmod 755 "$work"
queue="fotavel-test-$$"
# cups-pdf reads its settings from /etc/cups only; a file named after this
# queue is read for this queue alone, and goes with it.
pdfconf="/etc/cups/cups-pdf-$queue.conf"
cupsd_pid=""
cleanup() {
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  rm -f "$pdfconf"
  rm -rf "$work"
}
trap cleanup EXIT
show_logs() { tail -n 40 "$work/log/error_log" "$work"/log/cups-pdf*_log >&2 2>/dev/null || true; }

mkdir -p "$work"/{etc/ppd,spool,tmp,cache,run,log,pdf,pdf-spool,home}
chmod 1777 "$work/tmp" "$work/pdf-spool"
cat >"$work/etc/cups-files.conf" <<EOF
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/tmp
CacheDir $work/cache
StateDir $work/run
DataDir /usr/share/cups
ServerBin /usr/lib/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
Printcap $work/run/printcap
SystemGroup root
User lp
Group lp
FileDevice No
EOF
cat >"$work/etc/cupsd.conf" <<EOF
LogLevel debug
Listen $work/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
cat >"$pdfconf" <<EOF
Out $work/pdf
AnonDirName $work/pdf
Spool $work/pdf-spool
Log $work/log
Grp root
EOF

cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER="$work/cups.sock"
# Only this server and this queue: no user or environment choice of printer.
unset LPDEST PRINTER
export HOME="$work/home"
# lpstat -r succeeds either way: its words tell.
running() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
for _ in $(seq 100); do
  kill -0 "$cupsd_pid" 2>/dev/null || { show_logs; fail "cupsd stopped at start"; }
  [ -S "$CUPS_SERVER" ] && running && break
  sleep 0.1
done
running || { show_logs; fail "cupsd did not answer on $CUPS_SERVER within 10 s"; }

lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
  -o PageSize=A4 2>&1 | grep -v -i "deprecated" || true
lpadmin -d "$queue"
[ "$(lpstat -d)" = "system default destination: $queue" ] || { show_logs; fail "the queue is not the default"; }

# run FILTER [VARIABLE=VALUE]...: one test of the shell tests, which must pass and not be skipped.
run() {
  local output
  output=$(env "${@:2}" QT_QPA_PLATFORM=offscreen timeout 60 "$tests" --gtest_filter="$1" 2>&1) ||
    { echo "$output" >&2; fail "$1 failed"; }
  if ! grep -q "\[  PASSED  \] 1 test" <<<"$output" || grep -q "SKIPPED" <<<"$output"; then
    echo "$output" >&2
    fail "$1 did not run"
  fi
}

# The window prints the sample through Imprimer on the system's default printer.
run Printing.OnTheSystemDefaultPrinter FOTAVEL_CUPS_PRINT=1

# The job goes through the filters and Ghostscript: wait, a minute at most,
# until the queue is empty and the file is there.
pdf=""
for _ in $(seq 120); do
  pdf=$(find "$work/pdf" -name '*.pdf' -size +0 | head -n 1)
  [ -n "$pdf" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && break
  if lpstat -p "$queue" 2>/dev/null | grep -q disabled; then show_logs; fail "the queue stopped"; fi
  sleep 0.5
done
[ -n "$pdf" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] ||
  { show_logs; fail "no PDF came out within 60 s"; }

pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || fail "${pages:-no} pages instead of 1 in $pdf"
# One A4 page in portrait, the photo at its own size in the middle of the sheet.
run PrintedPage.FromTheSystemDefaultPrinter FOTAVEL_CUPS_PAGE="$pdf"
echo "print-cups: 1 passed, 0 failed (one A4 portrait page from queue $queue, the photo centred)"
