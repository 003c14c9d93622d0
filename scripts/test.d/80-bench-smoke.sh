# The benchmarks, each run once and briefly: they build, run and check what they measure
# (every call forwarded, every read found); no timing is asserted.
scripts/bench --smoke
