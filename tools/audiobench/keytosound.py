#!/usr/bin/env python3
"""zentolletto key-to-sound benchmark.

Measures, on one PulseAudio-compatible sound server, how long after the key
that plays a card its rustle reaches the sink, and next to it how long plain
clients take to sound the same file: paplay started at a known moment (a
program starting, connecting and playing) and pacat with its stream already
open, given the samples at a known moment (what the server itself needs at a
latency of 10 ms). All are read off the same recording of the sink's
monitor, so what the recording itself adds is the same on every side.

    tools/audiobench/keytosound.py BUILD_DIR [--plays N] [--seeds N] [--busy N]
    tools/audiobench/keytosound.py BUILD_DIR --music SECONDS [--busy N]

BUILD_DIR holds the built program and its sounds/. Without PULSE_SERVER the
benchmark starts its own PipeWire, WirePlumber and pipewire-pulse with a null
sink (packages pipewire pipewire-pulse wireplumber pulseaudio-utils dbus-bin),
and the game runs in its own Xvfb (xvfb); keys go in through XTEST.
--busy N keeps N processes spinning beside it, one per core for "busy".
The music is left out (the game runs from a copy of its folder without
music/) so that only the rustle sounds.

--music plays the game's music instead, for that long after GO, and counts
the times the server found the game's stream empty (pipewire-pulse's
"underrun", each one a gap in the music); it needs the server of its own.
"""
import argparse
import ctypes
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import wave

RATE = 48000
CHANNELS = 2
THRESHOLD = 200  # of 32767: the null sink is digital silence between sounds


