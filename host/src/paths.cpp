// Windows-form paths over the host's file system: drive mapping and case-blind lookup.
#include "paths.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace host {
namespace {

std::array<std::string, 26> &Drives() {
    static std::array<std::string, 26> drives;
    return drives;
}

int DriveIndex(char letter) {
    char up = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    return (up >= 'A' && up <= 'Z') ? up - 'A' : -1;
}

bool SameIgnoringCase(const std::string &a, const std::string &b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Appends one component to a real path, taking an existing entry of another case when the
// exact name is missing.
fs::path AppendComponent(const fs::path &base, const std::string &name) {
    fs::path exact = base / name;
    std::error_code ec;
    if (name == "." || name == ".." || fs::exists(exact, ec)) return exact;
    for (fs::directory_iterator it(base.empty() ? fs::path(".") : base, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (SameIgnoringCase(entry, name)) return base / entry;
    }
    return exact;
}

}  // namespace

void MapDrive(char letter, const std::string &folder) {
    int i = DriveIndex(letter);
    if (i < 0 || i == 'Z' - 'A') return;
    Drives()[i] = folder;
}

void ClearDriveMappings() {
    for (int i = 0; i < 25; ++i) Drives()[i].clear();
}

std::string NativePath(const std::string &windowsPath) {
    std::string p = windowsPath;
    std::replace(p.begin(), p.end(), '\\', '/');
    fs::path base;
    size_t pos = 0;
    if (p.size() >= 2 && p[1] == ':' && DriveIndex(p[0]) >= 0) {
        int drive = DriveIndex(p[0]);
        if (drive == 'Z' - 'A') {
            base = "/";
        } else {
            if (Drives()[drive].empty()) return "";
            base = Drives()[drive];
        }
        pos = 2;
    } else if (!p.empty() && p[0] == '/') {
        base = "/";
        pos = 1;
    }
    // Components are looked up while the path exists; below a missing one nothing can exist, and
    // the rest is joined as written (a long path costs time in proportion to its length).
    bool probing = true;
    std::string rest;
    while (pos <= p.size()) {
        size_t next = p.find('/', pos);
        if (next == std::string::npos) next = p.size();
        std::string component = p.substr(pos, next - pos);
        if (component.empty()) {
        } else if (probing) {
            base = AppendComponent(base, component);
            std::error_code ec;
            probing = fs::exists(base, ec);
        } else {
            rest += '/';
            rest += component;
        }
        pos = next + 1;
    }
    std::string out = base.string();
    if (!rest.empty()) out += out.empty() || out.back() == '/' ? rest.substr(1) : rest;
    if (out.empty()) out = ".";
    return out;
}

std::string WindowsPath(const std::string &nativePath) {
    std::string native = nativePath;
    int best = -1;
    size_t bestLen = 0;
    for (int i = 0; i < 25; ++i) {
        std::string folder = Drives()[i];
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        if (folder.empty() || folder.size() < bestLen) continue;
        if (native == folder || (native.size() > folder.size() && native.compare(0, folder.size(), folder) == 0 &&
                                 native[folder.size()] == '/')) {
            best = i;
            bestLen = folder.size();
        }
    }
    std::string rest;
    std::string drive;
    if (best >= 0) {
        drive = std::string(1, static_cast<char>('A' + best)) + ":";
        rest = native.substr(bestLen);
    } else if (!native.empty() && native[0] == '/') {
        drive = "Z:";
        rest = native;
    } else {
        rest = native;
    }
    std::replace(rest.begin(), rest.end(), '/', '\\');
    if (!drive.empty() && rest.empty()) rest = "\\";
    return drive + rest;
}

}  // namespace host
