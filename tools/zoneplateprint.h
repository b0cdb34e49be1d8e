// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/zoneplate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Whether a printer can draw a zone plate: the plate's size on paper and the width of its
// outermost ring there, in millimetres and in printer dots. A ring narrower than about two
// dots merges into grey; three dots draw it cleanly.
namespace tools {

// The printer resolutions accepted, in dots per inch, and the one assumed until the user
// names another (a common laser printer).
inline constexpr int kMinPrinterDpi = 72;
inline constexpr int kMaxPrinterDpi = 9600;
inline constexpr int kDefaultPrinterDpi = 1200;

// Below this many dots the outer ring is too fine to print; from the second the printer draws
// it cleanly.
inline constexpr double kTooFineDots = 2.0;
inline constexpr double kCleanDots = 3.0;

struct ZonePlatePrintCheck
{
    double plateMM = 0;       // diameter of the plate on paper: M times the outermost diameter
    double outerRingMM = 0;   // width of the outermost ring on paper (see CheckZonePlatePrint)
    double outerRingDots = 0; // that width in printer dots
    // Under kTooFineDots, judged on the dots as shown with two decimals, so that a line never
    // reads "2.00 dots" and warns at once.
    bool tooFine = false;
    // The smallest whole enlargement (from true size) at which the ring shows at least
    // kCleanDots dots; empty when no enlargement can reach it (a ring of no width).
    std::optional<double> cleanEnlargement;
};

// The check of the plate at enlargement m (1 for true size) on a printer of dpi dots per inch.
// The outermost ring of N zones is (d(N) - d(N-1)) / 2 wide, times m. A plate of one zone has
// no ring: its finest part is the central disc itself, d(1) across, and that is what is
// checked. Throws std::invalid_argument when values holds no zone.
ZonePlatePrintCheck CheckZonePlatePrint(const TZonePlateValues &values, std::int32_t m, double dpi);

// A printer resolution typed by the user: a whole number from kMinPrinterDpi to
// kMaxPrinterDpi (blanks around allowed); empty otherwise.
std::optional<int> ParsePrinterDpi(std::string_view text);

// "The printer resolution is a whole number of dots per inch from 72 to 9600."
std::string PrinterDpiRangeText();

// A number of dots with two decimals, trailing zeros kept ("1.78", "22.16").
std::string DotsText(double dots, char decSep);

// The line the PDF dialog shows under the printer resolution: the plate's diameter on paper
// in the main unit with `places` decimals, and the outer ring in dots; when the ring is too
// fine, also the smallest enlargement that draws it cleanly.
std::string PrintCheckText(const ZonePlatePrintCheck &check, int dpi, int mainUnit, int places,
                           char decSep);

} // namespace tools
