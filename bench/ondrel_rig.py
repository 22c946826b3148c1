"""Helpers the rig benchmarks share: the rig itself, a program's CPU and memory from /proc,
its window through xdotool, and the null sink's monitor."""

import math
import os
import pathlib
import re
import shlex
import struct
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
TITLE = "Ondrel Metronome"
TICKS = os.sysconf("SC_CLK_TCK")


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


class Rig:
    """The caller's rig, or a private one for the length of the run."""

    def __init__(self):
        self.own_dir = None
        self.env = dict(os.environ)

    def __enter__(self):
        if "ONDREL_RIG_DIR" not in os.environ:
            self.own_dir = tempfile.mkdtemp(prefix="ondrel-load-rig-")
            started = run([str(ROOT / "scripts/rig"), "start"],
                          env={**os.environ, "RIG_DIR": self.own_dir})
            if started.returncode != 0:
                sys.exit("rig did not start: " + started.stderr.strip())
            for line in pathlib.Path(self.own_dir, "env").read_text().splitlines():
                key, _, value = line.removeprefix("export ").partition("=")
                self.env[key] = value
        return self

    def server_pid(self):
        """The rig's PulseAudio, whose CPU counts for the program that drives it."""
        folder = self.own_dir or os.environ["ONDREL_RIG_DIR"]
        return int(pathlib.Path(folder, "pulse.pid").read_text())

    def __exit__(self, *_):
        if self.own_dir:
            run([str(ROOT / "scripts/rig"), "stop"], env={**os.environ, "RIG_DIR": self.own_dir})
            subprocess.run(["rm", "-rf", self.own_dir])


def cpu_ticks(pid):
    # The command name may hold spaces and brackets: fields are counted after its ")".
    fields = pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime (all threads)


def resident_mb(pid):
    match = re.search(r"^VmRSS:\s+(\d+) kB", pathlib.Path(f"/proc/{pid}/status").read_text(),
                      re.MULTILINE)
    return int(match.group(1)) / 1024.0 if match else 0.0


def measure(pid, seconds):
    """CPU % of one core over the interval, and resident MB (mean, peak) sampled each 0.5 s."""
    start_ticks, start = cpu_ticks(pid), time.monotonic()
    samples = []
    while time.monotonic() - start < seconds:
        samples.append(resident_mb(pid))
        time.sleep(0.5)
    elapsed = time.monotonic() - start
    cpu = 100.0 * (cpu_ticks(pid) - start_ticks) / TICKS / elapsed
    return cpu, sum(samples) / len(samples), max(samples)


def cpu_percent(pids, seconds):
    """CPU % of one core of each process over the same interval."""
    return [cpu for cpu, _ in cpu_and_wakeups(pids, seconds)]


def context_switches(pid):
    """Times the threads of the process have been switched out: a count of its wakeups."""
    total = 0
    for status in pathlib.Path(f"/proc/{pid}/task").glob("*/status"):
        try:
            for line in status.read_text().splitlines():
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
        except OSError:  # a thread that ended meanwhile
            pass
    return total


def thread_usage(pid):
    """{thread id: (name, CPU ticks, context switches)} of the process's threads now."""
    usage = {}
    for task in pathlib.Path(f"/proc/{pid}/task").iterdir():
        try:
            stat = (task / "stat").read_text()
            fields = stat.rsplit(")", 1)[1].split()
            switches = sum(int(line.split()[1]) for line in (task / "status").read_text()
                           .splitlines() if line.startswith(("voluntary_ctxt_switches",
                                                             "nonvoluntary_ctxt_switches")))
            usage[task.name] = (stat[stat.index("(") + 1:stat.rindex(")")],
                                int(fields[11]) + int(fields[12]), switches)
        except OSError:  # a thread that ended meanwhile
            pass
    return usage


def print_thread_usage(before, after, seconds):
    """One line per thread that ran between the two thread_usage snapshots."""
    for tid, (name, ticks, switches) in sorted(after.items(), key=lambda item: int(item[0])):
        _, ticks0, switches0 = before.get(tid, (name, 0, 0))
        cpu, wakeups = 100.0 * (ticks - ticks0) / TICKS / seconds, (switches - switches0) / seconds
        if cpu > 0.0 or wakeups >= 1.0:
            print(f"  thread {name:16s} CPU {cpu:5.2f} %   {wakeups:6.1f} wakeups/s")


