"""What varnel_bench.py measures, shared with the tables that show it."""

SIZES = [100_000, 250_000, 500_000, 1_000_000, 2_000_000, 4_000_000]
# The sizes measured against the floors, in every round.
AGAINST_FLOORS = [1_000_000, 2_000_000]
# The sizes only the growth table shows run in the first rounds only: the
# largest alone would take a third of the time.
GROWTH_ROUNDS = 3
MODES = ["classic", "model"]
# The viewer's memory while it draws, a minute of frames in each mode, runs
# in the first rounds only: peaks hardly differ from round to round.
MEMORY_SECONDS = 60
MEMORY_ROUNDS = 2
MIB = 1024.0 * 1024.0
