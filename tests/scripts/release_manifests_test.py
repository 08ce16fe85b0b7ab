#!/usr/bin/env python3
"""Checks that the release generator's manifests agree with the files they describe: it runs
scripts/release/make_release.py twice on small stand-in files and reads what it wrote, with
hashlib, zipfile, json and sha256sum, never with the generator's own code. Ends with one line
"release: N passed, M failed"."""
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GENERATOR = os.path.join(ROOT, "scripts", "release", "make_release.py")
VERSION = "2.3.4-beta.5"
BASE = "https://downloads.example.test/orvan"  # no trailing slash: the generator adds one
EXE = "Orvan-%s-win64.exe" % VERSION
ZIP = "Orvan-%s-win64.zip" % VERSION

passed = 0
failed = 0


def check(name, condition, detail=""):
    global passed, failed
    if condition:
        passed += 1
    else:
        failed += 1
        print("FAIL %s%s" % (name, (": " + str(detail)) if detail else ""))


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def generate(work, out, version=VERSION):
    return subprocess.run(
        [sys.executable, GENERATOR, "--program", os.path.join(work, "Orvan.exe"),
         "--languages", os.path.join(work, "Languages"), "--readme",
         os.path.join(work, "README.md"), "--license", os.path.join(work, "LICENSE"),
         "--version", version, "--base-url", BASE, "--out", out],
        capture_output=True)


def yaml_values(text):
    """The 'Key: value' lines of a simple YAML document, by key, list items left out; a key
    that repeats keeps its first value."""
    values = {}
    for line in text.splitlines():
        m = re.match(r"^\s*(?:- )?([A-Za-z0-9]+): (.*)$", line)
        if m and m.group(1) not in values:
            value = m.group(2)
            if value.startswith("'") and value.endswith("'"):
                value = value[1:-1].replace("''", "'")
            values[m.group(1)] = value
    return values


