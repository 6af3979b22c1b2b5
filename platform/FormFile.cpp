#include "platform/FormFile.h"
#include "platform/ClassBuilder.h"

#include <array>
#include <cstdio>

namespace platform {

namespace {

// An error whose text already names its line.
class ELocatedError : public EReadError {
public:
    using EReadError::EReadError;
};

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

// Splits form text into tokens, keeping the line of each.
class TParser {
public:
    enum class TToken { End, Ident, Integer, String, Symbol, Hex };

    explicit TParser(const std::string& text) : FText(text) { Next(); }

    TToken Token() const { return FToken; }
    const std::string& Text() const { return FTokenText; }
    // The bytes of a hex block, handed over once.
    std::vector<uint8_t> TakeBytes() { return std::move(FBytes); }
    int64_t IntValue() const { return FInt; }
    int Line() const { return FTokenLine; }

    bool IsSymbol(char c) const { return FToken == TToken::Symbol && FTokenText[0] == c; }
    bool IsIdent(const char* word) const { return FToken == TToken::Ident && SameText(FTokenText, word); }

    [[noreturn]] void Error(const std::string& message) const
    {
        throw ELocatedError(Format("Line %d: ", FTokenLine) + message);
    }

    std::string ExpectIdent()
    {
        if (FToken != TToken::Ident)
            Error("Identifier expected");
        std::string ident = FTokenText;
        Next();
        return ident;
    }

    void ExpectSymbol(char c)
    {
        if (!IsSymbol(c))
            Error(std::string("'") + c + "' expected");
        Next();
    }

    void Next()
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

private:
    void SkipBlanks()
    {
        while (FPos < FText.size() && IsBlank(FText[FPos])) {
            if (FText[FPos] == '\n')
                ++FLine;
            ++FPos;
        }
    }

    bool NextIsDigit() const
    {
        return FPos + 1 < FText.size() && IsDigit(FText[FPos + 1]);
    }

    void ReadIdent()
    {
        while (FPos < FText.size() && (IsLetter(FText[FPos]) || IsDigit(FText[FPos]) || FText[FPos] == '_'))
            FTokenText += FText[FPos++];
        FToken = TToken::Ident;
    }

    void ReadInteger()
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

    // Quoted runs ('' is a quote) and #nn characters, joined with + across lines.
    void ReadString()
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

    // Pairs of hex digits, blanks allowed anywhere between them, decoded
    // straight into bytes: the block cannot make more bytes than half the
    // characters up to the first '}'.
    void ReadHex()
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

    const std::string& FText;
    size_t FPos = 0;
    int FLine = 1;
    TToken FToken = TToken::End;
    std::string FTokenText;
    std::vector<uint8_t> FBytes;
    int64_t FInt = 0;
    int FTokenLine = 1;
};

// Deeper nesting than any form needs; it keeps the reader, which recurses
// once per level, and the window tree well inside their stacks.
constexpr int MaxNesting = 32;

} // namespace

class TFormReader : public TLoadContext {
public:
    TFormReader(TComponent* root, const std::string& text) : FRoot(root), FParser(text) {}

    void Read()
    {
        try {
            ReadRoot();
            for (const auto& [line, fixup] : FFixups) {
                FLine = line;
                fixup();
            }
        } catch (const ELocatedError&) {
            Abandon();
            throw;
        } catch (const EClassNotFound&) {
            Abandon();
            throw;
        } catch (const Exception& e) {
            Abandon();
            throw EReadError(Format("Line %d: ", FLine) + e.Message());
        } catch (...) {
            Abandon();
            throw;
        }
        for (TComponent* component : FLoaded)
            component->SetComponentFlag(csReading, false);
        for (TComponent* component : FLoaded)
            component->Loaded();
    }

    void Defer(std::function<void()> fixup) override { FFixups.emplace_back(FLine, std::move(fixup)); }

    TComponent* FindComponent(const std::string& name) const override
    {
        if (SameText(name, FRoot->Name()))
            return FRoot;
        return FRoot->FindComponent(name);
    }

    std::any FindMethod(const std::string& name) const override
    {
        const TMethodInfo* method = FRoot->ClassInfo().FindMethod(name);
        return method ? method->Bind(*FRoot) : std::any();
    }

private:
    void ReadRoot()
    {
        FLine = FParser.Line();
        if (!FParser.IsIdent("object"))
            FParser.Error("'object' expected");
        FParser.Next();
        const auto [name, className] = ReadHeader();
        if (!SameText(className, FRoot->ClassName()))
            FParser.Error("Class " + className + " does not match " + FRoot->ClassName());
        Begin(FRoot);
        if (FRoot->Name().empty() && !name.empty()) {
            FRestore.push_back([this] { FRoot->SetName(std::string()); });
            FRoot->SetName(UniqueRootName(name));
        }
        ReadBody(FRoot);
        if (FParser.Token() != TParser::TToken::End)
            FParser.Error("End of text expected");
    }

