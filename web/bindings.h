// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <emscripten/val.h>

#include <optional>
#include <string>

// What the page's bindings to the core share: texts, numbers and bytes as JavaScript values.
namespace web {

// The decimal separator arrives from the page as its character code.
inline char Sep(int code)
{
    return static_cast<char>(code);
}

template <class Range> emscripten::val Strings(const Range &texts)
{
    emscripten::val array = emscripten::val::array();
    for (const std::string &text : texts)
        array.call<void>("push", text);
    return array;
}

// A copy of the bytes as a Uint8Array (a view into the module's memory would not outlive its
// next growth).
inline emscripten::val Bytes(const std::string &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    return emscripten::val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(bytes.size(), data));
}

// The bytes of a Uint8Array, or nothing for null.
inline std::optional<std::string> BytesFrom(const emscripten::val &array)
{
    if (array.isNull() || array.isUndefined())
        return std::nullopt;
    const auto data = emscripten::convertJSArrayToNumberVector<unsigned char>(array);
    return std::string(data.begin(), data.end());
}

inline emscripten::val Number(std::optional<double> value)
{
    return value ? emscripten::val(*value) : emscripten::val::null();
}

} // namespace web
