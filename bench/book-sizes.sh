#!/usr/bin/env bash
# The book's measures at several sizes of book, on both engines, and their
# table (Markdown) with how each grows with the years.
#   bench/book-sizes.sh [YEARS...]        default: 1 3 10 30
# Needs build/bin/quillon_bench and, for the server figures, QUILLON_TEST_PG.
# Each size is its own run (the book of 30 years takes minutes to make).
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1 3 10 30)
out=${BOOK_SIZES_OUT:-build/book-sizes}
mkdir -p "$out"
# One engine at a time (BOOK_SIZES_ENGINES: sqlite, postgres or both), each
# in a run of its own: one book in memory and on the disk at once.
engines=(${BOOK_SIZES_ENGINES:-sqlite postgres})
for y in "${sizes[@]}"; do
  for e in "${engines[@]}"; do
    echo "book of $y years, $e..." >&2
    ${QUILLON_BENCH:-build/bin/quillon_bench} --years="$y" \
      --benchmark_filter="BM_((SearchIndexOfBook|NameSearchNoHit|NextAvailable90Booked|OpenPage|PageReadFloor|BookingSave)/$e/|History/$e)" \
      --benchmark_out="$out/years-$y-$e.json" --benchmark_out_format=json >/dev/null
  done
done
python3 - "$out" "${sizes[@]}" <<'PY'
import json, math, sys
out, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
rows = {}   # (measure, engine) -> {years: value}
names = {
    "BM_NameSearchNoHit": "name search, no find (ms)",
    "BM_History": "history, rare patient (ms)",
    "BM_History/every_page": "history, name on 4 pages of 5 (ms)",
    "BM_History/scan": "history, rare patient, scan (ms)",
    "BM_History/every_page_scan": "history, name on 4 pages of 5, scan (ms)",
    "BM_OpenPage": "open a page (ms)",
    "BM_PageReadFloor": "indexed page read (ms)",
    "BM_BookingSave": "a booking's save (ms)",
    "BM_NextAvailable90Booked": "next free slot, 90 full days (ms)",
}
import glob
def runs(y):
    for f in sorted(glob.glob(f"{out}/years-{y}-*.json")):
        yield from json.load(open(f))["benchmarks"]
for y in sizes:
    for b in runs(y):
        name = b["run_name"] if "run_name" in b else b["name"]
        parts = name.split("/")
        base, variant = parts[0], parts[1] if len(parts) > 1 else ""
        engine = "db.mdb" if variant.startswith("sqlite") else "server"
        kind = variant.split("_", 1)[1] if "_" in variant else ""
        if base == "BM_SearchIndexOfBook":
            for counter, label in (("build_ms", "index build (s)"), ("index_MB", "index size (MB)"),
                                   ("texts_MB", "page texts (MB)"), ("generate_ms", "book made (s)"),
                                   ("table_MB", "index: table (MB)"), ("gin_MB", "index: GIN (MB)")):
                if counter in b:
                    v = b[counter] / (1000 if counter.endswith("_ms") else 1)
                    rows.setdefault((label, engine), {})[y] = v
            continue
        if b.get("aggregate_name", "median") != "median" or b.get("error_occurred"):
            continue
        key = base + ("/" + kind if kind else "")
        if key not in names:
            continue
        rows.setdefault((names[key], engine), {})[y] = b["real_time"]
        if "peak_growth_MB" in b:
            rows.setdefault((names[key].replace("(ms)", "peak memory growth (MB)"), engine), {})[y] = b["peak_growth_MB"]
def growth(v):
    have = [y for y in sizes if y in v]
    if len(have) < 2 or v[have[0]] <= 0:
        return ""
    slope = math.log(max(v[have[-1]], 1e-9) / v[have[0]]) / math.log(have[-1] / have[0])
    return "flat" if slope < 0.2 else "linear" if slope > 0.75 else "log" if slope < 0.45 else "sub-linear"
print("| measure | engine | " + " | ".join(f"{y} y" for y in sizes) + " | growth |")
print("|---|---|" + "---:|" * len(sizes) + "---|")
for (label, engine), v in rows.items():
    cells = [(f"{v[y]:.3g}" if y in v else "") for y in sizes]
    print(f"| {label} | {engine} | " + " | ".join(cells) + f" | {growth(v)} |")
PY
