#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in their own build folder and
# runs each for a short, set time, one after the other.
#
#   FUZZ_SECONDS   seconds per target (30)
#   FUZZ_TARGETS   the targets to run, e.g. "chn spe" (all of them)
#   BUILD_DIR      the build folder (build-fuzz)
#   VORELBOX_REAL_DATA  the real instrument files (../shared/testdata/real)
#
# New inputs that libFuzzer finds go to BUILD_DIR/corpus/<target>, crashes to
# BUILD_DIR/artifacts/<target>/; the seeds in tests/fuzz/corpus are only read.
# A crash is replayed with: BUILD_DIR/bin/fuzz_<target> /absolute/path/of/ARTIFACT
set -euo pipefail
cd "$(dirname "$0")/.."

# Absolute paths: the .vsl target works in a folder of its own.
build=$(realpath -m "${BUILD_DIR:-build-fuzz}")
source_corpus=$(pwd)/tests/fuzz/corpus
seconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
real=${VORELBOX_REAL_DATA:-$(cd .. && pwd)/shared/testdata/real}
if [ ! -d "$real" ] && [ -d /work/shared/testdata/real ]; then
  real=/work/shared/testdata/real
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVORELBOX_FUZZ=ON
cmake --build "$build" -j "$jobs" --target vorelbox_fuzz_targets

targets=${FUZZ_TARGETS:-$(sed -n 's/^vorelbox_fuzz_target(\([a-z_]*\).*/\1/p' tests/fuzz/CMakeLists.txt)}
failed=()
for t in $targets; do
  corpus="$build/corpus/$t"
  seeds="$build/seeds/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$corpus" "$artifacts"
  rm -rf "$seeds"
  mkdir -p "$seeds"
  # The real files a target reads are named in corpus/<target>.real.
  if [ -f "$source_corpus/$t.real" ]; then
    while IFS= read -r name; do
      case "$name" in ''|'#'*) continue ;; esac
      [ -f "$real/$name" ] && ln -sf "$real/$name" "$seeds/$(echo "$name" | tr ' /' '__')"
    done < "$source_corpus/$t.real"
  fi
  options=(-max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10
           -print_final_stats=1 -artifact_prefix="$artifacts/")
  if [ -f "tests/fuzz/dict/$t.dict" ]; then
    options+=(-dict="$(pwd)/tests/fuzz/dict/$t.dict")
  fi
  echo "== fuzz_$t for ${seconds}s"
  if ! "$build/bin/fuzz_$t" "${options[@]}" "$corpus" "$source_corpus/$t" "$seeds" \
       > "$build/fuzz_$t.log" 2>&1; then
    failed+=("$t")
    tail -n 40 "$build/fuzz_$t.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz_$t.log" | sed "s/^/  fuzz_$t /" || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failures in ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
echo "fuzz: every target ran ${seconds}s without a failure"
