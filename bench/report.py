#!/usr/bin/env python3
"""Turns the raw results of bench/run.sh into one table of figures against their targets.

usage: report.py RESULTS_DIR   (benchmarks.json, probe.jsonl, bare.jsonl, bare-title.jsonl and
                                game.jsonl from run.sh)
"""
import json
import re
import sys
from pathlib import Path

results = Path(sys.argv[1])
rows = []  # (figure, measured, beside, target, status)
missed = 0


def add(figure, measured, beside="", target="", ok=None, why=""):
    global missed
    status = "" if ok is None else ("met" if ok else "MISSED" + (f" ({why})" if why else ""))
    if ok is False:
        missed += 1
    rows.append((figure, measured, beside, target, status))


def section(title):
    rows.append((title, None, None, None, None))


# --- Google Benchmark: medians of the repetitions, processor time of the benchmark thread.
UNIT = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
bench, failed = {}, {}
for b in json.loads((results / "benchmarks.json").read_text())["benchmarks"]:
    if b.get("error_occurred"):
        failed[b["run_name"]] = b.get("error_message", "failed")
    elif b.get("aggregate_name") == "median":
        bench[b["run_name"]] = b


class NotMeasured(Exception):
    pass


def us(name, kind="cpu_time"):
    if name not in bench:
        raise NotMeasured(f"{name}: {failed.get(name, 'not run')}")
    b = bench[name]
    return b[kind] * UNIT[b["time_unit"]]


def measured(figure, target, compute):
    """Runs compute(); a benchmark that failed or did not run becomes a missed row."""
    try:
        compute()
    except NotMeasured as e:
        add(figure, "not measured", str(e), target, False if target else None)


def fmt_us(v):
    return f"{v:.3f} us" if v < 10 else f"{v:.1f} us"




def copy_row():
    copy, memcpy = us("BM_PictureCopyFull"), us("BM_MemcpyFullPicture")
    add("Full-picture copy, every row moved", f"{fmt_us(copy)} = {copy / memcpy:.2f}x",
        f"memcpy of 800x600x4 B: {fmt_us(memcpy)}", "<= 1.5x", copy / memcpy <= 1.5)


def frame_rows():
    frame, floor2 = us("BM_ScreenOn"), us("BM_ScreenOnFloor")
    add("ScreenOn, whole frame (Back rewritten)", f"{fmt_us(frame)} = {frame / floor2:.2f}x",
        f"2 memcpys of 800x600x4 B: {fmt_us(floor2)}", "<= 2x", frame / floor2 <= 2)
    inplay = us("BM_ScreenOnInPlay")
    add("ScreenOn in play (only the ball's rows)", f"{fmt_us(inplay)} = {inplay / floor2:.3f}x",
        "same floor")


def free_tick_row():
    free, freefloor = us("BM_Timer1Free"), us("BM_Timer1FreeFloor")
    add("Timer1 tick without contact", fmt_us(free),
        f"filling its 2 strokes' boxes: {fmt_us(freefloor)}", "< 2 us", free < 2)


def landing_row():
    landing, floor2 = us("BM_Timer1Landing"), us("BM_ScreenOnFloor")
    add("Timer1 tick with a landing (junp, ScreenOn)",
        f"{fmt_us(landing)} = {landing / floor2:.3f}x", "2 memcpys, as above")


def build_row():
    build, buildfloor = us("BM_MakeScreenFull"), us("BM_MakeScreenFloor")
    add("MakeScreen, 300 tiles", f"{fmt_us(build)} = {build / buildfloor:.2f}x",
        f"memset + 300x40 rows of 160 B + 2 memcpys: {fmt_us(buildfloor)}")


def game_row():
    name = "BM_ScriptedGame/real_time"
    game_ms, game_cpu_ms = us(name, "real_time") / 1e3, us(name) / 1e3
    game = bench[name]
    speed = game["virtual_ms"] / game_ms
    add("Whole scripted game, headless", f"{speed:.0f}x real time",
        f"{game['virtual_ms'] / 1e3:.1f} s of game in {game_ms:.1f} ms wall "
        f"({game_cpu_ms:.1f} ms processor), {game['handlers']:.0f} handlers", ">= 5000x",
        speed >= 5000)


