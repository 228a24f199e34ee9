// The association of configuration files as the freedesktop.org desktops know it: a MIME
// package for "*.qvr" and a desktop file for the program under $XDG_DATA_HOME, and the program
// as the type's default in $XDG_CONFIG_HOME/mimeapps.list. Written together with the
// ".qvr" keys of the stand-in; the desktop's caches are brought up to date by its own tools
// (update-mime-database, update-desktop-database) when they are installed.
#pragma once

#include <string>
#include <string_view>

#include "text/WideTypes.h"

inline constexpr std::string_view kConfigurationMimeType = "application/x-quorbel-configuration";
inline constexpr std::string_view kDesktopFileName = "quorbel.desktop";

// The Exec line's value for Exe: the path quoted by the desktop-entry rules, then " %F".
// A path holding "%" is started through "env": launchers look for the program before they
// turn "%%" back into "%", and drop an entry whose program they cannot find.
std::string DesktopExecValue(WideStringView Exe);

// mimeapps.list text with DesktopId as the default of MimeType in "[Default Applications]"
// (the group is added at the end when missing); every other line is kept byte for byte.
std::string MimeAppsWithDefault(std::string_view Text, std::string_view MimeType,
                                std::string_view DesktopId);
// mimeapps.list text without DesktopId among the defaults of MimeType; a line left without
// any entry goes, every other line stays byte for byte.
std::string MimeAppsWithoutDefault(std::string_view Text, std::string_view MimeType,
                                   std::string_view DesktopId);

// Writes the MIME package, the desktop file and the default, then runs the desktop's update
// tools (each at most a few seconds; failures are ignored). True when the files were written.
bool ProjectConfigurationFiles(WideStringView Exe);
// Removes the package and the desktop file only when they are ours, and our default only.
void RemoveConfigurationProjection();
// The package is in place and the desktop file starts Exe.
bool ConfigurationProjectionInPlace(WideStringView Exe);
