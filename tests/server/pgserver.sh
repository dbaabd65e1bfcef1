#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests that take the engine as data:
#   pgserver.sh start DIR   initdb into DIR, start the server on a Unix socket in DIR (no TCP port)
#   pgserver.sh stop DIR    stop it and remove DIR
# The role "courtoria" owns everything and logs in without a password (trust on the socket, which
# only this machine's processes reach). initdb refuses to run as root, so as root the server runs as
# the postgres system user.
set -euo pipefail
command=${1:?start or stop}
dir=${2:?folder}
bin=/usr/lib/postgresql/15/bin
[ -x "$bin/initdb" ] || bin=$(dirname "$(ls /usr/lib/postgresql/*/bin/initdb | sort -V | tail -n 1)")
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}
case $command in
start)
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -A trust -U courtoria -E UTF8 --locale=C.UTF-8 --no-sync >"$dir/initdb.log"
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=100" \
        start >/dev/null
    echo "PostgreSQL $("$bin/postgres" --version | awk '{print $3}') on $dir"
    ;;
stop)
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    fi
    rm -rf "$dir"
    ;;
*)
    echo "usage: pgserver.sh start|stop DIR" >&2
    exit 2
    ;;
esac