    // "Name: TClass", or "TClass" alone for a component without a name.
    std::pair<std::string, std::string> ReadHeader()
    {
        std::string first = FParser.ExpectIdent();
        if (!FParser.IsSymbol(':'))
            return {std::string(), first};
        FParser.Next();
        return {first, FParser.ExpectIdent()};
    }

    // A second instance of a form under the same owner is named Name_1, Name_2, ...
    std::string UniqueRootName(const std::string& name) const
    {
        const TComponent* owner = FRoot->Owner();
        if (!owner || !owner->FindComponent(name))
            return name;
        for (int i = 1;; ++i) {
            std::string candidate = name + "_" + std::to_string(i);
            if (!owner->FindComponent(candidate))
                return candidate;
        }
    }

    void ReadBody(TComponent* component)
    {
        while (!FParser.IsIdent("object") && !FParser.IsIdent("end")) {
            if (FParser.Token() == TParser::TToken::End)
                FParser.Error("'end' expected");
            ReadProperty(component);
        }
        while (FParser.IsIdent("object"))
            ReadChild(component);
        if (!FParser.IsIdent("end"))
            FParser.Error("'end' expected");
        FParser.Next();
    }

    void ReadChild(TComponent* parent)
    {
        FLine = FParser.Line();
        if (++FDepth > MaxNesting)
            FParser.Error(Format("Objects nested deeper than %d levels", MaxNesting));
        FParser.Next();
        const auto [name, className] = ReadHeader();
        const TClassInfo* info = FindComponentClass(className);
        if (!info)
            throw EClassNotFound(Format("Line %d: Class %s not found", FLine, className.c_str()));
        if (!info->Create)
            FParser.Error("Cannot create an instance of abstract class " + className);
        TComponent* component = info->Create(FRoot);
        FCreated.push_back(component);
        Begin(component);
        component->SetName(name);
        component->SetParentComponent(parent);
        // A component its parent does not list would be lost when the form is written.
        bool held = false;
        parent->GetChildren([&](TComponent* child) { held = held || child == component; }, FRoot);
        if (!held)
            throw ELocatedError(Format("Line %d: A %s cannot hold a %s", FLine, parent->ClassName().c_str(),
                                       className.c_str()));
        ReadBody(component);
        --FDepth;
    }

    // The root's field classes first, so a form names its own classes without registering them.
    const TClassInfo* FindComponentClass(const std::string& name) const
    {
        for (const TClassInfo* c = &FRoot->ClassInfo(); c; c = c->Parent)
            for (const TFieldInfo& field : c->Fields)
                if (SameText(field.FieldClass->Name, name))
                    return field.FieldClass;
        return FindRegisteredClass(name);
    }

    void ReadProperty(TComponent* component)
    {
        FLine = FParser.Line();
        TObject* target = component;
        std::string path = FParser.ExpectIdent();
        std::string name = path;
        while (FParser.IsSymbol('.')) {
            const TPropInfo* sub = target->ClassInfo().FindProperty(name);
            if (!sub || sub->Kind != TPropKind::Class)
                FParser.Error("Property " + path + " does not exist");
            target = sub->SubObject(*target);
            if (!target)
                FParser.Error("Property " + path + " has no object");
            FParser.Next();
            name = FParser.ExpectIdent();
            path += "." + name;
        }
        const TPropInfo* property = target->ClassInfo().FindProperty(name);
        if (!property)
            FParser.Error("Property " + path + " does not exist");
        FParser.ExpectSymbol('=');
        const TFormValue value = ReadValue();
        if (component == FRoot && property->Remember)
            FRestore.push_back(property->Remember(*target));
        property->Load(*target, value, *this);
    }

    TFormValue ReadValue()
    {
        TFormValue value;
        switch (FParser.Token()) {
        case TParser::TToken::Integer:
            value = TFormValue::Integer(FParser.IntValue());
            break;
        case TParser::TToken::Ident:
            value = TFormValue::Ident(FParser.Text());
            break;
        case TParser::TToken::String:
            value = TFormValue::String(FParser.Text());
            break;
        case TParser::TToken::Hex:
            value = TFormValue::Binary(FParser.TakeBytes());
            break;
        case TParser::TToken::Symbol:
            if (FParser.IsSymbol('['))
                return ReadSet();
            [[fallthrough]];
        default:
            FParser.Error("Invalid property value");
        }
        FParser.Next();
        return value;
    }

    TFormValue ReadSet()
    {
        FParser.Next();
        std::vector<std::string> elements;
        if (!FParser.IsSymbol(']'))
            for (;;) {
                elements.push_back(FParser.ExpectIdent());
                if (FParser.IsSymbol(']'))
                    break;
                FParser.ExpectSymbol(',');
            }
        FParser.Next();
        return TFormValue::Set(std::move(elements));
    }

    void Begin(TComponent* component)
    {
        component->SetComponentFlag(csLoading, true);
        component->SetComponentFlag(csReading, true);
        FLoaded.push_back(component);
    }

