#!/usr/bin/env bash
# Starts the program on a create-mode archive packed here, in a home folder of its own, and
# lets `timeout` stop it after ten seconds. Passes only when the program was still running
# (exit 124: it neither crashed nor ended) and has written its settings store.
set -u
program="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

export HOME="$scratch/home"
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$HOME" "$scratch/archive"

cat > "$scratch/archive/project.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Project version="1.0">
  <Property/>
  <Windows>
    <Window name="createMainWindow"/>
  </Windows>
</Project>
XML
(cd "$scratch/archive" && zip -q "$scratch/x.cmvn" project.xml) || { echo "zip failed"; exit 1; }

QT_QPA_PLATFORM=offscreen timeout 10 "$program" "$scratch/x.cmvn"
status=$?
if [ "$status" -ne 124 ]; then
  echo "the program ended with $status before the timeout (expected 124: still running)"
  exit 1
fi
settings_file="$XDG_CONFIG_HOME/KORV/DASEL/Movarin.conf"
if [ ! -f "$settings_file" ]; then
  echo "no settings store at $settings_file"
  exit 1
fi
if ! grep -q "x.cmvn" "$settings_file"; then
  echo "the archive did not reach the recent projects:"
  cat "$settings_file"
  exit 1
fi
echo "still running after 10 s; settings in $settings_file"