def snapshot_rows():
    save, back = us("BM_SnapshotSaveAfterTick"), us("BM_SnapshotRestoreThenTick")
    add("Ball tick, then a snapshot of the whole game", fmt_us(save),
        "the solver's save of a state it goes on from")
    add("Back to a snapshot, then a ball tick", fmt_us(back), "each key press the solver tries")
    check = us("BM_CheckAfterTick")
    add("Ball tick, then a check line's hashes", fmt_us(check),
        "what a demo's check line costs in play")


section("Drawing and ball (median of 5; floor measured in the same run)")
measured("Full-picture copy", "<= 1.5x", copy_row)
measured("ScreenOn", "<= 2x", frame_rows)
measured("Timer1 tick without contact", "< 2 us", free_tick_row)
measured("Timer1 tick with a landing", "", landing_row)
measured("MakeScreen, 300 tiles", "", build_row)
measured("Whole scripted game, headless", ">= 5000x", game_row)
measured("Snapshots", "", snapshot_rows)

section("Presenting at a whole-number scale (median of 5; floor measured in the same run)")


def present_rows(n):
    def compute():
        frame, floor = us(f"BM_PresentFrame/{n}"), us(f"BM_MemcpyScaledFrame/{n}")
        side = f"{800 * n}x{600 * n}"
        add(f"Present a whole frame at scale {n}", f"{fmt_us(frame)} = {frame / floor:.2f}x",
            f"memcpy of {side}x4 B: {fmt_us(floor)}", "<= 2x", frame / floor <= 2)
        rows = us(f"BM_PresentRows/{n}")
        share, row_share = rows / frame, 40 / 600
        add(f"Present a tick's 40 changed rows at scale {n}",
            f"{fmt_us(rows)} = {100 * share:.1f} % of the frame",
            f"the rows are {100 * row_share:.1f} % of it", "<= 1.5x their share",
            share <= 1.5 * row_share)
    return compute


for n in (1, 2, 3):
    measured(f"Present at scale {n}", "<= 2x", present_rows(n))


def present_fit():
    frame, floor = us("BM_PresentFit/0"), us("BM_MemcpyFitFrame")
    add("Present a whole frame fitted to a 1080p whole screen (1440 x 1080)",
        f"{fmt_us(frame)} = {frame / floor:.2f}x", f"memcpy of 1440x1080x4 B: {fmt_us(floor)}",
        "<= 3 ms", frame <= 3000)
    rows = us("BM_PresentFit/1")
    add("Present a tick's 40 changed rows fitted", f"{fmt_us(rows)}",
        f"{100 * rows / frame:.1f} % of the frame", "<= 1.5x their share",
        rows / frame <= 1.5 * 40 / 600 * 1.1)


measured("Present fitted", "<= 3 ms", present_fit)

# --- The real loop under Xvfb.
def json_lines(name):
    return [json.loads(line) for line in (results / name).read_text().splitlines() if line]


probes = json_lines("probe.jsonl")
# The bare sleepers ran beside the probes in the same order.
bare_lines = [p["timers"]["sleeper"] for p in json_lines("bare.jsonl")]
bare_title = [p["timers"]["sleeper"] for p in json_lines("bare-title.jsonl")]
bare_of = {}
for i, p in enumerate(q for q in probes if not q["from_start"]):
    if i < len(bare_lines):
        bare_of[id(p)] = bare_lines[i]


def setting(p):
    """What the window was: ', scale N' and ', a controller plugged in' where not the plain."""
    text = f", scale {p['scale']}" if p.get("scale", 1) != 1 else ""
    text += ", fitted on a 1920 x 1080 whole screen" if p.get("fit") else ""
    text += ", the menu open (paused) on a 1080p screen" if p.get("menu") else ""
    text += ", the race overlay and the ghost on" if p.get("race") else ""
    return text + (", a controller plugged in" if p.get("pad") else "")


def lateness(t):
    return f"{t['median_ms']:.3f} / {t['p99_ms']:.3f} / {t['max_ms']:.3f} ms"


section("Real loop under Xvfb: how late ticks ran after their due time, median / p99 / max")
for p in probes:
    label = "start-up and title" if p["from_start"] else f"ball interval {p['interval']} ms"
    label += setting(p)
    everything = p["all"]
    beside = ""
    sleeper = bare_title[0] if p["from_start"] and bare_title else bare_of.get(id(p))
    if sleeper:
        beside = f"bare sleeper meanwhile: {lateness(sleeper)}"
    # When a plain sleeper misses as well, the machine wakes nothing in time just then.
    why = "so did the bare sleeper" if sleeper and sleeper["p99_ms"] > 1 else ""
    add(f"{label}, all {everything['ticks']} ticks", lateness(everything), beside,
        "p99 <= 1 ms", everything["p99_ms"] <= 1, why)
    for timer, t in sorted(p["timers"].items()):
        add(f"  {timer} ({t['ticks']} ticks)", lateness(t))

