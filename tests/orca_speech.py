#!/usr/bin/python3
"""What Orca itself says as a keyboard user walks the window, read from its debug log.

Usage: with_accessibility_bus.sh orca_speech.py <quillora> [transcript]
Orca runs in a home of its own, speaking through espeak-ng to ALSA's null device. Each step's
keys must make Orca say exactly its words, and its log must hold no traceback.
"""

import os, re, signal, subprocess, sys, tempfile, time  # noqa: E401

# What Orca says at each step, as one line with its full stops, commas and colons left out, since
# each Orca sorts the same words into utterances its own way. Later Orcas add words that say
# nothing new: the group's name again, a scroll bar's description and its value as a percentage,
# a menu item's shortcut; and Orca 48 leaves out the role of a frame it has named, Orca 51 always.
GROUP, PERCENT = r"(Shape\? )?", r"( \d+ percent)?"


def either_order(first, second):
    """Orca 51 may say what the program announces before what the control says of itself."""
    return rf"{first} {second}|{second} {first}"


WINDOW = r"Quillora by Ardelvan( frame)? "
SHAPE = rf"Shape\? panel {GROUP}Circle selected radio button"
START = WINDOW + SHAPE
STEPS = [
    ([], START),
    (["Down"], rf"{GROUP}Line selected radio button"),
    (["Up"], rf"{GROUP}Circle selected radio button"),
    (["Tab"], r"New Shape check box not checked"),
    (["space"], r"checked"),
    # Flat review: the window's first two lines, its last line, and the object there. Orca keeps
    # these keys, but not always in time: on the check box they change nothing if they get by.
    # Orca 51 gives the window a line of its own, and every object one.
    (["Insert+KP_Home", "KP_Page_Up"],
     r"Reset Exit Shape\? Color\?|Quillora by Ardelvan Reset Exit"),
    (["Insert+KP_Page_Up"], r"Canvas"),
    (["Insert+KP_Begin"], r"Canvas canvas 1 line 1 rectangle"),
    (["Tab"], rf"R (Red )?scroll bar 0{PERCENT} Color preview red 0 green 0 blue 0"),
    (["Right"], either_order("1", "Color preview red 1 green 0 blue 0")),
    (["Tab"], rf"G (Green )?scroll bar 0{PERCENT} Color preview red 1 green 0 blue 0"),
    (["End"], either_order("255", "Color preview red 1 green 255 blue 0")),
    (["Tab"], rf"B (Blue )?scroll bar 0{PERCENT} Color preview red 1 green 255 blue 0"),
    (["Tab"], rf"Border Thickness scroll bar 1{PERCENT}"),
    (["Right"], r"2"),
    (["F10"], r"Reset( Alt\+R)?"),
    (["Escape"], rf"Border Thickness scroll bar 2{PERCENT}"),
    # Back from the menu, Orca names the window as it activates and as focus comes, once or
    # twice, and Orca 51 may not name it at all.
    (["alt+r"], rf"({WINDOW})*{SHAPE}"),
    (["shift"], r""),  # says nothing, and ends what the step before it said
]
FILES = {  # Orca's log written line by line, since Orca may have to be killed
    ".asoundrc": "pcm.!default { type null }\n",
    # Speech Dispatcher stays for the whole walk, even while Orca sets up its speech anew.
    ".config/speech-dispatcher/speechd.conf": 'AudioOutputMethod "alsa"\nDefaultModule espeak-ng\n'
    "Timeout 0\n",
    # Orca 51 and later read their settings from GSettings, older ones from their own file.
    ".config/glib-2.0/settings/keyfile": "[org/gnome/orca/default/typing-echo]\nkey-echo=false\n"
    "[org/gnome/orca/default/braille]\nenabled=false\n",
    ".local/share/orca/orca-customizations.py": "import orca.debug, orca.settings\n"
    "orca.debug.debugFile.reconfigure(line_buffering=True)\n"
    "orca.settings.enableBraille = False\norca.settings.enableKeyEcho = False\n",
}


class TimedOut(Exception):
    pass


def wait_for(what, condition, seconds=30):
    """Waits until the condition holds; one that does not within the time fails the test."""
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() >= end:
            raise TimedOut(f"timed out after {seconds} s waiting for {what}")
        time.sleep(0.05)


