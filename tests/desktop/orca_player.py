"""A blind player's match: keys only, deciding from what the Orca screen
reader says, never from the program itself. Run inside a private session bus
on a display with a window manager (orca.sh does both).

Usage: orca_player.py PROGRAM WORKDIR
ZT_ORCA_GAMES: how many games to play; unset or 0, the whole match.
Fails (exit 1) when a Tab, a move, a steal, a selection, a result, the rules
or the menu go unheard, when Escape, a menu choice, Continue or New Game
leave the focus unnamed, or when a thing is said twice over; prints what was
heard. With ZT_ORCA_BUS_RESTART set, the accessibility bus and Orca restart
at the start screen, and the player only checks that the rules, the focus, a
notice, a Tab and the Tab key itself are heard again.
"""
import os
import re
import signal
import subprocess
import sys
import time

PROGRAM, WORK = sys.argv[1], sys.argv[2]
HERE = os.path.dirname(os.path.abspath(__file__))
SEED = os.environ.get("ZT_ORCA_SEED", "3")
GAMES = int(os.environ.get("ZT_ORCA_GAMES") or 0)
# What the player listens for, in the language the game and Orca speak
# (ZT_ORCA_LANGUAGE, "en" or "it"); the printed results are the same in both.
WORDS = {
    "en": dict(ranks=["Ace", "Two", "Three", "Four", "Five", "Six", "Seven", "Knave", "Knight", "King"],
               of="of", suits="Coins|Cups|Clubs|Swords", hand="In your hand", pile="computer's pile",
               table="On the table", selected="Selected", steal="steal the computer's pile", stole="steal",
               choose="choose the table cards", take="and take", deal="Press Return or Space to deal",
               rules="Game rules", turn="Your turn", cont="to continue", match="new match",
               you="You play", computer="Computer plays", result="Press Control+Return to continue",
               orca_on="Screen reader on", unchecked="not checked", checked="checked"),
    "it": dict(ranks=["Asso", "Due", "Tre", "Quattro", "Cinque", "Sei", "Sette", "Fante", "Cavallo", "Re"],
               of="di", suits="Denari|Coppe|Bastoni|Spade", hand="Nella tua mano", pile="mazzetto del computer",
               table="Sul tavolo", selected="Selezionata", steal="rubi il mazzetto del computer", stole="rub",
               choose="scegli le carte sul tavolo", take="e prendi", deal="Premi Invio o Spazio per distribuire",
               rules="Regole del gioco", turn="Tocca a te", cont="per continuare", match="nuovo incontro",
               you="Giochi ", computer="Il computer gioca", result="Premi Control+Invio per continuare",
               orca_on="Lettore schermo attivo", unchecked="non spuntata", checked="spuntata"),
}
W = WORDS[os.environ.get("ZT_ORCA_LANGUAGE", "en")]
RANKS = {name: value for value, name in enumerate(W["ranks"], 1)}
CARD = re.compile(r"\b(%s) %s (%s)\b" % ("|".join(RANKS), W["of"], W["suits"]))
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\s*(\{.*\})?$")

failures = []


def fail(what):
    failures.append(what)
    print("FAIL:", what, flush=True)


