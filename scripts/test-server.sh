#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: a new cluster in a temporary
# folder, reached only through a Unix socket in that folder.
#   eval "$(scripts/test-server.sh start)"   # sets QUILLON_TEST_PG, QUILLON_TEST_PG_DIR
#   scripts/test-server.sh stop "$QUILLON_TEST_PG_DIR"
set -euo pipefail

bindir() {
  local d
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    if [ -x "$d/initdb" ]; then echo "$d"; return; fi
  done
  echo "PostgreSQL server programs (initdb) are not installed: run scripts/install-deps.sh" >&2
  exit 1
}

# The server refuses to run as root: there it runs as the postgres user.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "${1:-}" in
start)
  bin=$(bindir)
  dir=$(mktemp -d "${TMPDIR:-/tmp}/quillon-pg.XXXXXX")
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
  chmod 700 "$dir"
  as_owner "$bin/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  # Durability is not wanted from a cluster that lives for one test run.
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -p 5432 -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
  echo "export QUILLON_TEST_PG_DIR='$dir'"
  echo "export QUILLON_TEST_PG='host=$dir port=5432 user=postgres dbname=postgres'"
  ;;
stop)
  dir=${2:?the folder that start printed}
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$(bindir)/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start | stop DIR" >&2
  exit 2
  ;;
esac
