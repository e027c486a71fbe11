#!/usr/bin/env python3
"""Start-up to the first window: Portico beside an empty Qt main window.

Builds three Wine prefixes in a temporary folder (the demo prefix; Wine's own system.reg of
about 1.7 MB; the same grown to 20 MB with COM classes, interfaces, type libraries and
uninstall entries, in the order Wine writes keys), then starts the empty window and Portico on
each prefix in turn under Xvfb, 11 rounds by default. Each run is timed from just before the
process starts to its first mapped window, and its peak memory (maximum resident set size) is
taken. Prints the medians, the ratio of each to the empty window, and the memory above the
empty window beside the size of the hive files.

Needs: Xvfb, a release build (made with the release preset when missing), and Wine's own
system.reg and user.reg: from --wine-samples (default ../shared/wine-samples beside the
checkout), else from a prefix that wineboot makes.
"""

import argparse
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import uuid

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LARGE_SIZE = 20 << 20


def build(build_dir):
    targets = ["portico", "empty_window", "first_window_timer"]
    if not os.path.isdir(build_dir):
        subprocess.run(["cmake", "--preset", "release"], cwd=ROOT, check=True)
    subprocess.run(["cmake", "--build", build_dir, "--target", *targets], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)
    return {
        "portico": os.path.join(build_dir, "src", "portico"),
        "empty": os.path.join(build_dir, "bench", "startup", "empty_window"),
        "timer": os.path.join(build_dir, "bench", "startup", "first_window_timer"),
    }


def wine_hives(samples, scratch):
    """Wine's own system.reg and user.reg: the samples, or a prefix made by wineboot."""
    if os.path.isfile(os.path.join(samples, "system.reg")):
        return os.path.join(samples, "system.reg"), os.path.join(samples, "user.reg")
    if not shutil.which("wineboot"):
        sys.exit(f"no system.reg in {samples} and no wineboot to make one")
    prefix = os.path.join(scratch, "wineboot")
    env = dict(os.environ, WINEPREFIX=prefix, WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)
    subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=300)
    subprocess.run(["wineserver", "-w"], env=env, check=True, timeout=300)
    return os.path.join(prefix, "system.reg"), os.path.join(prefix, "user.reg")


def sort_key(block):
    """Wine's order of keys: depth first, names compared in lower case."""
    name = block[1:block.index("]")] if "]" in block else block
    return [part.lower() for part in name.split("\\\\")]


