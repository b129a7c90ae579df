// The Windows-version label of the installer's folder dialog, and the flag
// by which the uninstaller picks the INF processor of old Windows 9x.
#pragma once

constexpr unsigned WindowsVersionLabelSize = 128;

// The fields of the basic version structure that the label depends on.
struct WindowsVersion {
    unsigned long majorVersion;
    unsigned long minorVersion;
    unsigned long platformId;   // 1 Windows 9x, 2 Windows NT
    const char* servicePack;    // the service-pack text, may be empty
};

// Fills label (at most size - 1 characters) with the version's label, every
// label ending with a blank; empty when version is null (it could not be
// read) or the platform is unknown. Returns true when the uninstaller must
// use "rundll.exe setupx.dll": version unknown, Windows 95 or Windows 98.
bool windowsVersionLabel(const WindowsVersion* version, char* label, unsigned size);
