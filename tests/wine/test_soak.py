# A short soak of each mode with fixed seeds, so that a red run always means a
# change broke something; scripts/soak.sh explores other seeds for longer.
import pytest

from soak import run


@pytest.mark.parametrize("mode, seed", [("never-save", 1), ("always-save", 2), ("mixed", 10)])
def test_random_use_loses_nothing_and_writes_nothing_unasked(vop, mode, seed):
    run(vop, seed, mode, seconds=30)
