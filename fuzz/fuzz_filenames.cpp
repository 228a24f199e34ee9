// File names: any bytes come back exactly from their wide form, and a file of that name is
// listed under the same wide name and opens again by it.
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "FuzzSupport.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const WideString wide = NativeToWide(bytes);
    if (WideToNative(wide) != bytes) FuzzFailure("bytes do not round-trip");
    // Any wide text written out names a file whose listed name writes out the same.
    WideString units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<WideChar>(data[i] | (data[i + 1] << 8)));
    const std::string written = WideToNative(units);
    if (WideToNative(NativeToWide(written)) != written) FuzzFailure("written name changes");

    if (bytes.empty() || bytes.size() > 255 || bytes == "." || bytes == ".." ||
        bytes.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return 0;
    const std::string folder = FuzzFolder() + "/names";
    mkdir(folder.c_str(), 0700);
    const std::string path = folder + "/" + bytes;
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    if (fd < 0) return 0;
    close(fd);
    WideFindData found;
    WideFindHandle find = WideFindFirstFile(NativeToWide(folder) + u"/*", found);
    bool listed = false;
    while (find) {
        if (found.name == wide) listed = true;
        if (!WideFindNextFile(find, found)) break;
    }
    if (find) WideFindFileClose(find);
    const bool opens =
        WideGetFileAttributes(NativeToWide(folder) + u"/" + wide) != INVALID_FILE_ATTRIBUTES;
    unlink(path.c_str());
    if (!listed) FuzzFailure("the file is not listed under its wide name");
    if (!opens) FuzzFailure("the listed name does not find the file");
    return 0;
}
