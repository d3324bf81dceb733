#!/usr/bin/env bash
# The console in a real terminal (tmux): statements typed with Tab
# completion, the previous one recalled with Up, the screen cleared with
# Ctrl-L, the session ended with Ctrl-C; then the screen, the saved recording
# (which must play back) and the history, read by a second session.
#
#   console_in_a_terminal.sh PROGRAM LIBRARY_FOLDER SETTINGS_FOLDER WORK_FOLDER
#
# Exits 77 (skipped) when tmux is not installed.
set -u
program=$1
library_folder=$2
settings=$3
work=$4

if ! command -v tmux >/dev/null 2>&1; then
    echo "skipped: tmux is not installed (Debian: apt-get install tmux)"
    exit 77
fi

rm -rf "$work"
mkdir -p "$work/home"
# Each session gets a server of its own: a new session on the socket of a
# server still ending would find no server.
sessions=0
socket="vrel-console-$$-0"
tmx() { tmux -L "$socket" -f /dev/null "$@"; }
socket_paths=()
# The servers go, and so do their sockets, which tmux leaves behind.
end_servers() {
    local n
    for n in $(seq 0 "$sessions"); do
        tmux -L "vrel-console-$$-$n" -f /dev/null kill-server 2>/dev/null
    done
    [ ${#socket_paths[@]} -eq 0 ] || rm -f "${socket_paths[@]}"
}
trap end_servers EXIT

screen() { tmx capture-pane -p -t console; }
fail() {
    echo "FAILED: $1"
    echo "---- the screen ----"
    screen
    if [ -s "$work/tmux.err" ]; then
        echo "---- what tmux said ----"
        cat "$work/tmux.err"
    fi
    exit 1
}
# Waits (up to 30 s) until a line of the screen matches the extended regex
# (the screen as tmux shows it: blanks at the ends of lines left out).
wait_for() {
    for _ in $(seq 300); do
        screen | grep -Eq -- "$1" && return 0
        sleep 0.1
    done
    fail "$2"
}
# Types at the prompt, once the console waits there (keys typed ahead while a
# statement runs would be echoed by the terminal itself).
type_keys() {
    for _ in $(seq 300); do
        [ "$(screen | grep -v '^$' | tail -n 1 | cut -c 1-8)" = "devhost>" ] && break
        sleep 0.1
    done
    tmx send-keys -t console "$@"
}

# One session in a 150x50 terminal; the shell says how it ended.
start_session() {
    tmx kill-server 2>/dev/null
    sessions=$((sessions + 1))
    socket="vrel-console-$$-$sessions"
    tmx new-session -d -s console -x 150 -y 50 2>>"$work/tmux.err" \
        "cd '$work' && HOME='$work/home' XDG_STATE_HOME= '$program' --lib-dir '$library_folder' $*; echo \"exit status \$?\"; sleep 600"
    socket_paths+=("$(tmx display-message -p '#{socket_path}')")
    wait_for '^devhost>$' "no prompt"
}

start_session --settings "'$settings'" --record recorded.scenario

# Tab completes the library, then the control; the 16 statuses of the load
# are one line, and no typed statement is printed back as a step.
type_keys 'load Ta' Tab
wait_for '^devhost> load Tavrin$' "Tab did not complete the library name"
tmx send-keys -t console Enter
wait_for 'route status x16: router 7, destinations 1-16 have source -1' "no folded route status"
screen | grep -q 'destination 2 has source' && fail "the statuses were printed one by one"
type_keys 'pr' Tab 'Act' Tab
wait_for '^devhost> press ActivateCue$' "Tab did not complete the statement and the control"
type_keys Enter
wait_for "out +TP 'text=Full Facs' '1' 'ActivateCue'" "the press had no effect"
screen | grep -Eq 'step +stdin:' && fail "a typed statement was printed back"
tmx capture-pane -p -e -t console | grep -q $'\e\\[32m' || fail "no colour on a terminal"

# Up recalls the press; its raw escape sequence is nowhere on the screen.
type_keys Up
wait_for '^devhost> press ActivateCue$' "Up did not recall the last statement"
type_keys Enter
wait_for "out +TP 'text=Listen Only' '1' 'ActivateCue'" "the recalled press had no effect"
screen | grep -qF '[A' && fail "the Up key was echoed raw"

type_keys 'expect property CueT' Tab Tab
wait_for '^devhost> expect property CueText text$' \
    "Tab did not complete the control and its property"
type_keys 'Click to add cue' Enter

# Ctrl-L clears the screen: the prompt is on its first line.
type_keys C-l
for _ in $(seq 100); do
    [ "$(screen | head -n 1)" = "devhost>" ] && break
    sleep 0.1
done
[ "$(screen | head -n 1)" = "devhost>" ] || fail "Ctrl-L did not clear the screen"

# Ctrl-C with a half-typed line ends the session as quit does.
type_keys 'say never run'
type_keys C-c
wait_for '^exit status 0$' "the session did not end with status 0 at Ctrl-C"
for expected in 'interrupted: the session ends as quit does' 'in +destroy the component' \
    'out +AS' '---- console session: PASSED ----' 'session saved as recorded.scenario'; do
    screen | grep -Eq -- "$expected" || fail "after Ctrl-C, no: $expected"
done

recording="$work/recorded.scenario"
[ -f "$recording" ] || fail "no recording saved"
[ "$(grep -c '^press ActivateCue' "$recording")" -eq 2 ] || fail "the recording lacks the presses"
grep -q '^expect property CueText text Click to add cue' "$recording" ||
    fail "the recording lacks the typed expectation"
grep -q 'never run' "$recording" && fail "the half-typed line was recorded"
if ! "$program" --quiet --lib-dir "$library_folder" "$recording" >"$work/replay.txt" 2>&1; then
    cat "$work/replay.txt" "$recording"
    fail "the recording does not play back"
fi

history="$work/home/.vrel_devhost_history"
grep -q '^press ActivateCue' "$history" || fail "no history file"

# A second session recalls the first one's last statement; Ctrl-D ends it.
start_session
type_keys Up
wait_for '^devhost> expect property CueText text Click to add cue$' \
    "the history was not read back"
type_keys C-u C-d
wait_for '^exit status 0$' "Ctrl-D did not end the session"
echo "the console works in a terminal"
