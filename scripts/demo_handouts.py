#!/usr/bin/env python3
"""Says in the demo's terminal what the guest takes from the kiosk: follows
the key card dispenser's and the receipt printer's journals (JSON lines) and
prints one line for each card issued or taken back and each document
printed or lost.

Usage: demo_handouts.py --dispenser FILE --printer FILE --while PID

A journal may not exist yet, and its last line may still be being written.
The follower ends once PID has ended, or at SIGTERM or SIGINT after a last
look at both journals; it reads no input, so it never holds the demo up.
"""
import argparse
import json
import os
import signal
import sys
import time

POLL_SECONDS = 0.2


def card_flaws(card):
    flaws = ""
    if not card.get("checksOk", True):
        flaws += " (bad check byte)"
    if not card.get("wellFormed", True):
        flaws += " (not the guest card layout)"
    return flaws


def first_line(document):
    for line in document.get("lines", []):
        if line.get("text", "").strip():
            return line["text"].strip()
    return ""


def dispenser_line(entry):
    event = entry.get("event")
    if event == "issued":
        card = entry.get("card", {})
        return (f"dispenser: key card issued for door lock {card.get('doorLock')} "
                f"until {card.get('end')}{card_flaws(card)}")
    if event == "captured":
        return "dispenser: a key card was taken back into the bin"
    return None


def printer_line(entry):
    event = entry.get("event")
    if event == "document":
        title = first_line(entry)
        what = f'"{title}"' if title else f"document {entry.get('number')}"
        if entry.get("saved"):
            return f"printer: {what} saved as {entry.get('png')}"
        return f"printer: {what} printed, but not saved: {entry.get('error', '')}"
    if event == "dropped":
        return f"printer: {entry.get('bytes')} bytes dropped ({entry.get('state')})"
    return None


class JournalFollower:
    """The complete lines appended to a file since the last look."""

    def __init__(self, path, describe):
        self.path = path
        self.describe = describe
        self.offset = 0
        self.partial = b""

    def new_lines(self):
        try:
            with open(self.path, "rb") as journal:
                if os.fstat(journal.fileno()).st_size < self.offset:
                    self.offset, self.partial = 0, b""  # a new journal in its place
                journal.seek(self.offset)
                data = journal.read()
        except FileNotFoundError:
            return []
        self.offset += len(data)
        pieces = (self.partial + data).split(b"\n")
        self.partial = pieces.pop()
        said = []
        for piece in pieces:
            try:
                entry = json.loads(piece)
            except ValueError:
                continue
            line = self.describe(entry) if isinstance(entry, dict) else None
            if line:
                said.append(line)
        return said


def is_running(pid):
    """An ended process that its parent has not reaped yet counts as ended."""
    try:
        with open(f"/proc/{pid}/stat", encoding="latin-1") as stat:
            fields = stat.read()
    except OSError:
        return False
    return fields[fields.rindex(")") + 2] not in "ZX"


def follow(followers, keep_going, say, poll_seconds=POLL_SECONDS):
    """Says every new line until keep_going() is false, then once more."""
    while True:
        going = keep_going()
        for follower in followers:
            for line in follower.new_lines():
                say(line)
        if not going:
            return
        time.sleep(poll_seconds)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dispenser", required=True)
    parser.add_argument("--printer", required=True)
    parser.add_argument("--while", dest="watched", type=int, required=True)
    options = parser.parse_args(argv)

    stopping = []
    for signum in (signal.SIGTERM, signal.SIGINT):
        signal.signal(signum, lambda *_: stopping.append(True))

    def say(line):
        print(line, flush=True)

    followers = [JournalFollower(options.dispenser, dispenser_line),
                 JournalFollower(options.printer, printer_line)]
    try:
        follow(followers, lambda: not stopping and is_running(options.watched), say)
    except OSError:
        pass  # the terminal has gone: nobody is left to read the lines
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
