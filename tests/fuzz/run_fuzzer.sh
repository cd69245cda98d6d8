#!/usr/bin/env bash
# Runs one fuzz harness of the sanitizer build for a long time.
#
#   tests/fuzz/run_fuzzer.sh NAME [SECONDS] [RUNS]
#
# Needs the fuzzing build in build-fuzz (see README). The seeds are the
# harness's own corpus/NAME and the matching files of build-fuzz/data (see
# seeds.txt); new inputs the fuzzer finds go to build-fuzz/fuzz-work/NAME, and
# a crash input to build-fuzz/fuzz-work/crash-NAME-*. Stops after SECONDS
# (600) or RUNS executions (1000000), whichever comes first; an input that
# runs longer than 60 s is a finding. FUZZ_BUILD names another build folder.
set -euo pipefail
name=${1:?harness name, e.g. png}
seconds=${2:-600}
runs=${3:-1000000}
here=$(cd "$(dirname "$0")" && pwd)
build=${FUZZ_BUILD:-$here/../../build-fuzz}
fuzzer=$build/tests/fuzz/fuzz_$name
[ -x "$fuzzer" ] || { echo "no fuzzer $fuzzer: build the fuzzing build first" >&2; exit 2; }

work=$build/fuzz-work
seeds=$work/seeds-$name
rm -rf "$seeds"
mkdir -p "$work/$name" "$seeds"
[ -d "$here/corpus/$name" ] && cp "$here/corpus/$name"/* "$seeds/"
{ grep -E "^$name[[:space:]]" "$here/seeds.txt" || true; } | while read -r _ folder endings; do
  for ending in ${endings//,/ }; do
    # Named by their path below the data tree: files of one name in several
    # folders (Level_0.xml of every episode) all stay.
    find "$build/data/$folder" -type f -iname "*$ending" | while read -r file; do
      relative=${file#"$build/data/"}
      cp "$file" "$seeds/${relative//\//_}"
    done
  done
done

cd "$work"
exec "$fuzzer" -rss_limit_mb=2048 -timeout=60 -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 \
  -artifact_prefix="$work/crash-$name-" "$work/$name" "$seeds"
