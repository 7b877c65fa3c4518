#!/usr/bin/env python3
"""The song/FIFO swap race, on a display of its own.

Each run starts the game from a copy of the program folder, chooses songs
from the menu by keys or by a click on the menu strip while a thread swaps
five song files for FIFOs and back, and then presses Ctrl+Q (at times with
the menu or the Music submenu open). It prints how long the process took to
end. A process still running 2 s after Ctrl+Q leaves its threads' kernel
waits, its stacks, the X focus and the keys and focus changes the window was
sent (xev) in OUT/hang-RUN.txt; a second Ctrl+Q follows 3 s later.

Usage: race.py PROGRAM RUNS [DISPLAY] [OUT]
Needs Xvfb, openbox (WM=0 runs without), xdotool, xev and gdb. Under load
(busy loops) and on a sound server (SDL_AUDIODRIVER unset, a PipeWire of its
own) is where it matters; SDL_AUDIODRIVER=dummy otherwise.
"""
import os, random, shutil, subprocess, sys, tempfile, threading, time

program, runs = sys.argv[1], int(sys.argv[2])
disp = sys.argv[3] if len(sys.argv) > 3 else "57"
out = sys.argv[4] if len(sys.argv) > 4 else tempfile.mkdtemp(prefix="fiforace-")
os.makedirs(out + "/config", exist_ok=True)
pdir = tempfile.mkdtemp(prefix="fiforace-program-")
shutil.copy(program, pdir)
for sub in ("sounds", "music"):
    shutil.copytree(os.path.join(os.path.dirname(program), sub), os.path.join(pdir, sub))
music = os.path.join(pdir, "music")
pristine = tempfile.mkdtemp(prefix="fiforace-songs-")
SONGS = ["Humanoid", "Impact", "Go4yrgun", "Sevilana", "Bugs"]
for s in SONGS:
    shutil.copy(os.path.join(music, s + ".MID"), pristine)

env = dict(os.environ, DISPLAY=":" + disp, QT_QPA_PLATFORM="xcb", XDG_CONFIG_HOME=out + "/config")
if "XDG_RUNTIME_DIR" not in env:
    os.makedirs(out + "/runtime", mode=0o700, exist_ok=True)
    env["XDG_RUNTIME_DIR"] = out + "/runtime"
helpers = [subprocess.Popen(["Xvfb", ":" + disp, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
time.sleep(1)
if os.environ.get("WM", "1") == "1":
    helpers.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    time.sleep(1)


def put_back():
    for s in SONGS:
        p = os.path.join(music, s + ".MID")
        if os.path.lexists(p):
            os.unlink(p)
        shutil.copy(os.path.join(pristine, s + ".MID"), p)


def swap(stop):
    while not stop.is_set():
        for s in SONGS:
            p = os.path.join(music, s + ".MID")
            os.unlink(p)
            os.mkfifo(p)
            time.sleep(random.random() * 0.03)
            shutil.copy(os.path.join(pristine, s + ".MID"), p + ".new")
            os.rename(p + ".new", p)
        time.sleep(random.random() * 0.02)


def xdo(*args):
    subprocess.run(["xdotool", *args], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def windows():
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Zentolletto"], env=env,
                       capture_output=True, text=True)
    return r.stdout.split()


def say(cmd):
    return " ".join(cmd) + ":\n" + subprocess.run(cmd, env=env, capture_output=True, text=True).stdout


slow, unanswered, times = [], [], []
for run in range(1, runs + 1):
    put_back()
    stop = threading.Event()
    swapper = threading.Thread(target=swap, args=(stop,))
    swapper.start()
    game = subprocess.Popen([os.path.join(pdir, "zentolletto")], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    for _ in range(100):
        win = windows()
        if win:
            break
        time.sleep(0.1)
    if not win:
        print(f"run {run}: no window", flush=True)
        game.kill()
        game.wait()
        stop.set()
        swapper.join()
        continue
    win = win[0]
    xev = subprocess.Popen(["xev", "-id", win, "-event", "keyboard", "-event", "focus"], env=env,
                           stdout=open(out + "/xev", "w"), stderr=subprocess.DEVNULL)
    time.sleep(0.3)
    if random.random() < 0.3:  # GO: a game under way
        xdo("key", "Return")
        time.sleep(random.random())
    for _ in range(random.randint(1, 6)):
        if random.random() < 0.5:
            xdo("key", "--delay", "15", "F10", "m")
        else:
            xdo("mousemove", "--window", win, "10", "10", "click", "1")
            time.sleep(0.1)
            xdo("key", "m")
        xdo("key", "--delay", "5", *["Down"] * random.randint(1, 5))
        xdo("key", "Return")
        time.sleep(random.random() * 0.1)
    how = random.choice(["plain", "plain", "menu", "submenu"])
    if how != "plain":
        xdo("key", *(["F10"] if how == "menu" else ["F10", "m"]))
        time.sleep(0.05)
    start = time.monotonic()
    xdo("key", "ctrl+q")
    try:
        game.wait(2)
    except subprocess.TimeoutExpired:
        slow.append(run)
        # The kernel's view first: a program on its way out may not wait for
        # the rest.
        tasks = []
        for tid in os.listdir(f"/proc/{game.pid}/task"):
            task = f"/proc/{game.pid}/task/{tid}"
            try:
                state = [l for l in open(task + "/status") if l.startswith("State")][0].split(None, 1)[1].strip()
                tasks.append(f"{tid} {open(task + '/comm').read().strip()} {state}; syscall "
                            f"{open(task + '/syscall').read().strip()}\n{open(task + '/stack').read()}")
            except (OSError, IndexError):
                pass
        # A window still shown means QUIT never acted; a hidden one, that the
        # program is on its way out.
        shown = windows()
        if shown:
            unanswered.append(run)
        info = [f"run {run} ({how}): still running 2 s after Ctrl+Q; visible windows {shown}", *tasks]
        gdb = subprocess.run(["gdb", "-p", str(game.pid), "-batch", "-ex", "thread apply all bt"],
                             capture_output=True, text=True)
        info.append(gdb.stdout + gdb.stderr[-2000:])
        info.append(say(["xdotool", "getwindowfocus"]))
        info.append(say(["xprop", "-root", "_NET_ACTIVE_WINDOW"]))
        info.append("xev:\n" + open(out + "/xev").read()[-6000:])
        open(f"{out}/hang-{run}.txt", "w").write("\n".join(info))
        try:
            game.wait(3)
        except subprocess.TimeoutExpired:
            xdo("key", "ctrl+q")
            print(f"  run {run}: second Ctrl+Q", flush=True)
            try:
                game.wait(3)
            except subprocess.TimeoutExpired:
                game.kill()
                game.wait()
                print(f"  run {run}: killed", flush=True)
    ms = (time.monotonic() - start) * 1000
    times.append(ms)
    print(f"run {run} ({how}): exit {game.returncode} after {ms:.0f} ms", flush=True)
    xev.terminate()
    xev.wait()
    stop.set()
    swapper.join()

for h in reversed(helpers):
    h.terminate()
shutil.rmtree(pdir)
shutil.rmtree(pristine)
times.sort()
if times:
    print(f"{len(times)} runs, {len(slow)} still running 2 s after Ctrl+Q {slow}, "
          f"{len(unanswered)} of them with the window still shown {unanswered}; "
          f"median {times[len(times) // 2]:.0f} ms, slowest {times[-1]:.0f} ms; diagnostics in {out}")
