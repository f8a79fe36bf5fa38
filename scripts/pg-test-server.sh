#!/usr/bin/env bash
# A private PostgreSQL server for the register's tests, kept in one folder of its own so that
# it never touches a server of the machine and two build trees never share anything.
#
#   pg-test-server.sh start DIR   initdb, start the server, create the test users, wait until
#                                 it answers
#   pg-test-server.sh stop DIR    stop the server started in DIR and remove its files
#   pg-test-server.sh pause DIR   stop the server started in DIR, keeping its files (a test of
#                                 a server that goes away under the program)
#   pg-test-server.sh resume DIR  start it again, on the same port, with the same data
#
# After start, DIR holds:
#   port     the loopback TCP port the server listens on (127.0.0.1 only)
#   runtime  the folder of the server's own files: its data, its log and its Unix socket
#   uri      a connection URI for the user "talvero" (database "talvero", password in DIR/clave)
#   clave    that user's password
#   pgpass   the same in libpq's password file format (mode 0600): the tests and the program
#            they run find it through PGPASSFILE, so no password is ever in a URI or a setting
#
# Two users: "talvero", with a password (scram-sha-256 over TCP), who owns the database
# "talvero" and may create databases for tests of their own; and the server's superuser,
# reachable only over the Unix socket, for setting up.
#
# initdb refuses to run as root. Run as root (as a clone in root's home is), the server runs
# as the user "postgres" of Debian's package, in a folder under /tmp made for it, because that
# user cannot enter a private folder such as root's home. Without the server's programs start
# only writes DIR/skipped with the reason and succeeds; the tests then skip with that reason.
set -euo pipefail

usage() { echo "usage: $0 start DIR | stop DIR | pause DIR | resume DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
action=$1
dir=$(realpath -m "$2")

# Bounded waits, in tenths of a second.
readonly START_TENTHS=300
readonly STOP_TENTHS=100

bindir() { # the newest installed server's programs
  local d
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ] && { echo "$d"; return; }
  done
}

runtime() { # the server's own folder, as recorded at start; empty when there is none
  local rt=""
  [ -f "$dir/runtime" ] && rt=$(cat "$dir/runtime")
  case "$rt" in
    /tmp/talvero-pg.*) [ -f "$rt/.talvero-pg" ] && echo "$rt" ;;
  esac
}

as_owner() { # runs a command as the user the server runs as
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop_server() {
  local rt bin
  rt=$(runtime)
  bin=$(bindir)
  if [ -n "$rt" ] && [ -n "$bin" ] && [ -f "$rt/data/postmaster.pid" ]; then
    local pid
    pid=$(head -n 1 "$rt/data/postmaster.pid")
    # A server stopped by a test (SIGSTOP) must be woken to hear the request.
    kill -CONT "$pid" 2>/dev/null || true
    as_owner "$bin/pg_ctl" -D "$rt/data" -m immediate -t $((STOP_TENTHS / 10)) stop \
      >/dev/null 2>&1 || kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$dir/port" "$dir/runtime" "$dir/uri" "$dir/clave" "$dir/pgpass"
  [ -n "$rt" ] && rm -rf "$rt"
  return 0
}

port_free() { # port -> true when nothing listens on 127.0.0.1:port
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

free_port() {
  local p
  for _ in $(seq 50); do
    p=$((20000 + RANDOM % 20000))
    port_free "$p" && { echo "$p"; return; }
  done
  return 1
}

run_server() { # BIN RUNTIME PORT: starts the server on its data and waits until it answers
  as_owner "$1/pg_ctl" -D "$2/data" -l "$2/server.log" -w -t $((START_TENTHS / 10)) \
    -o "-c listen_addresses=127.0.0.1 -p $3 -k $2 -c fsync=off -c max_connections=60" \
    start >/dev/null || { cat "$2/server.log" >&2; return 1; }
}

pause_server() {
  local rt bin
  rt=$(runtime)
  bin=$(bindir)
  [ -n "$rt" ] && [ -n "$bin" ] || { echo "no server started in $dir" >&2; return 1; }
  as_owner "$bin/pg_ctl" -D "$rt/data" -m fast -w -t $((STOP_TENTHS / 10)) stop >/dev/null
}

resume_server() {
  local rt bin
  rt=$(runtime)
  bin=$(bindir)
  [ -n "$rt" ] && [ -n "$bin" ] && [ -f "$dir/port" ] || { echo "no server started in $dir" >&2; return 1; }
  run_server "$bin" "$rt" "$(cat "$dir/port")"
}

start_server() {
  mkdir -p "$dir"
  stop_server
  rm -f "$dir/skipped"
  local bin
  bin=$(bindir)
  if [ -z "$bin" ]; then
    echo "no PostgreSQL server programs in /usr/lib/postgresql (Debian package postgresql)" \
      >"$dir/skipped"
    return 0
  fi
  if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
    echo "running as root and there is no user postgres to run the server as" >"$dir/skipped"
    return 0
  fi

  local rt port clave
  rt=$(mktemp -d /tmp/talvero-pg.XXXXXXXX)
  touch "$rt/.talvero-pg"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$rt"
  echo "$rt" >"$dir/runtime"
  port=$(free_port) || { echo "no free loopback port" >&2; return 1; }
  clave=$(head -c 18 /dev/urandom | base64 | tr '+/' 'xy')

  as_owner "$bin/initdb" -D "$rt/data" -U admin -A trust -E UTF8 --locale=C.UTF-8 \
    >"$rt/initdb.log" 2>&1 || { cat "$rt/initdb.log" >&2; return 1; }
  # Over TCP only with a password; the superuser only over the socket.
  as_owner tee "$rt/data/pg_hba.conf" >/dev/null <<EOF
local all admin trust
local all all scram-sha-256
host all admin 0.0.0.0/0 reject
host all admin ::/0 reject
host all all 127.0.0.1/32 scram-sha-256
EOF
  run_server "$bin" "$rt" "$port" || return 1

  as_owner "$bin/psql" -X -q -h "$rt" -p "$port" -U admin -d postgres -v ON_ERROR_STOP=1 \
    -c "CREATE ROLE talvero LOGIN CREATEDB PASSWORD '$clave'" \
    -c "CREATE DATABASE talvero OWNER talvero" >/dev/null

  echo "$port" >"$dir/port"
  (umask 077 && echo "$clave" >"$dir/clave" &&
    echo "127.0.0.1:$port:*:talvero:$clave" >"$dir/pgpass")
  echo "postgresql://talvero@127.0.0.1:$port/talvero?sslmode=disable" >"$dir/uri"
}

case "$action" in
  start) start_server ;;
  stop) stop_server ;;
  pause) pause_server ;;
  resume) resume_server ;;
  *) usage ;;
esac
