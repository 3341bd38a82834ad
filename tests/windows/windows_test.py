#!/usr/bin/env python3
"""The Windows build under Wine (run by scripts/windows-test, which starts Xvfb and Wine):
the same game as the native one, the zip unpacked under a Slovak user's folder, the image-list
tool there, the installer and its uninstaller, and the start-up error without pictures."""
import json
import os
import shutil
import struct
import subprocess
import time
import unittest
import zipfile
import zlib

BUILD = os.path.abspath(os.environ.get("ZELGORA_WINDOWS_BUILD", "build/windows"))
NATIVE = os.path.abspath(os.environ.get("ZELGORA_NATIVE", "build/ci/zelgora"))
OUT = os.path.abspath(os.environ.get("ZELGORA_WINDOWS_OUT", "build/windows-test"))
WINEPREFIX = os.environ["WINEPREFIX"]
CLOCK = "2026-12-10T12:00:00"
SLOVAK = os.path.join(OUT, "Používateľ", "Hry")

# What a program may import: Windows' own DLLs and the two that come with the game.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "advapi32.dll",
               "ole32.dll", "oleaut32.dll", "imm32.dll", "version.dll", "winmm.dll",
               "setupapi.dll", "msvcrt.dll", "opengl32.dll", "cfgmgr32.dll"}
GAME_DLLS = {"sdl2.dll", "libepoxy-0.dll"}


def version():
    with open(os.path.join(BUILD, "CMakeCache.txt"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("CMAKE_PROJECT_VERSION:STATIC="):
                return line.split("=", 1)[1].strip()
    raise AssertionError("no project version in the build's cache")


def win(path):
    """The Windows name of a path of this machine: Wine's drive Z: is the root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(exe, *args, cwd=None, timeout=300):
    return subprocess.run(["wine", exe, *args], cwd=cwd, capture_output=True, timeout=timeout,
                          stdin=subprocess.DEVNULL)


def read_png(path):
    """Width, height and RGB rows of an 8-bit RGB or RGBA PNG (what the game writes)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise AssertionError(f"{path}: not a PNG")
    at, idat, head = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    w, h, depth, colour, _, _, interlace = head
    if depth != 8 or colour not in (2, 6) or interlace:
        raise AssertionError(f"{path}: depth {depth}, colour type {colour}, interlace {interlace}")
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = w * bpp
    rows, prev = [], bytearray(stride)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line[i] for i in range(stride) if i % bpp < 3))
        prev = line
    return w, h, rows


def compare_pictures(a, b, tolerance=48):
    """Share of pixels whose largest channel difference is over tolerance; mean difference."""
    wa, ha, ra = read_png(a)
    wb, hb, rb = read_png(b)
    if (wa, ha) != (wb, hb):
        return {"size": f"{wa}x{ha} vs {wb}x{hb}"}
    over = total = 0
    for p, q in zip(ra, rb):
        for x in range(0, len(p), 3):
            d = [abs(p[x + c] - q[x + c]) for c in range(3)]
            total += sum(d)
            over += max(d) > tolerance
    n = wa * ha
    return {"size": "same", "over": over / n, "mean": total / (3 * n)}


def differences(a, b, at="", found=None):
    """Every field, by path: the first ten differences, none when equal."""
    found = [] if found is None else found
    if len(found) >= 10:
        return found
    if isinstance(a, dict) and isinstance(b, dict):
        for k in sorted(set(a) | set(b)):
            differences(a.get(k), b.get(k), f"{at}/{k}", found)
    elif isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        for i, (x, y) in enumerate(zip(a, b)):
            differences(x, y, f"{at}/{i}", found)
    elif type(a) is not type(b) or a != b:
        found.append(f"{at}: {json.dumps(a)} vs {json.dumps(b)}")
    return found


def imports(exe):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], capture_output=True,
                         text=True, check=True).stdout
    return {line.split("DLL Name:")[1].strip().lower() for line in out.splitlines()
            if "DLL Name:" in line}


