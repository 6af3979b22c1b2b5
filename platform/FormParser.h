// Form text split into tokens, each with the line it starts on:
// identifiers, integers, strings (quoted runs with '' for a quote and #nn
// characters, joined with + across lines), hex blocks of binary data and
// single symbols. Errors raise ELocatedError naming the line.
#pragma once

#include "platform/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// An error whose text already names its line.
class ELocatedError : public EReadError {
public:
    using EReadError::EReadError;
};

class TFormParser {
public:
    enum class TToken { End, Ident, Integer, String, Symbol, Hex };

    explicit TFormParser(const std::string& text) : FText(text) { Next(); }

    TToken Token() const { return FToken; }
    const std::string& Text() const { return FTokenText; }
    // The bytes of a hex block, handed over once.
    std::vector<uint8_t> TakeBytes() { return std::move(FBytes); }
    int64_t IntValue() const { return FInt; }
    int Line() const { return FTokenLine; }

    bool IsSymbol(char c) const { return FToken == TToken::Symbol && FTokenText[0] == c; }
    bool IsIdent(const char* word) const;

    [[noreturn]] void Error(const std::string& message) const;
    std::string ExpectIdent();
    void ExpectSymbol(char c);
    void Next();

private:
    void SkipBlanks();
    bool NextIsDigit() const;
    void ReadIdent();
    void ReadInteger();
    // Quoted runs ('' is a quote) and #nn characters, joined with + across lines.
    void ReadString();
    // Pairs of hex digits, blanks allowed anywhere between them, decoded
    // straight into bytes: the block cannot make more bytes than half the
    // characters up to the first '}'.
    void ReadHex();

    const std::string& FText;
    size_t FPos = 0;
    int FLine = 1;
    TToken FToken = TToken::End;
    std::string FTokenText;
    std::vector<uint8_t> FBytes;
    int64_t FInt = 0;
    int FTokenLine = 1;
};

} // namespace platform
