#!/usr/bin/python3
"""An accessibility client looks at the running game over AT-SPI.

It starts the program, finds the "GO" push button among the window's
accessible objects, presses it through its accessible action (no mouse, no
key), and waits until the three cards of the human's hand are there, named
by rank and suit, and until the status line has told whose turn it is (heard
as a name-change event, as a screen reader hears it). With
ZT_A11Y_LANGUAGE=it it runs the program under an Italian locale and wants
every card it sees named in Italian. Run it inside a session bus with a
display, as run.sh does.
Exit 0 when all is seen, 1 when not, 77 when pyatspi is missing.
"""
import os
import re
import subprocess
import sys
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError:
    print("skipped: python3-pyatspi is not installed")
    sys.exit(77)

CARD = re.compile(r"^(Ace|Two|Three|Four|Five|Six|Seven|Knave|Knight|King) of (Coins|Cups|Clubs|Swords)$")
CARD_IT = re.compile(r"^(Asso|Due|Tre|Quattro|Cinque|Sei|Sette|Fante|Cavallo|Re) di (Denari|Coppe|Bastoni|Spade)$")
ITALIAN = os.environ.get("ZT_A11Y_LANGUAGE") == "it"


def walk(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def find_app(game, seconds):
    pid = game.pid
    end = time.monotonic() + seconds
    while time.monotonic() < end and game.poll() is None:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            try:
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.2)
    return None


def wait_for(app, test, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        app.clear_cache()
        found = [n for n in walk(app) if test(n)]
        if found:
            return found
        time.sleep(0.3)
    return []


def role(node):
    try:
        return node.getRole()
    except Exception:
        return None


def hand_cards(app):
    if ITALIAN:
        # The hand's three and the table's four, told apart by name alone.
        cards = [n for n in walk(app) if role(n) == pyatspi.ROLE_LIST_ITEM and (CARD.match(n.name) or CARD_IT.match(n.name))]
        return cards if len(cards) >= 7 else []
    cards = [n for n in walk(app) if role(n) == pyatspi.ROLE_LIST_ITEM and n.description == "In your hand"]
    return cards if len(cards) == 3 else []


def turn_told(heard):
    # The status line holds the latest news, the turn last.
    turns = ("Tocca a te", "Tocca al computer") if ITALIAN else ("Your turn", "Computer's turn")
    return any(t in h for h in heard for t in turns)


def main():
    program = sys.argv[1]
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               SDL_AUDIODRIVER="dummy", LANG="en_US.UTF-8", LC_ALL="", LANGUAGE="")
    if ITALIAN:
        env.update(LANG="it_IT.UTF-8", LANGUAGE="it")
    game = subprocess.Popen([program], env=env)
    try:
        app = find_app(game, 30)
        if app is None:
            print("FAIL: the program never showed up on the accessibility bus")
            return 1
        go = wait_for(app, lambda n: role(n) == pyatspi.ROLE_PUSH_BUTTON and n.name == "GO", 30)
        if not go:
            print("FAIL: no push button \"GO\"")
            return 1
        print('seen: push button "GO"')
        action = go[0].queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            print("FAIL: GO has no press action, only", names)
            return 1
        heard = []

        def on_name(event):
            try:
                if event.source.getRole() == pyatspi.ROLE_STATUS_BAR:
                    heard.append(event.source.name)
            except Exception:
                pass

        pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
        action.doAction(names.index("Press"))
        end = time.monotonic() + 60
        cards = []

        def tick():
            nonlocal cards
            app.clear_cache()
            cards = cards or hand_cards(app)
            told = turn_told(heard)
            if (cards and told) or time.monotonic() > end:
                pyatspi.Registry.stop()
                return False
            return True

        GLib.timeout_add(300, tick)
        pyatspi.Registry.start()
        print("heard:", " | ".join(heard) if heard else "nothing")
        if not cards:
            print("FAIL: the three hand cards never showed")
            return 1
        if not turn_told(heard):
            print("FAIL: the status line never told whose turn it is")
            return 1
        named = [c.name for c in cards]
        print("seen:", ", ".join(named))
        bad = [n for n in named if not (CARD_IT if ITALIAN else CARD).match(n)]
        if bad:
            print("FAIL: not named by rank and suit:", bad)
            return 1
        print("all seen")
        return 0
    finally:
        game.terminate()
        try:
            game.wait(10)
        except subprocess.TimeoutExpired:
            game.kill()


if __name__ == "__main__":
    sys.exit(main())
