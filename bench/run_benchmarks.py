#!/usr/bin/env python3
"""Runs every benchmark of the game, prints one table and writes it as JSON.

For each item the median of repeated runs is reported, and items with a
budget are checked against it (pass / miss). Nothing here fails a build: the
numbers are the result.

    run_benchmarks.py --build BUILD_DIR --json OUT.json [--quick]

Start-up needs an X display (DISPLAY); the caller provides one.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time


# A quick player's pause between two presses on the menu (milliseconds).
PLAYER_PAUSE_MS = 200


def median(values):
    return statistics.median(values) if values else float("nan")


def run_startup(exe, env):
    """Starts `exe` once; returns (milliseconds to the first window, peak KiB)."""
    env = dict(env, HORONPA_REPORT_STARTUP="exit")
    # Read just before the process is made; the process measures from it.
    env["HORONPA_LAUNCH_MONOTONIC_NS"] = str(time.monotonic_ns())
    out = subprocess.run([exe], env=env, capture_output=True, text=True, timeout=60)
    for line in out.stdout.splitlines():
        fields = line.split()
        if len(fields) == 4 and fields[0] == "startup-ms" and fields[2] == "rss-kb":
            return float(fields[1]), int(fields[3])
    raise RuntimeError(f"{exe} reported no start-up (exit {out.returncode}): {out.stderr.strip()}")


def startup(build, runs, env):
    game = os.path.join(build, "horonpa")
    bare = os.path.join(build, "bench", "bare_window")
    # One untimed start each, so both find the libraries and fonts in the cache.
    run_startup(game, env)
    run_startup(bare, env)
    game_ms, game_kb, bare_ms, bare_kb = [], [], [], []
    # Alternating, so both see the same load on the machine.
    for _ in range(runs):
        ms, kb = run_startup(game, env)
        game_ms.append(ms)
        game_kb.append(kb)
        ms, kb = run_startup(bare, env)
        bare_ms.append(ms)
        bare_kb.append(kb)
    return game_ms, game_kb, bare_ms, bare_kb


def google_benchmark(exe, repetitions, min_time):
    """Medians of a Google Benchmark executable: {name: (value, unit, counters)}."""
    out = subprocess.run(
        [exe, f"--benchmark_repetitions={repetitions}", "--benchmark_report_aggregates_only=true",
         f"--benchmark_min_time={min_time}", "--benchmark_format=json"],
        capture_output=True, text=True, check=True)
    report = json.loads(out.stdout)
    result = {}
    known = {"name", "family_index", "per_family_instance_index", "run_name", "run_type",
             "repetitions", "threads", "aggregate_name", "aggregate_unit", "iterations",
             "real_time", "cpu_time", "time_unit", "repetition_index", "error_occurred",
             "error_message"}
    for b in report["benchmarks"]:
        if b.get("error_occurred"):
            raise RuntimeError(f"{exe}: {b['run_name']}: {b.get('error_message')}")
        if b.get("aggregate_name") != "median":
            continue
        counters = {k: v for k, v in b.items() if k not in known}
        result[b["run_name"]] = (b["real_time"], b["time_unit"], counters)
    return result


def to_ms(value, unit):
    return value * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[unit]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--json", required=True)
    parser.add_argument("--quick", action="store_true", help="fewer repetitions")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    starts = 7 if args.quick else 21
    shows = 7 if args.quick else 21
    moves = 100 if args.quick else 400
    helps = 15 if args.quick else 40
    reps = 3 if args.quick else 9
    min_time = 0.05 if args.quick else 0.2

    env = dict(os.environ)
    runtime = tempfile.mkdtemp(prefix="horonpa-bench-")  # Qt wants a private runtime dir
    env.setdefault("XDG_RUNTIME_DIR", runtime)
    rows = []  # (group, item, median, unit, budget text, status, detail)

    def row(group, item, value, unit, budget=None, ok=None, detail=""):
        status = "" if ok is None else ("pass" if ok else "MISS")
        rows.append({"group": group, "item": item, "median": round(value, 4), "unit": unit,
                     "budget": budget or "", "status": status, "detail": detail})

    print("bench: start-up ...", file=sys.stderr)
    game_ms, game_kb, bare_ms, bare_kb = startup(build, starts, env)
    g, b = median(game_ms), median(bare_ms)
    row("start-up", "game: process start to main menu shown", g, "ms", f"<= 1.5 x bare ({1.5 * b:.1f} ms)",
        g <= 1.5 * b, f"{starts} runs, ratio {g / b:.2f}")
    row("start-up", "bare Qt 6 window (same build, same run)", b, "ms", detail=f"{starts} runs")
    # The kernel counts KiB; the budget is in MB (10^6 bytes).
    def mb(kib):
        return kib * 1024 / 1e6
    row("start-up", "game: peak resident memory at that point", mb(median(game_kb)), "MB",
        "<= 45 MB", mb(max(game_kb)) <= 45, f"max {mb(max(game_kb)):.1f} MB")
    row("start-up", "bare window: peak resident memory", mb(median(bare_kb)), "MB")

    print("bench: windows ...", file=sys.stderr)
    out = subprocess.run([os.path.join(build, "bench", "bench_windows"), "--shows", str(shows),
                          "--moves", str(moves), "--helps", str(helps)], env=env, capture_output=True, text=True, check=True)
    win = json.loads(out.stdout.strip().splitlines()[-1])
    for n in ("3", "10", "20"):
        samples = win["board_show_ms"][n]
        budget = "<= 16.7 ms" if n == "20" else None
        ok = median(samples) <= 16.7 if n == "20" else None
        row("board", f"new board {n} x {n}, 20 colours: Yes pressed to all panels painted",
            median(samples), "ms", budget, ok, f"{len(samples)} runs, first {samples[0]:.1f} ms")
    # The first board of a run, each in a fresh process: the player sets the
    # selectors, pauses, presses "Let's Go!!", pauses again and presses Yes.
    # The same without pauses shows what a board costs when Yes comes before
    # the menu has had any idle time.
    def first_board(pause_ms):
        samples = []
        for _ in range(shows):
            out = subprocess.run([os.path.join(build, "bench", "bench_windows"), "--first", "20",
                                  "--pause", str(pause_ms)],
                                 env=env, capture_output=True, text=True, check=True)
            samples.append(json.loads(out.stdout.strip().splitlines()[-1])["first_board_ms"])
        return samples
    first = first_board(PLAYER_PAUSE_MS)
    hasty = first_board(0)
    win["first_board_ms"] = first
    win["first_board_no_pause_ms"] = hasty
    row("board", "first new board 20 x 20, 20 colours (fresh process): Yes pressed to all panels "
        "painted", median(first), "ms", "<= 16.7 ms", median(first) <= 16.7,
        f"{len(first)} processes, {PLAYER_PAUSE_MS} ms before Let's Go and before Yes, "
        f"max {max(first):.1f} ms; without the pauses median {median(hasty):.1f} ms")
    moves_ms = win["move_ms"]
    row("move", "20 x 20: mouse release to changed panels painted", median(moves_ms), "ms",
        "<= 1 ms", median(moves_ms) <= 1.0,
        f"{len(moves_ms)} moves, release handled in {median(win['move_release_handled_ms']):.3f} ms")
    repainted = win["move_panels_repainted"]
    exact = all(x == 1 for x in win["move_repainted_exactly_changed"])
    row("move", "panels repainted per move (max over all moves)", max(repainted), "panels",
        "changed ones only, <= 5", exact and max(repainted) <= 5,
        f"repainted == changed in every move: {'yes' if exact else 'no'}; "
        f"paint events per move {median(win['move_panel_paint_events']):.0f} "
        f"(the pressed panel is drawn released first), other widgets "
        f"{max(win['move_other_paint_events']):.0f}")

    hint = win["hint_ms"]
    row("help", "hint 20 x 20, 20 colours", median(hint), "ms", "<= 16.7 ms", median(hint) <= 16.7,
        f"{len(hint)} times H, each after a press the plan left alone (plan made afresh): "
        f"key to ringed panel painted, max {max(hint):.1f} ms")
    update = win["plan_update_ms"]
    in_plan = win["plan_update_in_plan_ms"]
    row("help", "plan update 20 x 20, 20 colours", median(update), "ms", "<= 16.7 ms",
        median(update) <= 16.7,
        f"{len(update)} presses the plan left alone (plan made afresh, median "
        f"{median(win['plan_update_panels']):.0f} panels repainted), release to every changed panel "
        f"painted, max {max(update):.1f} ms; presses the plan asked for: median "
        f"{median(in_plan):.2f} ms")

    print("bench: ranking, core, solver ...", file=sys.stderr)
    rank = google_benchmark(os.path.join(build, "bench", "bench_ranking"), reps, min_time)
    for size in ("20", "3"):
        value, unit, _ = rank[f"BM_WinFlow/{size}"]
        ms = to_ms(value, unit)
        row("win", f"win flow, size {size}: score, load, place, save, reload (18 sizes on file)",
            ms, "ms", "<= 5 ms", ms <= 5.0)
    value, unit, counters = rank["BM_LoadLargestFile"]
    row("win", "table load of a 16 MiB ranking file (the largest parsed; 16 M empty lines)",
        to_ms(value, unit), "ms",
        detail=f"peak memory rose {counters.get('peak_rss_rise_MB', float('nan')):.1f} MB over the loads")
    value, unit, _ = rank["BM_SaveBesideLargestFile/real_time"]
    ms = to_ms(value, unit)
    row("win", "table save beside 16 MiB of other sections: time the lock is held (wall)",
        ms, "ms", "<= 500 ms", ms <= 500.0, "read, change, write, flush to disk, rename")
    core = google_benchmark(os.path.join(build, "bench", "bench_core"), reps, min_time)
    labels = {
        "BM_Deal20/20": "deal 20 x 20, 20 colours (winnability test, no mend needed)",
        "BM_Deal20/7": "deal 20 x 20, 7 colours (mend)",
        "BM_MoveAndSolvedTest20": "ApplyMove + IsSolved, 20 x 20",
        "BM_MoveAndSolvedTest20Worst": "ApplyMove + IsSolved, 20 x 20, longest solved test",
        "BM_CalcScore": "CalcScore",
        "BM_PanelNameStringCut": "StringCut on a panel name (row and column)",
    }
    for name, (value, unit, counters) in core.items():
        detail = ", ".join(f"{k} {v:.3g}" for k, v in counters.items())
        row("core", labels.get(name, name), value, unit, detail=detail)
    solver = google_benchmark(os.path.join(build, "bench", "bench_solver"), reps, min_time)
    for name, (value, unit, _) in solver.items():
        row("solver", name, value, unit)

    width = max(len(r["item"]) for r in rows)
    header = f"{'group':<9} {'item':<{width}} {'median':>10} {'unit':<6} {'budget':<26} result"
    print(header)
    print("-" * len(header))
    for r in rows:
        print(f"{r['group']:<9} {r['item']:<{width}} {r['median']:>10.3f} {r['unit']:<6} "
              f"{r['budget']:<26} {r['status']}")
        if r["detail"]:
            print(f"{'':<9}   {r['detail']}")
    misses = [r for r in rows if r["status"] == "MISS"]
    print(f"\nbudgets: {sum(1 for r in rows if r['status'] == 'pass')} met, {len(misses)} missed")

    os.makedirs(os.path.dirname(os.path.abspath(args.json)), exist_ok=True)
    with open(args.json, "w") as f:
        json.dump({"rows": rows,
                   "samples": {"startup_ms": game_ms, "startup_bare_ms": bare_ms,
                               "startup_rss_kb": game_kb, "startup_bare_rss_kb": bare_kb,
                               "windows": win},
                   "machine": {"cpus": os.cpu_count(), "load": os.getloadavg()}},
                  f, indent=1)
    print(f"written: {args.json}")


if __name__ == "__main__":
    main()