    // Frees what this read created and sets back what it changed on the
    // root, newest first, while the root is still loading (so a form that
    // was made visible is not shown or hidden on the way).
    void Abandon()
    {
        for (auto c = FCreated.rbegin(); c != FCreated.rend(); ++c)
            (*c)->Free();
        for (auto restore = FRestore.rbegin(); restore != FRestore.rend(); ++restore) {
            try {
                (*restore)();
            } catch (...) {
                // The error that abandoned the read is the one to report.
            }
        }
        FRoot->SetComponentFlag(csLoading, false);
        FRoot->SetComponentFlag(csReading, false);
    }

    TComponent* FRoot;
    TParser FParser;
    int FLine = 1;
    int FDepth = 0;
    std::vector<TComponent*> FCreated;
    std::vector<std::function<void()>> FRestore;
    std::vector<TComponent*> FLoaded;
    std::vector<std::pair<int, std::function<void()>>> FFixups;
};

void ReadComponentText(TComponent* Root, const std::string& Text)
{
    TFormReader(Root, Text).Read();
}

namespace {

class TFormWriter {
public:
    std::string Write(TComponent* root)
    {
        FRoot = root;
        WriteComponent(root, 0);
        return std::move(FOut);
    }

private:
    void WriteComponent(TComponent* component, int indent)
    {
        const std::string& name = component->Name();
        Line(indent, "object " + (name.empty() ? "" : name + ": ") + component->ClassName());
        WriteProperties(*component, "", indent + 2);
        component->GetChildren([&](TComponent* child) { WriteComponent(child, indent + 2); }, FRoot);
        Line(indent, "end");
    }

    void WriteProperties(TObject& object, const std::string& prefix, int indent)
    {
        for (const TPropInfo* property : object.ClassInfo().PublishedProperties()) {
            if (property->Kind == TPropKind::Class) {
                if (property->Stored && !property->Stored(object))
                    continue;
                if (TPersistent* sub = property->SubObject(object))
                    WriteProperties(*sub, prefix + property->Name + ".", indent);
                continue;
            }
            if (auto value = property->Save(object))
                WriteValue(indent, prefix + property->Name, *value);
        }
    }

    void WriteValue(int indent, const std::string& name, const TFormValue& value)
    {
        switch (value.Kind) {
        case TFormValue::TKind::Integer:
            Line(indent, name + " = " + std::to_string(value.Int));
            break;
        case TFormValue::TKind::Ident:
            Line(indent, name + " = " + value.Text);
            break;
        case TFormValue::TKind::Set: {
            std::string text;
            for (const std::string& element : value.Elements)
                text += (text.empty() ? "" : ", ") + element;
            Line(indent, name + " = [" + text + "]");
            break;
        }
        case TFormValue::TKind::String:
            WriteString(indent, name, value.Text);
            break;
        case TFormValue::TKind::Binary:
            WriteBinary(indent, name, value.Bytes);
            break;
        }
    }

    static constexpr size_t StringChunk = 64;

    // Long strings continue on the following lines, joined with +.
    void WriteString(int indent, const std::string& name, const std::string& text)
    {
        if (text.size() <= StringChunk) {
            Line(indent, name + " = " + Quote(text));
            return;
        }
        Line(indent, name + " = ");
        for (size_t at = 0; at < text.size(); at += StringChunk) {
            const bool last = at + StringChunk >= text.size();
            Line(indent + 2, Quote(text.substr(at, StringChunk)) + (last ? "" : " +"));
        }
    }

    static std::string Quote(const std::string& text)
    {
        std::string out;
        bool quoted = false;
        for (char c : text) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u < 32) {
                if (quoted)
                    out += '\'';
                quoted = false;
                out += '#' + std::to_string(u);
                continue;
            }
            if (!quoted)
                out += '\'';
            quoted = true;
            out += c;
            if (c == '\'')
                out += '\'';
        }
        if (quoted)
            out += '\'';
        return out.empty() ? "''" : out;
    }

    void WriteBinary(int indent, const std::string& name, const std::vector<uint8_t>& bytes)
    {
        static constexpr size_t BytesPerLine = 32;
        if (bytes.empty()) {
            Line(indent, name + " = {}");
            return;
        }
        Line(indent, name + " = {");
        for (size_t at = 0; at < bytes.size(); at += BytesPerLine) {
            std::string hex;
            for (size_t i = at; i < bytes.size() && i < at + BytesPerLine; ++i) {
                char digits[3];
                std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
                hex += digits;
            }
            if (at + BytesPerLine >= bytes.size())
                hex += '}';
            Line(indent + 2, hex);
        }
    }

    void Line(int indent, const std::string& text)
    {
        FOut.append(static_cast<size_t>(indent), ' ');
        FOut += text;
        FOut += "\r\n";
    }

    TComponent* FRoot = nullptr;
    std::string FOut;
};

} // namespace

std::string WriteComponentText(TComponent* Root)
{
    return TFormWriter().Write(Root);
}

} // namespace platform
