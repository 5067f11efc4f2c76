#!/usr/bin/env bash
# Runs Stenova and Parlatype side by side on one 20 s recording and prints a table of figures.
# Both are driven only over the desktop's media-player interface with playerctl, one program at
# a time, taking turns (Stenova, Parlatype, Stenova, ...), on a virtual X server with openbox, a
# session bus and a private PulseAudio server with a null sink. Figures only: nothing passes or
# fails, and it is not part of `make test`.
#
#   cmake -S . -B build-cmp -DCMAKE_BUILD_TYPE=Release -DSTENOVA_TESTS=OFF -DSTENOVA_BENCH=ON
#   cmake --build build-cmp -j2 --target stenova
#   bash bench/compare_parlatype.sh [BUILD_DIR]        # BUILD_DIR defaults to build-cmp
#
# ROUNDS (3) and IDLE_SECONDS (20) change the number of rounds and the length of the idle window;
# DETAILS=FILE appends each thread's CPU ticks over the idle window, every seek's readings and
# the positions read after play to FILE.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build-cmp}
case $build in /*) ;; *) build=$root/$build ;; esac
stenova=$build/stenova
rounds=${ROUNDS:-3}
idle_seconds=${IDLE_SECONDS:-20}
details=${DETAILS:-/dev/null}
settle_seconds=2           # after the length appears, before the idle window starts
poll=0.01                  # polling interval of every wait
programs=(stenova parlatype)
# Ten seek targets in seconds, back and forth, ending near the start so that playback has room.
seeks=(17.3 0.5 12.6 4.1 18.9 6.789 14.05 10.333 8.25 2.0)

die() { echo "compare_parlatype: $*" >&2; exit 1; }

[ -x "$stenova" ] || die "no $stenova; build it first (see the top of this script)"

# --- what the comparison needs -----------------------------------------------------------------
need=()
command -v parlatype >/dev/null || need+=(parlatype)
command -v pulseaudio >/dev/null || need+=(pulseaudio)
command -v pactl >/dev/null && command -v parec >/dev/null || need+=(pulseaudio-utils)
command -v playerctl >/dev/null || need+=(playerctl)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v openbox >/dev/null || need+=(openbox)
command -v xprop >/dev/null || need+=(x11-utils)
command -v dbus-launch >/dev/null || need+=(dbus-x11)
command -v dbus-send >/dev/null || need+=(dbus)
command -v gsettings >/dev/null || need+=(libglib2.0-bin)
command -v ffmpeg >/dev/null || need+=(ffmpeg)
if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -q >/dev/null || die "apt-get update failed"
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null ||
        die "could not install ${need[*]}"
fi

# --- a desktop of its own: home, runtime folder, X server, window manager, bus, sound server ---
work=$(mktemp -d /tmp/stenova-cmp.XXXXXX)
mkdir -m700 "$work/home" "$work/xdg"
export HOME=$work/home XDG_RUNTIME_DIR=$work/xdg
unset PULSE_SERVER PULSE_RUNTIME_PATH XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
pid="" recorder=""

. "$root/scripts/x-session.sh"
start_x_session

cleanup() {
    trap - EXIT INT TERM
    if [ -n "$pid" ]; then
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    [ -n "$recorder" ] && kill "$recorder" 2>/dev/null
    pulseaudio --kill 2>/dev/null
    for _ in $(seq 50); do pulseaudio --check 2>/dev/null || break; sleep 0.1; done
    # Services the bus started for the programs (accessibility bus, settings service).
    local child
    if [ -n "${DBUS_SESSION_BUS_PID:-}" ]; then
        for child in $(pgrep -P "$DBUS_SESSION_BUS_PID" 2>/dev/null); do
            kill "$child" 2>/dev/null
        done
    fi
    stop_x_session
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

pulseaudio --daemonize=yes --exit-idle-time=-1 --system=false -n \
    --load="module-null-sink sink_name=bench_sink" --load=module-native-protocol-unix 2>/dev/null ||
    die "the private PulseAudio server did not start"
timeout 10 pactl info >/dev/null || die "the private PulseAudio server does not answer"

media=$work/tone.wav
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=440:duration=20:sample_rate=44100" \
    -ac 1 -c:a pcm_s16le "$media" || die "ffmpeg could not make the recording"

# --- helpers ----------------------------------------------------------------------------------
clk_tck=$(getconf CLK_TCK)
declare -A value note

now_us() { us=${EPOCHREALTIME/./}; us=$((10#$us)); }
ctl() { timeout 5 playerctl -p "$name" "$@" 2>/dev/null; }

# A process that has exited but is not yet reaped is a zombie: not alive.
alive() {
    local s
    read -r s 2>/dev/null <"/proc/$1/stat" || return 1
    s=${s##*) }
    [ "${s%% *}" != Z ]
}

cpu_ticks() {
    local s
    read -r s 2>/dev/null <"/proc/$pid/stat" || { echo -1; return; }
    s=${s##*) }
    # shellcheck disable=SC2086
    set -- $s
    echo $((${12} + ${13}))
}

# "tid name ticks" for every thread of the program, sorted by tid.
thread_ticks() {
    local task s comm
    for task in /proc/"$pid"/task/*; do
        read -r s 2>/dev/null <"$task/stat" || continue
        comm=${s#*(}; comm=${comm%)*}; comm=${comm// /_}
        s=${s##*) }
        # shellcheck disable=SC2086
        set -- $s
        echo "${task##*/} $comm $((${12} + ${13}))"
    done | sort -k1,1
}

