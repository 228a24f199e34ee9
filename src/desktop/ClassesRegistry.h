// The file types and verbs of HKEY_CLASSES_ROOT, for this program's own registrations. Linux has
// no registry: a stand-in keeps the same keys in one file of this user, so that the shell
// integration window reads and writes them exactly as Windows would, and the desktop-wide
// projection (MIME type, desktop file) is made from them.
//
// Keys are named with "\" between the parts ("Folder\shell\Quorbeldoc"); names compare without
// regard to case and keep the case they were created with; a key may hold a default value (the
// unnamed string value). A key name is never a path of the file system: every key lives in the
// one store file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text/WideTypes.h"

class TClassesRegistry {
public:
    virtual ~TClassesRegistry() = default;
    virtual bool KeyExists(WideStringView Key) const = 0;
    // The default value; none when the key or its default is missing.
    virtual std::optional<WideString> ReadDefault(WideStringView Key) const = 0;
    // Creates the key and every missing key above it; true when it exists afterwards.
    virtual bool CreateKey(WideStringView Key) = 0;
    // Creates the key like CreateKey and sets its default value.
    virtual bool WriteDefault(WideStringView Key, WideStringView Value) = 0;
    // Deletes the key with everything below it; false when it is missing or the store cannot
    // be written.
    virtual bool DeleteKey(WideStringView Key) = 0;
};

// The stand-in kept in a file: it is read for every call (another instance may have changed
// it) and replaced atomically by every change. A store that cannot be read is empty; one that
// cannot be written makes every change fail and keeps the file as it was.
class TFileClassesRegistry : public TClassesRegistry {
public:
    // Path empty: the user's store, "classes" in QuorbelDataFolder(), found anew for every call.
    explicit TFileClassesRegistry(std::string Path = {});

    bool KeyExists(WideStringView Key) const override;
    std::optional<WideString> ReadDefault(WideStringView Key) const override;
    bool CreateKey(WideStringView Key) override;
    bool WriteDefault(WideStringView Key, WideStringView Value) override;
    bool DeleteKey(WideStringView Key) override;

    std::string FilePath() const;

    struct Entry {
        WideString Name;
        std::optional<WideString> Value;
    };

private:
    std::vector<Entry> Load() const;
    bool Save(const std::vector<Entry>& Entries) const;
    bool Change(WideStringView Key, const std::optional<WideString>* Value);

    std::string FPath;
};

// The registry the shell routines use: the user's store.
TClassesRegistry& ClassesRoot();

// $XDG_DATA_HOME, else ~/.local/share; $XDG_CONFIG_HOME, else ~/.config (a relative value
// counts as unset, as the base-directory rules say). UTF-8, without a trailing "/".
std::string XdgDataHome();
std::string XdgConfigHome();
// XdgDataHome() + "/quorbel": the store and the Send To folder.
std::string QuorbelDataFolder();
