// Registering the program with the desktop: the association of configuration files, the
// "Send To" shortcut and the context-menu verbs for folders, all files and chosen extensions.
// The keys are those of HKEY_CLASSES_ROOT, kept in the stand-in of ClassesRegistry.h; the
// association is also projected onto the desktop's own MIME and application files
// (FileTypeProjection.h). Linux has no desktop-wide "Send To" menu: the shortcut goes into the
// program's own Send To folder, and the verbs live in the stand-in only.
#pragma once

#include "text/WideTypes.h"

inline constexpr WideStringView kShellVerbKey = u"Quorbeldoc";
inline constexpr WideStringView kConfigurationExtension = u".qvr";
inline constexpr WideStringView kConfigurationFileType = u"Quorbel Konfiguration";
inline constexpr WideStringView kShortcutDisplayName = u"Quorbel";

// The open command: Exe and Argument, each in double quotes, with a blank between.
WideString OpenCommand(WideStringView Exe, WideStringView Argument = u"%1");

// Where the Send To shortcut of the program lives (the folder may be missing).
WideString SendToShortcutPath();
// The Send To folder, QuorbelDataFolder() + "/SendTo", created when missing; empty when it
// cannot be.
WideString GetSendToFolder();
// Writes a shortcut file at LinkPath: "key=value" lines for the target, the description, the
// working folder, the arguments and, only when IconFile is given and IconIndex is 0 or more,
// the icon location ("file,index"). A line break or "\" in a value is written as "\n", "\r"
// or "\\". True when the file was written.
bool CreateShellLink(WideStringView LinkPath, WideStringView Target, WideStringView Description,
                     int IconIndex, WideStringView IconFile, WideStringView Arguments,
                     WideStringView WorkingFolder);

// Writes the four keys of a file type: the extension (a missing "." is added) naming
// FileTypeName, the type with Description, its "DefaultIcon" (Exe + ",0") and its
// "Shell\Open\Command" (OpenCommand(Exe, ArgumentText)). True when the last was written.
bool RegisterFileExtension(WideString Extension, WideStringView FileTypeName,
                           WideStringView Description, int Unused, WideStringView ArgumentText,
                           WideStringView Exe);
// Removes what RegisterFileExtension wrote for FileTypeName and nothing of another program:
// the extension key only while it names FileTypeName, the type key of that name. True when
// neither is left afterwards.
bool UnregisterFileExtension(WideString Extension,
                             WideStringView FileTypeName = kConfigurationFileType);

// Windows tells every window that the system metrics changed; here there is no one to tell.
void BroadcastSettingChange();
// Windows makes the shell reload its icons by changing the icon size to and fro; the desktops
// here reload on their own. Always false: nothing was done.
bool RefreshShellIcons();

// The association of configuration files with Exe: the four keys and their projection.
bool RegisterConfigurationFiles(WideStringView Exe);
// Removes what is ours of it (UnregisterFileExtension, RemoveConfigurationProjection).
void UnregisterConfigurationFiles();
// In place: ".qvr" names our type, the type has "DefaultIcon" and Exe's open command, and the
// projection is made for Exe.
bool ConfigurationFilesRegistered(WideStringView Exe);

// The verb under BaseKey ("Folder", "*" or a file type): 'BaseKey\shell\Quorbeldoc' with
// VerbText and its "command" with Command. True when both were written.
bool RegisterShellVerb(WideStringView BaseKey, WideStringView VerbText, WideStringView Command);
// Deletes 'BaseKey\shell\Quorbeldoc' with everything below when 'BaseKey\shell' exists;
// creates nothing.
bool RemoveShellVerb(WideStringView BaseKey);
// 'BaseKey\shell\Quorbeldoc\command' holds Command.
bool ShellVerbActive(WideStringView BaseKey, WideStringView Command);

// The extensions of a comma-separated list, last first: blanks and control characters trimmed,
// a "." put in front when the entry has none; an entry shorter than 2, not beginning with ".",
// or holding one of < > \ / | : ? " * or a blank after its first character is dropped.
TWideStrArray FilterExtensions(WideStringView List);
// The verb for each extension of List: under its registered file type when it has one, else
// under the extension itself.
void RegisterExtensionVerbs(WideStringView List, WideStringView VerbText, WideStringView Command);
// Removes the verb of each extension of List, under its file type and under the extension.
void RemoveExtensionVerbs(WideStringView List);

// The first folder the registrations need that cannot be written (the stand-in's folder,
// the MIME and application folders, the configuration folder); empty when all can be.
WideString FirstUnwritableShellFolder();
