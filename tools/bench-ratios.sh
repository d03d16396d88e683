#!/bin/sh
# Runs the benchmarks that measure the program against a baseline and
# writes their ratios into the README's table (between the "ratios" marks).
#
#   tools/bench-ratios.sh [build folder] [runs]
#
# Every benchmark whose name holds "Ratio" is run, in orvane_bench and, when
# it was built, orvane_ui_bench (offscreen); every counter of theirs whose
# name ends in "_ratio" becomes a row of the table, one column per run.
# BENCH_FILTER replaces the name filter; README=- prints the table instead.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-2}
filter=${BENCH_FILTER:-Ratio}
readme=${README:-$root/README.md}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

run=1
while [ "$run" -le "$runs" ]; do
    for program in orvane_bench orvane_ui_bench; do
        [ -x "$build/$program" ] || continue
        sync # what earlier programs wrote goes to the disk before, not during, the runs
        QT_QPA_PLATFORM=offscreen "$build/$program" --benchmark_filter="$filter" \
            --benchmark_format=json --benchmark_out="$out/$program-$run.json" \
            --benchmark_out_format=json >/dev/null
    done
    uptime >"$out/uptime-$run"
    run=$((run + 1))
done

python3 - "$out" "$runs" "$readme" <<'PY'
import glob, json, os, re, sys

out, runs, readme = sys.argv[1], int(sys.argv[2]), sys.argv[3]
rows = {}  # (benchmark, label, counter) -> ratio per run
order = []
for run in range(1, runs + 1):
    for path in sorted(glob.glob(os.path.join(out, f"*-{run}.json"))):
        if os.path.getsize(path) == 0:
            continue  # a program with no benchmark of that name
        with open(path) as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            if b.get("error_occurred"):
                raise SystemExit(f"{b['name']}: {b.get('error_message', 'failed')}")
            for key, value in b.items():
                if not key.endswith("_ratio") or not isinstance(value, (int, float)):
                    continue
                row = (b["name"], b.get("label", ""), key)
                if row not in rows:
                    rows[row] = [None] * runs
                    order.append(row)
                rows[row][run - 1] = value

def load(run):
    with open(os.path.join(out, f"uptime-{run}")) as f:
        m = re.search(r"load average: ([0-9.]+)", f.read())
    return m.group(1) if m else "?"

head = "| benchmark | counter | " + " | ".join(
    f"run {r} (load {load(r)})" for r in range(1, runs + 1)) + " |"
lines = [head, "|---|---|" + "---|" * runs]
for row in order:
    name, label, counter = row
    shown = f"`{name}`" + (f" ({label})" if label else "")
    cells = " | ".join("—" if v is None else f"{v:.2f}×" for v in rows[row])
    lines.append(f"| {shown} | `{counter}` | {cells} |")
table = "\n".join(lines) + "\n"

if readme == "-":
    sys.stdout.write(table)
    raise SystemExit
with open(readme) as f:
    text = f.read()
begin, end = "<!-- ratios:begin -->\n", "<!-- ratios:end -->"
a, b = text.find(begin), text.find(end)
if a < 0 or b < a:
    raise SystemExit(f"{readme}: no ratios marks")
with open(readme, "w") as f:
    f.write(text[: a + len(begin)] + table + text[b:])
sys.stdout.write(table)
PY
