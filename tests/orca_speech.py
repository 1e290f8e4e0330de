#!/usr/bin/python3
"""What Orca itself says as a keyboard user walks the window.

Run on an X server with the accessibility bus on: with_accessibility_bus.sh orca_speech.py ...
It starts Orca, with speech-dispatcher's espeak-ng on ALSA's null device, in a home of its own,
then the program, presses the keys of each step with xdotool and reads what Orca spoke from its
debug log (lines "SPEECH OUTPUT: '...'"). Each step must speak exactly its expected utterances,
and the log must hold no traceback.

Usage: orca_speech.py <quillora> [--transcript FILE]
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

TIMEOUT = 30  # seconds for anything Orca should say at once
START = ["Quillora by Ardelvan frame.", "Shape? panel.", "Circle.", "selected radio button"]
# Keys of each step, and what Orca says after them.
STEPS = [
    ([], START),
    (["Down"], ["Line.", "selected radio button"]),
    (["Up"], ["Circle.", "selected radio button"]),
    (["Tab"], ["New Shape check box not checked."]),
    (["space"], ["checked"]),
    # Flat review: the window's first two lines, its last line, and the object there. Orca keeps
    # these keys, but not always in time: on the check box they change nothing if they get by.
    (["Insert+KP_Home", "KP_Page_Up"], ["Reset Exit", "Shape? Color?"]),
    (["Insert+KP_Page_Up"], ["Canvas"]),
    (["Insert+KP_Begin"], ["Canvas canvas.", "1 line, 1 rectangle."]),
    (["Tab"], ["R scroll bar 0.", "Color preview: red 0, green 0, blue 0."]),
    (["Right"], ["1", "Color preview: red 1, green 0, blue 0"]),
    (["Tab"], ["G scroll bar 0.", "Color preview: red 1, green 0, blue 0."]),
    (["End"], ["255", "Color preview: red 1, green 255, blue 0"]),
    (["Tab"], ["B scroll bar 0.", "Color preview: red 1, green 255, blue 0."]),
    (["Tab"], ["Border Thickness scroll bar 1."]),
    (["Right"], ["2"]),
    (["F10"], ["Reset."]),
    (["Escape"], ["Border Thickness scroll bar 2."]),
    (["alt+r"], START),
]
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\[?\{")


class Failure(Exception):
    pass


def wait_for(what, condition):
    end = time.monotonic() + TIMEOUT
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.05)
    raise Failure(f"timed out waiting for {what}")


def prepare_home(home):
    """Orca and speech-dispatcher settings of the test's own; Orca's log written line by line,
    since Orca may have to be killed; no braille display, no echo of the keys pressed."""
    with open(os.path.join(home, ".asoundrc"), "w") as asound:
        asound.write("pcm.!default { type null }\n")
    os.makedirs(os.path.join(home, ".config", "speech-dispatcher"))
    with open(os.path.join(home, ".config", "speech-dispatcher", "speechd.conf"), "w") as speechd:
        speechd.write('AudioOutputMethod "alsa"\nDefaultModule espeak-ng\n')
    os.makedirs(os.path.join(home, ".local", "share", "orca"))
    with open(os.path.join(home, ".local", "share", "orca", "orca-customizations.py"), "w") as orca:
        orca.write("import orca.debug, orca.settings\n"
                   "orca.debug.debugFile.reconfigure(line_buffering=True)\n"
                   "orca.settings.enableBraille = False\n"
                   "orca.settings.enableKeyEcho = False\n")
    os.makedirs(os.path.join(home, "run"), mode=0o700)
    os.environ.update(HOME=home, XDG_RUNTIME_DIR=os.path.join(home, "run"))


def utterances(log, start, end=None):
    with open(log) as lines:
        return [match.group(1) for line in lines.readlines()[start:end]
                if (match := SPEECH.search(line))]


def line_count(log):
    with open(log) as lines:
        return len(lines.readlines())


def run(args, home, children):
    prepare_home(home)
    log = os.path.join(home, "orca.log")
    children.append(subprocess.Popen(["orca", "--replace", "--debug-file", log],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT))
    wait_for("Orca to start", lambda: os.path.exists(log) and utterances(log, 0))
    program = subprocess.Popen([args.quillora], stderr=open(os.path.join(home, "quillora.log"), "w"))
    children.append(program)
    starts = []
    for keys, expected in STEPS:
        starts.append(line_count(log))
        for key in keys:
            subprocess.run(["xdotool", "key", key], check=True, timeout=TIMEOUT)
        # Short of it, the walk goes on: the transcript shows all of what was said.
        try:
            wait_for("speech", lambda: len(utterances(log, starts[-1])) >= len(expected))
        except Failure:
            pass
    # A key of no meaning to Orca or the program marks the end of what the last step said.
    starts.append(line_count(log))
    subprocess.run(["xdotool", "key", "shift"], check=True, timeout=TIMEOUT)
    wait_for("Orca to read the last key",
             lambda: "KEY_PRESSED_EVENT: 'Shift_L'" in open(log).read()[-20000:])
    heard = [(keys, utterances(log, start, end))
             for (keys, _), start, end in zip(STEPS, starts, starts[1:])]
    if args.transcript:
        with open(args.transcript, "w") as transcript:
            transcript.writelines(f"{' '.join(keys) or '(start)'}: {said}\n" for keys, said in heard)
    for (keys, said), (_, expected) in zip(heard, STEPS):
        if said != expected:
            raise Failure(f"after {keys or 'start'} Orca said {said}, not {expected}")
    text = open(log).read()
    if "Traceback" in text or "bad content" in text:
        raise Failure("Orca logged a traceback:\n" + text[text.find("Traceback") - 2000:][:4000])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("quillora")
    parser.add_argument("--transcript")
    args = parser.parse_args()
    children = []
    with tempfile.TemporaryDirectory() as home:
        try:
            run(args, home, children)
        except Failure as failure:
            print(f"FAIL: {failure}", file=sys.stderr)
            return 1
        finally:
            for child in reversed(children):
                child.kill()  # Orca may not answer SIGTERM
                child.wait()
            pid = os.path.join(home, "run", "speech-dispatcher", "pid", "speech-dispatcher.pid")
            if os.path.exists(pid):
                os.kill(int(open(pid).read()), signal.SIGTERM)
    print("orca_speech: Orca said what every step should")
    return 0


if __name__ == "__main__":
    sys.exit(main())
