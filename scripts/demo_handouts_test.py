#!/usr/bin/env python3
"""The demo's follower of the dispenser's and printer's journals: what it
says for each event, journals that grow a piece at a time, and its end."""
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import demo_handouts  # noqa: E402

GOOD_CARD = {"doorLock": 201, "start": "2026-12-11 09:00", "end": "2026-12-11 12:00",
             "checksOk": True, "wellFormed": True}
WAIT_SECONDS = 30


class HandoutLines(unittest.TestCase):
    def test_each_event(self):
        cases = [
            (demo_handouts.dispenser_line, {"event": "issued", "number": 1, "card": GOOD_CARD},
             "dispenser: key card issued for door lock 201 until 2026-12-11 12:00"),
            (demo_handouts.dispenser_line,
             {"event": "issued", "card": dict(GOOD_CARD, checksOk=False, wellFormed=False)},
             "dispenser: key card issued for door lock 201 until 2026-12-11 12:00"
             " (bad check byte) (not the guest card layout)"),
            (demo_handouts.dispenser_line, {"event": "captured", "block1": "00"},
             "dispenser: a key card was taken back into the bin"),
            (demo_handouts.dispenser_line, {"event": "wrote", "bytes": "02 03"}, None),
            (demo_handouts.printer_line,
             {"event": "document", "number": 1, "saved": True, "png": "/d/doc-0001.png",
              "lines": [{"text": "  "}, {"text": "201호"}]},
             'printer: "201호" saved as /d/doc-0001.png'),
            (demo_handouts.printer_line,
             {"event": "document", "number": 2, "saved": False, "error": "disk full", "lines": []},
             "printer: document 2 printed, but not saved: disk full"),
            (demo_handouts.printer_line, {"event": "dropped", "bytes": 120, "state": "paper-out"},
             "printer: 120 bytes dropped (paper-out)"),
            (demo_handouts.printer_line, {"event": "status request", "n": 1}, None),
        ]
        for describe, entry, expected in cases:
            with self.subTest(entry=entry):
                self.assertEqual(describe(entry), expected)


class Following(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.journal = pathlib.Path(self.folder.name) / "journal.jsonl"

    def tearDown(self):
        self.folder.cleanup()

    def append(self, data):
        with open(self.journal, "ab") as journal:
            journal.write(data)

    def test_only_whole_lines_are_said_once_and_bad_ones_are_skipped(self):
        follower = demo_handouts.JournalFollower(self.journal, demo_handouts.printer_line)
        self.assertEqual(follower.new_lines(), [], "no journal yet")
        line = json.dumps({"event": "dropped", "bytes": 5, "state": "error"}).encode()
        self.append(b"{not json\n[1]\n" + line[:10])
        self.assertEqual(follower.new_lines(), [])
        self.append(line[10:] + b"\n")
        self.assertEqual(follower.new_lines(), ["printer: 5 bytes dropped (error)"])
        self.assertEqual(follower.new_lines(), [])

    def test_a_journal_started_again_is_read_from_its_start(self):
        follower = demo_handouts.JournalFollower(self.journal, demo_handouts.printer_line)
        self.append(json.dumps({"event": "dropped", "bytes": 500, "state": "error"}).encode() + b"\n")
        follower.new_lines()
        self.journal.write_bytes(json.dumps({"event": "dropped", "bytes": 1, "state": "x"}).encode() + b"\n")
        self.assertEqual(follower.new_lines(), ["printer: 1 bytes dropped (x)"])

    def test_the_last_look_comes_after_the_end(self):
        follower = demo_handouts.JournalFollower(self.journal, demo_handouts.dispenser_line)
        said = []

        def keep_going():
            self.append(json.dumps({"event": "captured"}).encode() + b"\n")
            return False

        demo_handouts.follow([follower], keep_going, said.append, poll_seconds=0)
        self.assertEqual(said, ["dispenser: a key card was taken back into the bin"])

    def test_the_program_ends_with_the_process_it_watches_and_at_sigterm(self):
        self.append(json.dumps({"event": "issued", "card": GOOD_CARD}).encode() + b"\n")
        for end in ("watched process", "SIGTERM"):
            with self.subTest(end=end):
                watched = subprocess.Popen([sys.executable, "-c", "import sys; sys.stdin.read()"],
                                           stdin=subprocess.PIPE)
                follower = subprocess.Popen(
                    [sys.executable, demo_handouts.__file__, "--dispenser", str(self.journal),
                     "--printer", str(self.journal) + ".missing", "--while", str(watched.pid)],
                    stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, text=True)
                self.assertEqual(follower.stdout.readline(),
                                 "dispenser: key card issued for door lock 201 until 2026-12-11 12:00\n")
                if end == "SIGTERM":
                    follower.terminate()
                else:
                    watched.stdin.close()
                self.assertEqual(follower.wait(timeout=WAIT_SECONDS), 0)
                watched.stdin.close()
                watched.wait(timeout=WAIT_SECONDS)
                follower.stdout.close()


if __name__ == "__main__":
    unittest.main()