section("Processor time of the whole process (all threads) per wall second, quiet stretch")
for p in probes:
    if p["from_start"]:
        label = "title stage in play at 30 ms"
    else:
        label = f"ball bouncing at {p['interval']} ms"
    label += setting(p)
    undisturbed = p["quiet_other_ticks"] == 0 and p["timer1"] > 0
    beside = f"{p['quiet_s']:.0f} s, {p['quiet_wakeups_per_s']:.0f} sleeps/s"
    if not undisturbed:
        beside += " (the ball was lost meanwhile)"
    is_target = not p["from_start"] and p["interval"] == 30 and not p.get("pad")
    add(label, f"{p['quiet_cpu_percent']:.2f} % of a core", beside,
        "<= 2 %" if is_target else "", (p["quiet_cpu_percent"] <= 2) if is_target else None)

games = {g["scale"]: g for g in json_lines("game.jsonl")}
g = games[1]
black = 100 * g["black_cpu_ticks"] / g["ticks_per_s"] / g["black_seconds"]
add("the game (hopla) during its black first seconds", f"{black:.1f} % of a core",
    f"sleeping until Timer2; {1000 / g['ticks_per_s']:.0f} ms ticks of accounting",
    "no busy-wait", black < 5)

section("Memory")
for scale, g in sorted(games.items()):
    limit = 40 if scale == 1 else 60
    add(f"the game's resident size at scale {scale}, 1 s after the title",
        f"{g['rss_kb'] / 1024:.1f} MB", f"peak so far {g['hwm_kb'] / 1024:.1f} MB",
        f"< {limit} MB", g["rss_kb"] < limit * 1024)
for p in probes:
    if p["from_start"]:
        add("peak through the title into play (probe, 13 s)", f"{p['vm_hwm_kb'] / 1024:.1f} MB",
            "the same frontend and game")
    elif p.get("scale", 1) != 1 or p.get("race"):
        add(f"ball bouncing at {p['interval']} ms{setting(p)} (probe, 12 s)",
            f"{p['vm_rss_kb'] / 1024:.1f} MB", f"peak {p['vm_hwm_kb'] / 1024:.1f} MB", "< 60 MB",
            p["vm_rss_kb"] < 60 * 1024)

# --- The solver.
section("Solver (hopla-solve on the real game)")
stage_line = re.compile(r"stage +(\d+): +(\d+) ticks \( *(\d+) points\) +([\d.]+) s +(\d+) steps"
                        r"(?:  best: (.*))?")
blocked_line = re.compile(r"stage +(\d+): not cleared within its search \(beam \d+\) +([\d.]+) s +(\d+) steps: (.*)")
stages_text = (results / "solve-stages.txt").read_text() if (results / "solve-stages.txt").exists() else ""
cleared = {}
for text in stages_text.splitlines():
    if m := stage_line.match(text):
        cleared[int(m[1])] = m
    elif m := blocked_line.match(text):
        add(f"stage {m[1]}", "NOT CLEARED", m[4], "cleared", False)
for n in sorted(cleared):
    m = cleared[n]
    won = f", best: {m[6]}" if m[6] else ""
    add(f"stage {n}", f"{m[2]} ticks ({m[3]} points)", f"{m[4]} s, {m[5]} steps{won}", "cleared",
        True)
if m := re.search(r"all stages: ([\d.]+) s wall, ([\d.]+) s processor, (\d+) processes", stages_text):
    ok = len(cleared) == 21 and float(m[2]) < 60
    add("all 21 stages", f"{m[2]} s processor", f"{m[1]} s wall, {m[3]} processes at a time",
        "all cleared, < 60 s processor", ok,
        "" if len(cleared) == 21 else f"{21 - len(cleared)} not cleared")
else:
    add("all 21 stages", "not measured", "hopla-solve --all gave no total", "< 60 s", False)
