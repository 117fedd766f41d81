#!/usr/bin/env python3
"""Velotide's benchmarks: size, start-up, memory and rule costs against goals.

Run inside a Wine session (scripts/wine-session.sh BUILD python3 bench/run.py
BUILD), as `make bench` does. Prints a table and writes BUILD/bench/results.csv
(the raw runs behind the medians go to BUILD/bench/runs.csv).

Start-up and memory are ratios against the floor program (bench/floor.cpp),
measured side by side in this run: the floor and velotide.exe are started
strictly in turn (floor, velotide.exe with the test engine, floor,
velotide.exe with no runtime to find; BENCH_RUNS rounds, default 30). The
start-up ratio is the median, over both kinds of run, of each velotide.exe
run over the floor run just before it, which cancels part of the load other
work puts on the machine; the other figures are medians over the runs.

Every run of velotide.exe uses the same, fixed per-user data folder: the
bench prefix's Local AppData, holding config.ini with url=https://site.example,
the loader extracted by an unmeasured warm-up run and three site apps (with
their Start menu shortcuts, Settings > Apps entries and Run values, which
velotide.exe looks after at its start), so each run is the start-up of an
installed program, not a first start.

On the real engine (a headless Chromium of the bench's own, serving the demo
site), velotide.exe with the Chromium engine and the same Chromium by itself
are timed in turn (BENCH_RUNS rounds): velotide.exe from its start to the
first frame of the site it paints (the engine's log line "frame shown"), and
Chromium from asking over DevTools for a fresh browser context and page to the
first screencast frame of the same site, at the same size. The ratio is the
median of each velotide.exe run over the Chromium run just before it.
"""
import csv
import json
import os
import shutil
import statistics
import struct
import subprocess
import sys
import time
import urllib.request

import websocket

WINE = "/usr/lib/wine/wine64"
SIZE_GOAL = 256 * 1024
STARTUP_GOAL = 1.10
MEMORY_GOAL = 1.25
ENGINE_STARTUP_GOAL = 1.15
DEMO = "http://demo.velotide.test/"
LIVE = DEMO + "live.html"  # the demo site's busy page
SIGHT_SECONDS = 20
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll", "advapi32.dll", "msvcrt.dll"}
ENGINE_VERSION = "130.0.2849.80"
SITE = "https://site.example"
BENCH_APPS = 3


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def pe_facts(path):
    """(imported DLL names, stripped) of a PE32+ file."""
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError(f"{path}: not a PE file")
    sections_count, _, symbols_at, symbols_count, optional_size = struct.unpack_from("<HIIIH", data, pe + 6)
    optional = pe + 24
    if struct.unpack_from("<H", data, optional)[0] != 0x20B:
        raise ValueError(f"{path}: not PE32+")
    import_rva = struct.unpack_from("<I", data, optional + 112 + 8)[0]
    sections = []
    for i in range(sections_count):
        size, rva, raw_size, raw_at = struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
        sections.append((rva, max(size, raw_size), raw_at))

    def offset(rva):
        for start, size, raw_at in sections:
            if start <= rva < start + size:
                return raw_at + rva - start
        raise ValueError(f"{path}: RVA {rva:#x} outside every section")

    names = []
    at = offset(import_rva) if import_rva else None
    while at is not None:
        name_rva = struct.unpack_from("<I", data, at + 12)[0]
        if not name_rva:
            break
        name_at = offset(name_rva)
        names.append(data[name_at:data.index(b"\0", name_at)].decode("ascii"))
        at += 20
    return names, symbols_at == 0 and symbols_count == 0


def wine(*args, env=None):
    return subprocess.run([WINE, *args], env=env, capture_output=True, text=True, timeout=120)


def local_appdata():
    """Unix path of the prefix's Local AppData, where SHGetFolderPath points."""
    win = wine("cmd", "/c", "echo %LOCALAPPDATA%").stdout.strip()
    return wine("winepath", "-u", win).stdout.strip()


def launch(launcher, args, env):
    """One timed start: dict of the launcher's figures, or None on failure."""
    result = wine(launcher, *args, env=env)
    fields = dict(item.split("=", 1) for item in result.stdout.split() if "=" in item)
    if result.returncode != 0 or "error" in fields:
        print(f"  run failed ({fields.get('error', result.returncode)}): {' '.join(args)}", file=sys.stderr)
        return None
    return {k: float(v) for k, v in fields.items()}


def median(runs, key):
    return statistics.median(run[key] for run in runs)