abs_err_ms() { awk -v a="$1" -v b="$2" 'BEGIN { d = (a - b) * 1000; if (d < 0) d = -d; printf "%.3f", d }'; }

launch() {
    local dir=$work/run-$name-$round
    mkdir -p "$dir"
    if [ "$name" = stenova ]; then
        now_us; t0=$us
        STENOVA_HOME=$dir QT_QPA_PLATFORM=xcb "$stenova" "$media" >"$dir/log" 2>&1 &
        pid=$!
    else
        # Parlatype keeps its settings in dconf: start each run from the defaults.
        gsettings reset-recursively org.parlatype.Parlatype 2>/dev/null
        now_us; t0=$us
        parlatype "$media" >"$dir/log" 2>&1 &
        pid=$!
    fi
}

# Waits until the program publishes a non-zero length; sets name_ms (the first answer on the
# bus), start_ms (the length) and length. One playerctl call a poll reads both.
wait_length() {
    local deadline=$((t0 + 30000000)) reply
    name_ms="" start_ms="" length=""
    while :; do
        reply=$(ctl metadata --format '{{status}}|{{mpris:length}}')
        now_us
        length=${reply#*|}
        [ -n "$reply" ] && [ -z "$name_ms" ] && name_ms=$(((us - t0) / 1000))
        if [[ $length =~ ^[0-9]+$ ]] && [ "$length" -gt 0 ]; then
            start_ms=$(((us - t0) / 1000))
            return 0
        fi
        alive "$pid" || { echo "  $name exited before publishing a length (log: $(tail -3 "$work/run-$name-$round/log" | tr '\n' ' '))"; return 1; }
        [ "$us" -lt "$deadline" ] || { echo "  $name published no length within 30 s"; return 1; }
        sleep "$poll"
    done
}

# Asks the program to quit over the bus; terminates it if it is still there after 10 s.
close_program() {
    local how=Quit deadline
    now_us; local q0=$us
    timeout 5 dbus-send --session --type=method_call --dest="org.mpris.MediaPlayer2.$name" \
        /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit 2>/dev/null
    deadline=$((q0 + 10000000))
    while alive "$pid"; do
        now_us
        [ "$us" -lt "$deadline" ] || break
        sleep "$poll"
    done
    now_us
    if alive "$pid"; then
        how=TERM
        kill -TERM "$pid" 2>/dev/null
        for _ in $(seq 300); do alive "$pid" || break; sleep "$poll"; done
        if alive "$pid"; then how=KILL; kill -KILL "$pid" 2>/dev/null; fi
        value[quit,$name,$round]="-"
    else
        value[quit,$name,$round]=$(((us - q0) / 1000))
    fi
    wait "$pid" 2>/dev/null
    pid=""
    # The bus name must be gone before the next program starts.
    for _ in $(seq 500); do
        timeout 5 playerctl -l 2>/dev/null | grep -q "^$name" || break
        sleep "$poll"
    done
    closed_by=$how
}

declare -A rec_at

# Plays from where the program stands; fills play<take>, move<take> and rec_at[take].
play_once() {
    local take=$1 rec=$2 from status p deadline size
    from=$(ctl position)
    [[ $from =~ ^[0-9.]+$ ]] || from=0
    size=$(stat -c %s "$rec" 2>/dev/null || echo "")
    rec_at[$take]=$size
    now_us; t0=$us
    # The first play after opening may take as long as the file has been open: a minute.
    deadline=$((t0 + 60000000))
    [ "$take" = 1 ] && value[opened,$name,$round]=$(awk -v d=$((t0 - exec_t0)) 'BEGIN { printf "%.1f", d / 1e6 }')
    ctl play
    while :; do
        status=$(ctl status)
        now_us
        [ "$status" = Playing ] && { value[play$take,$name,$round]=$(((us - t0) / 1000)); break; }
        [ "$us" -lt "$deadline" ] || { echo "  $name: not Playing within 60 s (status '$status')"; break; }
        sleep "$poll"
    done
    while :; do
        p=$(ctl position)
        now_us
        echo "$name round $round play $take: $(((us - t0) / 1000)) ms after play: position $p" >>"$details"
        if [[ $p =~ ^[0-9.]+$ ]] && awk -v p="$p" -v f="$from" 'BEGIN { exit !(p > f + 0.02) }'; then
            value[move$take,$name,$round]=$(((us - t0) / 1000))
            break
        fi
        [ "$us" -lt "$deadline" ] || { echo "  $name: position did not move within 60 s (at $p)"; break; }
        sleep "$poll"
    done
    sleep 0.3
}

# Milliseconds from byte OFFSET of a 44.1 kHz 16-bit mono recording to its first loud sample.
first_sound() {
    tail -c +$(($2 + 1)) "$1" | od -An -v -td2 -w2 |
        awk '{ v = $1 < 0 ? -$1 : $1 } v > 1000 { printf "%.0f", (NR - 1) / 44.1; exit }'
}

run_round() {
    launch
    exec_t0=$t0
    if ! wait_length; then
        close_program
        return
    fi
    value[start,$name,$round]=$start_ms
    value[name,$name,$round]=$name_ms
    note[length,$name]=$length
    note[status,$name]="$(ctl status)"

    # One playerctl call: the floor of every figure that polls over the bus.
    local total=0 a b
    for _ in $(seq 10); do
        now_us; a=$us
        ctl status >/dev/null
        now_us; b=$us
        total=$((total + b - a))
    done
    value[call,$name,$round]=$(awk -v t="$total" 'BEGIN { printf "%.1f", t / 10 / 1000 }')

    # Idle: the file open, not playing.
    sleep "$settle_seconds"
    local c0 c1 w0 w1 threads0
    threads0=$(thread_ticks)
    c0=$(cpu_ticks); now_us; w0=$us
    sleep "$idle_seconds"
    c1=$(cpu_ticks); now_us; w1=$us
    { echo "$name round $round: CPU ticks of each thread over the idle window:"
      join -t' ' <(echo "$threads0") <(thread_ticks) |
          awk '$5 > $3 { print "   ", $5 - $3, "ticks, thread", $1, $2 }' | sort -k1,1nr; } >>"$details"
    if [ "$c0" -ge 0 ] && [ "$c1" -ge 0 ]; then
        value[cpu,$name,$round]=$(awk -v d=$((c1 - c0)) -v hz="$clk_tck" -v w=$((w1 - w0)) \
            'BEGIN { printf "%.2f", d / hz / (w / 1e6) * 100 }')
    fi
    local rss
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    [ -n "$rss" ] && value[rss,$name,$round]=$(awk -v k="$rss" 'BEGIN { printf "%.1f", k / 1024 }')
    note[threads,$name]=$(awk '/^Threads:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)

    # Seeks while not playing: the position read back at once and 300 ms later.
    local s r0 r3 e0 e3 sum0=0 sum3=0 n=0 worst=0
    for s in "${seeks[@]}"; do
        ctl position "$s"
        r0=$(ctl position)
        sleep 0.3
        r3=$(ctl position)
        echo "$name round $round: seek to $s, read $r0 at once, $r3 after 300 ms" >>"$details"
        [[ $r0 =~ ^[0-9.]+$ && $r3 =~ ^[0-9.]+$ ]] || continue
        e0=$(abs_err_ms "$r0" "$s")
        e3=$(abs_err_ms "$r3" "$s")
        sum0=$(awk -v a="$sum0" -v b="$e0" 'BEGIN { print a + b }')
        sum3=$(awk -v a="$sum3" -v b="$e3" 'BEGIN { print a + b }')
        worst=$(awk -v a="$worst" -v b="$e3" 'BEGIN { print (b > a) ? b : a }')
        n=$((n + 1))
    done
    if [ "$n" -gt 0 ]; then
        value[seek0,$name,$round]=$(awk -v t="$sum0" -v n="$n" 'BEGIN { printf "%.3f", t / n }')
        value[seek3,$name,$round]=$(awk -v t="$sum3" -v n="$n" 'BEGIN { printf "%.3f", t / n }')
        note[seekworst,$name,$round]=$worst
    fi
    [ "$n" -eq ${#seeks[@]} ] || echo "  $name: only $n of ${#seeks[@]} seeks could be read back"

    # Play twice: the first play after opening, then again after a pause. Each time until the
    # bus says Playing, until the position moves, and until the tone reaches the null sink,
    # which is recorded from its monitor: the bytes recorded when play is sent mark the start.
    local rec=$work/sink-$name-$round.raw
    parec -d bench_sink.monitor --format=s16le --rate=44100 --channels=1 --latency-msec=5 \
        --raw >"$rec" 2>/dev/null &
    recorder=$!
    sleep 0.5
    local take
    for take in 1 2; do
        play_once "$take" "$rec"
        ctl pause
        sleep 0.5
    done
    kill "$recorder" 2>/dev/null
    wait "$recorder" 2>/dev/null
    recorder=""
    local first
    for take in 1 2; do
        [ -n "${rec_at[$take]:-}" ] || continue
        first=$(first_sound "$rec" "${rec_at[$take]}")
        [ -n "$first" ] && value[sound$take,$name,$round]=$first
    done

    close_program
}

# --- runs -------------------------------------------------------------------------------------
echo "Stenova: $stenova, built $(date -r "$stenova" '+%F %T'); source tree $(git -C "$root" describe --always --dirty 2>/dev/null)"
echo "$(parlatype --version 2>/dev/null | head -1) (Debian package $(dpkg-query -W -f='${Version}' parlatype 2>/dev/null))"
echo "playerctl $(playerctl --version 2>/dev/null), $(nproc) CPU: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)"
echo "recording: 20 s sine, 44.1 kHz mono WAV; idle window ${idle_seconds} s after ${settle_seconds} s settling;" \
    "polls every $(awk -v p="$poll" 'BEGIN { print p * 1000 }') ms"
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# One unmeasured start of each, so that the first round does not pay for a cold file cache.
round=0
for name in "${programs[@]}"; do
    launch
    wait_length >/dev/null
    close_program
    echo "warm-up: $name started and closed ($closed_by)"
done

for round in $(seq "$rounds"); do
    for name in "${programs[@]}"; do
        echo "round $round: $name"
        run_round
        echo "  start ${value[start,$name,$round]:--} ms, CPU ${value[cpu,$name,$round]:--} %," \
            "RSS ${value[rss,$name,$round]:--} MB, seek error ${value[seek0,$name,$round]:--}" \
            "/ ${value[seek3,$name,$round]:--} ms, first play: Playing/moving/tone after" \
            "${value[play1,$name,$round]:--}/${value[move1,$name,$round]:--}/${value[sound1,$name,$round]:--} ms," \
            "again ${value[play2,$name,$round]:--}/${value[move2,$name,$round]:--}/${value[sound2,$name,$round]:--} ms," \
            "closed by $closed_by"
    done
done

# --- table ------------------------------------------------------------------------------------
median() { tr ' ' '\n' | grep -E '^[0-9.]+$' | sort -g | awk '{ v[NR] = $1 }
    END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

rows=(name start cpu rss seek0 seek3 opened play1 move1 sound1 play2 move2 sound2 quit call)
declare -A label=(
    [name]="start -> first answer on bus (ms)"
    [start]="start -> length on bus (ms)"
    [cpu]="CPU, open and idle (% of a core)"
    [rss]="resident memory, file open (MB)"
    [seek0]="seek error, read at once (ms)"
    [seek3]="seek error, read after 300 ms (ms)"
    [opened]="(start -> first play, s)"
    [play1]="first play -> status Playing (ms)"
    [move1]="first play -> position moving (ms)"
    [sound1]="first play -> tone at the sink (ms)"
    [play2]="play again -> status Playing (ms)"
    [move2]="play again -> position moving (ms)"
    [sound2]="play again -> tone at the sink (ms)"
    [quit]="Quit -> process gone (ms)"
    [call]="one playerctl call (ms)"
)
echo
rh=""; for r in $(seq "$rounds"); do rh+=$(printf ' %9s' "r$r"); done
printf '%-36s |%s %9s |%s %9s | %8s\n' "measure" "$rh" "median" "$rh" "median" "ratio"
printf '%-36s |%s %9s |%s %9s | %8s\n' "" "$(printf '%*s' $((rounds * 10)) "Stenova")" "" \
    "$(printf '%*s' $((rounds * 10)) "Parlatype")" "" "S / P"
printf '%.0s-' $(seq $((36 + 2 + 2 * (rounds * 10 + 12) + 10))); echo
for key in "${rows[@]}"; do
    line=$(printf '%-36s |' "${label[$key]}")
    declare -A med=()
    for name in "${programs[@]}"; do
        vals=""
        for r in $(seq "$rounds"); do
            v=${value[$key,$name,$r]:--}
            line+=$(printf ' %9s' "$v")
            vals+="$v "
        done
        med[$name]=$(echo "$vals" | median)
        line+=$(printf ' %9s |' "${med[$name]}")
    done
    ratio=$(awk -v s="${med[stenova]}" -v p="${med[parlatype]}" \
        'BEGIN { if (s == "-" || p == "-" || p + 0 == 0) print "-"; else printf "%.2f", s / p }')
    echo "$line $(printf '%8s' "$ratio")"
    unset med
done
echo
echo "Ten seeks per round to ${seeks[*]} s while not playing; the error is the mean |read - asked|"
echo "(playerctl sends 4.1 s as 4099999 us). The tone at the sink is timed from the null sink's monitor."
for name in "${programs[@]}"; do
    worst=""
    for r in $(seq "$rounds"); do worst+=" ${note[seekworst,$name,$r]:--}"; done
    echo "$name: status after opening '${note[status,$name]:-}', mpris:length ${note[length,$name]:-} (20 s is 20000000 us)," \
        "${note[threads,$name]:-?} threads; worst seek error per round (ms):$worst"
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
