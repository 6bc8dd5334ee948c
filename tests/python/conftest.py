"""Shared fixtures: the calculator's own files for every example, written once per session."""

import os
import pathlib
import shutil
import subprocess

import pytest

EXAMPLES = pathlib.Path(os.environ.get("TARNOVA_EXAMPLES",
                                       pathlib.Path(__file__).parents[2] / "examples"))
# The programs run in other directories: their paths are made absolute.
STRAKON = os.path.abspath(os.environ.get("TARNOVA_STRAKON", "build/Strakon/Strakon"))
SAGOMA = os.path.abspath(os.environ.get("TARNOVA_SAGOMA", "build/Sagoma/Sagoma"))

# Every example case: the two committed ones and the generated 600-element girder.
CASES = ("TANKER", "BOX", "LARGE")


def copy_case(name: str, directory: pathlib.Path) -> pathlib.Path:
    """The three input files of an example case in the directory; the path of its ".ana"."""
    directory.mkdir(parents=True, exist_ok=True)
    if name == "LARGE":
        shutil.copy(EXAMPLES / "large" / "LARGE.sec", directory)
        subprocess.run([SAGOMA, "--force", str(directory / "LARGE.sec")], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    else:
        for extension in (".ana", ".geo", ".pro"):
            shutil.copy(EXAMPLES / name.lower() / (name + extension), directory)
    return directory / (name + ".ana")


def run_strakon(case_file: pathlib.Path) -> subprocess.CompletedProcess:
    """Strakon on the case, headless (keys from standard input, here none)."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    return subprocess.run([STRAKON, str(case_file)], stdin=subprocess.DEVNULL,
                          capture_output=True, env=env, cwd=case_file.parent, timeout=300)


@pytest.fixture(scope="session")
def strakon_runs(tmp_path_factory):
    """Path of each example's ".ana" in a directory where Strakon has run it."""
    runs = {}
    for name in CASES:
        case_file = copy_case(name, tmp_path_factory.mktemp("strakon-" + name.lower()))
        done = run_strakon(case_file)
        assert done.returncode == 0, done.stderr.decode(errors="replace")
        runs[name] = case_file
    return runs


def records(path: pathlib.Path) -> list:
    """The records of a file, as the calculator wrote them (Latin-1, line ends dropped)."""
    return path.read_bytes().decode("latin-1").splitlines()
