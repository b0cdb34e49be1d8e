// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The zone plate: the outer diameters of the zones of a Fresnel zone plate and the f number
// of the whole plate, the texts of the result table, and the checks that guard the
// calculation and the PDF page.
namespace tools {

// Element 0: the f number of the plate. Element i (1 to N): the outer diameter of zone i in
// millimetres. Zone 1 is the central disc; zone i (i >= 2) is the ring between the diameters
// of elements i - 1 and i.
using TZonePlateValues = std::vector<double>;

// The largest zone count accepted. At 10001 zones the outermost ring of even a 1000 mm plate
// is about 4 micrometres wide, far below what a printer or film recorder can draw, while the
// table (10001 rows) and the PDF (about 5 MB) stay small and quick to build.
inline constexpr int kMaxZones = 10001;

// The largest page side of the written PDF in points (45 inches).
inline constexpr double kMaxPdfPageSide = 3240.0;

// Computes the plate for n zones (1 to kMaxZones; throws std::invalid_argument otherwise).
// Checks nothing else: the callers have made sure that n is odd and the inputs positive.
TZonePlateValues CalculateZonePlate(int n, double focalMM, double wavelengthMM, double c);

// Whole-number text as a 32-bit number: optional blanks around, an optional sign, decimal
// digits. Empty for anything else, and for numbers outside the 32-bit range.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// Whether the lowest bit of n is set.
inline bool IsOddZoneCount(std::int32_t n)
{
    return (n & 1) != 0;
}

// The checks a zone count text passes before a calculation or a PDF starts, in this order.
enum class ZoneCountCheck
{
    Ok,
    NotWholeNumber, // text 2008 with the text: "'x' is not a valid integer value"
    Even,           // text 1610
    OutOfRange,     // text 1611 with kMaxZones (below 1 or above kMaxZones)
};

// Reads the zone count text; *n receives the count when the text is a whole number.
ZoneCountCheck CheckZoneCount(std::string_view text, std::int32_t *n);

// The message box text for a failed check (empty for Ok).
std::string ZoneCountMessage(ZoneCountCheck check, std::string_view text);

// Whether Calculate and Create PDF may be enabled: the zone count, the focal length (as a
// bare number, whatever its unit) and the wavelength are all above 0.
bool ZonePlateInputsPositive(std::string_view numZonesText, std::string_view focalText,
                             std::string_view waveText, char decSep);

// "Zone diameter (mm)" or "Zone diameter (in)" for MainUnit 0 or 1.
std::string ZoneTableHeaderText(int mainUnit);

// A diameter cell: the diameter in millimetres, or in inches when mainUnit is 1, with a fixed
// number of decimals (trailing zeros kept); 0 places print a whole number.
std::string ZoneTableCellText(double diameterMM, int mainUnit, int places, char decSep);

// The f number of the plate rounded to a whole number (empty when it rounds to 0).
std::string ZonePlateFNumberText(const TZonePlateValues &values);

// A zone diameter in PDF points at enlargement m: m times the diameter (rounded to a double),
// converted by MMToPoints.
double ZoneDiameterPoints(double diameterMM, std::int32_t m);

// Every diameter in points at enlargement m, as ZoneDiameterPoints: element i for zone i,
// element 0 unused (0). The drawings' own copy of the plate.
std::vector<double> ZoneDiametersPoints(const TZonePlateValues &values, std::int32_t m);

// The side of the square PDF page in points for enlargement m: the outermost diameter in
// points plus 10 %, at least 72. Exactly the side the PDF writer uses.
double ZonePlatePageSide(const TZonePlateValues &values, std::int32_t m);

// Whether that page side is above the largest PDF page (or not a number at all).
bool PageTooLarge(double pageSide);

} // namespace tools