def listened():
    """The events screen readers have asked the accessibility bus's registry for."""
    def send(*arguments):
        return subprocess.run(["dbus-send", "--print-reply=literal", *arguments],
                              capture_output=True, text=True, timeout=30).stdout.strip()
    bus = send("--session", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress")
    reply = send(f"--bus={bus}", "--dest=org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                 "org.a11y.atspi.Registry.GetRegisteredEvents")
    return set(re.findall(r"\b[A-Z]\w*:\w*:\w*", reply))


def press(key, answered):
    """Types a key. A flat review key is held until Orca has answered it, as a person holds it:
    Orca 51 acts on a key after the events that follow it, and takes one let go at once for
    another command."""
    if "KP_" not in key:
        # F10 by its key: xdotool presses Alt with it where xkeyboard-config 2.4x has F10 on
        # Alt's level too.
        subprocess.run(["xdotool", "key", "76" if key == "F10" else key], check=True, timeout=30)
        return
    subprocess.run(["xdotool", "keydown", key], check=True, timeout=30)
    wait_for(f"Orca to answer {key}", answered)
    subprocess.run(["xdotool", "keyup", key], check=True, timeout=30)


def walk(quillora, home):
    for name, text in FILES.items():
        os.makedirs(os.path.dirname(os.path.join(home, name)), exist_ok=True)
        with open(os.path.join(home, name), "w") as file:
            file.write(text)
    # AT-SPI 2.62 grabs no key for Orca on a bare X server, so Orca takes its keys from the
    # registry, as it does where the desktop does not grab them for it.
    os.environ.update(HOME=home, XDG_RUNTIME_DIR=home, GSETTINGS_BACKEND="keyfile",
                      ATSPI_USE_LEGACY_DEVICE="1")
    log = os.path.join(home, "orca.log")
    lines = lambda: open(log).readlines() if os.path.exists(log) else []  # noqa: E731
    said = lambda start, end=None: " ".join(  # noqa: E731
        re.sub(r"[.,:]", "", m[1]).strip() for m in map(
            re.compile(r"SPEECH OUTPUT: '(.*)' ?\[?\{").search, lines()[start:end]) if m)
    children = [subprocess.Popen(["orca", "--replace", "--debug-file", log],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)]
    try:
        # Orca 48 and later speak before they listen, and would miss the window coming.
        wait_for("Orca to speak and listen for windows and focus", lambda: said(0)
                 and {"Window:Activate:", "Object:StateChanged:Focused"} <= listened())
        children.append(subprocess.Popen([quillora]))
        starts = []
        problems = []
        try:
            for keys, expected in STEPS:
                starts.append(len(lines()))
                done = lambda: re.fullmatch(expected, said(starts[-1])) and (  # noqa: E731
                    expected or "'Shift_L'" in "".join(lines()[starts[-1]:]))
                for index, key in enumerate(keys):
                    before = len(lines())
                    press(key, done if index == len(keys) - 1 else lambda: said(before))
                wait_for(f"Orca to answer {' '.join(keys) or 'the start'} as expected", done)
        except TimedOut as timeout:
            problems.append(str(timeout))
        ends = starts[1:] + [None]
        heard = [said(start, end) for start, end in zip(starts, ends)]
        log_lines = lines()
        faults = [n for n, line in enumerate(log_lines)
                  if "Traceback" in line or "bad content" in line]
        if faults:
            speechd = os.path.join(home, "speech-dispatcher", "log", "speech-dispatcher.log")
            last_words = open(speechd).readlines()[-10:] if os.path.exists(speechd) else []
            problems.append("Orca logged a traceback:\n"
                            + "".join(log_lines[faults[0]:faults[0] + 30] + last_words))
        return heard, problems
    finally:
        for child in children:
            child.kill()  # Orca may not answer SIGTERM
            child.wait()
        pid = os.path.join(home, "speech-dispatcher", "pid", "speech-dispatcher.pid")
        if os.path.exists(pid):
            os.kill(int(open(pid).read()), signal.SIGTERM)


def main():
    with tempfile.TemporaryDirectory() as home:
        heard, problems = walk(sys.argv[1], home)
    transcript = [f"{' '.join(keys) or '(start)'}: {said}" for (keys, _), said in zip(STEPS, heard)]
    if len(sys.argv) > 2:
        with open(sys.argv[2], "w") as file:
            file.write("\n".join(transcript) + "\n")
    wrong = [f"{line!r}, not /{expected}/"
             for line, said, (_, expected) in zip(transcript, heard, STEPS)
             if not re.fullmatch(expected, said)]
    for line in wrong:
        print("FAIL: Orca said after", line, file=sys.stderr)
    for problem in problems:
        print("FAIL:", problem, file=sys.stderr)
    return 1 if wrong or problems else 0


if __name__ == "__main__":
    sys.exit(main())
