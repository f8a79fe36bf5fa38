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
#   runtime    the folder of the server's own files (see below); log/ links to its logs
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
#
# The scheduler runs its helpers (the PPD server, the filters) as the user lp, which must be
# able to enter every folder above their programs and spool files. DIR may sit in a private
# folder (a clone in root's home, or under mktemp -d), so the server's own files live in a
# folder of their own under /tmp, made at start (mktemp, then opened to lp) and removed at
# stop; DIR/runtime names it.
set -euo pipefail

usage() { echo "usage: $0 start DIR SOCKET | stop DIR" >&2; exit 2; }
[ $# -ge 2 ] || usage
action=$1
dir=$(realpath -m "$2")

# Bounded waits: every wait gives up after this many tenths of a second.
readonly START_TENTHS=300
readonly STOP_TENTHS=100

runtime() { # the server's own files, as recorded at start; empty when there are none
  local rt=""
  [ -f "$dir/runtime" ] && rt=$(cat "$dir/runtime")
  case "$rt" in
    /tmp/talvero-cups.*) [ -f "$rt/.talvero-cups" ] && echo "$rt" ;;
  esac
}

pdf_name() { echo "talvero-$(printf '%s' "$dir" | md5sum | cut -c1-12)"; }
pdf_conf() { echo "/etc/cups/cups-pdf-$(pdf_name).conf"; }

is_cupsd() { # pid runtime -> true when that process is a cupsd started with our configuration
  local pid=$1 rt=$2
  [ -n "$pid" ] && [ -n "$rt" ] && [ -r "/proc/$pid/cmdline" ] &&
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF -- "-c $rt/etc/cupsd.conf "
}

stop_server() {
  local pid="" rt
  rt=$(runtime)
  [ -f "$dir/cupsd.pid" ] && pid=$(cat "$dir/cupsd.pid")
  if is_cupsd "$pid" "$rt"; then
    # A server stopped by a test (SIGSTOP) must be woken to hear the TERM.
    kill -CONT "$pid" 2>/dev/null || true
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq "$STOP_TENTHS"); do
      is_cupsd "$pid" "$rt" || break
      sleep 0.1
    done
    if is_cupsd "$pid" "$rt"; then
      kill -KILL "$pid" 2>/dev/null || true
    fi
  fi
  rm -f "$dir/cupsd.pid" "$dir/runtime" "$dir/log"
  [ -n "$rt" ] && rm -rf "$rt"
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
  local socket=$1 port=$2 rt=$3
  cat >"$rt/etc/cups-files.conf" <<EOF
ServerRoot $rt/etc
StateDir $rt/state
CacheDir $rt/cache
RequestRoot $rt/spool
TempDir $rt/spool/tmp
ErrorLog $rt/log/error_log
AccessLog $rt/log/access_log
PageLog $rt/log/page_log
Printcap $rt/state/printcap
ServerBin $rt/serverbin
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root lpadmin
EOF
  cat >"$rt/etc/cupsd.conf" <<EOF
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
Log $rt/log
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
  local rt=$1
  mkdir -p "$rt/bin" "$rt/serverbin/backend"
  install -m 0755 "$(command -v cupsd)" "$rt/bin/cupsd"
  local entry
  for entry in /usr/lib/cups/*; do
    [ "$(basename "$entry")" = backend ] || ln -s "$entry" "$rt/serverbin/"
  done
  for entry in /usr/lib/cups/backend/*; do
    [ "$(basename "$entry")" = cups-pdf ] || ln -s "$entry" "$rt/serverbin/backend/"
  done
  # Mode 0700 and owned by root: the scheduler runs such a backend as root.
  install -m 0700 /usr/lib/cups/backend/cups-pdf "$rt/serverbin/backend/cups-pdf"
}

# Waits (bounded) until `$@` succeeds; false when it never did or the server died meanwhile.
wait_for() {
  local pid
  pid=$(cat "$dir/cupsd.pid")
  for _ in $(seq "$START_TENTHS"); do
    "$@" >/dev/null 2>&1 && return 0
    # Alive, whatever its command line says yet: the child may not have become cupsd.
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

scheduler_running() { lpstat -r 2>/dev/null | grep -qx "scheduler is running"; }
queues_listed() {
  local listed
  listed=$(lpstat -a 2>/dev/null) || return 1
  for queue in "$@"; do
    grep -q "^$queue " <<<"$listed" || return 1
  done
}

fail_start() {
  echo "cups-test-server: $1; its log:" >&2
  cat "$2/log/cupsd.out" "$2/log/error_log" >&2 2>/dev/null || true
  stop_server
  exit 1
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
  mkdir -p "$dir"/{pdf,cups-pdf-spool}
  touch "$dir/.talvero-cups"
  chmod 0755 "$dir" "$dir/pdf"
  local rt
  rt=$(mktemp -d /tmp/talvero-cups.XXXXXX)
  echo "$rt" >"$dir/runtime"
  touch "$rt/.talvero-cups"
  ln -s "$rt/log" "$dir/log"
  mkdir -p "$rt"/{etc,state,cache,spool/tmp,log}
  chmod 0755 "$rt"
  chgrp lp "$rt/spool" "$rt/spool/tmp" "$rt/cache" "$rt/state"
  chmod 0710 "$rt/spool"
  chmod 1770 "$rt/spool/tmp"
  chmod 0770 "$rt/cache" "$rt/state"
  rm -f "$socket"
  mkdir -p "$(dirname "$socket")"

  install_programs "$rt"

  local port
  port=$(pick_port) || { echo "cups-test-server: no free port" >&2; exit 1; }
  echo "$port" >"$dir/port"
  write_config "$socket" "$port" "$rt"

  # Detached from the test's output so that the test runner does not wait for the server.
  setsid "$rt/bin/cupsd" -f -c "$rt/etc/cupsd.conf" -s "$rt/etc/cups-files.conf" \
    </dev/null >"$rt/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"

  export CUPS_SERVER=$socket
  wait_for scheduler_running || fail_start "cupsd did not start" "$rt"

  local uri="cups-pdf:/$(pdf_name)"
  local ppd=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
  local queues=(TalveroPDF TalveroOtra TalveroRechaza)
  for queue in "${queues[@]}"; do
    wait_for lpadmin -p "$queue" -v "$uri" -m "$ppd" -E \
      -o pdftops-renderer-default=pdftocairo -o TitlePref=1 -o Label=2 ||
      fail_start "queue $queue could not be added" "$rt"
  done
  wait_for lpadmin -d TalveroPDF || fail_start "TalveroPDF could not be made the default" "$rt"
  wait_for cupsreject TalveroRechaza || fail_start "TalveroRechaza kept accepting jobs" "$rt"
  wait_for queues_listed "${queues[@]}" || fail_start "the queues were not listed" "$rt"
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
