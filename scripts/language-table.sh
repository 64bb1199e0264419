#!/usr/bin/env bash
# Rewrites the Slots and Result columns of the built-in tables in docs/language.md from
# `pelmora-eval --list-functions`, so the reference follows the evaluator's own table.
#   scripts/language-table.sh [PELMORA_EVAL] [DOC]
# Fails, changing nothing, when a table's names differ from the list's (add or remove the
# row, with its meaning and example, by hand).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
eval_program="${1:-$root/build/tools/pelmora-eval}"
doc="${2:-$root/docs/language.md}"
list="$("$eval_program" --list-functions)"
LIST="$list" python3 - "$doc" <<'PY'
import os, re, sys

path = sys.argv[1]
groups, heading = {}, None
for line in os.environ["LIST"].splitlines():
    if not line.startswith("  "):
        heading = line
        groups[heading] = []
        continue
    name, slots, result = re.split(r"  +", line.strip())
    groups[heading].append((name, slots, result))

lines = open(path, encoding="utf-8").read().split("\n")
out, i, done = [], 0, set()
while i < len(lines):
    out.append(lines[i])
    m = re.fullmatch(r"<!-- built-in table: (.+) -->", lines[i])
    i += 1
    if not m:
        continue
    heading = m.group(1)
    out += lines[i:i + 2]  # the header and its rule
    i += 2
    rows = groups.get(heading, [])
    names = []
    while i < len(lines) and lines[i].startswith("|"):
        cells = lines[i].split(" | ")
        names.append(cells[0].strip("| `"))
        if len(names) <= len(rows):
            cells[1:3] = rows[len(names) - 1][1:3]
        out.append(" | ".join(cells))
        i += 1
    if names != [r[0] for r in rows]:
        sys.exit(f"{path}: the {heading} table names {names}, the evaluator {[r[0] for r in rows]}")
    done.add(heading)
if done != set(groups):
    sys.exit(f"{path}: no table for {sorted(set(groups) - done)}")
open(path, "w", encoding="utf-8").write("\n".join(out))
PY
