// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <charconv>
#include <type_traits>
#include <version>

// std::bit_cast and the floating-point std::to_chars / std::from_chars for standard libraries
// that lack them (the libc++ of the WebAssembly build). The core calls them as
// tools::compat::bit_cast, to_chars and from_chars: where the library has them, these are the
// standard functions themselves; elsewhere they are the ones of tools::compat::fallback below,
// which give the same results (exact round trip, the shortest form, "C" locale).
namespace tools::compat {

namespace fallback {

template <class To, class From>
requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
         std::is_trivially_copyable_v<From>) constexpr To bit_cast(const From &from) noexcept
{
    return __builtin_bit_cast(To, from);
}

// The shortest text that reads back as value: fixed or scientific notation, whichever is
// shorter (fixed on a tie), as std::to_chars(first, last, value).
std::to_chars_result to_chars(char *first, char *last, double value);
// The shortest text in the given notation (fixed, scientific or general).
std::to_chars_result to_chars(char *first, char *last, double value, std::chars_format fmt);
// printf's %.*f, %.*e or %.*g with that precision, in the "C" locale.
std::to_chars_result to_chars(char *first, char *last, double value, std::chars_format fmt,
                              int precision);
// The pattern of std::from_chars: an optional '-', digits with at most one '.', an exponent
// as fmt allows or demands, "inf", "infinity" and "nan" with an optional "(chars)"; no
// blanks, no '+', no hexadecimal. A value beyond the range of a double, or one that rounds
// to zero although it has a nonzero digit, leaves value unchanged and reports
// result_out_of_range.
std::from_chars_result from_chars(const char *first, const char *last, double &value,
                                  std::chars_format fmt = std::chars_format::general);

} // namespace fallback

#if defined(__cpp_lib_bit_cast)
using std::bit_cast;
#else
using fallback::bit_cast;
#endif

// The integer overloads are the library's everywhere.
using std::from_chars;
using std::to_chars;
#if !defined(__cpp_lib_to_chars)
using fallback::from_chars;
using fallback::to_chars;
#endif

} // namespace tools::compat