class Recorder:
    """The sink's monitor, with the moment each sample was heard."""

    def __init__(self, env):
        self.proc = subprocess.Popen(
            ["parec", "-d", "@DEFAULT_SINK@.monitor", "--raw", "--format=s16le", f"--rate={RATE}",
             f"--channels={CHANNELS}", "--latency-msec=30"], stdout=subprocess.PIPE, env=env)
        self.lock = threading.Lock()
        self.frames = bytearray()
        self.arrivals = []  # (moment, frames so far) at each read
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        frame_bytes = 2 * CHANNELS
        fd = self.proc.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            now = time.monotonic()
            if not chunk:
                return
            with self.lock:
                self.frames += chunk
                self.arrivals.append((now, len(self.frames) // frame_bytes))

    def onset_after(self, t0, within):
        """How long after t0 the first sound after it was heard, or None."""
        time.sleep(within + 0.4)
        with self.lock:
            data = bytes(self.frames)
            arrivals = list(self.arrivals)
        # What had arrived by t0 was heard before it.
        first = max([end for now, end in arrivals if now <= t0], default=0)
        last = max([end for now, end in arrivals if now <= t0 + within], default=0)
        samples = memoryview(data).cast("h")
        for i in range(first, last):
            if abs(samples[2 * i]) > THRESHOLD or abs(samples[2 * i + 1]) > THRESHOLD:
                # Frame i was heard at the latest (frames after it) before a
                # read that brought it arrived; the soonest such read of the
                # next 0.3 s bounds it closest. The recording's own delay is
                # in every number alike.
                reads = [(now, end) for now, end in arrivals if end > i]
                soonest = reads[0][0]
                return min(now - (end - i) / RATE for now, end in reads if now <= soonest + 0.3) - t0
        return None

    def quiet_for(self, seconds):
        with self.lock:
            data = memoryview(bytes(self.frames[-int(seconds * RATE) * 4:])).cast("h")
        return len(data) >= int(seconds * RATE) * 2 and all(abs(s) <= THRESHOLD for s in data)

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


class Keys:
    """Key presses into an X display through XTEST, stamped as they are sent."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x.XStringToKeysym.restype = ctypes.c_ulong
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            sys.exit(f"cannot open display {display}")

    def press(self, name):
        code = self.x.XKeysymToKeycode(self.dpy, self.x.XStringToKeysym(name.encode()))
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        self.x.XFlush(self.dpy)
        sent = time.monotonic()
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        self.x.XFlush(self.dpy)
        return sent


def start_server(tmp, env):
    env["XDG_RUNTIME_DIR"] = os.path.join(tmp, "run")
    os.mkdir(env["XDG_RUNTIME_DIR"], 0o700)
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                         capture_output=True, text=True, env=env, check=True).stdout.split()
    env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
    procs = [int(bus[1])]
    for prog in ["pipewire", "wireplumber"]:
        procs.append(subprocess.Popen([prog], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).pid)
        time.sleep(0.5)
    # Its debug lines tell each stream the server found empty.
    with open(os.path.join(tmp, "pulse.log"), "w") as log:
        procs.append(subprocess.Popen(["pipewire-pulse"], env=dict(env, PIPEWIRE_DEBUG="mod.protocol-pulse:4"),
                                      stdout=subprocess.DEVNULL, stderr=log).pid)
    for _ in range(100):
        if subprocess.run(["pactl", "info"], env=env, capture_output=True).returncode == 0:
            break
        time.sleep(0.1)
    subprocess.run(["pactl", "load-module", "module-null-sink", "sink_name=bench_null"], env=env,
                   capture_output=True, check=True)
    subprocess.run(["pactl", "set-default-sink", "bench_null"], env=env, check=True)
    time.sleep(0.5)
    return procs


def quantiles(values):
    if len(values) < 2:
        return "n/a"
    q = statistics.quantiles(values, n=4)
    return f"median {statistics.median(values) * 1000:.0f} ms (quartiles {q[0] * 1000:.0f}, {q[2] * 1000:.0f}; n={len(values)})"


def music_gaps(folder, env, keys, args):
    log = os.path.join(env["HOME"], "pulse.log")
    proc = subprocess.Popen([os.path.join(folder, "zentolletto"), "--seed", "1"], env=env, stderr=subprocess.DEVNULL)
    time.sleep(3)
    keys.press("Return")  # GO: the theme starts with the shuffle
    time.sleep(3)
    with open(log, errors="replace") as f:
        f.seek(0, os.SEEK_END)
        time.sleep(args.music)
        lines = [line for line in f if "underrun" in line and "zentolletto" in line.lower()]
    proc.send_signal(signal.SIGTERM)
    proc.wait(timeout=10)
    load = f"busy ({args.busy} spinning)" if args.busy else "quiet"
    print(f"{load}: {len(lines)} underruns of the game's stream in {args.music:.0f} s of music")
    for line in lines[:5]:
        print("  " + line.strip())


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("build")
    ap.add_argument("--plays", type=int, default=3, help="card plays per seed")
    ap.add_argument("--seeds", type=int, default=5)
    ap.add_argument("--busy", type=int, default=0, help="spinning processes beside the game")
    ap.add_argument("--think", type=float, default=2.0, help="seconds of silence before each key, as a player thinks")
    ap.add_argument("--music", type=float, default=0, help="seconds of music to check for gaps instead")
    args = ap.parse_args()
    if args.music and "PULSE_SERVER" in os.environ:
        sys.exit("--music needs a server of its own: unset PULSE_SERVER")

    build = os.path.abspath(args.build)
    tmp = tempfile.mkdtemp(prefix="keytosound.")
    env = dict(os.environ, HOME=tmp, XDG_CONFIG_HOME=os.path.join(tmp, "config"))
    env.pop("SDL_AUDIODRIVER", None)
    owned = []
    spinners = []
    try:
        if "PULSE_SERVER" not in os.environ:
            owned += start_server(tmp, env)
        # The program keeps its files beside itself: a copy with sounds/ only.
        folder = os.path.join(tmp, "game")
        os.mkdir(folder)
        shutil.copy2(os.path.join(build, "zentolletto"), folder)
        shutil.copytree(os.path.join(build, "sounds"), os.path.join(folder, "sounds"))
        if args.music:
            shutil.copytree(os.path.join(build, "music"), os.path.join(folder, "music"))
        wav = os.path.join(folder, "sounds", "carta.wav")
        display = ":%d" % (90 + os.getpid() % 100)
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        owned.append(xvfb.pid)
        time.sleep(1)
        env["DISPLAY"] = display
        env.pop("WAYLAND_DISPLAY", None)
        env["QT_QPA_PLATFORM"] = "xcb"
        for _ in range(args.busy):
            spinners.append(subprocess.Popen([sys.executable, "-c", "while True: pass"]))
        keys = Keys(display)
        if args.music:
            return music_gaps(folder, env, keys, args)
        rec = Recorder(env)
        time.sleep(1)

        plain = []
        for _ in range(args.plays * args.seeds):
            while not rec.quiet_for(0.5):
                time.sleep(0.1)
            t0 = time.monotonic()
            subprocess.Popen(["paplay", wav], env=env).wait()
            d = rec.onset_after(t0, 1.0)
            if d is not None:
                plain.append(d)

        with wave.open(wav) as w:
            pcm = w.readframes(w.getnframes())
            fmt = [f"--rate={w.getframerate()}", f"--channels={w.getnchannels()}"]
        warm = []
        for _ in range(args.plays * args.seeds):
            pacat = subprocess.Popen(["pacat", "--raw", "--format=s16le", "--latency-msec=10"] + fmt,
                                     stdin=subprocess.PIPE, env=env)
            time.sleep(1)  # connected, its stream open and empty
            while not rec.quiet_for(0.5):
                time.sleep(0.1)
            t0 = time.monotonic()
            pacat.stdin.write(pcm)
            pacat.stdin.flush()
            d = rec.onset_after(t0, 1.0)
            pacat.stdin.close()
            pacat.wait()
            if d is not None:
                warm.append(d)

        game = []
        for seed in range(1, args.seeds + 1):
            proc = subprocess.Popen([os.path.join(folder, "zentolletto"), "--seed", str(seed)], env=env,
                                    stderr=subprocess.DEVNULL)
            time.sleep(3)
            keys.press("Return")  # GO
            got = 0
            tries = 0
            while got < args.plays and tries < args.plays * 8 and proc.poll() is None:
                tries += 1
                # The player's turn: the table has been quiet a while.
                deadline = time.monotonic() + 20
                while not rec.quiet_for(args.think) and time.monotonic() < deadline:
                    time.sleep(0.1)
                # Return plays the focused card; on anything else, Right moves on.
                t0 = keys.press("Return")
                d = rec.onset_after(t0, 0.6)
                if d is None:
                    keys.press("Right")
                    time.sleep(0.3)
                    continue
                game.append(d)
                got += 1
            proc.send_signal(signal.SIGTERM)
            proc.wait(timeout=10)

        rec.stop()
        load = f"busy ({args.busy} spinning)" if args.busy else "quiet"
        print(f"{load}: key to rustle: {quantiles(game)}")
        print(f"{load}: paplay start to sound: {quantiles(plain)}")
        print(f"{load}: pacat (stream open) samples to sound: {quantiles(warm)}")
    finally:
        for s in spinners:
            s.kill()
        for pid in reversed(owned):
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        time.sleep(0.5)
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    main()
