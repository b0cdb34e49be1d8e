// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/atomicfile.h"
#include "tools/regfile.h"
#include "tools/settings_backend.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace tools {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSectionKey = "HKEY_CURRENT_USER\\Software\\Lumidra";

// A settings file holds a dozen short values. A file this large is not one, and reading it
// whole would only cost time and memory.
constexpr std::size_t kMaxFileSize = 1 << 20;

// Damaged and oversized files are set aside before they are replaced; an unreadable file
// (no permission, a folder or device in its place) is never replaced.
enum class FileState
{
    Missing,
    Valid,
    Damaged,
    Oversized,
    Unreadable
};

struct LoadedFile
{
    FileState state = FileState::Missing;
    std::string text;
    RegFile content;
};

LoadedFile Load(const fs::path &path)
{
    LoadedFile file;
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return file;
    file.state = FileState::Unreadable;
    if (ec || status.type() != fs::file_type::regular)
        return file;
    std::FILE *f = std::fopen(path.string().c_str(), "rb");
    if (!f)
        return file;
    char buffer[16384];
    std::size_t n;
    while (file.text.size() <= kMaxFileSize && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        file.text.append(buffer, n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return file;
    if (file.text.size() > kMaxFileSize) {
        file.state = FileState::Oversized;
        return file;
    }
    std::optional<RegFile> content = ParseRegFile(file.text);
    file.state = content ? FileState::Valid : FileState::Damaged;
    if (content)
        file.content = std::move(*content);
    return file;
}

class FileSettings final : public SettingsBackend
{
public:
    explicit FileSettings(const std::string &path) : path_(path) {}

    std::optional<RegData> Read(const std::string &name) override
    {
        if (path_.empty())
            return std::nullopt;
        LoadedFile file = Load(path_);
        if (file.state != FileState::Valid)
            return std::nullopt;
        RegSection *section = FindRegSection(file.content, kSectionKey);
        RegValue *value = section ? FindRegValue(*section, name) : nullptr;
        if (!value)
            return std::nullopt;
        return RegData{value->type, std::move(value->data)};
    }

    bool Write(const std::string &name, const RegData &data) override
    {
        if (path_.empty())
            return false;
        std::error_code ec;
        // A settings file that is a link to one kept elsewhere stays a link.
        fs::path target = path_;
        if (fs::is_symlink(target, ec)) {
            fs::path real = fs::canonical(target, ec);
            if (!ec)
                target = real;
        }
        const fs::path backup = target.string() + ".bak";
        // A damaged or oversized file gets a second name here while the fresh file is
        // written; only once that is in place does it become the backup. A failed write so
        // leaves both the file and an earlier backup as they were.
        const fs::path pending = target.string() + ".bak-new";
        bool havePending = false;

        LoadedFile file = Load(target);
        switch (file.state) {
        case FileState::Unreadable:
            return false;
        case FileState::Missing:
            if (target.has_parent_path())
                fs::create_directories(target.parent_path(), ec);
            if (ec)
                return false;
            break;
        case FileState::Valid:
            // A value the file holds already is not written again: the window stores its
            // place each time it becomes active, mostly where it was before.
            if (RegSection *held = FindRegSection(file.content, kSectionKey)) {
                const RegValue *value = FindRegValue(*held, name);
                if (value && value->type == data.type && value->data == data.bytes)
                    return true;
            }
            break;
        case FileState::Damaged:
        case FileState::Oversized:
            // Whatever the user may still want from it is kept. A hard link costs no space;
            // where there is none, a damaged file is copied, and an oversized one (too large
            // to copy freely) is moved aside at once, as the only way left.
            fs::remove(pending, ec);
            fs::create_hard_link(target, pending, ec);
            havePending = !ec;
            if (!havePending && file.state == FileState::Damaged) {
                if (!WriteFileAtomically(pending.string(), file.text))
                    return false;
                havePending = true;
            } else if (!havePending) {
                fs::rename(target, backup, ec);
                if (ec)
                    return false;
            }
            break;
        }

        RegSection *section = FindRegSection(file.content, kSectionKey);
        if (!section) {
            file.content.sections.push_back(RegSection{std::string(kSectionKey), {}});
            section = &file.content.sections.back();
        }
        SetRegValue(*section, RegValue{name, data.type, data.bytes});
        if (!WriteFileAtomically(target.string(), SerializeRegFile(file.content))) {
            if (havePending)
                fs::remove(pending, ec);
            return false;
        }
        // Should the backup not take its name, the damaged file's content stays under the
        // pending name rather than being lost.
        if (havePending)
            fs::rename(pending, backup, ec);
        return true;
    }

private:
    fs::path path_;
};

std::string Environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::unique_ptr<SettingsBackend> MakeFileSettings(const std::string &path)
{
    return std::make_unique<FileSettings>(path);
}

std::string SettingsFilePath()
{
    if (std::string path = Environment("LUMIDRA_SETTINGS"); !path.empty())
        return path;
    fs::path base;
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (std::string config = Environment("XDG_CONFIG_HOME");
        !config.empty() && fs::path(config).is_absolute()) {
        base = config;
    } else {
        std::string home = Environment("HOME");
#ifndef _WIN32
        if (home.empty())
            if (const passwd *user = getpwuid(getuid()); user && user->pw_dir)
                home = user->pw_dir;
#endif
        if (home.empty())
            return {};
        base = fs::path(home) / ".config";
    }
    return (base / "Lumidra" / "Lumidra.reg").string();
}

} // namespace tools
