#!/usr/bin/env bash
# Soak: whole games played by the bot (--autoplay) from the command line's
# hunt, over many seeds, in both display depths, each in a game folder of its
# own on the generated data. Every quarry is hunted with the rifle on the
# plains; the three bad endings are played too (poach: jail, stray: killed,
# wander: lost), their quarry changing with the seed. Prints, per depth, a
# table of how the games ended (one row a quarry or mode, one column an
# ending), the median game seconds from the start to the end picture, and
# the most memory a game held; then whether the goals were met: each quarry
# bagged in at least 95 of 100 games, and every bad ending as named.
#
#   bench/hunt_soak.sh [BUILD_DIR] [FIRST_SEED [LAST_SEED]]
#       (default: build/default, seeds 1 to 100)
#   JOBS=N         games at once (default 2)
#   DEPTHS="8 16"  the display depths to play in (default both)
#
# Run it on the optimised build (not under the sanitizers).
set -uo pipefail
build=${1:-build/default}
first=${2:-1}
last=${3:-${2:-100}}
jobs=${JOBS:-2}
depths=${DEPTHS:-8 16}
game="$(cd "$(dirname "$build/game/Veldra")" && pwd)/Veldra"
data="$(cd "$build/data" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The game's fixed time a pass, and the pass limit of one game (20 minutes of
# game time). The bot acts on the simulation's ticks, so five ticks a pass
# play the same games as one, with a fifth of the drawing.
seconds_per_pass=${SECONDS_PER_PASS:-0.25}
passes=$(awk -v s="$seconds_per_pass" 'BEGIN { print int(1200 / s) }')
quarries=(elephant giraffe hippo lion lioness rhino zebra)

# One game: prints "depth mode quarry seed endPass endScreen peakMiB" (the
# last line of its screen log: the pass and the screen it ended on).
play() {
  local depth=$1 mode=$2 quarry=$3 seed=$4
  local folder="$work/$depth-$mode-$quarry-$seed"
  mkdir -p "$folder"
  for sub in menu animals env sounds video; do ln -s "$data/$sub" "$folder/$sub"; done
  [ "$depth" = 16 ] && printf '[configuration]\nhighcolour=1\n' >"$folder/config.dat"
  local peak
  peak=$(SDL_VIDEODRIVER=dummy ALSOFT_DRIVERS=null VELDRA_TRACE=off \
           "$game" --data "$folder" --windowed --hunt "$quarry,rifle,plains" --autoplay "$mode" --seed "$seed" \
           --fixed-dt "$seconds_per_pass" --frames "$passes" --screen-log "$folder/screens.txt" 2>&1 |
         sed -n 's/^peak memory: \([0-9]*\) MiB$/\1/p')
  local last
  last=$(tail -n 1 "$folder/screens.txt" 2>/dev/null)
  echo "$depth $mode $quarry $seed ${last:-0 -1} ${peak:-0}"
  rm -rf "$folder"
}
export -f play
export work data game seconds_per_pass passes

for depth in $depths; do
  for seed in $(seq "$first" "$last"); do
    for quarry in "${quarries[@]}"; do
      echo "$depth hunt $quarry $seed"
    done
    for mode in poach stray wander; do
      echo "$depth $mode ${quarries[$(((seed + ${#mode}) % 7))]} $seed"
    done
  done
done | xargs -P "$jobs" -L 1 bash -c 'play "$@"' _ >"$work/games.txt"

awk -v perpass="$seconds_per_pass" -v first="$first" -v last="$last" -v depths="$depths" '
function ending(screen) {
  if (screen == 6) return "elephant"; if (screen == 7) return "giraffe"; if (screen == 8) return "hippo";
  if (screen == 9) return "lion"; if (screen == 15) return "lioness"; if (screen == 16) return "rhino";
  if (screen == 17) return "zebra"; if (screen == 10) return "jail"; if (screen == 11) return "killed";
  if (screen == 12) return "lost"; return "none"
}
function median(list, n,    i, j, t, a) {
  if (n == 0) return "-"
  split(list, a, " ")
  for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
  return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
{
  depth = $1; row = ($2 == "hunt") ? $3 : $2; end = ending($6)
  count[depth, row, end]++; games[depth, row]++
  if (($2 == "hunt" && end == $3) || ($2 == "poach" && end == "jail") || ($2 == "stray" && end == "killed") ||
      ($2 == "wander" && end == "lost")) {
    good[depth, row]++; times[depth, row] = times[depth, row] " " $5 * perpass; timed[depth, row]++
  }
  if ($7 > peak[depth]) peak[depth] = $7
}
END {
  nrows = split("elephant giraffe hippo lion lioness rhino zebra poach stray wander", rows, " ")
  ncols = split("elephant giraffe hippo lion lioness rhino zebra jail killed lost none", cols, " ")
  met = 1
  ndepths = split(depths, depthList, " ")
  for (k = 1; k <= ndepths; ++k) {
    d = depthList[k]
    printf "\n%d-bit, seeds %d to %d: how each game ended\n", d, first, last
    printf "%-9s", ""
    for (c = 1; c <= ncols; ++c) printf " %8s", cols[c]
    printf " %9s %8s\n", "median s", "goal"
    for (r = 1; r <= nrows; ++r) {
      row = rows[r]
      printf "%-9s", row
      for (c = 1; c <= ncols; ++c) printf " %8d", count[d, row, cols[c]]
      # Each quarry bagged in at least 95 % of its games; every bad ending always.
      want = (r <= 7) ? 0.95 * games[d, row] : games[d, row]
      ok = good[d, row] + 0 >= want
      if (!ok) met = 0
      printf " %9s %8s\n", median(times[d, row], timed[d, row]), ok ? "met" : "MISSED"
    }
    printf "peak memory: %d MiB\n", peak[d]
  }
  print (met ? "\nevery goal met" : "\nsome goals missed")
}' "$work/games.txt"
