#!/usr/bin/env bash
# Runs one libFuzzer target from build-fuzz (built by `make fuzz`; another
# build folder may be named in FUZZ_BUILD) for a while.
#   tools/fuzz.sh TARGET [SECONDS] [SEED_CORPUS_DIR...]
# New inputs go to build-fuzz/corpus/TARGET, findings to
# build-fuzz/findings/TARGET; the seed corpus in the tree is only read. Without
# seed folders, tests/fuzz/corpus/NAME is used, NAME being the target's name
# without "_fuzz", "_reader" and "image_" (mqo_reader_fuzz reads corpus/mqo,
# image_tga_fuzz corpus/tga).
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: tools/fuzz.sh TARGET [SECONDS] [SEED_CORPUS_DIR...]}
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))

build=${FUZZ_BUILD:-build-fuzz}
binary=$build/tests/fuzz/$target
[[ -x $binary ]] || { echo "fuzz.sh: no $binary; run 'make fuzz' first" >&2; exit 1; }

seeds=("$@")
if [[ ${#seeds[@]} -eq 0 ]]; then
    name=${target%_fuzz}
    name=${name%_reader}
    name=${name#image_}
    [[ -d tests/fuzz/corpus/$name ]] && seeds=("tests/fuzz/corpus/$name")
fi

work=$build/corpus/$target
findings=$build/findings/$target
mkdir -p "$work" "$findings"

# Slow or memory-hungry inputs count as findings, not only crashes.
exec "$binary" "$work" "${seeds[@]}" \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1
