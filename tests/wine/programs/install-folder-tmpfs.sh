#!/bin/sh
# A small tmpfs over the install folder of the Wine prefix, for the disk-full test.
#
#   install-folder-tmpfs.sh mount FOLDER SIZE STATUS    mounts a tmpfs of SIZE (mount's size=)
#   install-folder-tmpfs.sh unmount FOLDER STATUS       unmounts it (lazily when it is busy)
#   install-folder-tmpfs.sh cleanup                      CTest's fixture cleanup, see below
#
# The test program runs this under Wine, which starts a host program without waiting for it:
# mount and unmount write their exit status into the file STATUS when they are done (written
# aside and renamed, so that the test never reads half of it), and the error text to STATUS.err.
#
# cleanup runs after the test program, outside Wine: when the install folder of the prefix
# ($WINEPREFIX) is still a mount point, the test did not unmount it (it was killed, for example
# at its time limit); cleanup unmounts it and fails, so that a left mount is seen.
set -u

report() { # status-file status
  printf '%s\n' "$2" >"$1.tmp" && mv -f "$1.tmp" "$1"
}

case "${1:-}" in
  mount)
    folder=$2 size=$3 status=$4
    rc=0
    mkdir -p "$folder" 2>"$status.err" &&
      mount -t tmpfs -o "size=$size,mode=0755" pm-install-folder "$folder" 2>>"$status.err" || rc=$?
    report "$status" "$rc"
    ;;
  unmount)
    folder=$2 status=$3
    rc=0
    if mountpoint -q "$folder"; then
      umount "$folder" 2>"$status.err" || umount -l "$folder" 2>>"$status.err" || rc=$?
    fi
    report "$status" "$rc"
    ;;
  cleanup)
    if [ -z "${WINEPREFIX:-}" ]; then
      echo "no Wine prefix in this environment: nothing to clean up"
      exit 0
    fi
    folder="$WINEPREFIX/drive_c/Program Files/Kelvora/Pindlemark"
    if mountpoint -q "$folder"; then
      echo "the install folder was left mounted: $folder" >&2
      umount "$folder" || umount -l "$folder"
      exit 1
    fi
    echo "the install folder is not mounted"
    ;;
  *)
    echo "usage: $0 mount FOLDER SIZE STATUS | unmount FOLDER STATUS | cleanup" >&2
    exit 2
    ;;
esac
