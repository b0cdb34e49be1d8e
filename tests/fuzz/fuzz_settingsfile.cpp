// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file parser on arbitrary bytes as the file: a file it accepts must write back
// as text that reads as the same content, and the settings operations must read whatever
// values it holds (any type, any size) without harm. (fuzz_settingsstore writes over such a
// file on disk.)
#include "fuzz_input.h"
#include "tools/regfile.h"
#include "tools/settings.h"
#include "tools/settings_backend.h"

#include <memory>
#include <string>

using namespace tools;

namespace {

constexpr std::string_view kSectionKey = "HKEY_CURRENT_USER\\Software\\Lumidra";

// The operations read from the parsed file, as they would from the settings file on disk.
class ParsedStore final : public SettingsBackend
{
public:
    explicit ParsedStore(RegFile *file) : file_(file) {}

    std::optional<RegData> Read(const std::string &name) override
    {
        RegSection *section = FindRegSection(*file_, kSectionKey);
        RegValue *value = section ? FindRegValue(*section, name) : nullptr;
        if (!value)
            return std::nullopt;
        return RegData{value->type, value->data};
    }

    bool Write(const std::string &name, const RegData &data) override
    {
        RegSection *section = FindRegSection(*file_, kSectionKey);
        if (!section)
            return false;
        SetRegValue(*section, RegValue{name, data.type, data.bytes});
        return true;
    }

private:
    RegFile *file_;
};

void ReadEveryValue(RegFile &file)
{
    SetSettingsBackendForTesting(std::make_unique<ParsedStore>(&file));
    RegSection *section = FindRegSection(file, kSectionKey);
    std::vector<std::string> names = {"DecNum", "CustomConstant", "LastDirZonePlate"};
    if (section)
        for (const RegEntry &entry : section->entries)
            if (const auto *value = std::get_if<RegValue>(&entry))
                names.push_back(value->name);
    for (const std::string &name : names) {
        const bool exists = SettingExists(name);
        try {
            ReadSettingInteger(name);
        } catch (const SettingsError &) {
        }
        try {
            ReadSettingFloat(name);
        } catch (const SettingsError &) {
        }
        try {
            const std::string text = ReadSettingString(name);
            fuzz::Check(exists || text.empty(), "a missing string reads as empty text");
            // What was read writes back and reads back the same.
            WriteSettingString(name, text);
            fuzz::Check(ReadSettingString(name) == text, "a string reads back as written", text);
        } catch (const SettingsError &) {
        }
    }
    DecNum = 3;
    LoadPreferences();
    fuzz::Check(DecNum >= 0 && DecNum <= kMaxDecNum, "decimal places stay in range");
    SetSettingsBackendForTesting(nullptr);
    DecNum = 3;
    MainUnit = 0;
    AngleUnit = 0;
    ExpTimeFormat = 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string error;
    std::optional<RegFile> file = ParseRegFile(fuzz::AsText(data, size), &error);
    if (!file) {
        fuzz::Check(!error.empty(), "a refused file says why");
        return 0;
    }
    const std::string text = SerializeRegFile(*file);
    std::optional<RegFile> again = ParseRegFile(text, &error);
    fuzz::Check(again.has_value(), "the written file reads back", error);
    fuzz::Check(*again == *file, "the written file reads back as the same content", text);
    fuzz::Check(SerializeRegFile(*again) == text, "writing is stable", text);
    ReadEveryValue(*file);
    return 0;
}
