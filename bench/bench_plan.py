"""What varnel_bench.py measures, shared with the tables that show it."""

SIZES = [100_000, 250_000, 500_000, 1_000_000, 2_000_000, 4_000_000]
# The sizes measured against the floors, in every round.
AGAINST_FLOORS = [1_000_000, 2_000_000]
# The sizes only the growth table shows run in the first rounds only: the
# largest alone would take a third of the time.
GROWTH_ROUNDS = 3
MODES = ["classic", "model"]
MIB = 1024.0 * 1024.0
