#!/usr/bin/env bash
# Drives the running installer on a private Xvfb screen (1024 x 768, no window
# manager) through every page as a user would, with the mouse, and saves one
# screenshot per page. The windows are centred on the screen, so the buttons
# lie at fixed points: the readme's close cross, then the wizard's Next (model
# and port pages) and Finish (confirmation page).
#   demo-drive.sh SHOT_DIR
set -uo pipefail
shots="$1"
shot() { import -window root "$shots/$1.png"; echo "demo: $shots/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-2}"; }

sleep "${QX_DEMO_START_SECONDS:-10}"
shot 1-readme
click 735 158 4      # the readme's close cross
shot 2-model-page
click 559 520 3      # Next
shot 3-port-page-hint
xdotool key Return; sleep 1
click 400 300 1      # the background, behind the closed hint box
shot 4-port-page
click 551 520 2      # Next
shot 5-confirm-page
click 576 530 1      # Finish
shot 6-install-page
sleep "${QX_DEMO_INSTALL_SECONDS:-40}"
shot 7-result
