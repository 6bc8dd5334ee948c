"""cmake --install places the module where the interpreter finds its packages below the prefix."""

import os
import pathlib
import subprocess
import sys


def test_installed_module_imports_and_runs(tmp_path):
    build = os.environ["TARNOVA_BUILD_DIR"]
    prefix = tmp_path / "prefix"
    subprocess.run([os.environ.get("CMAKE_COMMAND", "cmake"), "--install", build, "--prefix",
                    str(prefix)], check=True, capture_output=True)
    site = prefix / os.environ["TARNOVA_PYTHON_INSTALL_DIR"]
    assert (site / "tarnova" / "__init__.py").is_file()
    examples = pathlib.Path(__file__).resolve().parents[2] / "examples"
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    env["PYTHONPATH"] = str(site)
    done = subprocess.run(
        [sys.executable, "-c", "import sys, tarnova; print(tarnova.__file__); "
         "print(tarnova.run(tarnova.read_case(sys.argv[1]))[0].ultimate_moment)",
         str(examples / "box" / "BOX.ana")],
        env=env, cwd=tmp_path, capture_output=True, text=True, check=True)
    assert done.stdout.startswith(str(site))
    assert float(done.stdout.split()[1]) > 0
