#!/usr/bin/env bash
# Generates the sample recordings: Russian dictation spoken by espeak-ng as WAV and MP3,
# and a short MP4 with a moving test picture and the same speech.
set -euo pipefail
out=${1:?usage: make-samples.sh OUTPUT_DIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

espeak-ng -v ru -s 125 -f "$here/sample-text.txt" -w "$tmp/speech.wav"
# 44.1 kHz stereo 16-bit, the usual form of a dictation recording.
sox "$tmp/speech.wav" -r 44100 -c 2 -b 16 "$tmp/sample.wav" gain -n -3
ffmpeg -nostdin -loglevel error -y -i "$tmp/sample.wav" -codec:a libmp3lame -b:a 128k "$tmp/sample.mp3"
ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25 -i "$tmp/sample.wav" \
    -t 15 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 96k -shortest "$tmp/sample.mp4"
mv "$tmp/sample.wav" "$tmp/sample.mp3" "$tmp/sample.mp4" "$out/"
