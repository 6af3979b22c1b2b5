// Helpers shared by the loom and package tests: intercepted invariant
// reports and pixel-level access to bitmaps.
#pragma once

#include "platform/Assert.h"
#include "platform/Bitmap.h"
#include "tests/platform/InterceptedServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Runs a call that must fail an invariant check, with the report
// intercepted; gives the report as the user would read it.
template <class F>
std::string FailedCheck(F call)
{
    TInterceptedServices services;
    try {
        call();
    } catch (const platform::EAssertionFailed& e) {
        const std::string& text = e.Message();
        if (services.Boxes.size() != 1 || services.Boxes[0].Text != text || services.ExitCodes != std::vector<UINT>{3})
            return "reported wrongly: " + text;
        return text;
    }
    return "no check failed";
}

// An invariant report, "Assertion failed: <check>, file <unit>, line <n>",
// taken apart.
struct TCheckReport {
    std::string Check, Unit;
    int Line = 0;
};

inline bool ParseCheckReport(const std::string& Report, TCheckReport& Parsed)
{
    const std::string head = "Assertion failed: ";
    const size_t file = Report.rfind(", file "), line = Report.rfind(", line ");
    if (Report.rfind(head, 0) != 0 || file == std::string::npos || line == std::string::npos || line < file)
        return false;
    Parsed.Check = Report.substr(head.size(), file - head.size());
    Parsed.Unit = Report.substr(file + 7, line - file - 7);
    const std::string number = Report.substr(line + 7);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    Parsed.Line = std::stoi(number);
    return true;
}

// Runs of white space as one space, none at the ends: how the compiler
// quotes an expression, whatever lines it was written over.
inline std::string OneSpaced(const std::string& Text)
{
    std::string result;
    for (char c : Text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!result.empty() && result.back() != ' ')
                result += ' ';
        } else {
            result += c;
        }
    }
    if (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}

// The checks written in a source file: what each quotes, and the lines the
// check's call spans.
struct TWrittenCheck {
    std::string Check;
    int FirstLine, LastLine;
};

inline std::vector<TWrittenCheck> WrittenChecks(const std::string& Path)
{
    std::ifstream file(Path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<TWrittenCheck> checks;
    const std::string call = "PLATFORM_ASSERT(";
    for (size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1)) {
        const size_t open = at + call.size();
        size_t comma = std::string::npos, close = open;
        int depth = 1;
        bool quoted = false;
        for (; close < text.size() && depth > 0; ++close) {
            const char c = text[close];
            if (quoted) {
                quoted = c != '"';
                continue;
            }
            if (c == '"')
                quoted = true;
            else if (c == '(')
                ++depth;
            else if (c == ')')
                --depth;
            else if (c == ',' && depth == 1 && comma == std::string::npos)
                comma = close;
        }
        if (comma == std::string::npos || depth != 0)
            continue;
        const auto lineOf = [&](size_t offset) {
            const auto end = text.begin() + static_cast<std::ptrdiff_t>(offset);
            return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
        };
        checks.push_back({OneSpaced(text.substr(open, comma - open)), lineOf(at), lineOf(close - 1)});
    }
    return checks;
}

// A report must lead the reader to the check that failed: it names the unit
// expected, a header or source of that unit in the tree holds a check at the
// line it names, and that check is written as the report quotes it.
inline ::testing::AssertionResult PointsAtItsCheck(const std::string& Report, const std::string& Unit)
{
    TCheckReport parsed;
    if (!ParseCheckReport(Report, parsed))
        return ::testing::AssertionFailure() << "not an invariant report: " << Report;
    if (parsed.Unit != Unit)
        return ::testing::AssertionFailure() << "reported in " << parsed.Unit << ", not in " << Unit;
    std::string found;
    for (const char* extension : {".h", ".cpp"})
        for (const TWrittenCheck& check : WrittenChecks("Z:" TESSEL_SOURCE_DIR "/" + Unit + extension))
            if (check.FirstLine <= parsed.Line && parsed.Line <= check.LastLine) {
                if (check.Check == parsed.Check)
                    return ::testing::AssertionSuccess();
                found += std::string(" ") + extension + " checks " + check.Check + ";";
            }
    return ::testing::AssertionFailure() << "no check as quoted at " << Unit << ", line " << parsed.Line << ":" << found
                                         << " the report: " << Report;
}

// A 24-bit bitmap of the given size, every pixel one colour (0xBBGGRR).
inline void Fill24(platform::TBitmap& bitmap, int width, int height, platform::TColor color)
{
    bitmap.SetPixelFormat(platform::pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(color >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(color >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(color);
        }
    }
    bitmap.Changed();
}

inline void Put24(platform::TBitmap& bitmap, int x, int y, platform::TColor color)
{
    uint8_t* row = bitmap.ScanLine(y);
    row[3 * x] = static_cast<uint8_t>(color >> 16);
    row[3 * x + 1] = static_cast<uint8_t>(color >> 8);
    row[3 * x + 2] = static_cast<uint8_t>(color);
    bitmap.Changed();
}

// The colour of a pixel as 0xBBGGRR.
inline platform::TColor PixelOf(platform::TCanvas* canvas, int x, int y)
{
    return canvas->Pixel(x, y) & 0xFFFFFF;
}
