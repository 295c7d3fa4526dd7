#!/usr/bin/env python3
"""Turns the name=value figures of scripts/bench.sh into one Markdown table: each
figure beside its baseline, the ratio or difference, the goal and whether it is met."""
import sys

SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll",
}


def load(path):
    figures = {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            name, sep, value = line.rstrip("\n").partition("=")
            if not sep:
                continue
            try:
                figures[name] = float(value)
            except ValueError:
                figures[name] = value
    return figures


def main():
    f = load(sys.argv[1])
    get = lambda name: f.get(name, float("nan"))
    rows = []

    def row(figure, tivoler, baseline, compared, goal="", met=None):
        verdict = "" if met is None else ("met" if met else "**missed**")
        rows.append((figure, tivoler, baseline, compared, goal, verdict))

    kb = lambda n: f"{n / 1024:,.1f} KB"
    ms = lambda n: f"{n:,.1f} ms"
    us = lambda n: f"{n:,.0f} µs"

    # 1. the file
    size = get("size.tivoler_bytes")
    row("1. win32 tivoler.exe size", kb(size), f"minimal.exe {kb(get('size.minimal_bytes'))}",
        f"{size / get('size.minimal_bytes'):.0f}×", "< 400 KB", size < 400 * 1024)
    sections = [(k[len("size.section"):], v) for k, v in f.items() if k.startswith("size.section")]
    row("   sections", ", ".join(f"{n} {kb(v)}" for n, v in sections), "", "")
    imports = str(f.get("size.imports", "")).split()
    foreign = [d for d in imports if d.lower() not in SYSTEM_DLLS]
    row("   imported DLLs", " ".join(imports), str(f.get("size.minimal_imports", "")),
        "non-system: " + (" ".join(foreign) if foreign else "none"), "system DLLs only",
        not foreign)

    row(f"   timed below: {f.get('run.programs', '')}", "", "", "")

    # 2. start-up
    t, m = get("startup.tivoler_ms"), get("startup.minimal_ms")
    row(f"2. start to visible window, median of {get('startup.count'):.0f} (p90)",
        f"{ms(t)} ({ms(get('startup.tivoler_p90_ms'))})",
        f"minimal.exe {ms(m)} ({ms(get('startup.minimal_p90_ms'))})", f"{t / m:.2f}×", "≤ 1.5×",
        t / m <= 1.5)
    d = get("startup.minimal_imports_ms")
    row("   the same minimal program importing tivoler's DLLs", "",
        f"minimal_imports.exe {ms(d)}",
        f"imports {d - m:+.1f} ms, the rest of tivoler {t - d:+.1f} ms")
    b = get("startup.minimal_buttons_ms")
    row("   the same minimal program with the manifest and the 12 push buttons", "",
        f"minimal_buttons.exe {ms(b)}", f"{b / m:.2f}× (styled buttons {b - m:+.1f} ms)")
    sf = get("startup.floor_ms")
    row("   floor: the same window with all it needs to show (application window, status "
        "bar, settings file read)", "",
        f"floor_startup.exe {ms(sf)} ({ms(get('startup.floor_p90_ms'))})",
        f"{t / sf:.2f}× ({t - sf:+.1f} ms)", "≤ 1.10×", t / sf <= 1.10)

    # 3. desktop shortcut
    t, m = get("shortcut.tivoler_ms"), get("shortcut.minimal_ms")
    row(f"3. `tivoler.exe N` to exit with an instance running, median of "
        f"{get('shortcut.count'):.0f} (p90)",
        f"{ms(t)} ({ms(get('shortcut.tivoler_p90_ms'))})",
        f"`minimal.exe exit` {ms(m)} ({ms(get('shortcut.minimal_p90_ms'))})", f"{t / m:.2f}×")

    # 4. apply
    a, a95 = get("apply.median_us"), get("apply.p95_us")
    fl, fl95 = get("apply.floor_median_us"), get("apply.floor_p95_us")
    row(f"4. slot apply (SetType=1) round trip, {get('apply.count'):.0f} applies: median / p95",
        f"{us(a)} / {us(a95)}", f"unhandled message {us(fl)} / {us(fl95)}",
        f"+{(a - fl) / 1000:.2f} ms", "within 2 ms", a - fl <= 2000)
    r, r95 = get("apply.required_median_us"), get("apply.required_p95_us")
    row("   floor: the system calls one apply has to make, alone (beep, swap, 3 SPI sets, "
        "6 registry writes, scheme change check, tray tip)", "",
        f"floor_apply.exe {us(r)} / {us(r95)}", f"{a / r:.2f}× ({(a - r) / 1000:+.2f} ms)",
        "≤ 1.10×", a / r <= 1.10)
    row(f"   cursor preview step (Next/Prev button), median of {get('cursor.count'):.0f}",
        us(get("cursor.median_us")), f"unhandled message {us(fl)}", "")

    # 5. memory and handles
    phases = ("start", "warm", "half", "after")

    def usage(label, key, limit, unit=lambda n: f"{n:.0f}"):
        start, warm, half, after = (get(f"memory.{p}.{key}") for p in phases)
        row(f"   {label}", " → ".join(unit(v) for v in (start, warm, half, after)),
            f"minimal.exe {unit(get(f'memory.minimal.{key}'))}",
            f"{half - warm:+.0f} first half, {after - half:+.0f} second half",
            "flat", abs(after - half) <= limit)
    row(f"5. after start → after a warm-up (20 applies, 40 preview steps) → after each half of "
        f"{get('apply.count'):.0f} applies and {get('cursor.count'):.0f} cursor preview steps",
        "", "", "")
    usage("private memory (KB)", "private_kb", 32)
    usage("GDI objects", "gdi", 0)
    usage("USER objects (windows + menus + cursors)", "user", 0)
    usage("kernel handles", "handles", 0)
    types = sorted({k.split(".")[-1] for k in f if k.startswith("memory.start.gdi.")})
    shown = [t for t in types if get(f"memory.after.gdi.{t}") or get(f"memory.minimal.gdi.{t}")]
    row("   GDI objects by type after all", ", ".join(
        f"{t} {get(f'memory.after.gdi.{t}'):.0f}" for t in shown), ", ".join(
        f"{t} {get(f'memory.minimal.gdi.{t}'):.0f}" for t in shown), "")

    # 6. idle
    for key, label in (("none", "ShowMethod=0"), ("holdkeys", "ShowMethod=4"),
                       ("bound", "ShowMethod=0, a mouse bound to slot 1"),
                       ("pending", "ShowMethod=0, slot 1 applied just before: its save pending"),
                       ("program", "ShowMethod=0, a program bound to slot 1")):
        seconds = get(f"idle.{key}.seconds")
        t, m = get(f"idle.{key}.tivoler_cpu_ms"), get(f"idle.{key}.minimal_cpu_ms")
        row(f"6. idle CPU in the tray over {seconds:.0f} s, {label}", ms(t),
            f"minimal.exe {ms(m)}; wineserver {ms(get(f'idle.{key}.wineserver_cpu_ms'))}",
            f"{t / seconds / 10:.4f} % of a CPU")

    # listening to the mouse
    t, fr = get("rawinput.tivoler_cpu_ms"), get("rawinput.floor_cpu_ms")
    row(f"6. CPU for {get('rawinput.count'):,.0f} moves of a bound mouse whose slot is in force",
        ms(t), f"floor_rawinput.exe {ms(fr)}", f"{t / fr:.2f}×", "≤ 1.10×", t / fr <= 1.10)

    # listening to the window in front
    t, fr = get("foreground.tivoler_cpu_ms"), get("foreground.floor_cpu_ms")
    row(f"6. CPU for {get('foreground.count'):,.0f} foreground changes between two programs "
        f"bound to no slot, a program bound to slot 1",
        ms(t), f"floor_foreground.exe {ms(fr)}", f"{t / fr:.2f}×", "≤ 1.10×", t / fr <= 1.10)

    # 7. instruction counts
    for op, base, label in (("load", "read-lines", "read into a TStringList"),
                            ("save", "write-lines", "TStringList written out")):
        t, b = get(f"ir.{op}"), get(f"ir.{base}")
        row(f"7. settings {op}, 11 profiles (Ir per {op})", f"{t:,.0f}", f"{label} {b:,.0f}",
            f"{t / b:.1f}×")

    print("| Figure | Tivoler | Baseline | Compared | Goal | |")
    print("|---|---|---|---|---|---|")
    for r in rows:
        print("| " + " | ".join(r) + " |")
    print()
    print(f"start-up ratio: {get('startup.tivoler_ms') / get('startup.minimal_ms'):.2f}")
    print(f"apply over floor: {(get('apply.median_us') - get('apply.floor_median_us')) / 1000:.2f} ms")
    print(f"apply over required calls: "
          f"{get('apply.median_us') / get('apply.required_median_us'):.2f}×")
    print(f"start-up over same window: "
          f"{get('startup.tivoler_ms') / get('startup.floor_ms'):.2f}×")
    print(f"raw input over floor: "
          f"{get('rawinput.tivoler_cpu_ms') / get('rawinput.floor_cpu_ms'):.2f}×")
    print(f"foreground switch over floor: "
          f"{get('foreground.tivoler_cpu_ms') / get('foreground.floor_cpu_ms'):.2f}×")


if __name__ == "__main__":
    main()