def unzip_into(folder):
    """The zip unpacked into folder; its top folder."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    name = f"zelgora-{version()}-windows-x64"
    with zipfile.ZipFile(os.path.join(BUILD, name + ".zip")) as z:
        z.extractall(folder)
    return os.path.join(folder, name)


PLAY_KEYS = ("200 down RETURN\n201 up RETURN\n400 down SHIFT\n400 down RIGHT\n401 up RIGHT\n"
             "402 up SHIFT\n460 down UP\n461 up UP\n520 down F1\n521 up F1\n"
             "600 down CONTROL\n600 down DOWN\n640 up DOWN\n641 up CONTROL\n700 down SHIFT\n"
             "700 down LEFT\n701 up LEFT\n702 up SHIFT\n")


class WindowsBuild(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(OUT, exist_ok=True)
        cls.game = unzip_into(SLOVAK)

    def run_game(self, exe, *args, code=0):
        r = wine(exe, "--headless", *args)
        self.assertEqual(r.returncode, code, r.stderr.decode("utf-8", "replace"))
        return r

    def test_plays_as_the_native_game_field_for_field(self):
        keys = os.path.join(OUT, "play.keys")
        with open(keys, "w") as f:
            f.write(PLAY_KEYS)
        common = ["--seed", "5", "--clock", CLOCK, "--frames", "800"]
        native_json, native_png = os.path.join(OUT, "play-native.json"), os.path.join(OUT, "play-native.png")
        subprocess.run([NATIVE, "--headless", *common, "--keys", keys, "--dump-state", native_json,
                        "--screenshot", native_png], check=True,
                       env={**os.environ, "SDL_VIDEODRIVER": "offscreen", "SDL_AUDIODRIVER": "dummy"})
        windows_json, windows_png = os.path.join(OUT, "play-windows.json"), os.path.join(OUT, "play-windows.png")
        self.run_game(os.path.join(BUILD, "zelgora.exe"), *common, "--keys", win(keys),
                      "--dump-state", win(windows_json), "--screenshot", win(windows_png))
        with open(native_json) as a, open(windows_json) as b:
            expected, state = json.load(a), json.load(b)
        self.assertTrue(expected["HelpVisible"], "the script no longer opens the help panel")
        self.assertEqual(differences(expected, state), [])
        cmp = compare_pictures(native_png, windows_png)
        print(f"play: pixels off by more than 48: {cmp.get('over', 1) * 100:.3f} %, "
              f"mean difference {cmp.get('mean', -1):.3f}")
        self.assertEqual(cmp["size"], "same")
        self.assertLess(cmp["over"], 0.005, cmp)
        self.assertLess(cmp["mean"], 1, cmp)

    def test_zip_holds_what_a_player_needs_and_no_runtime_dll(self):
        for f in ["zelgora.exe", "zelgora-dxg.exe", "SDL2.dll", "libepoxy-0.dll", "tahoma.ttf",
                  "tahomabd.ttf", "README.txt", "licences/Zelgora.txt", "Bitmaps/SetupBars.dxg",
                  "Bitmaps/FaceMask.dxg", "Bitmaps/ZelgoraTobrin.dxg"]:
            self.assertTrue(os.path.isfile(os.path.join(self.game, f)), f)
        for exe in ["zelgora.exe", "zelgora-dxg.exe", "SDL2.dll", "libepoxy-0.dll"]:
            extra = imports(os.path.join(self.game, exe)) - SYSTEM_DLLS - GAME_DLLS
            self.assertEqual(extra, set(), exe)

    def test_programs_carry_icon_version_and_dpi_manifest(self):
        with open(os.path.join(os.path.dirname(NATIVE), "icons", "zelgora-256.png"), "rb") as f:
            icon = f.read()
        for exe, subsystem in [("zelgora.exe", "(Windows GUI)"), ("zelgora-dxg.exe", "(Windows CUI)")]:
            with open(os.path.join(self.game, exe), "rb") as f:
                data = f.read()
            self.assertIn(icon, data, exe)
            self.assertIn(b"<dpiAwareness", data, exe)
            self.assertIn(b"PerMonitorV2", data, exe)
            self.assertIn("ProductVersion\0".encode("utf-16-le") + version().encode("utf-16-le"),
                          data, exe)
            head = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", os.path.join(self.game, exe)],
                                  capture_output=True, text=True, check=True).stdout
            line = next(l for l in head.splitlines() if l.startswith("Subsystem"))
            self.assertIn(subsystem, line, exe)

    def test_unpacked_under_a_slovak_folder_it_plays_and_writes_there(self):
        dump = os.path.join(self.game, "stav hráča.json")
        shot = os.path.join(self.game, "obrázok ľ.png")
        for f in (dump, shot):
            if os.path.exists(f):
                os.remove(f)
        self.run_game(os.path.join(self.game, "zelgora.exe"), "--seed", "3", "--clock", CLOCK,
                      "--frames", "240", "--dump-state", win(dump), "--screenshot", win(shot))
        with open(dump) as f:
            self.assertEqual(json.load(f)["Frame"], 240)
        w, h, _ = read_png(shot)
        self.assertEqual((w, h), (640, 480))

    def test_image_list_tool_lists_and_extracts_under_a_slovak_folder(self):
        tool = os.path.join(self.game, "zelgora-dxg.exe")
        listed = wine(tool, "list", win(os.path.join(self.game, "Bitmaps", "FaceMask.dxg")))
        self.assertEqual(listed.returncode, 0, listed.stderr)
        lines = listed.stdout.decode().strip().splitlines()
        self.assertGreater(len(lines), 1)
        into = os.path.join(SLOVAK, "výťah")
        shutil.rmtree(into, ignore_errors=True)
        r = wine(tool, "extract", win(os.path.join(self.game, "Bitmaps", "FaceMask.dxg")), win(into))
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(os.path.join(into, "manifest.json")) as f:
            items = json.load(f)["items"]
        pngs = [i["png"] for i in items if "png" in i]
        self.assertTrue(pngs)
        for p in pngs:
            self.assertTrue(os.path.isfile(os.path.join(into, p)), p)

    def test_without_pictures_start_up_reports_the_folders_and_ends_with_1(self):
        bare = os.path.join(SLOVAK, "bez obrázkov")
        shutil.rmtree(bare, ignore_errors=True)
        os.makedirs(bare)
        for f in ["zelgora.exe", "SDL2.dll", "libepoxy-0.dll", "tahoma.ttf", "tahomabd.ttf"]:
            shutil.copy(os.path.join(self.game, f), bare)
        r = self.run_game(os.path.join(bare, "zelgora.exe"), "--frames", "5", code=1)
        err = r.stderr.decode("utf-8", "replace")
        self.assertIn("no game data", err)
        self.assertIn("bez obrázkov", err)  # the folder tried, named as it is

    def test_version_reaches_the_starting_console(self):
        r = wine(os.path.join(self.game, "zelgora.exe"), "--version")
        self.assertEqual(r.returncode, 0)
        self.assertIn(version(), r.stdout.decode())

    def test_installer_installs_silently_and_the_uninstaller_removes_it(self):
        installer = os.path.join(BUILD, f"zelgora-{version()}-windows-x64.exe")
        folder = os.path.join(WINEPREFIX, "drive_c", "Program Files", "Zelgora")
        r = wine(installer, "/S")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertTrue(os.path.isfile(os.path.join(folder, "zelgora.exe")), "not installed")
        links = [os.path.join(d, f) for d, _, fs in os.walk(os.path.join(WINEPREFIX, "drive_c"))
                 for f in fs if f == "Zelgora.lnk" and "Start Menu" in d]
        self.assertTrue(links, "no Start-menu entry")
        dump = os.path.join(OUT, "installed.json")
        if os.path.exists(dump):
            os.remove(dump)
        self.run_game(os.path.join(folder, "zelgora.exe"), "--frames", "30", "--dump-state", win(dump))
        with open(dump) as f:
            self.assertEqual(json.load(f)["Frame"], 30)
        r = wine(os.path.join(folder, "Uninstall.exe"), "/S")
        self.assertEqual(r.returncode, 0, r.stderr)
        # The uninstaller goes on from a copy of itself after it has returned.
        for _ in range(120):
            if not os.path.exists(folder):
                break
            time.sleep(0.25)
        self.assertFalse(os.path.exists(folder), os.listdir(folder) if os.path.exists(folder) else "")
        for link in links:
            self.assertFalse(os.path.exists(link), link)


if __name__ == "__main__":
    unittest.main(verbosity=2)
