// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/regfile.h"
#include "tools/utf16.h"

#include <gtest/gtest.h>

using namespace tools;
using namespace std::string_literals;

namespace {

// A file as the settings store writes it, with one of everything it keeps.
// 1.5 is 0x3FF8000000000000, little-endian 00,00,00,00,00,00,f8,3f; hex(2) holds "%A%"
// in UTF-16LE with its terminator. "Long" holds the bytes 0 to 23: 22 bytes fill the
// first line to 77 characters, the rest goes to a continuation line.
constexpr std::string_view kCanonical = R"(Windows Registry Editor Version 5.00

; written by hand
; second comment

[HKEY_CURRENT_USER\Software\Other]
"x"=dword:00000001

[HKEY_CURRENT_USER\Software\Lumidra]
"DecNum"=dword:00000003
"Top"=dword:ffffffec
"CustomConstant"=hex:00,00,00,00,00,00,f8,3f
; inside a section
"LastDirZonePlate"="C:\\Plates \"old\"\\"
"Plates"="Zonenplatte ä € 😀"
"Expand"=hex(2):25,00,41,00,25,00,00,00
@="default"
"Empty"=hex:
"Long"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\
  16,17
"Qword"=hex(b):01,00,00,00,00,00,00,00

)";

RegFile ParseOrFail(std::string_view text)
{
    std::string error;
    std::optional<RegFile> file = ParseRegFile(text, &error);
    EXPECT_TRUE(file) << error;
    return file.value_or(RegFile{});
}

std::string Utf16Z(std::u16string_view text)
{
    return Utf16ToLeBytes(text) + "\0\0"s;
}

} // namespace

TEST(RegFile, ReadsEveryKindOfValue)
{
    RegFile file = ParseOrFail(kCanonical);
    ASSERT_EQ(file.sections.size(), 2u);
    EXPECT_EQ(file.comments,
              (std::vector<RegComment>{{"; written by hand"}, {"; second comment"}}));
    EXPECT_EQ(file.sections[0].key, "HKEY_CURRENT_USER\\Software\\Other");
    RegSection &section = file.sections[1];

    std::string long24;
    for (char b = 0; b < 24; ++b)
        long24 += b;
    const RegValue expected[] = {
        {"DecNum", kRegDword, "\x03\0\0\0"s},
        {"Top", kRegDword, "\xec\xff\xff\xff"s},
        {"CustomConstant", kRegBinary, "\0\0\0\0\0\0\xf8\x3f"s},
        {"LastDirZonePlate", kRegSz, Utf16Z(u"C:\\Plates \"old\"\\")},
        {"Plates", kRegSz, Utf16Z(u"Zonenplatte ä € 😀")},
        {"Expand", kRegExpandSz, Utf16Z(u"%A%")},
        {"", kRegSz, Utf16Z(u"default")},
        {"Empty", kRegBinary, ""},
        {"Long", kRegBinary, long24},
        {"Qword", 11, "\x01\0\0\0\0\0\0\0"s},
    };
    for (const RegValue &want : expected) {
        const RegValue *got = FindRegValue(section, want.name);
        ASSERT_TRUE(got) << want.name;
        EXPECT_EQ(*got, want) << want.name;
    }
    EXPECT_EQ(std::get<RegComment>(section.entries[3]).text, "; inside a section");
}

TEST(RegFile, WritesBackWhatItRead)
{
    EXPECT_EQ(SerializeRegFile(ParseOrFail(kCanonical)), kCanonical);
}

