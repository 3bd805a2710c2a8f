#!/usr/bin/env bash
# Starts a private CUPS scheduler with one cups-pdf queue for the printer tests.
#
#   eval "$(./scripts/start-cups.sh)"   starts it and prints the variables the
#                                       tests read (as export lines on stdout)
#   ./scripts/start-cups.sh stop        stops the scheduler this script started
#
# The scheduler has its own configuration, spool and socket under
# ZORDTA_CUPS_ROOT (default /tmp/zordta-cups), so a system CUPS is neither
# needed nor touched; clients reach it through CUPS_SERVER. Needs root: the
# cups-pdf backend only runs as root, and it reads its configuration from
# /etc/cups/cups-pdf-<instance>.conf, which is the one file written outside
# the private folder. Progress goes to stderr.
set -euo pipefail

root="${ZORDTA_CUPS_ROOT:-/tmp/zordta-cups}"
queue="${ZORDTA_CUPS_QUEUE:-ZorDTA-PDF}"
instance="ZorDTA"
socket="$root/cups.sock"
pidfile="$root/cupsd.pid"

log() { echo "start-cups: $*" >&2; }

stop() {
  if [ -f "$pidfile" ]; then
    local pid
    pid=$(cat "$pidfile")
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid"
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$pidfile"
  fi
}

if [ "${1:-}" = "stop" ]; then
  stop
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  log "needs root (cups-pdf runs only as root); the CUPS tests will be skipped"
  exit 0
fi
for tool in cupsd lpadmin lpstat; do
  if ! command -v "$tool" >/dev/null; then
    log "$tool is missing; the CUPS tests will be skipped"
    exit 0
  fi
done
if [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
  log "the cups-pdf backend is missing; the CUPS tests will be skipped"
  exit 0
fi
ppd=""
for candidate in /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/cups/model/CUPS-PDF_opt.ppd \
                 /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd /usr/share/cups/model/CUPS-PDF.ppd; do
  if [ -f "$candidate" ]; then ppd="$candidate"; break; fi
done
if [ -z "$ppd" ]; then
  log "no cups-pdf PPD found; the CUPS tests will be skipped"
  exit 0
fi

# A scheduler left over from an earlier run would hold the socket.
stop
rm -rf "$root"
mkdir -p "$root"/{conf/ppd,spool/tmp,cache,state,log,pdf,pdf-spool}
# Filters run as lp: they must reach the spool and the temporary folder.
chmod 755 "$root" "$root"/conf "$root"/log "$root"/pdf
chown root:lp "$root"/spool "$root"/spool/tmp
chmod 710 "$root"/spool
chmod 1770 "$root"/spool/tmp

cat >"$root/conf/cups-files.conf" <<EOF
ServerRoot $root/conf
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
ServerBin /usr/lib/cups
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
User lp
Group lp
SystemGroup root
Printcap $root/state/printcap
EOF

# Anyone on this machine may do anything: it lives only for one test run and
# listens on nothing but its socket.
cat >"$root/conf/cupsd.conf" <<EOF
LogLevel info
Listen $socket
Browsing No
WebInterface No
DefaultAuthType None
ErrorPolicy abort-job
PreserveJobHistory Yes
MaxJobs 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

cat >"/etc/cups/cups-pdf-$instance.conf" <<EOF
Out $root/pdf
AnonDirName $root/pdf
Spool $root/pdf-spool
Log $root/log
Label 1
UserUMask 0022
AnonUMask 0022
Grp root
EOF

# setsid without a fork keeps the pid; no descriptor of ours stays open in it,
# so a pipe that the caller reads still closes.
setsid cupsd -f -c "$root/conf/cupsd.conf" -s "$root/conf/cups-files.conf" \
  </dev/null >>"$root/log/cupsd.out" 2>&1 &
echo $! >"$pidfile"

export CUPS_SERVER="$socket"
for _ in $(seq 100); do
  [ -S "$socket" ] && lpstat -r 2>/dev/null | grep -q "is running" && break
  sleep 0.1
done
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  log "cupsd did not start; see $root/log"
  cat "$root/log/error_log" "$root/log/cupsd.out" >&2 2>/dev/null || true
  stop
  exit 1
fi

# Poppler's pdftops keeps the fonts as fonts, so the text of the PDF that
# cups-pdf writes can be read back; the default renderer turns it into outlines.
lpadmin -p "$queue" -E -v "cups-pdf:/$instance" -P "$ppd" -o printer-error-policy=abort-job \
  -o pdftops-renderer-default=pdftops 2>&1 | grep -v -i "deprecated" >&2 || true
lpadmin -d "$queue"
for _ in $(seq 100); do
  lpstat -p "$queue" 2>/dev/null | grep -q "enabled" && break
  sleep 0.1
done
if ! lpstat -p "$queue" 2>/dev/null | grep -q "enabled"; then
  log "the queue $queue did not come up; see $root/log"
  stop
  exit 1
fi

log "$(lpstat -p "$queue")"
log "cups-pdf writes to $root/pdf"
echo "export CUPS_SERVER='$socket'"
echo "export ZORDTA_CUPS_QUEUE='$queue'"
echo "export ZORDTA_CUPS_PDF_DIR='$root/pdf'"