def size_rows(build, row):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    built = os.path.join(build, "velotide.exe")
    shipped = os.path.join(repo, "dist", "velotide.exe")
    exe_bytes = open(built, "rb").read()
    same = os.path.exists(shipped) and open(shipped, "rb").read() == exe_bytes
    loader_bytes = open(os.path.join(build, "loader", "WebView2Loader.dll"), "rb").read()
    imports, stripped = pe_facts(built)
    facts = ["stripped" if stripped else "NOT stripped",
             "loader embedded" if loader_bytes in exe_bytes else "loader NOT embedded",
             "same as dist/velotide.exe" if same else "dist/velotide.exe differs: measured the build's"]
    row("velotide.exe size", f"{len(exe_bytes)} B ({len(exe_bytes) / 1024:.1f} KB)", "<= 256 KB",
        len(exe_bytes) <= SIZE_GOAL, "; ".join(facts))
    row("WebView2Loader.dll size", f"{len(loader_bytes)} B ({len(loader_bytes) / 1024:.1f} KB)",
        note="build/loader; part of the figure above")
    foreign = [name for name in imports if name.lower() not in SYSTEM_DLLS]
    row("velotide.exe imports", " ".join(imports), "system DLLs only", not foreign,
        "not system: " + " ".join(foreign) if foreign else "")


