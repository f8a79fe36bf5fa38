#!/usr/bin/env bash
# A private CUPS server for the printing tests, with PDF queues, kept entirely in one folder
# of the build tree so that it never touches the machine's own printing system and two build
# trees never share anything.
#
#   cups-test-server.sh start DIR SOCKET   start cupsd, add the queues, wait until it runs
#   cups-test-server.sh stop DIR           stop the server started in DIR, by its process id
#
# After start, DIR holds:
#   cupsd.pid  the server's process id      port  the loopback TCP port it listens on
#   pdf/       the PDF files of printed jobs
# Clients reach the server with CUPS_SERVER=SOCKET (a local socket).
#
# Queues: "TalveroPDF" (the default printer), "TalveroOtra" (a second PDF queue) and
# "TalveroRechaza" (a PDF queue that refuses every job).
#
# Without root (and without passwordless sudo) start only writes DIR/skipped with the reason
# and succeeds; the printing tests then skip with that reason. DIR is wiped at every start, so
# the script refuses a folder with content that it did not make itself.
#
# cups-pdf reads its settings, for a device URI cups-pdf:/NAME, from /etc/cups/cups-pdf-NAME.conf;
# NAME is made from DIR, the file is written at start and removed at stop. That needs root.
set -euo pipefail

usage() { echo "usage: $0 start DIR SOCKET | stop DIR" >&2; exit 2; }
[ $# -ge 2 ] || usage
action=$1
dir=$(realpath -m "$2")

# Bounded waits: every wait gives up after this many tenths of a second.
readonly START_TENTHS=300
readonly STOP_TENTHS=100

pdf_name() { echo "talvero-$(printf '%s' "$dir" | md5sum | cut -c1-12)"; }
pdf_conf() { echo "/etc/cups/cups-pdf-$(pdf_name).conf"; }

is_cupsd() { # pid -> true when that process is a cupsd started with our configuration
  local pid=$1
  [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] &&
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF -- "-c $dir/etc/cupsd.conf "
}

stop_server() {
  local pid=""
  [ -f "$dir/cupsd.pid" ] && pid=$(cat "$dir/cupsd.pid")
  if is_cupsd "$pid"; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq "$STOP_TENTHS"); do
      is_cupsd "$pid" || break
      sleep 0.1
    done
    if is_cupsd "$pid"; then
      kill -KILL "$pid" 2>/dev/null || true
    fi
  fi
  rm -f "$dir/cupsd.pid"
  rm -f "$(pdf_conf)" 2>/dev/null || true
}

