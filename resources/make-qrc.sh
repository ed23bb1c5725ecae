#!/bin/sh
# Rewrites quorvane.qrc from the pictures present in icons/ and smilies/src/.
set -eu
cd "$(dirname "$0")"
{
  echo '<!DOCTYPE RCC>'
  echo '<RCC version="1.0">'
  echo '  <qresource prefix="/icons">'
  for f in icons/*.svg; do
    echo "    <file alias=\"$(basename "$f")\">$f</file>"
  done
  echo '  </qresource>'
  echo '  <qresource prefix="/smilies">'
  for f in smilies/src/*.svg; do
    echo "    <file alias=\"$(basename "$f")\">$f</file>"
  done
  echo '  </qresource>'
  echo '</RCC>'
} > quorvane.qrc
