#!/usr/bin/env bash
# Makes docs/undetected-rates.png: the undetected-error rate of every code against the bit
# error rate, log-log, measured points with their 95 % Wilson intervals over the exact curves.
# The data go to docs/undetected-rates.csv and docs/undetected-exact.csv. Then
# docs/missed-by-weight.png and docs/missed-by-burst.png: the exact share of errors of exactly
# k bits, and of bursts of L bits, that each code misses (docs/missed-by-weight.csv and
# docs/missed-by-burst.csv). The rows are seeded and
# do not depend on the number of threads, so the same commit makes the same files on any machine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages g++ make cmake gnuplot-nox fonts-liberation2

build=build/release-stats
cmake --preset release-stats >/dev/null
cmake --build --preset release-stats --parallel --target bitwatch-stats >/dev/null
stats="$build/app/bitwatch-stats"
mkdir -p docs

echo "==> Measuring (2,000,000 frames a row)"
"$stats" --csv --rates 0.5,1,2,5,10,20 --frames 2000000 --seed 1 >docs/undetected-rates.csv
echo "==> Computing the exact curves"
rates=$(awk 'BEGIN { for (i = 0; i <= 40; i++) printf "%s%.4g", (i ? "," : ""), 0.1 * 500 ^ (i / 40) }')
"$stats" --csv --exact-only --rates "$rates" >docs/undetected-exact.csv

# The codes' styles, the same in every figure.
styles() {
  cat <<'STYLES'
# Twelve codes told apart in colour and in print: each has its own colour, dash pattern and
# marker.
colours = "#000000 #e41a1c #ff7f00 #c9a000 #4daf4a #377eb8 #984ea3 #a65628 #f781bf #17becf #7f7f7f #1a1a8f"
array dashes = ["", "-", ".", "-.", "-..", "__ ", "_ .", "- -", ". .", "--.", "_..", "__."]
array marks = [1, 2, 3, 4, 5, 6, 8, 10, 12, 13, 14, 15]
do for [i=1:12] {
    set linetype i lc rgb word(colours, i) lw 2 pt marks[i] ps 0.9
    if (i > 1) { set linetype i dt dashes[i] } else { set linetype i dt solid }
}
set grid
STYLES
}

# The codes, in the order of the mode table, as bitwatch-stats names them: a gnuplot array.
modes_of() {
  echo "array M = [$(tail -n +2 "$1" | cut -d, -f1 | awk '!seen[$0]++' | sed 's/.*/"&"/' | paste -sd, -)]"
}

echo "==> Plotting"
{ modes_of docs/undetected-exact.csv; styles; cat <<'PLOT'; } | gnuplot
set terminal pngcairo size 1100,760 font "Liberation Sans,11"
set output "docs/undetected-rates.png"
set datafile separator ","
set logscale xy
set format y "10^{%L}"
set xrange [0.1:50]
set yrange [1e-9:1]
set xlabel "bit error rate (%)"
set ylabel "probability that a frame's errors go undetected"
set title "What each code misses on the demo's channel: measured (points, 95 % Wilson intervals) and exact (lines)"
set key outside right top spacing 1.2
# Columns: 1 mode, 2 rate, 4 undetected, 5 measured, 6 and 7 the 95 % interval.
# A row with no undetected frame has no place on a log scale as a point; it is drawn as its
# upper bound, an open triangle pointing down ("at most this").
plot for [i=1:|M|] "docs/undetected-exact.csv" using 2:(strcol(1) eq M[i] ? $3 : NaN) \
        with linespoints lt i pi 8 title (M[i]), \
     for [i=1:|M|] "docs/undetected-rates.csv" \
        using 2:(strcol(1) eq M[i] && $4 > 0 ? $5 : NaN):6:7 \
        with yerrorbars lt i dt 1 notitle, \
     for [i=1:|M|] "docs/undetected-rates.csv" \
        using 2:(strcol(1) eq M[i] && $4 == 0 ? $7 : NaN) \
        with points lt i pt 11 ps 1.4 notitle, \
     NaN with points lc rgb "#000000" pt 11 ps 1.4 title "none undetected: upper bound"
PLOT
echo "==> Wrote docs/undetected-rates.png"

echo "==> Computing the shares of k-bit errors and of bursts missed"
"$stats" --csv --exact-only --errors 1-8 >docs/missed-by-weight.csv
"$stats" --csv --exact-only --bursts 1-64 >docs/missed-by-burst.csv

# A share of exactly 0 (nothing of that kind slips through)
# has no place on a log scale and is drawn on the bottom line as an open triangle.
for figure in weight burst; do
{ echo "figure = '$figure'"; modes_of "docs/missed-by-$figure.csv"; styles; cat <<'PLOT'; } | gnuplot
set terminal pngcairo size 1100,760 font "Liberation Sans,11"
set output sprintf("docs/missed-by-%s.png", figure)
set datafile separator ","
set logscale y
set format y "10^{%L}"
weight = figure eq "weight"
floor = weight ? 1e-6 : 1e-7
set yrange [floor / 1.6:1.6]
set xrange [0.5:(weight ? 8.5 : 64.5)]
step = weight ? 1 : 4
set xtics step
set xlabel (weight ? "bits flipped in the frame (k), every set of k equally likely" \
                   : "burst length L (first and last bit flipped, each between them with odds 1/2)")
set title (weight ? "Share of errors of exactly k bits that each code misses (exact; triangles on the bottom line: none)" \
                  : "Share of bursts of L bits that each code misses (exact; triangles on the bottom line: none)")
set ylabel "share of such frames that end in \"Undetected Errors\""
set key outside right top spacing 1.2
file = sprintf("docs/missed-by-%s.csv", figure)
plot for [i=1:|M|] file using 2:(strcol(1) eq M[i] && $3 > 0 ? $3 : NaN) \
        with linespoints lt i title (M[i]), \
     for [i=1:|M|] file using ($2 + (i - 6.5) * 0.03):(strcol(1) eq M[i] && $3 == 0 ? floor : NaN) \
        with points lt i pt 9 ps 1.3 notitle, \
     NaN with points lc rgb "#000000" pt 9 ps 1.3 title "none missed"
PLOT
echo "==> Wrote docs/missed-by-$figure.png"
done
