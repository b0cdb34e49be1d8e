// SPDX-License-Identifier: GPL-3.0-or-later
// One write through the settings file back end over a file holding arbitrary bytes: a sound
// file keeps every other value, a damaged one is set aside as Lumidra.reg.bak byte for byte,
// and nothing else is left beside them.
#include "fuzz_input.h"
#include "tools/regfile.h"
#include "tools/settings_backend.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace tools;

namespace {

constexpr std::string_view kSectionKey = "HKEY_CURRENT_USER\\Software\\Lumidra";

namespace fs = std::filesystem;

std::string FileBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteOverTheFile(std::string_view bytes, const std::optional<RegFile> &parsed)
{
    const fs::path file = fuzz::ScratchFolder() / "Lumidra.reg";
    const fs::path backup = fuzz::ScratchFolder() / "Lumidra.reg.bak";
    fs::remove(backup);
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());

    const RegData probe{kRegDword, std::string("\x07\0\0\0", 4)};
    fuzz::Check(MakeFileSettings(file.string())->Write("Probe", probe), "a write succeeds");

    fuzz::Check(std::distance(fs::directory_iterator(fuzz::ScratchFolder()),
                              fs::directory_iterator()) == (parsed ? 1 : 2),
                "the file and, for a damaged one, its backup: nothing more");
    std::optional<RegFile> after = ParseRegFile(FileBytes(file));
    fuzz::Check(after.has_value(), "the written file reads");
    RegFile expected;
    if (parsed) {
        fuzz::Check(!fs::exists(backup), "a sound file is not set aside");
        expected = *parsed;
    } else {
        fuzz::Check(FileBytes(backup) == bytes, "a damaged file is kept byte for byte");
    }
    if (!FindRegSection(expected, kSectionKey))
        expected.sections.push_back(RegSection{std::string(kSectionKey), {}});
    SetRegValue(*FindRegSection(expected, kSectionKey), RegValue{"Probe", probe.type, probe.bytes});
    fuzz::Check(*after == expected, "the write keeps everything else");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes = fuzz::AsText(data, size);
    WriteOverTheFile(bytes, ParseRegFile(bytes));
    return 0;
}