def main():
    with tempfile.TemporaryDirectory() as work:
        # Stand-ins: a "program" with every byte value, two translations, a README with LF ends.
        program = bytes(range(256)) * 64
        os.makedirs(os.path.join(work, "Languages"))
        languages = {"German.lng": b"[Language]\nCode=1031\n", "French.lng": b"[Language]\nCode=1036\n"}
        for name, data in languages.items():
            with open(os.path.join(work, "Languages", name), "wb") as f:
                f.write(data)
        with open(os.path.join(work, "Languages", "notes.txt"), "wb") as f:
            f.write(b"not a translation")
        for name, data in (("Orvan.exe", program), ("README.md", b"# Orvan!\n\nPut an empty Orvan.ini beside it.\n"),
                           ("LICENSE", b"MIT License\r\n\r\nCopyright (c) 2026 Morvane\n")):
            with open(os.path.join(work, name), "wb") as f:
                f.write(data)

        first, second = os.path.join(work, "first"), os.path.join(work, "second")
        run = generate(work, first)
        check("the generator succeeds", run.returncode == 0, run.stderr.decode())
        generate(work, second)
        names = sorted(os.listdir(first))
        check("the release's files", names == sorted(
            [EXE, ZIP, "SHA256SUMS", "orvan.json", "Morvane.Orvan.yaml",
             "Morvane.Orvan.installer.yaml", "Morvane.Orvan.locale.en-US.yaml"]), names)
        for name in names:
            check("a second run gives the same %s" % name,
                  read(os.path.join(first, name)) == read(os.path.join(second, name)))

        exe = read(os.path.join(first, EXE))
        archive = read(os.path.join(first, ZIP))
        check("the standalone program is the built one", exe == program)

        # The zip: the program, the translations, README and LICENSE as Windows text.
        with zipfile.ZipFile(os.path.join(first, ZIP)) as z:
            check("the zip is whole", z.testzip() is None)
            listed = z.namelist()
            check("the zip's entries, in name order", listed == [
                "LICENSE.txt", "Languages/French.lng", "Languages/German.lng", "Orvan.exe",
                "README.txt"], listed)
            check("the zip's Orvan.exe", z.read("Orvan.exe") == program)
            for name, data in languages.items():
                check("the zip's " + name, z.read("Languages/" + name) == data)
            check("README as text with CR LF",
                  z.read("README.txt") == b"# Orvan!\r\n\r\nPut an empty Orvan.ini beside it.\r\n")
            check("LICENSE as text with CR LF",
                  z.read("LICENSE.txt") == b"MIT License\r\n\r\nCopyright (c) 2026 Morvane\r\n")
            check("no time of the build in the zip",
                  {info.date_time for info in z.infolist()} == {(1980, 1, 1, 0, 0, 0)})

        # SHA256SUMS in sha256sum's own format: sha256sum itself checks it.
        sums = read(os.path.join(first, "SHA256SUMS")).decode()
        check("SHA256SUMS lists both files",
              sums == "%s  %s\n%s  %s\n" % (sha256(exe), EXE, sha256(archive), ZIP), sums)
        verify = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=first, capture_output=True)
        check("sha256sum -c accepts it", verify.returncode == 0, verify.stdout.decode())

        # Scoop: the zip's address and hash, a portable copy that keeps its files.
        scoop = json.loads(read(os.path.join(first, "orvan.json")))
        check("Scoop: version", scoop.get("version") == VERSION)
        check("Scoop: url", scoop.get("url") == BASE + "/" + ZIP, scoop.get("url"))
        check("Scoop: hash", scoop.get("hash") == sha256(archive))
        check("Scoop: bin", scoop.get("bin") == "Orvan.exe")
        check("Scoop: shortcut", scoop.get("shortcuts") == [["Orvan.exe", "Orvan!"]])
        check("Scoop: persist", scoop.get("persist") == ["Orvan.ini", "Orvan_Catalog.xml"])
        pre = "\n".join(scoop.get("pre_install", []))
        check("Scoop: pre_install writes a missing Orvan.ini",
              'if (!(Test-Path "$dir\\Orvan.ini"))' in pre and 'Set-Content -Path "$dir\\Orvan.ini"' in pre, pre)
        check("Scoop: pre_install writes a missing catalog",
              'if (!(Test-Path "$dir\\Orvan_Catalog.xml"))' in pre and "<catalog" in pre, pre)
        checkver = scoop.get("checkver", {})
        match = re.search(checkver.get("regex", "^$"), sums)
        check("Scoop: checkver finds this version in SHA256SUMS",
              checkver.get("url") == BASE + "/SHA256SUMS" and match is not None and match.group(1) == VERSION)
        autoupdate = scoop.get("autoupdate", {})
        check("Scoop: autoupdate names the next version's zip",
              autoupdate.get("url", "").replace("$version", VERSION) == scoop.get("url"))
        check("Scoop: autoupdate takes the hash from SHA256SUMS",
              autoupdate.get("hash", {}).get("url") == "$baseurl/SHA256SUMS")

        # winget: three manifests of one package and version.
        docs = {kind: read(os.path.join(first, name)).decode() for kind, name in (
            ("version", "Morvane.Orvan.yaml"), ("installer", "Morvane.Orvan.installer.yaml"),
            ("defaultLocale", "Morvane.Orvan.locale.en-US.yaml"))}
        values = {kind: yaml_values(text) for kind, text in docs.items()}
        for kind, v in values.items():
            check("winget %s: identifier" % kind, v.get("PackageIdentifier") == "Morvane.Orvan")
            check("winget %s: version" % kind, v.get("PackageVersion") == VERSION, v.get("PackageVersion"))
            check("winget %s: type" % kind, v.get("ManifestType") == kind)
            check("winget %s: manifest version 1.6.0" % kind, v.get("ManifestVersion") == "1.6.0")
            check("winget %s: no tab" % kind, "\t" not in docs[kind])
        check("winget: the default locale has its manifest",
              values["version"].get("DefaultLocale") == values["defaultLocale"].get("PackageLocale") == "en-US")
        installer = values["installer"]
        expected = {
            "InstallerType": "exe", "Scope": "user", "Silent": "-silent",
            "SilentWithProgress": "-silent", "ProductCode": "Orvan",
            "InstallerUrl": BASE + "/" + EXE, "InstallerSha256": sha256(exe).upper(),
            "DisplayName": "Orvan!", "Publisher": "Morvane", "DisplayVersion": VERSION,
        }
        for key, value in expected.items():
            check("winget installer: " + key, installer.get(key) == value, installer.get(key))
        check("winget locale: MIT", values["defaultLocale"].get("License") == "MIT")

        # A version a package manager could not order is refused, and nothing is written.
        bad = os.path.join(work, "bad")
        run = generate(work, bad, version="0.1 Beta 1")
        check("a version not in package form is refused",
              run.returncode != 0 and not os.path.exists(os.path.join(bad, "orvan.json")))

    print("release: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
