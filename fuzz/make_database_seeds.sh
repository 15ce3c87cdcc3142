#!/bin/sh
# Remakes the database seeds in fuzz/corpus/fuzz_database_open/ with the companion, so they
# carry the program's schema as it is: fuzz/make_database_seeds.sh build/numbers3zubarin-tool
set -eu
tool=$1
out="$(cd "$(dirname "$0")" && pwd)/corpus/fuzz_database_open"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
header='回数,第1数字,第2数字,第3数字,抽せん日'
seed() {  # seed NAME CSV-LINES...
    name=$1
    shift
    printf '%s\n' "$header" "$@" > "$work/$name.csv"
    "$tool" import --db "$work/$name.db" --csv "$work/$name.csv" > /dev/null
    cp "$work/$name.db" "$out/$name.sqlite"
}
seed empty
seed complete '1,1,9,1,1994/10/07' '2,3,2,8,1994/10/14' '3,0,0,0,'
seed incomplete '10,4,5,6,2000/01/01' '11,7,,,' '12,,,,'
header="$header,ストレート口数,ストレート当せん金,ボックス口数,ボックス当せん金,セットストレート口数,セットストレート当せん金,セットボックス口数,セットボックス当せん金,ミニ口数,ミニ当せん金"
seed with-prizes '1,1,9,1,1994/10/07,,119800,,39900,,79800,,19900,,11900' '2,7,7,7,,1,512400,0,0,0,0,0,0,30,51200' '3,4,5,6,,,,,,,,,,,'
printf '%s\n' "$header" '1,2,3,4' > "$out/not-a-database.csv"
