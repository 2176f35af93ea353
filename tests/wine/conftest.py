# Every test that asks for `vop` gets the program in a fresh folder; it never outlives the test.
import pytest

pytest.register_assert_rewrite("harness")
from harness import Vop  # noqa: E402 - after the rewrite hook, so its asserts explain themselves


@pytest.fixture
def vop(request):
    program, failed_before = Vop(request.node.name), request.session.testsfailed
    yield program
    if request.session.testsfailed > failed_before:  # a failed test leaves a picture of the screen in its folder
        program.grab(None, program.path("failed.png"))
    program.kill()