port_free() { # port -> true when nothing listens on 127.0.0.1:port
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

pick_port() {
  # Start from a port derived from the folder so that two trees rarely probe the same ones.
  local base=$((20000 + 0x$(printf '%s' "$dir" | md5sum | cut -c1-4) % 20000))
  local p
  for i in $(seq 0 199); do
    p=$((base + i))
    if port_free "$p"; then
      echo "$p"
      return 0
    fi
  done
  return 1
}

write_config() {
  local socket=$1 port=$2
  cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
StateDir $dir/state
CacheDir $dir/cache
RequestRoot $dir/spool
TempDir $dir/spool/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
ServerBin $dir/serverbin
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root lpadmin
EOF
  cat >"$dir/etc/cupsd.conf" <<EOF
LogLevel info
Listen 127.0.0.1:$port
Listen $socket
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
DefaultEncryption Never
WebInterface No
PreserveJobHistory Yes
PreserveJobFiles No
MaxJobs 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
  cat >"$(pdf_conf)" <<EOF
Out $dir/pdf
AnonDirName $dir/pdf
Spool $dir/cups-pdf-spool
Log $dir/log
LogType 3
Grp root
UserUMask 0022
DecodeHexStrings 1
EOF
}

# The folder is wiped at every start, so it must be one of ours (or new).
check_folder() {
  if [ -e "$dir" ] && [ ! -f "$dir/.talvero-cups" ] && [ -n "$(ls -A "$dir" 2>/dev/null)" ]; then
    echo "cups-test-server: $dir exists and was not made by this script; not touching it" >&2
    exit 1
  fi
}

# Without root the server cannot run; the printing tests then skip with this reason.
skip() {
  mkdir -p "$dir"
  touch "$dir/.talvero-cups"
  echo "$1" >"$dir/skipped"
  echo "cups-test-server: $1" >&2
  exit 0
}

# Private copies of the scheduler and of the PDF backend. A security profile that the system
# attaches to the installed programs by their path (AppArmor, on Debian) would keep them out
# of the build tree; copies elsewhere run unconfined. Every other server program is linked.
install_programs() {
  mkdir -p "$dir/bin" "$dir/serverbin/backend"
  install -m 0755 "$(command -v cupsd)" "$dir/bin/cupsd"
  local entry
  for entry in /usr/lib/cups/*; do
    [ "$(basename "$entry")" = backend ] || ln -s "$entry" "$dir/serverbin/"
  done
  for entry in /usr/lib/cups/backend/*; do
    [ "$(basename "$entry")" = cups-pdf ] || ln -s "$entry" "$dir/serverbin/backend/"
  done
  # Mode 0700 and owned by root: the scheduler runs such a backend as root.
  install -m 0700 /usr/lib/cups/backend/cups-pdf "$dir/serverbin/backend/cups-pdf"
}

start_server() {
  local socket=$1
  check_folder
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      exec sudo -n bash "$0" start "$dir" "$socket"
    fi
    skip "the printing tests need root or passwordless sudo (cupsd, $(pdf_conf))"
  fi
  for tool in cupsd lpadmin lpstat cupsreject; do
    command -v "$tool" >/dev/null || { echo "cups-test-server: $tool is missing" >&2; exit 1; }
  done
  [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "cups-test-server: cups-pdf is missing" >&2; exit 1; }

  # A server left behind by an interrupted run is stopped first; its jobs and files go.
  stop_server
  rm -rf "$dir"
  mkdir -p "$dir"/{etc,state,cache,spool/tmp,log,pdf,cups-pdf-spool}
  touch "$dir/.talvero-cups"
  chmod 0755 "$dir" "$dir/pdf"
  chgrp lp "$dir/spool" "$dir/spool/tmp" "$dir/cache" "$dir/state"
  chmod 0710 "$dir/spool"
  chmod 1770 "$dir/spool/tmp"
  chmod 0770 "$dir/cache" "$dir/state"
  rm -f "$socket"
  mkdir -p "$(dirname "$socket")"

  install_programs

  local port
  port=$(pick_port) || { echo "cups-test-server: no free port" >&2; exit 1; }
  echo "$port" >"$dir/port"
  write_config "$socket" "$port"

  # Detached from the test's output so that the test runner does not wait for the server.
  setsid "$dir/bin/cupsd" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
    </dev/null >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"

  export CUPS_SERVER=$socket
  local running=0
  for _ in $(seq "$START_TENTHS"); do
    if lpstat -r 2>/dev/null | grep -qx "scheduler is running"; then
      running=1
      break
    fi
    is_cupsd "$(cat "$dir/cupsd.pid")" || break
    sleep 0.1
  done
  if [ "$running" -ne 1 ]; then
    echo "cups-test-server: cupsd did not start; its log:" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    stop_server
    exit 1
  fi

  local uri="cups-pdf:/$(pdf_name)"
  local ppd=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
  for queue in TalveroPDF TalveroOtra TalveroRechaza; do
    lpadmin -p "$queue" -v "$uri" -m "$ppd" -E \
      -o pdftops-renderer-default=pdftocairo -o TitlePref=1 -o Label=2
  done
  lpadmin -d TalveroPDF
  cupsreject TalveroRechaza
  lpstat -d -a
}

case "$action" in
  start) [ $# -eq 3 ] || usage; start_server "$(realpath -m "$3")" ;;
  stop)
    if [ "$(id -u)" -ne 0 ] && [ -f "$dir/cupsd.pid" ] && command -v sudo >/dev/null 2>&1 &&
      sudo -n true 2>/dev/null; then
      exec sudo -n bash "$0" stop "$dir"
    fi
    stop_server
    ;;
  *) usage ;;
esac