# How close the tick bound comes: its sum over the stages against the sum of the routes' ticks.
bounds = re.findall(r"stage +\d+: +(\d+) ticks .*bound (\d+)", stages_text)
if len(bounds) == 21:
    ticks, floor = sum(int(b[0]) for b in bounds), sum(int(b[1]) for b in bounds)
    add("tick bounds, all 21 stages", f"{floor} of {ticks} ticks ({100 * floor / ticks:.0f} %)",
        "sum of the bounds against the sum of the routes", "no bound above its route",
        all(int(b[1]) <= int(b[0]) for b in bounds))
game_text = (results / "solve-game.txt").read_text() if (results / "solve-game.txt").exists() else ""
if m := re.search(r"game: score (\d+), code (\w*), (\d+) balls lost, ([\d.]+) s", game_text):
    add("whole game's score (lower is better)", f"{m[1]}, code {m[2]}",
        f"{m[3]} balls lost, solved in {m[4]} s", "<= 116", int(m[1]) <= 116)
else:
    add("whole game's score", "not measured", "hopla-solve --game found no way through",
        "<= 116", False)

prove_text = (results / "solve-prove.txt").read_text() if (results / "solve-prove.txt").exists() else ""
verdicts = list(re.finditer(r"stage +(\d+): best (\d+) ticks, bound (\d+), none quicker below (\d+) "
                            r"with the solver's moves: (.*?)  ([\d.]+) s  (\d+) steps  (\d+) states",
                            prove_text))
for m in verdicts:
    rss = re.search(rf"stage {m[1]} peak resident memory: (\d+) MB", prove_text)
    add(f"hopla-solve --prove --stage {m[1]}", f"{m[6]} s, {rss[1] if rss else '?'} MB resident",
        f"best {m[2]}, bound {m[3]}, none quicker below {m[4]}: {m[5]}", "within --time 120",
        float(m[6]) <= 130)
if not verdicts:
    add("hopla-solve --prove", "not measured", "no verdict line", "within --time 120", False)

# --- Instruction counts under callgrind (when valgrind is there): what the snapshots and the
# kept picture hashes save, against the code before them (RelWithDebInfo: 195 k instructions per
# solver step on stage 3, 463 M to play game.demo; Release: about 137 k per step).
section("Instructions (callgrind)")
collected = re.compile(r"Collected : (\d+)")
solve_text = (results / "callgrind-solve.txt").read_text() if (results / "callgrind-solve.txt").exists() else ""
play_text = (results / "callgrind-play.txt").read_text() if (results / "callgrind-play.txt").exists() else ""
steps = re.search(r"stage +3: .* (\d+) steps", solve_text)
if (n := collected.search(solve_text)) and steps:
    per = int(n[1]) / int(steps[1])
    add("instructions per solver step, stage 3", f"{per / 1e3:.1f} k",
        f"{int(n[1]) / 1e6:.0f} M for {steps[1]} steps", "<= 46 k (a third of 137 k)",
        per <= 46e3)
else:
    add("instructions per solver step", "not measured", "valgrind missing or the run failed")
if n := collected.search(play_text):
    add("instructions to play tests/demos/game.demo", f"{int(n[1]) / 1e6:.0f} M",
        "hopla-sim --play, check lines included", "<= 232 M (half of 463 M)",
        int(n[1]) <= 232e6)
else:
    add("instructions to play game.demo", "not measured", "valgrind missing or the run failed")

# --- One table.
# --- What a player downloads (make windows first; none measured otherwise).
section("Downloads")
sizes = results / "sizes.txt"
limits = {"setup.exe": 12, ".zip": 12}  # MB
measured = sizes.read_text().split("\n") if sizes.exists() else []
for entry in filter(None, measured):
    size, name = entry.split(" ", 1)
    limit = next(v for k, v in limits.items() if name.endswith(k))
    add(name, f"{int(size) / 1e6:.2f} MB", "", f"< {limit} MB", int(size) < limit * 1e6)
if not any(measured):
    add("Windows zip and installer", "not measured", "make windows first")

widths = [max(len(r[i]) for r in rows if r[1] is not None) for i in range(5)]
header = ("Figure", "Measured", "Beside it", "Target", "")
widths = [max(w, len(h)) for w, h in zip(widths, header)]


def line(cells):
    return "  ".join(c.ljust(w) for c, w in zip(cells, widths)).rstrip()


print()
print(line(header))
print("  ".join("-" * w for w in widths))
for r in rows:
    if r[1] is None:
        print(f"\n{r[0]}")
    else:
        print(line(r))
print()
print("All targets met." if missed == 0 else f"{missed} target(s) missed.")
print(f"Raw results: {results}")
