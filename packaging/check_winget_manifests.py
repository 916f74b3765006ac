#!/usr/bin/env python3
"""Reads the winget manifests that `make dist` wrote back as YAML and checks them against the
installer they describe: the hash against the setup file itself, the version against project()
in CMakeLists.txt, and the product code, scope, architecture and switches against what
OrbelsLaunch.nsi makes the installer do. Prints each disagreement; exit code 1 if there is one.

    check_winget_manifests.py <dist folder> <source folder>
"""
import hashlib
import os
import re
import sys

import yaml

from make_winget_manifests import nsi_defines


def main(dist_dir, source_dir):
    with open(os.path.join(source_dir, "CMakeLists.txt"), encoding="utf-8") as f:
        version = re.search(r"project\(\w+ VERSION ([\d.]+)", f.read()).group(1)
    nsi_path = os.path.join(source_dir, "packaging", "OrbelsLaunch.nsi")
    with open(nsi_path, encoding="utf-8") as f:
        script = f.read()
    defines = nsi_defines(nsi_path)
    # The key under which the installer writes its uninstall command, and in which hive.
    hive, key = re.search(r'WriteRegStr (\w+) "\$\{(\w+)\}" "UninstallString"', script).groups()
    with open(os.path.join(dist_dir, f"OrbelsLaunch-{version}-setup.exe"), "rb") as f:
        setup_sha256 = hashlib.sha256(f.read()).hexdigest().upper()

    manifests, headers = {}, {}
    for kind, suffix in (("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.en-US")):
        with open(os.path.join(dist_dir, "winget", f"Nettlewick.OrbelsLaunch{suffix}.yaml"), encoding="utf-8") as f:
            headers[kind] = f.readline().rstrip("\n")
            f.seek(0)
            manifests[kind] = yaml.safe_load(f)
    installer = manifests["installer"]
    package = installer["Installers"][0]
    checks = [
        ("installer hash", package["InstallerSha256"], setup_sha256),
        ("architecture", package["Architecture"], "x64" if "Target amd64-" in script else "x86"),
        ("product code", installer["ProductCode"], defines[key].rsplit("\\", 1)[-1]),
        ("scope", installer["Scope"],
         "user" if hive == "HKCU" and "RequestExecutionLevel user" in script else "machine"),
        ("installer type", installer["InstallerType"], "nullsoft"),
        ("switches", installer["InstallerSwitches"],
         {"Silent": "/S", "SilentWithProgress": "/S", "InstallLocation": "/D=<INSTALLPATH>"}),
        ("upgrade", installer["UpgradeBehavior"], "install"),
        ("locale", manifests["version"]["DefaultLocale"], manifests["defaultLocale"]["PackageLocale"]),
        ("publisher", manifests["defaultLocale"]["Publisher"], defines["PUBLISHER"]),
    ]
    for kind, manifest in manifests.items():
        release = manifest["ManifestVersion"]
        checks += [
            (f"{kind}: identifier", manifest["PackageIdentifier"], "Nettlewick.OrbelsLaunch"),
            (f"{kind}: version", manifest["PackageVersion"], version),
            (f"{kind}: type", manifest["ManifestType"], kind),
            (f"{kind}: manifest version 1.6.0 or later", tuple(map(int, release.split("."))) >= (1, 6, 0), True),
            (f"{kind}: schema line", headers[kind],
             f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{release}.schema.json"),
        ]
    wrong = [(what, got, expected) for what, got, expected in checks if got != expected]
    for what, got, expected in wrong:
        print(f"winget manifests: {what} is {got!r}, should be {expected!r}", file=sys.stderr)
    if not wrong:
        print(f"winget manifests: {len(checks)} fields agree with the installer")
    return 1 if wrong else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
