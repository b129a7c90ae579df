#!/bin/sh
# Fails when an object file has static constructors: a program with its own
# entry point (remove.exe) never runs them.
#   check-no-static-constructors.sh PROGRAM OBJDUMP OBJECT...
program=$1 objdump=$2
shift 2
for object; do
  sections=$("$objdump" -h "$object") || exit 1
  if printf '%s' "$sections" | grep -q ctors; then
    echo "$program: static constructors in $object would never run" >&2
    exit 1
  fi
done
