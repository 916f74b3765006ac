#!/usr/bin/env python3
"""Writes the three winget manifests (version, installer, default locale) for a built installer.

    make_winget_manifests.py <setup.exe> <version> <download address> <folder to write>

A release maintainer submits the three files to the winget-pkgs repository, under
manifests/n/Nettlewick/OrbelsLaunch/<version>/, once the installer is at its download address.
The package's details come from winget-package.txt and OrbelsLaunch.nsi beside this script; the
files hold no date and no path of the build, so that two builds of one commit give the same.
"""
import hashlib
import os
import re
import sys

MANIFEST_VERSION = "1.9.0"
HERE = os.path.dirname(os.path.abspath(__file__))


def read_details(path):
    """The "Key: value" lines of winget-package.txt."""
    details = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                key, _, value = line.partition(":")
                details[key.strip()] = value.strip()
    return details


def nsi_defines(path):
    """The installer script's !define values, with ${NAME} references among them resolved."""
    defines = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            match = re.match(r'\s*!define\s+(\w+)\s+"([^"]*)"', line)
            if match:
                resolve = lambda reference: defines.get(reference.group(1), reference.group(0))
                defines[match.group(1)] = re.sub(r"\$\{(\w+)\}", resolve, match.group(2))
    return defines


def product_code(defines):
    """What winget matches against Windows' list of installed programs: the uninstall entry's key."""
    return defines["UNINSTALL_KEY"].rsplit("\\", 1)[-1]


def scalar(value):
    """A YAML scalar that reads back as exactly this text: plain when that is safe, else quoted."""
    plain = (value and value == value.strip() and value[0] not in "-?:,[]{}#&*!|>'\"%@`"
             and ": " not in value and " #" not in value and not value.endswith(":")
             and not re.fullmatch(r"[-+]?[\d_]*\.?[\d_]*([eE][-+]?\d+)?|0[xo][\da-f]+|[-+]?\.(inf|nan)"
                              r"|true|false|yes|no|on|off|null|~", value, re.IGNORECASE))
    return value if plain else "'" + value.replace("'", "''") + "'"


def manifest(kind, lines):
    body = "".join(f"{line}\n" for line in lines)
    return (f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json\n\n"
            f"{body}ManifestType: {kind}\nManifestVersion: {MANIFEST_VERSION}\n")


def main(setup_file, version, download_address, out_dir):
    details = read_details(os.path.join(HERE, "winget-package.txt"))
    defines = nsi_defines(os.path.join(HERE, "OrbelsLaunch.nsi"))
    with open(setup_file, "rb") as f:
        sha256 = hashlib.sha256(f.read()).hexdigest().upper()
    ident = details["PackageIdentifier"]
    head = [f"PackageIdentifier: {scalar(ident)}", f"PackageVersion: {scalar(version)}"]
    with_version = lambda text: scalar(text.replace("@VERSION@", version))
    files = {
        f"{ident}.yaml": manifest("version", head + ["DefaultLocale: en-US"]),
        # The installer is per user (HKCU, no administrator) and upgrades in place, in the earlier
        # installation's folder; the switches are NSIS's own.
        f"{ident}.installer.yaml": manifest("installer", head + [
            f"MinimumOSVersion: {scalar(details['MinimumOSVersion'])}",
            "InstallerType: nullsoft",
            "Scope: user",
            "InstallModes:", "- interactive", "- silent", "- silentWithProgress",
            "InstallerSwitches:", "  Silent: /S", "  SilentWithProgress: /S",
            f"  InstallLocation: {scalar('/D=<INSTALLPATH>')}",
            "UpgradeBehavior: install",
            f"ProductCode: {scalar(product_code(defines))}",
            "Installers:",
            "- Architecture: x64",
            f"  InstallerUrl: {with_version(download_address)}",
            f"  InstallerSha256: {sha256}",
        ]),
        f"{ident}.locale.en-US.yaml": manifest("defaultLocale", head + [
            "PackageLocale: en-US",
            f"Publisher: {scalar(defines['PUBLISHER'])}",
            f"PackageName: {scalar(defines['PRODUCT'])}",
            f"License: {scalar(details['License'])}",
            f"ShortDescription: {scalar(details['ShortDescription'])}",
            f"ReleaseNotesUrl: {with_version(details['ReleaseNotesUrl'])}",
        ]),
    }
    os.makedirs(out_dir, exist_ok=True)
    for name, text in files.items():
        with open(os.path.join(out_dir, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