def timed_runs(build, rounds):
    """Results per program, and per velotide.exe run its ratio to the floor run just before it."""
    out = os.path.join(build, "bench")
    exe = win_path(os.path.join(build, "velotide.exe"))
    launcher = os.path.join(out, "velotide_bench_launch.exe")
    engine_root = os.path.join(out, "engine")
    engine_folder = os.path.join(engine_root, ENGINE_VERSION)
    os.makedirs(os.path.join(engine_folder, "EBWebView", "x64"), exist_ok=True)
    shutil.copy(os.path.join(build, "engines", "test", "EmbeddedBrowserWebView.dll"),
                os.path.join(engine_folder, "EBWebView", "x64"))
    data_dir = os.path.join(local_appdata(), "Velotide")
    os.makedirs(data_dir, exist_ok=True)
    with open(os.path.join(data_dir, "config.ini"), "wb") as config:
        config.write(f"url={SITE}\r\nblockAds=1\r\n".encode())
    # Site apps beside it, which it looks after at its start.
    apps = os.path.join(out, "velotide_bench_apps.exe")
    wine(apps, "remove")
    if wine(apps, "add", str(BENCH_APPS), exe).returncode != 0:
        sys.exit("bench: could not lay out the site apps")
    log = win_path(os.path.join(out, "engine.log"))

    def env(folder):
        return dict(os.environ, WEBVIEW2_BROWSER_EXECUTABLE_FOLDER=win_path(folder), VELOTIDE_TEST_ENGINE_LOG=log)

    programs = {
        "floor": (["--class", "VelotideBenchFloor", win_path(os.path.join(out, "velotide_bench_floor.exe"))],
                  env(engine_folder)),
        "engine": (["--quit-command", "106", "--log", log, "navigation started", exe], env(engine_folder)),
        "no runtime": (["--quit-command", "106", "--dialog", exe], env(os.path.join(engine_root, "none"))),
    }
    for args, environment in programs.values():  # warm-up: Wine's caches, the loader's extraction
        launch(launcher, args, environment)
    if not os.path.exists(os.path.join(data_dir, "WebView2Loader.dll")):
        sys.exit(f"bench: velotide.exe did not use {data_dir} as its data folder")

    # Strictly in turn, the floor before each run of velotide.exe; a failed
    # run drops its pair.
    print(f"Timing {rounds} rounds of floor, velotide.exe (engine), floor, velotide.exe (no runtime)...", flush=True)
    results = {name: [] for name in programs}
    pairs = {"engine": [], "no runtime": []}
    for _ in range(rounds):
        for name in pairs:
            base = launch(launcher, *programs["floor"])
            run = launch(launcher, *programs[name])
            if base and run:
                results["floor"].append(base)
                results[name].append(run)
                pairs[name].append(run["visible_ms"] / base["visible_ms"])
    if any(len(runs) <= rounds // 2 for runs in pairs.values()):
        sys.exit("bench: too many failed runs: " + ", ".join(f"{k} {len(v)}/{rounds}" for k, v in pairs.items()))
    with open(os.path.join(out, "runs.csv"), "w", newline="") as file:
        writer = csv.writer(file)
        writer.writerow(["program", "run", "visible_ms", "event_ms", "peak_ws"])
        for name, runs in results.items():
            writer.writerows([name, i, r["visible_ms"], r["event_ms"], int(r["peak_ws"])] for i, r in enumerate(runs))
    return results, pairs


def timing_rows(results, pairs, row):
    floor_ms, engine_ms, plain_ms = (median(results[name], "visible_ms") for name in ("floor", "engine", "no runtime"))
    row("floor: start to visible window", f"{floor_ms:.1f} ms", note=f"median, n={len(results['floor'])}")
    row("velotide.exe: start to visible window", f"{engine_ms:.1f} ms",
        note=f"median, n={len(results['engine'])}; engine registered, url={SITE}; {plain_ms:.1f} ms with no runtime")
    # Both kinds of run do the same until the window shows (the engine is
    # looked for only after it), so their pairs pool into one figure.
    ratio = statistics.median(pairs["engine"] + pairs["no runtime"])
    row("start-up ratio velotide/floor", f"{ratio:.3f}", f"<= {STARTUP_GOAL:.2f}", ratio <= STARTUP_GOAL,
        f"median of {len(pairs['engine']) + len(pairs['no runtime'])} paired ratios (engine "
        f"{statistics.median(pairs['engine']):.3f}, no runtime {statistics.median(pairs['no runtime']):.3f}); "
        f"ratio of medians {statistics.median([r['visible_ms'] for k in pairs for r in results[k]]) / floor_ms:.3f}")
    nav_ms = median(results["engine"], "event_ms")
    row("start to first Navigate at the engine", f"{nav_ms:.1f} ms",
        note=f"median; log line 'navigation started'; {nav_ms / floor_ms:.2f}x floor start-up")

    floor_ws, plain_ws, engine_ws = (median(results[name], "peak_ws") for name in ("floor", "no runtime", "engine"))
    row("floor: peak working set", mib(floor_ws), note="median")
    row("velotide.exe peak working set, no runtime", mib(plain_ws), note="median; read at its message box")
    row("peak working set ratio velotide/floor", f"{plain_ws / floor_ws:.3f}", f"<= {MEMORY_GOAL:.2f}",
        plain_ws / floor_ws <= MEMORY_GOAL, "no runtime found: engine not counted")
    row("peak working set ratio, test engine", f"{engine_ws / floor_ws:.3f}",
        note=f"{mib(engine_ws)}; engine loaded, after the first navigation")


class DevToolsClient:
    """A bench-side DevTools connection: commands in turn, events queued."""

    def __init__(self, endpoint):
        version = json.load(urllib.request.urlopen(f"http://{endpoint}/json/version", timeout=5))
        self.socket = websocket.create_connection(version["webSocketDebuggerUrl"], timeout=10, suppress_origin=True)
        self.next_id = 0
        self.events = []

    def receive(self, deadline):
        self.socket.settimeout(max(0.01, deadline - time.monotonic()))
        return json.loads(self.socket.recv())

    def call(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        self.socket.send(json.dumps(message))
        deadline = time.monotonic() + 10
        while True:
            reply = self.receive(deadline)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            self.events.append(reply)

    def wait_event(self, method, session, deadline, where=lambda params: True):
        while True:
            while self.events:
                event = self.events.pop(0)
                if event.get("method") == method and event.get("sessionId") == session and where(event["params"]):
                    return event["params"]
            self.events.append(self.receive(deadline))


def chromium_alone(client, width, height):
    """Chromium's own time, ms, from asking for a fresh page to its first frame of the demo site."""
    start = time.monotonic()
    context = client.call("Target.createBrowserContext", {"disposeOnDetach": True})["browserContextId"]
    target = client.call("Target.createTarget", {"url": "about:blank", "browserContextId": context})["targetId"]
    session = client.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
    client.call("Page.enable", session=session)
    client.call("Emulation.setDeviceMetricsOverride",
                {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False}, session)
    client.call("Page.startScreencast", {"format": "jpeg", "quality": 90}, session)
    client.events.clear()
    client.call("Page.navigate", {"url": DEMO}, session)
    deadline = time.monotonic() + 10
    client.wait_event("Page.frameNavigated", session, deadline, lambda p: "parentId" not in p["frame"])
    frame = client.wait_event("Page.screencastFrame", session, deadline)
    elapsed = (time.monotonic() - start) * 1000
    client.call("Page.screencastFrameAck", {"sessionId": frame["sessionId"]}, session)
    client.call("Target.closeTarget", {"targetId": target})
    client.call("Target.disposeBrowserContext", {"browserContextId": context})
    client.events.clear()
    return elapsed


def engine_runs(build, rounds):
    """Velotide on the Chromium engine and Chromium by itself, in turn, on the demo site."""
    out = os.path.join(build, "bench")
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    fixture = os.path.join(repo, "tests", "chromium", "fixture.sh")
    folder = os.path.join(out, "chromium")
    subprocess.run(["sh", fixture, "start", folder, "--site", os.path.join(repo, "docs", "demo-site")], check=True)
    try:
        endpoint = open(os.path.join(folder, "devtools")).read().strip()
        engine_folder = os.path.join(out, "chromium-engine", ENGINE_VERSION)
        os.makedirs(os.path.join(engine_folder, "EBWebView", "x64"), exist_ok=True)
        shutil.copy(os.path.join(build, "engines", "chromium", "EmbeddedBrowserWebView.dll"),
                    os.path.join(engine_folder, "EBWebView", "x64"))
        with open(os.path.join(local_appdata(), "Velotide", "config.ini"), "wb") as config:
            config.write(f"url={DEMO}\r\nblockAds=1\r\n".encode())
        log = win_path(os.path.join(out, "chromium-engine.log"))
        environment = dict(os.environ, WEBVIEW2_BROWSER_EXECUTABLE_FOLDER=win_path(engine_folder),
                           VELOTIDE_CHROMIUM_DEVTOOLS=endpoint, VELOTIDE_TEST_ENGINE_LOG=log)
        args = (["--quit-command", "106", "--log", log, "frame shown " + DEMO,
                 win_path(os.path.join(build, "velotide.exe"))], environment)
        launcher = os.path.join(out, "velotide_bench_launch.exe")
        launch(launcher, *args)  # warm-up; its log tells the view's size
        bounds = next(line for line in open(os.path.join(out, "chromium-engine.log")) if line.startswith("bounds "))
        width, height = (int(n) for n in bounds.split()[1].split(",")[2:])
        client = DevToolsClient(endpoint)
        chromium_alone(client, width, height)  # warm-up
        print(f"Timing {rounds} rounds of Chromium by itself, velotide.exe on the Chromium engine...", flush=True)
        alone, runs, ratios = [], [], []
        for _ in range(rounds):
            base = chromium_alone(client, width, height)
            run = launch(launcher, *args)
            if run:
                alone.append(base)
                runs.append(run)
                ratios.append(run["event_ms"] / base)
        if len(runs) <= rounds // 2:
            sys.exit(f"bench: too many failed runs on the Chromium engine: {len(runs)}/{rounds}")
        sight = out_of_sight_run(build, environment, os.path.join(folder, "chromium.pid"))
        return alone, runs, ratios, (width, height), sight
    finally:
        subprocess.run(["sh", fixture, "stop", folder])


def process_group_cpu(group):
    """Seconds of CPU the processes of a process group have used so far (user and system)."""
    ticks = 0
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            stat = open(f"/proc/{pid}/stat").read()
        except OSError:
            continue
        fields = stat[stat.rindex(")") + 2:].split()
        if int(fields[2]) == group:
            ticks += int(fields[11]) + int(fields[12])
    return ticks / os.sysconf("SC_CLK_TCK")


def wakeups(pid):
    """Times the process's threads have gone to sleep and woken so far (voluntary context switches):
    its main thread's and all of its threads'."""
    main = total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            status = open(f"/proc/{pid}/task/{tid}/status").read()
        except OSError:
            continue
        count = int(status.split("voluntary_ctxt_switches:")[1].split()[0])
        total += count
        main += count if tid == str(pid) else 0
    return main, total


def fresh_run(build, log_name, config, environment):
    """A run of velotide.exe with this config.ini and an engine log of its own: the log's path, and the
    environment that names it."""
    log = os.path.join(build, "bench", log_name)
    if os.path.exists(log):
        os.remove(log)
    with open(os.path.join(local_appdata(), "Velotide", "config.ini"), "wb") as file:
        file.write(config.encode())
    return log, dict(environment, VELOTIDE_TEST_ENGINE_LOG=win_path(log))


def wait_for_log(path, prefix, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if os.path.exists(path) and any(line.startswith(prefix) for line in open(path, encoding="utf-8")):
            return
        time.sleep(0.2)
    sys.exit(f"bench: no '{prefix}' in {path} within {seconds} s")


def out_of_sight_run(build, environment, group_file, sleep_after=1):
    """velotide.exe on the live board (a 10 ms timer and an animation): the CPU time Chromium's processes
    spend over SIGHT_SECONDS shown, minimised (memory target LOW) and, past sleepAfter=, suspended; and
    velotide.exe's own wake-ups meanwhile. With a test engine's environment (sleep_after 0), its
    wake-ups per minute while minimised and idle."""
    log, environment = fresh_run(build, "out-of-sight.log", f"url={LIVE}\r\nsleepAfter={sleep_after}\r\n",
                                 environment)
    driver = os.path.join(build, "tests", "velotide_driver.exe")
    program = subprocess.Popen([WINE, win_path(os.path.join(build, "velotide.exe"))], env=environment,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for_log(log, "page shown " + LIVE, 30)
        pid = program.pid  # wine64 runs the program in its own process
        group = int(open(group_file).read()) if group_file else None
        figures = {}

        def measure(name, seconds=SIGHT_SECONDS):
            time.sleep(2)  # what the change set going settles
            cpu, woken = process_group_cpu(group) if group else 0, wakeups(pid)
            time.sleep(seconds)
            now = wakeups(pid)
            figures[name] = {"cpu": (process_group_cpu(group) - cpu) if group else 0,
                             "main": (now[0] - woken[0]) * 60 / seconds, "all": (now[1] - woken[1]) * 60 / seconds}

        if group:
            measure("shown")
        wine(driver, "show", "VelotideMain", "6")
        wait_for_log(log, "memory target low", 10)
        measure("hidden", SIGHT_SECONDS if group else 60)
        if group:
            wait_for_log(log, "suspended", 90)
            measure("suspended")
        wine(driver, "command", "106")
        program.wait(30)
        return figures
    finally:
        if program.poll() is None:
            program.kill()


def engine_rows(alone, runs, ratios, size, floor_ms, row):
    alone_ms, velotide_ms = statistics.median(alone), median(runs, "event_ms")
    row("Chromium by itself: fresh page to first frame", f"{alone_ms:.1f} ms",
        note=f"median, n={len(alone)}; demo site at {size[0]}x{size[1]}, context and page made over DevTools")
    row("velotide.exe on the Chromium engine: start to first frame", f"{velotide_ms:.1f} ms",
        note=f"median, n={len(runs)}; process start to the site's first painted frame")
    ratio = statistics.median(ratios)
    row("start-up ratio velotide/Chromium", f"{ratio:.3f}", f"<= {ENGINE_STARTUP_GOAL:.2f}",
        ratio <= ENGINE_STARTUP_GOAL, f"median of {len(ratios)} paired ratios; ratio of medians "
        f"{velotide_ms / alone_ms:.3f}")
    row("start-up ratio beyond a process start", f"{(velotide_ms - floor_ms) / alone_ms:.3f}",
        note="(velotide.exe's figure less the floor's start to visible window) over Chromium's: what the "
        "program and its engine add once Wine has started a window program")
    row("velotide.exe peak working set, showing the site", mib(median(runs, "peak_ws")),
        note="median; Chromium engine loaded, Chromium's own processes not counted")


def sight_rows(sight, idle, row):
    shown = sight["shown"]["cpu"]
    row(f"Chromium's CPU time over {SIGHT_SECONDS} s, live board shown", f"{shown:.2f} s",
        note=f"{100 * shown / SIGHT_SECONDS:.0f} % of a core; demo site's live.html (10 ms timer, animation); "
        "all of Chromium's processes, from /proc")
    for name, what, goal in (("hidden", "minimised (memory target LOW)", None), ("suspended", "suspended", 0.02)):
        cpu = sight[name]["cpu"]
        row(f"Chromium's CPU time over {SIGHT_SECONDS} s, {what}", f"{cpu:.2f} s ({100 * cpu / shown:.1f} % of shown)",
            f"< {100 * goal:.0f} % of shown" if goal else "", cpu / shown < goal if goal else None,
            "sleepAfter=1, measured once the log said suspended" if goal else "the view hidden makes no frames")
    woken = idle["hidden"]
    row("velotide.exe wake-ups per minute, minimised and idle", f"{woken['main']:.1f} (all threads {woken['all']:.1f})",
        "none but the engine's", woken["main"] < 1, "test engine (nothing of its own runs); sleepAfter=0, so no timer "
        "is due; voluntary context switches of its threads, from /proc, over 60 s")
    woken = sight["suspended"]
    row("velotide.exe wake-ups per minute, suspended, Chromium engine", f"{woken['main']:.1f} (all threads "
        f"{woken['all']:.1f})", note="the engine's: its DevTools connection, a ping every 3 s")


def browsers_run(build, test_engine):
    """velotide.exe and its site apps started together on the test engine, as at a sign-in: the browsers
    their views run on, as the engine's log names them."""
    log, environment = fresh_run(build, "browsers.log", f"url={SITE}\r\n", test_engine)
    exe = win_path(os.path.join(build, "velotide.exe"))
    apps = [f"bench-app-{i}" for i in range(1, BENCH_APPS + 1)]
    programs = [subprocess.Popen([WINE, exe, *arguments], env=environment, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL) for arguments in [[]] + [["--app", app] for app in apps]]
    try:
        deadline = time.monotonic() + 60
        lines = []
        while time.monotonic() < deadline:
            lines = open(log, encoding="utf-8").read().splitlines() if os.path.exists(log) else []
            if sum(line.startswith("page shown") for line in lines) >= len(programs):
                break
            time.sleep(0.5)
        names = {line.split()[3] for line in lines if line.startswith("view on browser ")}
        shown = sum(line.startswith("page shown") for line in lines)
        driver = os.path.join(build, "tests", "velotide_driver.exe")
        for window in ["VelotideMain"] + [f"VelotideMain.App.{app}" for app in apps]:
            wine(driver, "command", "106", window)
        for program in programs:
            program.wait(30)
        return len(names), shown
    finally:
        for program in programs:
            if program.poll() is None:
                program.kill()


def browsers_rows(browsers, row):
    count, shown = browsers
    row(f"browsers for velotide.exe and {BENCH_APPS} site apps", str(count), "1", count == 1,
        f"test engine; the browsers the views run on, {shown} views showing their site; all started at once")


def apps_rows(build, row):
    apps = os.path.join(build, "bench", "velotide_bench_apps.exe")
    result = wine(apps, "time")
    wine(apps, "remove")
    if result.returncode != 0:
        sys.exit(f"bench: velotide_bench_apps.exe failed ({result.returncode}): {result.stderr.strip()}")
    name, value = result.stdout.split()
    row(f"{name}: site apps looked after at start", f"{float(value) / 1000:.2f} ms",
        note=f"median of 21 calls, {BENCH_APPS} apps (folders, shortcuts, entries, Run values read; nothing "
        "to rewrite); after the window shows, so in the first Navigate's figure, not the start-up ratio")


def rule_rows(build, row):
    result = wine(os.path.join(build, "bench", "velotide_bench_rules.exe"))
    if result.returncode != 0:
        sys.exit(f"bench: velotide_bench_rules.exe failed ({result.returncode}): {result.stderr.strip()}")
    for line in result.stdout.splitlines():
        name, value = line.split()
        row(f"{name} per call", f"{float(value):.1f} ns", note="median of 11 rounds, realistic inputs")


def mib(value):
    return f"{value / 1048576:.2f} MiB"


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    rounds = int(os.environ.get("BENCH_RUNS", "30"))
    rows = []

    def row(figure, value, goal="", ok=None, note=""):
        rows.append((figure, value, goal, "info" if ok is None else "ok" if ok else "MISSED", note))

    size_rows(build, row)
    results, pairs = timed_runs(build, rounds)
    timing_rows(results, pairs, row)
    test_engine = dict(os.environ, WEBVIEW2_BROWSER_EXECUTABLE_FOLDER=win_path(
        os.path.join(build, "bench", "engine", ENGINE_VERSION)))
    idle = out_of_sight_run(build, test_engine, None, sleep_after=0)
    browsers = browsers_run(build, test_engine)
    alone, runs, ratios, size, sight = engine_runs(build, rounds)
    engine_rows(alone, runs, ratios, size, median(results["floor"], "visible_ms"), row)
    sight_rows(sight, idle, row)
    browsers_rows(browsers, row)
    apps_rows(build, row)
    rule_rows(build, row)

    header = ("Figure", "Value", "Goal", "Status", "Note")
    path = os.path.join(build, "bench", "results.csv")
    with open(path, "w", newline="") as file:
        writer = csv.writer(file)
        writer.writerow([cell.lower() for cell in header])
        writer.writerows(rows)
    widths = [max(len(r[i]) for r in [header] + rows) for i in range(len(header))]
    for r in [header] + rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(r, widths)).rstrip())
    print(f"Written to {path}")


if __name__ == "__main__":
    main()
