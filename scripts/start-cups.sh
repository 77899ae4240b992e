#!/usr/bin/env bash
# Starts the CUPS server (when it is not running) and adds the cups-pdf queue "QuillexPDF", so that
# the printing tests also print through a real spooler. Needs root; without it, or without CUPS, it
# says so and exits with 1 (the spooler tests are then skipped).
# On success prints two lines for the tests' environment: the queue and the folder cups-pdf writes to.
set -euo pipefail
queue=QuillexPDF
if [ "$(id -u)" -ne 0 ]; then
  echo "start-cups: not root, the spooler tests are skipped" >&2
  exit 1
fi
if ! command -v cupsd >/dev/null || [ ! -e /usr/lib/cups/backend/cups-pdf ]; then
  echo "start-cups: CUPS or cups-pdf is missing, the spooler tests are skipped" >&2
  exit 1
fi
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  cupsd
  for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
  done
fi
if ! lpstat -p "$queue" >/dev/null 2>&1; then
  model=$(lpinfo -m 2>/dev/null | awk '/cups-pdf\/CUPS-PDF_noopt/ {print $1; exit}')
  lpadmin -p "$queue" -E -v cups-pdf:/ -m "${model:-lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd}" 2>/dev/null
fi
# cups-pdf writes into "Out" of its configuration, ${HOME} being the job owner's home.
out=$(awk '$1 == "Out" {print $2; exit}' /etc/cups/cups-pdf.conf 2>/dev/null || true)
out=${out:-'${HOME}/PDF'}
echo "QX_CUPS_PRINTER=$queue"
echo "QX_CUPS_OUTPUT_DIR=${out//'${HOME}'/$HOME}"
