"""Runs Orca with its debug file line-buffered, so that what it says can be
read while it runs. Usage: orca_linebuffered.py --debug-file=FILE [orca options]"""
import builtins
import runpy
import sys

debug_file = next(a.split("=", 1)[1] for a in sys.argv[1:] if a.startswith("--debug-file="))
_open = builtins.open


def _line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if mode == "w" and str(file) == debug_file:
        buffering = 1
    return _open(file, mode, buffering, *args, **kwargs)


builtins.open = _line_buffered
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
