#!/usr/bin/env bash
# cross_arch.sh OWN PEER FIXTURE: the state file and the event store are
# the same bytes whichever word size wrote them. OWN and PEER are two build
# trees, one 32-bit and one 64-bit. Both write the same fixture and events;
# the files must be equal byte for byte. Then each build reads what the
# other wrote, and changes it, and the other reads that back.
set -euo pipefail
own=$1 peer=$2 fixture=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() { # run <build> <folder> <program> args...: one program on one folder's files
  local tree=$1 dir=$2 prog=$3; shift 3
  case $prog in
    arraysim) prog=sim/arraysim ;;
    arrayctl) prog=cli/arrayctl ;;
    store_dump) prog=tests/crossarch/store_dump ;;
  esac
  ARRAYCORE_SIM_STATE=$dir/state.json ARRAY_DB_DIR=$dir ARRAY_SG_DEVICE=$dir/no-sg-device ARRAY_SG_WAIT=0 \
    "$tree/$prog" "$@"
}
write() { # write <build> <folder>: the fixture and its queued events, stored
  mkdir -p "$2"
  run "$1" "$2" arraysim load "$fixture" >/dev/null
  run "$1" "$2" store_dump capture
}
view() { # view <build> <folder>: everything a reader makes of the files
  run "$1" "$2" arraysim dump
  run "$1" "$2" arrayctl info -o pd 2>/dev/null  # no SCSI generic device here
  run "$1" "$2" store_dump dump
}
same() { # same <what> <file> <file>
  cmp "$2" "$3" || { echo "FAIL: $1 differs"; diff "$2" "$3" | head -20; exit 1; }
}

write "$own" "$work/own"
write "$peer" "$work/peer"
for f in state.json ar_kx_raid.ev ar_kx_seqnum.ev; do
  same "$f written by the two builds" "$work/own/$f" "$work/peer/$f"
done

for dir in own peer; do
  view "$own" "$work/$dir" >"$work/$dir.own.txt"
  view "$peer" "$work/$dir" >"$work/$dir.peer.txt"
  same "reading of $dir's files" "$work/$dir.own.txt" "$work/$dir.peer.txt"
done
# The readings show the values above 2^31 and 2^32 whole.
found() { grep -Eq -- "$1" "$work/own.own.txt" || { echo "FAIL: no line matching $1"; exit 1; }; }
found '"nextSequenceNo": 3000000001,'
found '"size": 17179869184,'
found '^Size: *8589934593 K$'
found '^PD valid size: *4294967297 K$'
found '^event 02000100 00000080 01000300 ffffff7f 00000080 ffffffff 01000000 00000000 '
found '^event 09000500 005786f4 00000200 005ed0b2 00000000 00000000 00000000 00000000 0200abcd '

# And back: each build changes the files the other wrote; the other reads
# the change as its writer does.
change() { # change <build> <folder>
  run "$1" "$2" arraysim pull 1 >/dev/null
  run "$1" "$2" store_dump capture
  run "$1" "$2" store_dump delete 3000000000
  run "$1" "$2" store_dump service
}
change "$own" "$work/peer"
change "$peer" "$work/own"
for dir in own peer; do
  view "$own" "$work/$dir" >"$work/$dir.own.txt"
  view "$peer" "$work/$dir" >"$work/$dir.peer.txt"
  same "reading of $dir's changed files" "$work/$dir.own.txt" "$work/$dir.peer.txt"
done
# The service event's parameters are whole; the deleted event is gone.
found '^event 0c000700 [0-9a-f]{8} 00000200 [0-9a-f]{8} 01000080 ffffffff 03000000 04000000 '
if grep -q '^event 09000500 005786f4 ' "$work/own.own.txt"; then echo "FAIL: deleted event read"; exit 1; fi
echo "state file and event store agree between $own and $peer"
