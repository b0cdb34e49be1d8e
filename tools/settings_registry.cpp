// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store in the registry, below HKEY_CURRENT_USER.
#ifdef _WIN32

#include "tools/regfile.h"
#include "tools/settings_backend.h"
#include "tools/utf16.h"

#include <windows.h>

namespace tools {

static_assert(kRegSz == REG_SZ && kRegExpandSz == REG_EXPAND_SZ && kRegBinary == REG_BINARY &&
              kRegDword == REG_DWORD);
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

// Empty for text that is not well-formed UTF-8.
std::optional<std::wstring> Wide(const std::string &text)
{
    std::optional<std::u16string> units = Utf8ToUtf16(text);
    if (!units)
        return std::nullopt;
    return std::wstring(units->begin(), units->end());
}

class OpenKey
{
public:
    OpenKey() = default;
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;
    ~OpenKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY *Receive() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

class RegistrySettings final : public SettingsBackend
{
public:
    explicit RegistrySettings(const std::string &keyPath) : keyPath_(Wide(keyPath)) {}

    std::optional<RegData> Read(const std::string &name) override
    {
        std::optional<std::wstring> wideName = Wide(name);
        if (!keyPath_ || !wideName)
            return std::nullopt;
        OpenKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_->c_str(), 0, KEY_QUERY_VALUE,
                          key.Receive()) != ERROR_SUCCESS)
            return std::nullopt;
        // The size is asked first; should the value grow in between, ask again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD type = 0;
            DWORD size = 0;
            if (RegQueryValueExW(key.Get(), wideName->c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS)
                return std::nullopt;
            RegData data;
            data.bytes.resize(size);
            LONG result = RegQueryValueExW(key.Get(), wideName->c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE *>(data.bytes.data()), &size);
            if (result == ERROR_MORE_DATA)
                continue;
            if (result != ERROR_SUCCESS)
                return std::nullopt;
            data.type = type;
            data.bytes.resize(size);
            return data;
        }
        return std::nullopt;
    }

    bool Write(const std::string &name, const RegData &data) override
    {
        std::optional<std::wstring> wideName = Wide(name);
        if (!keyPath_ || !wideName || data.bytes.size() > MAXDWORD)
            return false;
        OpenKey key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_->c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Receive(),
                            nullptr) != ERROR_SUCCESS)
            return false;
        return RegSetValueExW(key.Get(), wideName->c_str(), 0, data.type,
                              reinterpret_cast<const BYTE *>(data.bytes.data()),
                              static_cast<DWORD>(data.bytes.size())) == ERROR_SUCCESS;
    }

private:
    std::optional<std::wstring> keyPath_;
};

} // namespace

std::unique_ptr<SettingsBackend> MakeRegistrySettings(const std::string &keyPath)
{
    return std::make_unique<RegistrySettings>(keyPath);
}

bool DeleteRegistryKey(const std::string &keyPath)
{
    std::optional<std::wstring> wide = Wide(keyPath);
    if (!wide)
        return false;
    // Deletes a key with values but no subkeys, which is all the settings key holds.
    LONG result = RegDeleteKeyW(HKEY_CURRENT_USER, wide->c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

} // namespace tools

#endif // _WIN32