TEST(RegFile, ToleratesTheWaysTheSameFileIsWritten)
{
    const std::string canonical = "Windows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Lumidra]\n"
                                  "\"a\"=dword:0000002a\n"
                                  "\"b\"=hex:01,02,03\n"
                                  "\"c\"=\"x y\"\n\n";
    struct Case
    {
        const char *name;
        std::string text;
    };
    const Case cases[] = {
        {"CR LF line ends",
         "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Lumidra]\r\n"
         "\"a\"=dword:0000002a\r\n\"b\"=hex:01,02,03\r\n\"c\"=\"x y\"\r\n"},
        {"blank lines, blanks and tabs, no final line end",
         "Windows Registry Editor Version 5.00  \n\n\n  [HKEY_CURRENT_USER\\Software\\Lumidra]\n\n"
         "\t\"a\" = dword:2a \n\"b\"=hex: 01 , 2,03\t\n\n\"c\" =\"x y\""},
        {"upper case keywords and digits", "Windows Registry Editor Version 5.00\n"
                                           "[HKEY_CURRENT_USER\\Software\\Lumidra]\n"
                                           "\"a\"=DWORD:0000002A\n\"b\"=HEX:01,02,03\n"
                                           "\"c\"=\"x y\"\n"},
        {"continued byte list", "Windows Registry Editor Version 5.00\n"
                                "[HKEY_CURRENT_USER\\Software\\Lumidra]\n"
                                "\"a\"=dword:2a\n\"b\"=hex:01,\\\n   02,\\\n03\n\"c\"=\"x y\"\n"},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF" + canonical},
    };
    for (const Case &c : cases) {
        std::string error;
        std::optional<RegFile> file = ParseRegFile(c.text, &error);
        ASSERT_TRUE(file) << c.name << ": " << error;
        EXPECT_EQ(SerializeRegFile(*file), canonical) << c.name;
    }

    // The system's export tool writes UTF-16LE after a byte order mark.
    std::string utf16 = "\xFF\xFE" + Utf16ToLeBytes(*Utf8ToUtf16(canonical));
    std::optional<RegFile> file = ParseRegFile(utf16);
    ASSERT_TRUE(file);
    EXPECT_EQ(SerializeRegFile(*file), canonical);
}

