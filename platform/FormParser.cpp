#include "platform/FormParser.h"
#include "platform/ClassBuilder.h"

#include <array>

namespace platform {

namespace {

// Character classes of form text, which is plain ASCII as the "C" locale
// sees it, without the runtime library's locale look-up for each character.
constexpr bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
constexpr bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// The value of each character as a hex digit, or -1.
constexpr std::array<int8_t, 256> HexDigits = [] {
    std::array<int8_t, 256> digits{};
    for (int c = 0; c < 256; ++c)
        digits[static_cast<size_t>(c)] = static_cast<int8_t>(c >= '0' && c <= '9'   ? c - '0'
                                                             : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                                    : -1);
    return digits;
}();

} // namespace

bool TFormParser::IsIdent(const char* word) const
{
    return FToken == TToken::Ident && SameText(FTokenText, word);
}

void TFormParser::Error(const std::string& message) const
{
    throw ELocatedError(Format("Line %d: ", FTokenLine) + message);
}

std::string TFormParser::ExpectIdent()
{
    if (FToken != TToken::Ident)
        Error("Identifier expected");
    std::string ident = FTokenText;
    Next();
    return ident;
}

void TFormParser::ExpectSymbol(char c)
{
    if (!IsSymbol(c))
        Error(std::string("'") + c + "' expected");
    Next();
}

void TFormParser::Next()
{
    SkipBlanks();
    FTokenLine = FLine;
    FTokenText.clear();
    if (FPos >= FText.size()) {
        FToken = TToken::End;
        return;
    }
    const char c = FText[FPos];
    if (IsLetter(c) || c == '_')
        ReadIdent();
    else if (IsDigit(c) || (c == '-' && NextIsDigit()))
        ReadInteger();
    else if (c == '\'' || c == '#')
        ReadString();
    else if (c == '{')
        ReadHex();
    else {
        FToken = TToken::Symbol;
        FTokenText = c;
        ++FPos;
    }
}

void TFormParser::SkipBlanks()
{
    while (FPos < FText.size() && IsBlank(FText[FPos])) {
        if (FText[FPos] == '\n')
            ++FLine;
        ++FPos;
    }
}

bool TFormParser::NextIsDigit() const
{
    return FPos + 1 < FText.size() && IsDigit(FText[FPos + 1]);
}

void TFormParser::ReadIdent()
{
    while (FPos < FText.size() && (IsLetter(FText[FPos]) || IsDigit(FText[FPos]) || FText[FPos] == '_'))
        FTokenText += FText[FPos++];
    FToken = TToken::Ident;
}

void TFormParser::ReadInteger()
{
    const bool negative = FText[FPos] == '-';
    if (negative)
        ++FPos;
    uint64_t value = 0;
    while (FPos < FText.size() && IsDigit(FText[FPos])) {
        value = value * 10 + static_cast<uint64_t>(FText[FPos++] - '0');
        if (value > 0xFFFFFFFFull)
            Error("Integer out of range");
    }
    if (FPos < FText.size() && (IsLetter(FText[FPos]) || FText[FPos] == '.'))
        Error("Invalid number");
    FInt = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    FToken = TToken::Integer;
}

void TFormParser::ReadString()
{
    for (;;) {
        while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
            if (FText[FPos] == '#') {
                ++FPos;
                unsigned code = 0;
                size_t digits = 0;
                while (FPos < FText.size() && IsDigit(FText[FPos])) {
                    code = code * 10 + static_cast<unsigned>(FText[FPos++] - '0');
                    if (++digits > 3 || code > 255)
                        Error("Invalid character code");
                }
                if (digits == 0)
                    Error("Invalid character code");
                FTokenText += static_cast<char>(code);
                continue;
            }
            ++FPos;
            for (;;) {
                if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r')
                    Error("Unterminated string");
                if (FText[FPos] == '\'') {
                    if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                        FTokenText += '\'';
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
                FTokenText += FText[FPos++];
            }
        }
        const size_t afterString = FPos;
        const int lineAfterString = FLine;
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == '+') {
            ++FPos;
            SkipBlanks();
            if (FPos >= FText.size() || (FText[FPos] != '\'' && FText[FPos] != '#'))
                Error("String expected after '+'");
            continue;
        }
        FPos = afterString;
        FLine = lineAfterString;
        break;
    }
    FToken = TToken::String;
}

void TFormParser::ReadHex()
{
    const size_t start = ++FPos;
    const size_t close = FText.find('}', start);
    const size_t end = close == std::string::npos ? FText.size() : close;
    FBytes.resize((end - start) / 2);
    uint8_t* out = FBytes.data();
    const char* text = FText.data();
    int high = -1; // the first digit of a byte, once read
    while (FPos < end) {
        const int first = HexDigits[static_cast<unsigned char>(text[FPos])];
        if (high < 0 && first >= 0 && FPos + 1 < end) {
            const int second = HexDigits[static_cast<unsigned char>(text[FPos + 1])];
            if (second >= 0) {
                *out++ = static_cast<uint8_t>(first << 4 | second);
                FPos += 2;
                continue;
            }
        }
        if (first >= 0) {
            if (high < 0) {
                high = first;
            } else {
                *out++ = static_cast<uint8_t>(high << 4 | first);
                high = -1;
            }
        } else if (IsBlank(text[FPos])) {
            if (text[FPos] == '\n')
                ++FLine;
        } else {
            Error("Invalid binary data");
        }
        ++FPos;
    }
    if (close == std::string::npos)
        Error("Unterminated binary block");
    ++FPos;
    if (high >= 0)
        Error("Invalid binary data");
    FBytes.resize(static_cast<size_t>(out - FBytes.data()));
    FToken = TToken::Hex;
}

} // namespace platform
