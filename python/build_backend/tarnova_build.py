"""The build backend of the Python package tarnova (PEP 517), kept in the source tree.

`pip install .` and `python3 -m build --wheel` call it: it configures the suite with CMake,
builds only the extension target `_tarnova` (the same target the ordinary build makes for
`build/python`) and packs it with the pure-Python sources into a wheel. It needs nothing from a
package index (`requires = []`): cmake, a C++ compiler, pybind11 and the interpreter's headers
come from the system, as for the rest of the suite.

Config settings (`pip install . --config-settings build-dir=DIR`, `python3 -m build -C build-dir=DIR`):
  build-dir   the CMake build directory, kept for the next build (default: a temporary one)
  build-type  the CMake build type (default RelWithDebInfo, the suite's own)
  jobs        parallel compile jobs (default: every processor)
The compiler runs through ccache when it is installed.
"""

import base64
import hashlib
import os
import pathlib
import re
import shutil
import subprocess
import sys
import sysconfig
import tempfile
import zipfile

SOURCE = pathlib.Path(__file__).resolve().parents[2]
NAME = "tarnova"
SUMMARY = "Ultimate longitudinal strength of a ship's hull girder by progressive collapse"


def _version():
    """The suite's version, set once in the project() line of CMakeLists.txt."""
    text = (SOURCE / "CMakeLists.txt").read_text(encoding="utf-8")
    found = re.search(r"project\(\s*\w+\s+VERSION\s+([0-9][0-9.]*)", text)
    if not found:
        raise RuntimeError("no VERSION in the project() line of CMakeLists.txt")
    return found.group(1)


def _tag():
    interpreter = "cp%d%d" % sys.version_info[:2]
    abi = "cp%d%d%s" % (sys.version_info[0], sys.version_info[1], getattr(sys, "abiflags", ""))
    platform = re.sub(r"[^A-Za-z0-9]", "_", sysconfig.get_platform())
    return interpreter, abi, platform


def _metadata():
    readme = (SOURCE / "docs" / "python.md").read_text(encoding="utf-8")
    return (f"Metadata-Version: 2.1\nName: {NAME}\nVersion: {_version()}\nSummary: {SUMMARY}\n"
            "Requires-Python: >=3.9\nRequires-Dist: numpy\n"
            "Description-Content-Type: text/markdown\n\n" + readme)


def _setting(config_settings, name, default=None):
    value = (config_settings or {}).get(name)
    if isinstance(value, list):
        value = value[-1]
    return value if value not in (None, "") else default


def _build_extension(build_dir, config_settings):
    """Configures the tree and builds the target _tarnova; the path of the built extension."""
    build_type = _setting(config_settings, "build-type", "RelWithDebInfo")
    jobs = _setting(config_settings, "jobs", str(os.cpu_count() or 1))
    configure = ["cmake", "-S", str(SOURCE), "-B", str(build_dir), f"-DCMAKE_BUILD_TYPE={build_type}",
                 "-DTARNOVA_TESTS=OFF", "-DTARNOVA_BENCHMARKS=OFF", "-DTARNOVA_PYTHON=ON",
                 f"-DPython3_EXECUTABLE={sys.executable}"]
    env = dict(os.environ)
    if shutil.which("ccache"):
        configure += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
        # Objects built in another build directory of the same tree are reused.
        env.setdefault("CCACHE_NOHASHDIR", "1")
    for command in (configure, ["cmake", "--build", str(build_dir), "--target", "_tarnova", "-j", jobs]):
        # CMake's progress on standard error: pip shows it with -v and keeps it on a failure.
        subprocess.run(command, check=True, env=env, stdout=sys.stderr)
    built = sorted((pathlib.Path(build_dir) / "python" / NAME).glob("_tarnova*.so"))
    if len(built) != 1:
        raise RuntimeError(f"expected one built extension in {build_dir}/python/{NAME}, found {built}")
    return built[0]


def _record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}"


def _write_wheel(wheel_directory, extension):
    interpreter, abi, platform = _tag()
    version = _version()
    dist_info = f"{NAME}-{version}.dist-info"
    wheel_name = f"{NAME}-{version}-{interpreter}-{abi}-{platform}.whl"
    files = []
    for source in sorted((SOURCE / "python" / NAME).glob("*.py")):
        files.append((f"{NAME}/{source.name}", source.read_bytes()))
    # Without the debugging sections, as a packaged library ships.
    with tempfile.TemporaryDirectory() as scratch:
        stripped = pathlib.Path(scratch) / extension.name
        shutil.copyfile(extension, stripped)
        if shutil.which("strip"):
            subprocess.run(["strip", "--strip-debug", str(stripped)], check=True)
        files.append((f"{NAME}/{extension.name}", stripped.read_bytes()))
    files.append((f"{dist_info}/METADATA", _metadata().encode()))
    files.append((f"{dist_info}/WHEEL", (
        "Wheel-Version: 1.0\nGenerator: tarnova_build\nRoot-Is-Purelib: false\n"
        f"Tag: {interpreter}-{abi}-{platform}\n").encode()))
    record = "\n".join(_record_line(name, data) for name, data in files)
    record += f"\n{dist_info}/RECORD,,\n"
    files.append((f"{dist_info}/RECORD", record.encode()))
    path = pathlib.Path(wheel_directory) / wheel_name
    with zipfile.ZipFile(path, "w", compression=zipfile.ZIP_DEFLATED) as wheel:
        for name, data in files:
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.external_attr = (0o755 if name.endswith(".so") else 0o644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            wheel.writestr(info, data)
    return wheel_name


# PEP 517 hooks.

def get_requires_for_build_wheel(config_settings=None):
    return []


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    dist_info = pathlib.Path(metadata_directory) / f"{NAME}-{_version()}.dist-info"
    dist_info.mkdir(parents=True, exist_ok=True)
    (dist_info / "METADATA").write_text(_metadata(), encoding="utf-8")
    return dist_info.name


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    build_dir = _setting(config_settings, "build-dir")
    if build_dir:
        return _write_wheel(wheel_directory, _build_extension(os.path.abspath(build_dir), config_settings))
    with tempfile.TemporaryDirectory(prefix="tarnova-build-") as scratch:
        return _write_wheel(wheel_directory, _build_extension(scratch, config_settings))
