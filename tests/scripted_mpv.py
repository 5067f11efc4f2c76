#!/usr/bin/python3
# Stands in for mpv on its JSON IPC socket (--input-ipc-server=PATH), for an order of replies
# and events that the real player shows only at times, on a loaded machine: told to pause,
# it answers the next time-pos question with where it was and reports the pause right after;
# its position settles a little further on, and the answers after that give the settled one,
# the first of them 50 ms late. Told to seek, it reports a property change and then answers
# nothing more, as a player stopped right after sending an event does.
import json
import socket
import sys
import time

WHERE_IT_WAS, SETTLED = 1.0, 1.25
PROPERTIES = {"idle-active": False, "file-format": "wav", "path": "take.wav", "media-title": "take.wav",
              "metadata": {}, "duration": 20.0, "eof-reached": False}

path = next(a.split("=", 1)[1] for a in sys.argv if a.startswith("--input-ipc-server="))
server = socket.socket(socket.AF_UNIX)
server.bind(path)
server.listen(1)
connection, _ = server.accept()
lines = connection.makefile("rb")


def send(*messages):
    connection.sendall(b"".join(json.dumps(m).encode() + b"\n" for m in messages))


told_to_pause = pause_reported = settled_late = False
for line in lines:
    request = json.loads(line)
    command, rid = request["command"], request.get("request_id")
    reply = {"request_id": rid, "error": "success"}
    if command[0] == "quit":
        send(reply)
        break
    if command[0] == "seek":
        send({"event": "property-change", "id": 1, "name": "eof-reached", "data": False})
        time.sleep(3600)
    if command[:2] == ["set_property", "pause"]:
        told_to_pause = command[2]
        send(reply)
    elif command[:2] == ["get_property", "time-pos"]:
        if not told_to_pause or not pause_reported:
            send(dict(reply, data=WHERE_IT_WAS))
            if told_to_pause:
                send({"event": "property-change", "id": 1, "name": "pause", "data": True})
                pause_reported = True
        else:
            if not settled_late:
                time.sleep(0.05)
                settled_late = True
            send(dict(reply, data=SETTLED))
    elif command[0] == "get_property" and command[1] in PROPERTIES:
        send(dict(reply, data=PROPERTIES[command[1]]))
    elif command[0] == "get_property":
        send(dict(reply, error="property unavailable"))
    else:
        send(reply)