TEST(RegFile, RejectsDamagedFiles)
{
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\x]\n";
    struct Case
    {
        const char *name;
        std::string text;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"other header", "REGEDIT4\n\n[HKEY_CURRENT_USER\\x]\n"},
        {"header not first", "\n" + head},
        {"value before any key", "Windows Registry Editor Version 5.00\n\"a\"=dword:1\n"},
        {"plain text line", head + "DecNum=3\n"},
        {"unterminated key", head + "[HKEY_CURRENT_USER\\y\n"},
        {"empty key", head + "[]\n"},
        {"key deletion", head + "[-HKEY_CURRENT_USER\\y]\n"},
        {"key twice, other case", head + "[hkey_current_user\\X]\n"},
        {"value twice, other case", head + "\"a\"=dword:1\n\"A\"=dword:2\n"},
        {"unterminated name", head + "\"a=dword:1\n"},
        {"'=' missing", head + "\"a\" dword:1\n"},
        {"value deletion", head + "\"a\"=-\n"},
        {"unknown escape", head + "\"a\"=\"C:\\temp\"\n"},
        {"unterminated string", head + "\"a\"=\"abc\n"},
        {"text after string", head + "\"a\"=\"abc\" x\n"},
        {"dword without digits", head + "\"a\"=dword:\n"},
        {"dword of nine digits", head + "\"a\"=dword:000000001\n"},
        {"dword not hex", head + "\"a\"=dword:0000000g\n"},
        {"byte not hex", head + "\"a\"=hex:0g\n"},
        {"byte of three digits", head + "\"a\"=hex:100\n"},
        {"empty byte", head + "\"a\"=hex:01,,02\n"},
        {"trailing comma", head + "\"a\"=hex:01,\n"},
        {"continuation at the end", head + "\"a\"=hex:01,\\"},
        {"type not hex", head + "\"a\"=hex(z):01\n"},
        {"type unterminated", head + "\"a\"=hex(2:01\n"},
        {"unknown data", head + "\"a\"=qword:1\n"},
        {"invalid UTF-8", head + "\"a\"=\"\xC3\x28\"\n"},
        {"NUL character", head + "\"a\"=\"a\0b\"\n"s},
        {"lone CR", head + "\"a\"=\"a\rb\"\n"},
        {"odd UTF-16 length", "\xFF\xFE\x41\x00\x42"},
        {"unpaired surrogate in UTF-16", "\xFF\xFE\x00\xD8\x41\x00"s},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(ParseRegFile(c.text, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

TEST(RegFile, WritesValuesThatQuotesCannotHoldAsBytes)
{
    struct Case
    {
        const char *name;
        RegValue value;
        const char *line;
    };
    const Case cases[] = {
        {"line break", {"s", kRegSz, Utf16Z(u"a\nb")}, R"("s"=hex(1):61,00,0a,00,62,00,00,00)"},
        {"inner NUL", {"s", kRegSz, Utf16Z(u"a\0b"s)}, R"("s"=hex(1):61,00,00,00,62,00,00,00)"},
        {"no terminator", {"s", kRegSz, "a\0"s}, R"("s"=hex(1):61,00)"},
        {"unpaired surrogate", {"s", kRegSz, Utf16Z(u"\xD800")}, R"("s"=hex(1):00,d8,00,00)"},
        {"dword of three bytes", {"d", kRegDword, "\1\2\3"}, R"("d"=hex(4):01,02,03)"},
        {"type zero", {"n", 0, ""}, R"("n"=hex(0):)"},
        {"tab stays quoted", {"t", kRegSz, Utf16Z(u"a\tb")}, "\"t\"=\"a\tb\""},
    };
    for (const Case &c : cases) {
        RegFile file;
        file.sections.push_back({"HKEY_CURRENT_USER\\x", {c.value}});
        std::string text = SerializeRegFile(file);
        EXPECT_NE(text.find("\n"s + c.line + "\n"), std::string::npos) << c.name << "\n" << text;
        EXPECT_EQ(ParseRegFile(text), file) << c.name;
    }
}

TEST(RegFile, SetValueKeepsSpellingAndPlace)
{
    RegFile file = ParseOrFail("Windows Registry Editor Version 5.00\n[K]\n"
                               "\"decNUM\"=dword:1\n\"Other\"=\"x\"\n");
    RegSection *section = FindRegSection(file, "k");
    ASSERT_TRUE(section);
    SetRegValue(*section, {"DECNUM", kRegBinary, "\x07"});
    SetRegValue(*section, {"New", kRegDword, "\x02\0\0\0"s});
    EXPECT_EQ(SerializeRegFile(file), "Windows Registry Editor Version 5.00\n\n[K]\n"
                                      "\"decNUM\"=hex:07\n\"Other\"=\"x\"\n"
                                      "\"New\"=dword:00000002\n\n");
}

TEST(Utf16, ConvertsAndRejectsIllFormedUtf8)
{
    EXPECT_EQ(Utf8ToUtf16("a\u00e4\u20ac\U0001F600"), u"a\u00e4\u20ac\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"a\u00e4\u20ac\U0001F600"), "a\u00e4\u20ac\U0001F600");
    // Lone surrogates of either kind become U+FFFD.
    EXPECT_EQ(Utf16ToUtf8(u"\xDC00x\xD800"), "\uFFFDx\uFFFD");
    const char *illFormed[] = {
        "\xC0\xAF",         // overlong '/'
        "\xE0\x80\xAF",     // overlong, three bytes
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xE2\x82",         // truncated
        "\x80",             // stray continuation byte
        "\xF8\x88\x80\x80\x80",
    };
    for (const char *text : illFormed) {
        EXPECT_FALSE(Utf8ToUtf16(text)) << text;
        EXPECT_FALSE(IsValidUtf8(text)) << text;
    }
    EXPECT_EQ(LeBytesToUtf16(std::string_view("\x41\x00\x42", 3)), u"A"); // the odd byte is dropped
}
