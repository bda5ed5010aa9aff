#!/usr/bin/env bash
# Soak: whole hunts played by the bot (--autoplay) for every quarry in both
# display depths, each in a game folder of its own on the generated data.
# Prints each hunt's ending, its length in passes and the game's peak
# resident memory, and flags any hunt above the memory goal (160 MiB).
#
#   bench/hunt_soak.sh [BUILD_DIR] [SEEDS...]     (default: build/default, seed 1)
set -uo pipefail
build=${1:-build/default}
shift || true
seeds=${*:-1}
game="$build/game/Veldra"
data="$(cd "$build/data" && pwd)"
goal=160
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
worst=0
for depth in 8 16; do
  for quarry in elephant giraffe hippo lion lioness rhino zebra; do
    for seed in $seeds; do
      folder="$work/$depth-$quarry-$seed"
      mkdir -p "$folder"
      for sub in menu animals env sounds video; do ln -s "$data/$sub" "$folder/$sub"; done
      [ "$depth" = 16 ] && printf '[configuration]\nhighcolour=1\n' > "$folder/config.dat"
      peak=$(SDL_VIDEODRIVER=dummy ALSOFT_DRIVERS=null VELDRA_TRACE=off "$game" --data "$folder" --windowed \
               --hunt "$quarry,rifle,plains" --autoplay --seed "$seed" --fixed-dt 0.05 --frames 20000 \
               --screen-log "$folder/screens.txt" 2>&1 | sed -n 's/^peak memory: \([0-9]*\) MiB$/\1/p')
      ending=$(tail -n 1 "$folder/screens.txt")
      flag=""
      [ "${peak:-0}" -gt "$goal" ] && flag="  ABOVE ${goal} MiB"
      [ "${peak:-0}" -gt "$worst" ] && worst=${peak:-0}
      printf '%2s-bit %-9s seed %-3s ending (pass screen) %-10s peak %4s MiB%s\n' "$depth" "$quarry" "$seed" \
             "$ending" "${peak:-?}" "$flag"
    done
  done
done
echo "worst peak memory: $worst MiB (goal: at most $goal MiB)"
