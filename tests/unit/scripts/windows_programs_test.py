#!/usr/bin/env python3
"""Every shipped program of each Windows build as Windows 10/11 reads it:
relocations kept and the image marked for ASLR and DEP (high-entropy ASLR
on 64-bit); each .exe carries its manifest as RT_MANIFEST 1, which an XML
parser reads, in the form Windows XP SP2 accepts, with its execution level,
the supported systems Vista to 11 and GDI scaling for the windowed programs.
    windows_programs_test.py <Windows build>...
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_image import DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT, RELOCS_STRIPPED, PeImage  # noqa: E402

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
GDI_SCALING = "{http://schemas.microsoft.com/SMI/2017/WindowsSettings}gdiScaling"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}
# Program, its path in the build, the execution level its manifest asks for
# (None: a library, no manifest), whether it draws windows.
PROGRAMS = [
    ("Quorvel.exe", "app/shell/Quorvel.exe", "asInvoker", True),
    ("setup.exe", "setup/setup.exe", "requireAdministrator", True),
    ("remove.exe", "remove/remove.exe", "requireAdministrator", True),
    ("hh.exe", "content/hh.exe", "asInvoker", True),
    ("hhctrl.ocx", "content/hhctrl.ocx", None, True),
    ("quorvel-cli.exe", "cli/quorvel-cli.exe", "asInvoker", False),
]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def check_manifest(where, text, level, windowed, machine):
    # Windows XP SP2's parser fails on a second namespace declaration in one
    # element, and on prefixed ones.
    for tag in re.findall(rb"<[A-Za-z][^>]*>", text):
        check(tag.count(b"xmlns") <= 1 and b"xmlns:" not in tag,
              f"{where}: more than one namespace declaration in {tag.decode(errors='replace')}")
    try:
        root = ET.fromstring(text)
    except ET.ParseError as error:
        failures.append(f"{where}: the manifest is not XML: {error}")
        return
    check(root.tag == ASM_V1 + "assembly" and root.get("manifestVersion") == "1.0",
          f"{where}: the root is {root.tag} {root.attrib}, not an asm.v1 assembly of version 1.0")
    identity = root.find(ASM_V1 + "assemblyIdentity")
    check(identity is not None and identity.get("type") == "win32" and
          identity.get("processorArchitecture") == machine,
          f"{where}: the assembly identity does not name a win32 program for {machine}")
    levels = root.findall(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                          f"{ASM_V3}requestedExecutionLevel")
    check([(e.get("level"), e.get("uiAccess")) for e in levels] == [(level, "false")],
          f"{where}: execution levels {[e.attrib for e in levels]}, expected {level}")
    systems = [e.get("Id") for e in root.findall(f"{COMPATIBILITY}compatibility/{COMPATIBILITY}application/"
                                                  f"{COMPATIBILITY}supportedOS")]
    check(sorted(systems) == sorted(SUPPORTED_OS), f"{where}: supported systems {systems}")
    scaling = [e.text for e in root.findall(f"{ASM_V3}application/{ASM_V3}windowsSettings/{GDI_SCALING}")]
    check(scaling == (["true"] if windowed else []), f"{where}: gdiScaling {scaling}")
    # Not DPI-aware, and the classic controls: nothing else may creep in.
    check(not [e for e in root.iter() if e.tag.endswith(("dpiAware", "dpiAwareness", "dependency"))],
          f"{where}: declares DPI awareness or a dependency")


def check_build(build):
    for name, path, level, windowed in PROGRAMS:
        where = f"{os.path.basename(build)}/{name}"
        try:
            image = PeImage(os.path.join(build, path))
        except (OSError, ValueError) as error:
            failures.append(f"{where}: {error} (build the programs first)")
            continue
        wanted = DYNAMIC_BASE | NX_COMPAT | (HIGH_ENTROPY_VA if image.pe32_plus else 0)
        check(image.dll_characteristics & wanted == wanted,
              f"{where}: DllCharacteristics {image.dll_characteristics:#06x} lacks {wanted:#06x}")
        check(not image.characteristics & RELOCS_STRIPPED and image.directory[5][1] > 0 and
              ".reloc" in [s[0] for s in image.sections], f"{where}: no relocations")
        manifest = image.resource(24, 1)
        if level is None:
            continue
        if manifest is None:
            failures.append(f"{where}: no RT_MANIFEST 1")
            continue
        check_manifest(where, manifest, level, windowed, image.machine)


builds = sys.argv[1:]
if not builds:
    sys.exit("usage: windows_programs_test.py <Windows build>...")
for build in builds:
    check_build(build)
for failure in failures:
    print("FAIL " + failure)
if not failures:
    print(f"windows programs: flags and manifests hold in {', '.join(builds)}")
sys.exit(1 if failures else 0)