def com_blocks(count, seed=1796855029):
    """Keys that installed programs add: COM classes with their servers and ProgIDs,
    interfaces, type libraries, 32-bit twins under Wow6432Node, and uninstall entries."""
    rng = random.Random(seed)
    vendors = ["Contoso", "Fabrikam", "Northwind", "Adatum", "Litware", "Proseware", "Tailspin",
               "Wingtip", "Woodgrove", "Humongous"]
    blocks = []

    def guid():
        return "{" + str(uuid.UUID(int=rng.getrandbits(128))).upper() + "}"

    def block(path, *values):
        seconds = 1796855029 + rng.randrange(600)
        filetime = (seconds + 11644473600) * 10000000 + rng.randrange(10000000)
        lines = [f"[{path}] {seconds}", f"#time={filetime:x}", *values]
        blocks.append("\n".join(lines) + "\n")

    for i in range(count):
        vendor = vendors[i % len(vendors)]
        product = f"Component{i:05d}"
        clsid, iid, libid = guid(), guid(), guid()
        dll = f"C:\\\\Program Files\\\\{vendor}\\\\{product}\\\\{product.lower()}.dll"
        progid = f"{vendor}.{product}"
        for classes in ("Software\\\\Classes", "Software\\\\Classes\\\\Wow6432Node"):
            base = f"{classes}\\\\CLSID\\\\{clsid}"
            block(base, f'@="{vendor} {product} Class"', '"AppID"="' + clsid + '"')
            block(base + "\\\\InprocServer32", f'@="{dll}"', '"ThreadingModel"="Apartment"')
            block(base + "\\\\ProgID", f'@="{progid}.1"')
            block(base + "\\\\VersionIndependentProgID", f'@="{progid}"')
            block(base + "\\\\TypeLib", f'@="{libid}"')
        block(f"Software\\\\Classes\\\\{progid}", f'@="{vendor} {product} Class"')
        block(f"Software\\\\Classes\\\\{progid}\\\\CLSID", f'@="{clsid}"')
        block(f"Software\\\\Classes\\\\{progid}\\\\CurVer", f'@="{progid}.1"')
        block(f"Software\\\\Classes\\\\Interface\\\\{iid}", f'@="I{product}"')
        block(f"Software\\\\Classes\\\\Interface\\\\{iid}\\\\ProxyStubClsid32",
              '@="{00020424-0000-0000-C000-000000000046}"')
        block(f"Software\\\\Classes\\\\Interface\\\\{iid}\\\\TypeLib", f'@="{libid}"',
              '"Version"="1.0"')
        block(f"Software\\\\Classes\\\\TypeLib\\\\{libid}\\\\1.0", f'@="{product} 1.0 Type Library"')
        block(f"Software\\\\Classes\\\\TypeLib\\\\{libid}\\\\1.0\\\\0\\\\win32",
              f'@="C:\\\\Program Files\\\\{vendor}\\\\{product}\\\\{product.lower()}.tlb"')
        block(f"Software\\\\Classes\\\\TypeLib\\\\{libid}\\\\1.0\\\\FLAGS", '@="0"')
        if i % 20 == 0:
            block(f"Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\{clsid}",
                  f'"DisplayName"="{vendor} {product}"', f'"Publisher"="{vendor}"',
                  '"DisplayVersion"="1.0.0"',
                  f'"InstallLocation"="C:\\\\Program Files\\\\{vendor}\\\\{product}"',
                  f'"UninstallString"="MsiExec.exe /X{clsid}"', '"EstimatedSize"=dword:00001f40',
                  '"NoModify"=dword:00000001')
    return blocks


def grown_system_reg(wine_system, size):
    """Wine's own system.reg with generated keys merged in sorted position, up to size bytes."""
    with open(wine_system, encoding="latin-1", newline="") as f:
        text = f.read()
    first = text.index("\n[") + 1
    header, body = text[:first], text[first:]
    existing = re.split(r"\n(?=\[)", body)
    existing = [b if b.endswith("\n") else b + "\n" for b in existing if b.strip()]
    per_class = len("".join(com_blocks(50))) / 50
    count = int((size - len(text)) / per_class) + 1
    while True:
        generated = sorted(com_blocks(count), key=sort_key)
        # Merged without moving any of Wine's own keys.
        merged, g = [], 0
        for block in existing:
            key = sort_key(block)
            while g < len(generated) and sort_key(generated[g]) < key:
                merged.append(generated[g])
                g += 1
            merged.append(block)
        merged.extend(generated[g:])
        out = header + "\n".join(merged)
        if len(out) >= size:
            return out
        count += count // 50 + 1


def make_prefixes(scratch, system_reg, user_reg):
    for name in ("demo-prefix", "wine-prefix", "large-prefix"):
        shutil.rmtree(os.path.join(scratch, name), ignore_errors=True)
    prefixes = {}
    demo = os.path.join(scratch, "demo-prefix")
    shutil.copytree(os.path.join(ROOT, "examples", "demo-prefix"), demo)
    prefixes["demo prefix"] = demo
    wine = os.path.join(scratch, "wine-prefix")
    os.makedirs(wine)
    shutil.copy(system_reg, wine)
    shutil.copy(user_reg, wine)
    prefixes["Wine's own system.reg"] = wine
    large = os.path.join(scratch, "large-prefix")
    os.makedirs(large)
    with open(os.path.join(large, "system.reg"), "w", encoding="latin-1", newline="") as f:
        f.write(grown_system_reg(system_reg, LARGE_SIZE))
    shutil.copy(user_reg, large)
    prefixes["20 MB system.reg"] = large
    for path in prefixes.values():
        for name in os.listdir(path):
            os.chmod(os.path.join(path, name), 0o644)
    return prefixes


