#!/usr/bin/env bash
# Fails on an #include that points up the layer graph, on production code that
# includes test helpers, and on a Qt include outside the Qt folders.
# Usage: check_layers.sh [source root]
set -uo pipefail
ROOT="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$ROOT" || exit 2

dirs=()
for d in foundation companion platform db stats parser live hud tracker app; do
    [[ -d "$d" ]] && dirs+=("$d")
done

grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' "${dirs[@]}" |
    awk '
    BEGIN {
        rank["foundation"] = 0; rank["companion"] = 1; rank["platform"] = 1; rank["db"] = 2
        rank["stats"] = 3; rank["parser"] = 4; rank["live"] = 5; rank["hud"] = 6
        rank["tracker"] = 7; rank["app"] = 8; bad = 0
        # app/widgets holds Qt-only support widgets that tracker/ and the HUD
        # editor use: it sits just above the foundation.
        rank["widgets"] = 1
    }
    {
        split($0, parts, ":")
        file = parts[1]
        split(file, f, "/")
        src = f[1]
        if (file ~ /^app\/widgets\//) src = "widgets"
        line = $0
        sub(/^[^:]*:[^:]*:/, "", line)
        qtOk = (file ~ /^(app|tracker|hud\/editor|hud\/display)\//) && (file !~ /^app\/core\//)
        if (match(line, /"[^"]+"/)) {
            inc = substr(line, RSTART + 1, RLENGTH - 2)
            split(inc, g, "/")
            dst = g[1]
            if (inc ~ /^app\/widgets\//) dst = "widgets"
            if (dst == "testing") {
                if (file !~ /\/tests\//) { print file ": production code includes test helper " inc; bad = 1 }
            } else if (dst in rank) {
                if (rank[dst] > rank[src] || (rank[dst] == rank[src] && dst != src)) {
                    print file ": includes " inc ", which is above its layer"; bad = 1
                }
            }
        } else if (line ~ /<Q/ && !qtOk) {
            print file ": Qt include outside the Qt folders: " line; bad = 1
        }
    }
    END { if (!bad) print "check_layers: ok"; exit bad }'
