#!/usr/bin/env python3
"""What the game costs a player's machine, beside a peer game in the same run.

Starts an X server (Xvfb) of its own, then the game (SDL's dummy audio driver)
and walks it through the main menu, a level left alone and the pause menu;
then the reference game (gweled from Debian, its sound sent to an ALSA null
device). For every state it prints the CPU share of one core, the resident
memory, the threads and the frames per second (the window's damage reports
counted by bench/frame_counter.c), and the game's ratio to the reference.
It also times the game's start to its first frame on a second run.

    python3 bench/game_vs_reference.py [--game build/vovaro] [--seconds 10]

Needs xdotool and the X damage library's headers (apt-get install xdotool
libxdamage-dev xvfb gweled); it names the Debian packages it misses.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TICKS = os.sysconf('SC_CLK_TCK')


def cpu_ticks(pid):
    with open(f'/proc/{pid}/stat') as f:
        fields = f.read().rsplit(')', 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def status(pid):
    out = {}
    with open(f'/proc/{pid}/status') as f:
        for line in f:
            key, _, value = line.partition(':')
            out[key] = value.strip()
    return int(out['VmRSS'].split()[0]) // 1024, int(out['Threads'])


def poll(what, condition, limit=60.0, step=0.05):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    sys.exit(f'gave up waiting for {what}')


def missing_packages(reference):
    """The Debian packages of what the bench needs and does not find."""
    needs = [
        ('xvfb', shutil.which('Xvfb')),
        ('xdotool', shutil.which('xdotool')),
        ('gcc', shutil.which('cc')),
        # frame_counter.c is built against the X damage extension.
        ('libxdamage-dev', os.path.exists('/usr/include/X11/extensions/Xdamage.h')),
        ('gweled', os.access(reference, os.X_OK)),
    ]
    return [package for package, found in needs if not found]


class Bench:
    def __init__(self, args):
        self.args = args
        self.display = args.display
        self.work = tempfile.mkdtemp(prefix='vovaro-bench-')
        self.counter = os.path.join(self.work, 'frame_counter')
        subprocess.run(['cc', '-O2', '-o', self.counter, os.path.join(HERE, 'frame_counter.c'), '-lX11', '-lXdamage'],
                       check=True)
        self.xvfb = subprocess.Popen(['Xvfb', self.display, '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        poll('the X server', lambda: subprocess.run(['xdpyinfo', '-display', self.display] if shutil.which('xdpyinfo')
                                                    else ['xwininfo', '-display', self.display, '-root'],
                                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0)
        self.rows = []

    def env(self, **extra):
        env = dict(os.environ, DISPLAY=self.display)
        env.update(extra)
        return env

    def window_of(self, proc, name):
        def find():
            r = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', name], env=self.env(),
                               capture_output=True, text=True)
            ids = r.stdout.split()
            return ids[-1] if ids else None
        return poll(f'the window "{name}"', find)

    def xdo(self, *cmd):
        subprocess.run(['xdotool', *cmd], env=self.env(), check=True)

    def click(self, win, x, y):
        # Down and up a few frames apart, as a hand clicks.
        self.xdo('mousemove', '--window', win, str(x), str(y), 'mousedown', '1', 'sleep', '0.15', 'mouseup', '1')

    def measure(self, who, state, proc, win):
        seconds = self.args.seconds
        ticks = cpu_ticks(proc.pid)
        start = time.monotonic()
        counter = subprocess.run([self.counter, self.display, win, str(seconds)], capture_output=True, text=True,
                                 check=True)
        wall = time.monotonic() - start
        cpu = 100.0 * (cpu_ticks(proc.pid) - ticks) / TICKS / wall
        rss, threads = status(proc.pid)
        fps = float(counter.stdout.strip())
        self.rows.append((who, state, cpu, rss, threads, fps, os.getloadavg()[0]))
        print(f'{who:10} {state:16} cpu {cpu:5.1f}%  rss {rss:4d} MB  threads {threads:2d}  fps {fps:5.1f}  '
              f'load {os.getloadavg()[0]:.1f}', flush=True)

    def start_game(self, data_home):
        env = self.env(SDL_AUDIODRIVER='dummy', XDG_DATA_HOME=data_home, XDG_RUNTIME_DIR=data_home)
        launched = time.monotonic()
        proc = subprocess.Popen([self.args.game], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return proc, launched

    def run_game(self):
        data_home = os.path.join(self.work, 'game-data')
        os.makedirs(data_home)
        proc, _ = self.start_game(data_home)
        try:
            win = self.window_of(proc, 'Tolvan Vovaro')
            time.sleep(self.args.splash)  # the splash screens, then the name dialog of a first run
            self.xdo('type', '--window', win, '--delay', '80', 'Bench')
            self.xdo('key', '--window', win, 'Return')
            time.sleep(2)
            self.measure('game', 'main menu', proc, win)
            self.click(win, 400, 443)  # Play
            time.sleep(3)
            self.measure('game', 'episode selector', proc, win)
            self.click(win, 634, 331)  # Play the episode
            # The birds fly in before the episode's welcome shows; its Play
            # closes it (a click before it shows would be lost).
            time.sleep(self.args.welcome)
            self.click(win, 530, 443)
            time.sleep(3)
            self.measure('game', 'level alone', proc, win)
            self.xdo('key', '--window', win, 'Escape')
            time.sleep(2)
            self.measure('game', 'paused', proc, win)
        finally:
            proc.terminate()
            proc.wait(timeout=20)
        # A second run: the first frame after launch (the damage counter
        # reports when the window first shows something).
        proc, launched = self.start_game(data_home)
        try:
            win = self.window_of(proc, 'Tolvan Vovaro')
            subprocess.run([self.counter, self.display, win, '--first'], capture_output=True, text=True, check=True)
            self.first_frame = time.monotonic() - launched
            print(f'game       first frame of a second run {self.first_frame:.2f} s after launch', flush=True)
        finally:
            proc.terminate()
            proc.wait(timeout=20)

    def run_reference(self):
        home = os.path.join(self.work, 'reference-home')
        os.makedirs(home)
        with open(os.path.join(home, '.asoundrc'), 'w') as f:
            f.write('pcm.!default { type null }\nctl.!default { type hw card 0 }\n')
        proc = subprocess.Popen([self.args.reference], env=self.env(HOME=home), cwd=home,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            win = self.window_of(proc, 'Gweled')
            time.sleep(3)
            self.measure('reference', 'in play', proc, win)
        finally:
            proc.terminate()
            proc.wait(timeout=20)

    def report(self):
        ref = next(r for r in self.rows if r[0] == 'reference')
        print(f'\n{os.cpu_count()} cores; load average (1 min) during the run: '
              f'{min(r[6] for r in self.rows):.1f} to {max(r[6] for r in self.rows):.1f}')
        print('| state | game cpu % | reference cpu % | ratio | game MB | reference MB | ratio | game threads | '
              'game fps | reference fps |')
        print('|---|---|---|---|---|---|---|---|---|---|')
        for who, state, cpu, rss, threads, fps, _ in self.rows:
            if who != 'game':
                continue
            print(f'| {state} | {cpu:.1f} | {ref[2]:.1f} | {cpu / max(ref[2], 0.1):.1f} | {rss} | {ref[3]} | '
                  f'{rss / max(ref[3], 1):.1f} | {threads} | {fps:.1f} | {ref[5]:.1f} |')

    def close(self):
        self.xvfb.terminate()
        self.xvfb.wait(timeout=20)
        shutil.rmtree(self.work, ignore_errors=True)


def main():
    root = os.path.dirname(HERE)
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument('--game', default=os.path.join(root, 'build', 'vovaro'))
    p.add_argument('--reference', default='/usr/games/gweled')
    p.add_argument('--display', default=':97')
    p.add_argument('--seconds', type=float, default=10.0, help='length of each measurement')
    p.add_argument('--splash', type=float, default=9.0, help='seconds the splash screens take')
    p.add_argument('--welcome', type=float, default=8.0, help='seconds from the episode to its welcome')
    args = p.parse_args()
    missing = missing_packages(args.reference)
    if missing:
        sys.exit('missing: ' + ' '.join(missing) + '; install with: apt-get install ' + ' '.join(missing))
    bench = Bench(args)
    try:
        bench.run_game()
        bench.run_reference()
        bench.report()
    finally:
        bench.close()


if __name__ == '__main__':
    main()
