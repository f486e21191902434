"""Start-up of the program against a bare Qt 6 frameless window, both started the same way on a
real X desktop (Xvfb, openbox, tint2) in one run, in turns: time from exec until the window is
created, mapped and first painted, and peak resident memory (VmHWM) at that paint and after the
start-up animations have settled. Everything runs on the bench's own X server; the program only
starts, it probes nothing and sends no mail.

Usage: startup_bench.py FIRST_PAINT PROGRAM BARE_WINDOW [ROUNDS]"""
import pathlib
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tests" / "desktop"))
from desktop import Desktop  # noqa: E402

SETTLE_MS = 3000
WARM_UP_ROUNDS = 1
FIELDS = ("created_ms", "mapped_ms", "painted_ms", "hwm_at_paint_kib", "hwm_settled_kib", "rss_settled_kib")


def launch(desktop, first_paint, program):
    """One start of the program, watched by first_paint: its figures by name."""
    result = subprocess.run([first_paint, str(SETTLE_MS), program], env=desktop.env,
                            capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        sys.exit(f"{program}: {result.stderr.strip()}")
    return dict(zip(FIELDS, map(float, result.stdout.split())))


def main():
    first_paint, program, bare = sys.argv[1:4]
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    runs = {program: [], bare: []}
    # No screenshots are taken: the desktop's picture folder only lives as long as the run.
    with tempfile.TemporaryDirectory(prefix="orvane-startup-") as shots:
        desktop = Desktop(shots)
        try:
            for round_number in range(WARM_UP_ROUNDS + rounds):
                # Alternate which goes first, so neither always meets a warmer machine.
                order = (program, bare) if round_number % 2 else (bare, program)
                for which in order:
                    figures = launch(desktop, first_paint, which)
                    if round_number >= WARM_UP_ROUNDS:
                        runs[which].append(figures)
        finally:
            desktop.close()

    def median(which, field):
        return statistics.median(run[field] for run in runs[which])

    print(f"{rounds} starts each after {WARM_UP_ROUNDS} warm-up, in turns, on Xvfb + openbox + tint2; "
          f"medians")
    print(f"{'':28}{'program':>12}{'bare Qt':>12}{'ratio':>8}")
    for field in FIELDS:
        ours, theirs = median(program, field), median(bare, field)
        print(f"{field:28}{ours:12.1f}{theirs:12.1f}{ours / theirs:8.2f}")
    print(f"program first paint min/max     {min(r['painted_ms'] for r in runs[program]):.1f} / "
          f"{max(r['painted_ms'] for r in runs[program]):.1f} ms")
    print(f"bare Qt first paint min/max     {min(r['painted_ms'] for r in runs[bare]):.1f} / "
          f"{max(r['painted_ms'] for r in runs[bare]):.1f} ms")


if __name__ == "__main__":
    main()