class Reader:
    """What Orca says, as it says it."""

    def __init__(self, log):
        self.log = log
        self.file = None
        self.heard = []

    def poll(self):
        if self.file is None:
            if not os.path.exists(self.log):
                return
            self.file = open(self.log, errors="replace")
        for line in self.file.readlines():
            m = SPEECH.search(line.rstrip("\n"))
            if m:
                self.heard.append(m.group(1))

    def mark(self):
        self.poll()
        return len(self.heard)

    def since(self, mark):
        self.poll()
        return self.heard[mark:]

    def wait(self, mark, pred, timeout=20.0):
        """The first utterance after mark for which pred holds, or None."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for said in self.since(mark):
                if pred(said):
                    return said
            time.sleep(0.05)
        return None

    def quiet(self, seconds=0.6):
        """Waits until Orca has said nothing new for a while."""
        last, since = self.mark(), time.monotonic()
        while time.monotonic() - since < seconds:
            time.sleep(0.05)
            now = self.mark()
            if now != last:
                last, since = now, time.monotonic()


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=False)


def start_orca(log):
    env = dict(os.environ)
    return subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, "orca_linebuffered.py"),
                             "--debug-file=" + log], env=env,
                            stdout=open(os.path.join(WORK, "orca.out"), "w"), stderr=subprocess.STDOUT)


def stop(proc):
    proc.terminate()
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        proc.kill()


def dbus_send(*args):
    return subprocess.run(["dbus-send", "--session", "--print-reply", *args],
                          capture_output=True, text=True)


def restart_bus():
    """The desktop's accessibility service stops under the game and the
    session bus starts it again, saying a screen reader runs."""
    def ask_bus(method):
        return dbus_send("--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus." + method, "string:org.a11y.Bus").stdout.split()
    launcher = ask_bus("GetConnectionUnixProcessID")
    if not launcher:
        fail("no accessibility bus to restart")
        return
    os.kill(int(launcher[-1]), signal.SIGTERM)
    end = time.monotonic() + 20
    while ask_bus("NameHasOwner")[-1:] == ["true"]:
        if time.monotonic() > end:
            fail("the accessibility bus did not stop")
            return
        time.sleep(0.1)
    for _ in range(100):
        if dbus_send("--dest=org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                     "string:org.a11y.Status", "string:ScreenReaderEnabled",
                     "variant:boolean:true").returncode == 0:
            return
        time.sleep(0.1)
    fail("the accessibility bus did not come back")


def said_twice(heard):
    """Utterances that say again what was said just before them, since the
    last key (Orca echoes each key as its name and a blank)."""
    twice = []
    for i, u in enumerate(heard):
        before = []
        for p in reversed(heard[max(0, i - 3):i]):
            if p.endswith(" "):
                break
            before.append(p)
        if any(len(p) > 8 and u != p and u.endswith(p) for p in before):
            twice.append((next(p for p in before if len(p) > 8 and u != p and u.endswith(p)), u))
    return twice


def card_of(said):
    m = CARD.search(said)
    return m.group(0) if m else None


def rank(card):
    return RANKS[card.split()[0]]


def capture(play, table):
    """The cards the rules make this card take, or None."""
    same = [t for t in table if rank(t) == rank(play)]
    if same:
        return [same[0]]
    best = None

    def walk(i, chosen, total):
        nonlocal best
        if total == rank(play) and chosen and best is None:
            best = list(chosen)
        if best is not None or total >= rank(play) or i == len(table):
            return
        walk(i + 1, chosen + [table[i]], total + rank(table[i]))
        walk(i + 1, chosen, total)

    walk(0, [], 0)
    return best


class Player:
    def __init__(self, orca):
        self.orca = orca
        self.tabs = self.tabs_heard = 0
        self.moves = {W["you"]: 0, W["computer"]: 0}
        self.steals = self.selections = 0

    def tab(self):
        """Tab once; what Orca said of the card the focus went to."""
        mark = self.orca.mark()
        key("Tab")
        self.tabs += 1
        said = self.orca.wait(mark, lambda s: card_of(s) is not None, timeout=6)
        if said is None:
            fail("a Tab was not spoken (after %s)" % self.orca.heard[-3:])
            return None
        self.tabs_heard += 1
        self.orca.quiet(0.3)
        # The place follows the name, in the same or the next utterance.
        after = " ".join(self.orca.since(mark))
        return card_of(said), after

    def look(self):
        """Tabs round the table once: the cards by place, in focus order."""
        seen = []
        while True:
            got = self.tab()
            if got is None:
                return seen
            card, said = got
            if seen and card == seen[0][0]:
                return seen
            place = ("hand" if W["hand"] in said else "pile" if W["pile"] in said
                     else "table" if W["table"] in said else "?")
            seen.append((card, place))
            if len(seen) > 20:
                fail("the Tab walk never came back to its start: %s" % seen)
                return seen

    def go_to(self, order, at, card):
        """Tabs from position at to the card; its position."""
        target = [c for c, _ in order].index(card)
        while at != target:
            self.tab()
            at = (at + 1) % len(order)
        return at

    def move(self):
        """One move; the mark before its last key, for what follows it."""
        order = self.look()  # back on the first card
        hand = [c for c, p in order if p == "hand"]
        table = [c for c, p in order if p == "table"]
        pile = [c for c, p in order if p == "pile"]
        if not hand:
            fail("no hand card heard: %s" % order)
            return self.orca.mark()
        at = 0
        steal = [h for h in hand if pile and rank(h) == rank(pile[0])]
        if steal:
            at = self.go_to(order, at, pile[0])
            mark = self.orca.mark()
            key("space")
            if self.orca.wait(mark, lambda s: s.startswith(W["selected"]), 6) is None:
                fail("selecting the computer's pile was not spoken")
            at = self.go_to(order, at, steal[0])
            mark = self.orca.mark()
            key("space")
            if self.orca.wait(mark, lambda s: W["steal"] in s, 15) is None:
                fail("your steal was not spoken")
            self.steals += 1
            return mark
        play = next((h for h in hand if capture(h, table)), hand[0])
        takes = capture(play, table) or []
        at = self.go_to(order, at, play)
        mark = self.orca.mark()
        key("space")
        if not takes:
            return mark
        if self.orca.wait(mark, lambda s: W["choose"] in s, 10) is None:
            fail("the capture to make was not spoken")
            return mark
        self.orca.quiet(0.3)
        # The focus is on the first table card now.
        rest = [(c, p) for c, p in order if p != "hand" or c != play]
        at = [c for c, _ in rest].index(table[0])
        for t in takes:
            at = self.go_to(rest, at, t)
            mark = self.orca.mark()
            key("space")
            if self.orca.wait(mark, lambda s: s.startswith(W["selected"]) or W["take"] in s, 10) is None:
                fail("selecting %s was not spoken" % t)
            self.selections += 1
        return mark


def main():
    log = os.path.join(WORK, "orca.log")
    orca_proc = start_orca(log)
    orca = Reader(log)
    if orca.wait(0, lambda s: s.startswith(W["orca_on"]), 60) is None:
        print("FAIL: Orca did not start")
        return 1
    env = dict(os.environ, SDL_AUDIODRIVER="dummy")
    env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
    game = subprocess.Popen([PROGRAM, "--seed", SEED], env=env,
                            stdout=open(os.path.join(WORK, "program.out"), "w"), stderr=subprocess.STDOUT)
    player = Player(orca)
    started = time.monotonic()
    try:
        # The start screen says how to start.
        if orca.wait(0, lambda s: W["deal"] in s, 60) is None:
            fail("the start screen did not say how to start")
        orca.quiet()
        def hears(keys, pred, what, timeout=8):
            mark = orca.mark()
            key(keys)
            said = orca.wait(mark, pred, timeout)
            if said is None:
                fail(what)
            orca.quiet(0.3)
            return said

        if os.environ.get("ZT_ORCA_BUS_RESTART"):
            stop(orca_proc)
            restart_bus()
            log = os.path.join(WORK, "orca-again.log")
            orca_proc = start_orca(log)
            orca = Reader(log)
            if orca.wait(0, lambda s: s.startswith(W["orca_on"]), 60) is None:
                fail("Orca did not start again")
                return verdict(orca)
            orca.quiet()
            hears("F1", lambda s: W["rules"] in s, "after the bus restart F1 did not speak the rules")
            hears("Escape", lambda s: s.startswith("GO"), "after the bus restart Escape did not name GO")
            hears("Return", lambda s: W["turn"] in s, "after the bus restart no turn was heard", 30)
            Player(orca).tab()
            # Orca echoes a key only when the game hands it over first.
            if not any(s.strip().lower() == "tab" for s in orca.since(0)):
                fail("after the bus restart Orca heard no key")
            return verdict(orca)

        # The menu is a menu, and leaving it the reader is back on the table.
        hears("F10", lambda s: "menu" in s.lower(), "F10 did not say menu")
        # Each choice is heard with its state; the play rate starts at Middle.
        hears("Down", lambda s: "Play rate" in s, "Down did not go to the play rate")
        hears("Right", lambda s: s.startswith("Low") and W["unchecked"] in s, "the choice Low was not heard as not checked")
        hears("Down", lambda s: s.startswith("Middle") and W["checked"] in s and W["unchecked"] not in s,
              "the choice Middle was not heard as checked")
        key("Left")  # back to the play rate, silently
        orca.quiet(0.3)
        hears("Escape", lambda s: s.startswith("GO"), "after the menu the reader did not come back to GO")
        # The rules, line by line, and Escape closes them.
        hears("F1", lambda s: W["rules"] in s, "F1 did not speak the rules")
        hears("Down", lambda s: s.strip().lower() not in ("", "down"), "Down said nothing")  # a blank line
        hears("Down", lambda s: len(s) > 10, "Down did not read the first rule")
        hears("Escape", lambda s: s.startswith("GO"), "Escape did not close the rules")
        # Back on GO with Tab, the rules left open: Escape still names GO.
        hears("F1", lambda s: W["rules"] in s, "F1 did not speak the rules")
        hears("Tab", lambda s: s.startswith("GO"), "Tab did not leave the rules for GO")
        hears("Escape", lambda s: s.startswith("GO"), "Escape on the rules left behind said nothing")
        # A menu choice names the focus it comes back to: the fastest cards
        # (Up wraps round to the last speed) and the fastest play rate.
        hears("F10", lambda s: "menu" in s.lower(), "F10 did not say menu")
        key("Right")
        key("Up")
        hears("Return", lambda s: s.startswith("GO"), "after a menu choice the focus was not named")
        hears("F10", lambda s: "menu" in s.lower(), "F10 did not say menu")
        key("Down")
        key("Right")
        key("Down")
        key("Down")
        hears("Return", lambda s: s.startswith("GO"), "after a menu choice the focus was not named")

        games = steals = 0
        while True:
            mark = game_start = orca.mark()
            key("Return")
            result = None
            while time.monotonic() - started < 1200 and len(failures) < 5:
                said = orca.wait(mark, lambda s: W["turn"] in s or W["cont"] in s or W["match"] in s, 60)
                if said is None:
                    fail("neither a turn nor a result was heard")
                    break
                if W["turn"] not in said:
                    result = said
                    break
                orca.quiet()
                mark = player.move()
            if result is None:
                break
            games += 1
            heard = orca.since(game_start)
            moves = {who: sum(s.count(who) for s in heard) for who in player.moves}
            for who in player.moves:
                player.moves[who] += moves[who]
            steals += sum(W["stole"] in s for s in heard)
            results = [s for s in heard if W["result"] in s or "Control+N" in s]
            if moves[W["computer"]] != 18 or moves[W["you"]] != 18:
                fail("game %d: a game has 18 moves each; heard %s" % (games, moves))
            if not results or not any(s.startswith(("Game for", "The game finished")) for s in results):
                fail("game %d: the result was not heard with its key: %s" % (games, heard[-3:]))
            match_over = "Control+N" in result
            if match_over or games == GAMES:
                # Continue, or New Game once the match is over, names where
                # the keys are: GO for the next game.
                mark = orca.mark()
                key("ctrl+n" if match_over else "ctrl+Return")
                if orca.wait(mark, lambda s: s.startswith("GO"), 30) is None:
                    fail("after %s the focus was not named" % ("New Game" if match_over else "Continue"))
                orca.quiet()
                break
            mark = orca.mark()
            key("ctrl+Return")
            if orca.wait(mark, lambda s: s.startswith("GO"), 30) is None:
                fail("after Continue the focus was not named")
            orca.quiet()
        print("games %d; Tabs spoken/pressed: %d/%d; moves spoken: you %d, computer %d; steals heard %d, "
              "by you %d; selections %d; %.0f s" %
              (games, player.tabs_heard, player.tabs, player.moves[W["you"]], player.moves[W["computer"]],
               steals, player.steals, player.selections, time.monotonic() - started))
        if not steals:
            fail("no steal was heard")
        twice = said_twice(orca.since(0))
        print("said twice over: %d" % len(twice))
        for p, u in twice:
            fail("said twice over: %r, then %r" % (p, u))
    finally:
        stop(game)
        stop(orca_proc)
    return verdict(orca)


def verdict(orca):
    if failures:
        print("Heard:")
        for s in orca.since(0):
            print("   ", s)
        return 1
    print("PASS")
    return 0


sys.exit(main())