def cpu_and_wakeups(pids, seconds):
    """(CPU % of one core, context switches a second) of each process over the same interval.
    The switches are far less noisy than the CPU time on a shared machine."""
    ticks = [cpu_ticks(pid) for pid in pids]
    switches = [context_switches(pid) for pid in pids]
    start = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - start
    return [(100.0 * (cpu_ticks(pid) - t) / TICKS / elapsed,
             (context_switches(pid) - w) / elapsed) for pid, t, w in zip(pids, ticks, switches)]


def resident_by_mapping(pid):
    """Resident kB of each mapped file (or [heap], [anon], [stack]) of the process."""
    totals, name = {}, None
    for line in pathlib.Path(f"/proc/{pid}/smaps").read_text().splitlines():
        mapping = re.match(r"^[0-9a-f]+-[0-9a-f]+ \S+ \S+ \S+ \S+\s*(.*)$", line)
        if mapping:
            name = mapping.group(1) or "[anon]"
        elif line.startswith("Rss:"):
            totals[name] = totals.get(name, 0) + int(line.split()[1])
    return totals


def wait_for_window(env, process, log, timeout=20.0, title=TITLE):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if process.poll() is not None:
            sys.exit(f"the program ended with status {process.returncode} before its window "
                     f"came:\n{log.read_text()[-2000:] if log else ''}")
        found = run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], env=env)
        if found.stdout.split():
            return found.stdout.split()[0]
        time.sleep(0.1)
    sys.exit(f"no window named '{title}' within {timeout:.0f} s")


def geometry(env, window):
    shell = run(["xdotool", "getwindowgeometry", "--shell", window], env=env).stdout
    values = dict(line.split("=", 1) for line in shell.split())
    if "X" not in values:
        sys.exit(f"window {window} has gone")
    return {key: int(values[name]) for key, name in
            (("x", "X"), ("y", "Y"), ("width", "WIDTH"), ("height", "HEIGHT"))}


def expand(action, window, at):
    def point(match):
        base, fraction, size = match.group(1), float(match.group(2)), match.group(3)
        extent = at["width"] if size == "w" else at["height"]
        return str(int(at[base] + fraction * extent))

    action = re.sub(r"\{([xy])\+([0-9.]+)([wh])\}", point, action)
    return [part.format(window=window, **at) for part in shlex.split(action)]


def sink_peak(env, seconds=1.0):
    """The loudest sample on the default sink's monitor over the next `seconds` (0 to 1)."""
    samples = record_monitor(env, seconds)
    return max((abs(x) for x in samples), default=0) / 32768.0


def write_tone(path, notes, rate=44100):
    """16-bit mono samples of (frequency, seconds) pieces, phase-continuous across pieces."""
    samples, phase = [], 0.0
    for frequency, seconds in notes:
        for _ in range(int(seconds * rate)):
            samples.append(int(0.4 * 32767 * math.sin(phase)))
            phase += 2 * math.pi * frequency / rate
    pathlib.Path(path).write_bytes(struct.pack(f"<{len(samples)}h", *samples))


def play_into_sink(env, path):
    # A sound card's source delivers at the pace its recorders ask for; a null sink's monitor
    # delivers at the pace of whatever plays into the sink. A player with a 20 ms buffer made
    # the rig's source hand the tuner 5 ms pieces, three times the wake-ups a card would cause,
    # so the tone is played from a long buffer in long pieces.
    return subprocess.Popen(["pacat", "--raw", "--format=s16le", "--channels=1", "--rate=44100",
                             "--latency-msec=2000", "--process-time-msec=500", str(path)], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def record_monitor(env, seconds):
    """16-bit mono samples of the default sink's monitor over the next `seconds`."""
    wanted = int(44100 * seconds) * 2
    recorder = subprocess.Popen(
        ["parec", "--device=@DEFAULT_MONITOR@", "--raw", "--format=s16le", "--channels=1",
         "--rate=44100", "--latency-msec=20"], env=env, stdout=subprocess.PIPE,
        stderr=subprocess.DEVNULL)
    data = b""
    deadline = time.monotonic() + seconds + 5.0
    while len(data) < wanted and time.monotonic() < deadline:
        chunk = recorder.stdout.read1(wanted - len(data))
        if not chunk:
            break
        data += chunk
    recorder.kill()
    recorder.wait()
    count = len(data) // 2
    return struct.unpack(f"<{count}h", data[:2 * count])


def onsets(samples, loud=0.02 * 32768, quiet_before=1000):
    """Sample indexes where sound starts after at least `quiet_before` quiet samples. A sound
    already under way when the recording starts is none."""
    found, quiet = [], 0
    for i, value in enumerate(samples):
        if abs(value) > loud:
            if quiet >= quiet_before:
                found.append(i)
            quiet = 0
        else:
            quiet += 1
    return found