def start_xvfb():
    """An Xvfb on a display number it picks itself (-displayfd), ready when it says which."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               "1280x1024x24", "-nolisten", "tcp"], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        server.wait()
        sys.exit("cannot start Xvfb")
    return server, f":{number}"


class Display:
    """An Xvfb, started again if something stops it between runs."""

    def __init__(self):
        self.server, self.name = start_xvfb()

    def ensure(self):
        if self.server.poll() is not None:
            self.server, self.name = start_xvfb()
        return self.name

    def stop(self):
        self.server.terminate()
        self.server.wait()


def run(timer, settle, program, env, display):
    for attempt in range(3):
        done = subprocess.run([timer, "--settle", str(settle), program],
                              env=dict(env, DISPLAY=display.ensure()), capture_output=True,
                              text=True, timeout=60)
        if done.returncode == 0:
            break
    else:
        sys.exit(f"{program} ({env.get('WINEPREFIX', 'no prefix')}): {done.stderr.strip()}")
    values = dict(item.split("=") for item in done.stdout.split())
    return float(values["window_ms"]), int(values["peak_rss_kb"]) / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--wine-samples",
                        default=os.path.join(os.path.dirname(ROOT), "shared", "wine-samples"))
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--settle", type=int, default=500,
                        help="milliseconds a program runs on after its window maps")
    parser.add_argument("--keep", help="build the prefixes in this folder and keep them")
    parser.add_argument("--also", action="append", default=[], metavar="LABEL=PROGRAM",
                        help="another Portico binary (an earlier build, say) to run alongside")
    args = parser.parse_args()

    programs = build(args.build)
    scratch = args.keep or tempfile.mkdtemp(prefix="portico-startup-")
    os.makedirs(scratch, exist_ok=True)
    display = None
    try:
        system_reg, user_reg = wine_hives(args.wine_samples, scratch)
        prefixes = make_prefixes(scratch, system_reg, user_reg)
        display = Display()
        home = os.path.join(scratch, "home")
        runtime = os.path.join(scratch, "runtime")
        os.makedirs(home, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        base = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home, "XDG_RUNTIME_DIR": runtime, "QT_QPA_PLATFORM": "xcb",
                "LANG": "C.UTF-8"}
        cases = [("empty QMainWindow", programs["empty"], base, None)]
        porticos = [("Portico", programs["portico"])]
        porticos += [tuple(item.split("=", 1)) for item in args.also]
        for name, prefix in prefixes.items():
            hive_size = sum(os.path.getsize(os.path.join(prefix, n))
                            for n in ("system.reg", "user.reg"))
            for label, program in porticos:
                cases.append((f"{label}, {name}", program, dict(base, WINEPREFIX=prefix),
                              hive_size))

        # One run of each first, so that every file is in the page cache.
        for _, program, env, _ in cases:
            run(programs["timer"], args.settle, program, env, display)
        results = {name: ([], []) for name, _, _, _ in cases}
        for _ in range(args.runs):
            for name, program, env, _ in cases:
                window_ms, peak_mb = run(programs["timer"], args.settle, program, env, display)
                results[name][0].append(window_ms)
                results[name][1].append(peak_mb)
    finally:
        if display:
            display.stop()
        if not args.keep:
            shutil.rmtree(scratch, ignore_errors=True)

    floor_ms = statistics.median(results[cases[0][0]][0])
    floor_mb = statistics.median(results[cases[0][0]][1])
    print(f"Median of {args.runs} alternating runs under Xvfb (window: process start to first "
          f"window mapped; memory: peak resident set)")
    print(f"{'what starts':38} {'window':>9} {'ratio':>6} {'peak':>9} {'above empty':>12} "
          f"{'hive files':>11}")
    for name, _, _, hive_size in cases:
        window_ms = statistics.median(results[name][0])
        peak_mb = statistics.median(results[name][1])
        hive = ""
        if hive_size:
            hive = f"{hive_size / 2**20:.1f} MB" if hive_size >= 2**20 else f"{hive_size / 1024:.0f} KB"
        above = f"{peak_mb - floor_mb:9.1f} MB" if hive_size else ""
        print(f"{name:38} {window_ms:6.1f} ms {window_ms / floor_ms:6.2f} {peak_mb:6.1f} MB "
              f"{above:>12} {hive:>11}")


if __name__ == "__main__":
    main()
