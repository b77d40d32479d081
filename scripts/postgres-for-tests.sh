# Source this file: starts a throwaway PostgreSQL server on loopback for the tests and
# exports VELORA_TEST_PG=127.0.0.1:PORT; the server stops when the sourcing shell exits.
# As root the server runs as the postgres user, which initdb and postgres require.

velora_pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
velora_pg_port=${VELORA_PG_PORT:-54329}
velora_pg_dir=$(mktemp -d /tmp/velora-pg.XXXXXX)

velora_pg_as_owner() {
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

velora_pg_start() {
    [ -x "$velora_pg_bin/initdb" ] || { echo "PostgreSQL server binaries not found"; return 1; }
    if [ "$(id -u)" = 0 ]; then chown postgres:postgres "$velora_pg_dir"; fi
    chmod 755 "$velora_pg_dir"
    velora_pg_as_owner mkdir -p "$velora_pg_dir/sock" || return 1
    velora_pg_as_owner "$velora_pg_bin/initdb" -D "$velora_pg_dir/data" -U postgres --auth=trust \
        -E UTF8 --locale=C.UTF-8 >"$velora_pg_dir/initdb.log" 2>&1 || { cat "$velora_pg_dir/initdb.log"; return 1; }
    velora_pg_as_owner "$velora_pg_bin/pg_ctl" -D "$velora_pg_dir/data" -l "$velora_pg_dir/server.log" -w -t 30 \
        start -o "-p $velora_pg_port -k $velora_pg_dir/sock -c listen_addresses=127.0.0.1 -c fsync=off" \
        >/dev/null || { cat "$velora_pg_dir/server.log"; return 1; }
}

velora_pg_stop() {
    velora_pg_as_owner "$velora_pg_bin/pg_ctl" -D "$velora_pg_dir/data" -m fast stop >/dev/null 2>&1
    rm -rf "$velora_pg_dir"
}

if velora_pg_start; then
    export VELORA_TEST_PG="127.0.0.1:$velora_pg_port"
    trap velora_pg_stop EXIT
    echo "PostgreSQL for tests on $VELORA_TEST_PG"
else
    rm -rf "$velora_pg_dir"
    unset VELORA_TEST_PG
    if [ "${CI:-}" = true ]; then
        echo "PostgreSQL for tests could not start"
        return 1 2>/dev/null || exit 1
    fi
    echo "PostgreSQL could not start: its tests are skipped"
fi
