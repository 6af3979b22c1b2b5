#include "platform/FormFile.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/Menu.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

enum TTestKind { tkSmall, tkLarge, tkHuge };

// A component with one property of every kind a form file can hold; things
// nest inside things.
class TTestThing : public TComponent {
    PLATFORM_CLASS(TTestThing, TComponent)
public:
    explicit TTestThing(TComponent* AOwner) : TComponent(AOwner), FFont(new TFont) {}
    ~TTestThing() override { delete FFont; }

    TFont* Font() const { return FFont; }
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return ParentThing; }
    void SetParentComponent(TComponent* Value) override
    {
        if (auto* parent = dynamic_cast<TTestThing*>(Value)) {
            ParentThing = parent;
            parent->Children.push_back(this);
        }
    }
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override
    {
        for (TTestThing* child : Children)
            Proc(child);
    }
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCount;
        BuddyKnownWhenLoaded = Buddy != nullptr;
    }

    int Number = 0;
    std::string Text;
    bool Flag = false;
    TTestKind Kind = tkSmall;
    TAnchors Sides{akLeft, akTop};
    std::vector<uint8_t> Data;
    TTestThing* Buddy = nullptr;
    TNotifyEvent OnPing;
    TFont* FFont;
    TTestThing* ParentThing = nullptr;
    std::vector<TTestThing*> Children;
    int LoadedCount = 0;
    bool BuddyKnownWhenLoaded = false;
};

const TClassInfo& TTestThing::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestThing, TComponent>("TTestThing")
        .Int("Number", &TTestThing::Number, &TTestThing::Number, 0)
        .Str("Text", &TTestThing::Text, &TTestThing::Text)
        .Bool("Flag", &TTestThing::Flag, &TTestThing::Flag, false)
        .Enum("Kind", {"tkSmall", "tkLarge", "tkHuge"}, &TTestThing::Kind, &TTestThing::Kind, tkSmall)
        .Set("Sides", {"akLeft", "akTop", "akRight", "akBottom"}, &TTestThing::Sides, &TTestThing::Sides,
             TAnchors{akLeft, akTop})
        .Object("Font", &TTestThing::Font)
        .Binary("Data", &TTestThing::Data, &TTestThing::Data)
        .template Ref<TTestThing>("Buddy", &TTestThing::Buddy, &TTestThing::Buddy)
        .Event("OnPing", &TTestThing::OnPing)
        .Build();
    return info;
}

class TTestRoot : public TComponent {
    PLATFORM_CLASS(TTestRoot, TComponent)
public:
    explicit TTestRoot(TComponent* AOwner) : TComponent(AOwner) {}
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* thing = dynamic_cast<TTestThing*>(Components(i)); thing && !thing->ParentThing)
                Proc(thing);
    }
    void Ping(TObject* Sender) { Pinged = Sender; }
    void Other(TObject*, int) {}

    TTestThing* First = nullptr;
    TTestThing* Second = nullptr;
    TObject* Pinged = nullptr;
};

const TClassInfo& TTestRoot::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestRoot, TComponent>("TTestRoot")
        .Field("First", &TTestRoot::First)
        .Field("Second", &TTestRoot::Second)
        .Method("Ping", &TTestRoot::Ping)
        .Method("Other", &TTestRoot::Other)
        .Build();
    return info;
}

const char* const Sample =
    "object Root: TTestRoot\n"
    "  object First: TTestThing\n"
    "    Number = -42\n"
    "    Text = 'It''s'#13#10'two lines' +\n"
    "      ' and more'\n"
    "    Flag = True\n"
    "    Kind = tkHuge\n"
    "    Sides = [akRight, akBottom]\n"
    "    Font.Height = -14\n"
    "    Font.Name = 'Arial'\n"
    "    Font.Style = [fsBold]\n"
    "    Data = {\n"
    "      00FF10\n"
    "      7f}\n"
    "    Buddy = Second\n"
    "    OnPing = Ping\n"
    "    object Inner: TTestThing\n"
    "      Number = 7\n"
    "    end\n"
    "  end\n"
    "  object Second: TTestThing\n"
    "    Buddy = First\n"
    "    Sides = []\n"
    "  end\n"
    "end\n";

// A form with handlers to bind, counting how often it was shown.
class TTestForm : public TForm {
    PLATFORM_CLASS(TTestForm, TForm)
public:
    explicit TTestForm(TComponent* AOwner) : TForm(AOwner)
    {
        OnShow = [this](TObject*) { ++Shows; };
    }
    void Clicked(TObject*) {}

    int Shows = 0;
};

const TClassInfo& TTestForm::StaticClassInfo()
{
    static const TClassInfo& info =
        TClassBuilder<TTestForm, TForm>("TTestForm").Method("Clicked", &TTestForm::Clicked).Build();
    return info;
}

// Stores its data even when it is empty, as a sub-object's writer may.
class TBlobHolder : public TComponent {
    PLATFORM_CLASS(TBlobHolder, TComponent)
public:
    using TComponent::TComponent;
    std::vector<uint8_t> Blob;
};

const TClassInfo& TBlobHolder::StaticClassInfo()
{
    static const TClassInfo& info = [] () -> const TClassInfo& {
        auto* built = new TClassInfo(
            TClassBuilder<TBlobHolder, TComponent>("TBlobHolder").Binary("Blob", &TBlobHolder::Blob, &TBlobHolder::Blob).Build());
        built->Properties.back().Save = [](const TObject& o) -> std::optional<TFormValue> {
            return TFormValue::Binary(static_cast<const TBlobHolder&>(o).Blob);
        };
        return *built;
    }();
    return info;
}

// Reads Text into a fresh root of class R and returns the reader's error (empty when it read).
template <class R>
std::string ReadError(const std::string& Text)
{
    auto* root = new R(nullptr);
    std::string error;
    try {
        ReadComponentText(root, Text);
    } catch (const EReadError& e) {
        error = e.Message();
    }
    EXPECT_EQ(root->ComponentCount(), 0) << Text;
    root->Free();
    return error;
}

std::string Nested(int Depth)
{
    std::string text = "object Root: TTestRoot\n";
    for (int i = 0; i < Depth; ++i)
        text += "object TTestThing\n";
    for (int i = 0; i < Depth; ++i)
        text += "end\n";
    return text + "end\n";
}

} // namespace

TEST(FormFile, ReadsEveryKindOfValueAndBindsAfterReading)
{
    const TOwned<TTestRoot> root(new TTestRoot(nullptr));
    ReadComponentText(root.get(), Sample);

    EXPECT_EQ(root->Name(), "Root");
    ASSERT_NE(root->First, nullptr);
    ASSERT_NE(root->Second, nullptr);
    TTestThing& first = *root->First;
    EXPECT_EQ(first.Number, -42);
    EXPECT_EQ(first.Text, "It's\r\ntwo lines and more");
    EXPECT_TRUE(first.Flag);
    EXPECT_EQ(first.Kind, tkHuge);
    EXPECT_EQ(first.Sides, (TAnchors{akRight, akBottom}));
    EXPECT_EQ(first.Font()->Height(), -14);
    EXPECT_EQ(first.Font()->Name(), "Arial");
    EXPECT_EQ(first.Font()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(first.Data, (std::vector<uint8_t>{0x00, 0xFF, 0x10, 0x7F}));
    EXPECT_EQ(first.Buddy, root->Second);
    EXPECT_EQ(root->Second->Buddy, &first);
    EXPECT_TRUE(root->Second->Sides.Empty());
    ASSERT_EQ(first.Children.size(), 1u);
    EXPECT_EQ(first.Children[0]->Number, 7);
    EXPECT_EQ(first.Children[0]->Owner(), root.get());

    // References are bound before Loaded runs, and Loaded runs once on everything read.
    EXPECT_TRUE(first.BuddyKnownWhenLoaded);
    EXPECT_EQ(first.LoadedCount, 1);
    EXPECT_EQ(first.Children[0]->LoadedCount, 1);
    EXPECT_FALSE(first.ComponentState().Contains(csLoading));
    EXPECT_FALSE(root->ComponentState().Contains(csReading));

    ASSERT_TRUE(first.OnPing);
    first.OnPing(&first);
    EXPECT_EQ(root->Pinged, &first);
}

TEST(FormFile, WrittenFormReadsBackToTheSameTextByteForByte)
{
    auto* root = new TTestRoot(nullptr);
    ReadComponentText(root, Sample);
    root->First->Text = std::string(150, 'x') + "'" + std::string(3, '\t') + "\xE9";
    root->First->Data.assign(70, 0xAB);
    const std::string written = WriteComponentText(root);

    auto* copy = new TTestRoot(nullptr);
    ReadComponentText(copy, written);
    EXPECT_EQ(copy->First->Text, root->First->Text);
    EXPECT_EQ(copy->First->Data, root->First->Data);
    EXPECT_EQ(copy->First->Buddy, copy->Second);
    EXPECT_EQ(WriteComponentText(copy), written);

    // Defaults are not stored; event handlers and references are stored by name.
    EXPECT_EQ(written.find("Flag = False"), std::string::npos);
    EXPECT_NE(written.find("OnPing = Ping"), std::string::npos);
    EXPECT_NE(written.find("Buddy = Second"), std::string::npos);
    EXPECT_NE(written.find("Sides = []"), std::string::npos);
    EXPECT_NE(written.find("    object Inner: TTestThing\r\n"), std::string::npos);
    root->Free();
    copy->Free();
}

TEST(FormFile, MalformedTextIsRejectedWithItsLineAndLeavesNothingBehind)
{
    struct TCase {
        const char* Body; // lines 3 onward of a form whose line 2 opens First
        int Line;
    };
    const TCase cases[] = {
        {"    Number = 'text'\n  end\nend\n", 3},
        {"    Colour = 3\n  end\nend\n", 3},
        {"    Font.Size2 = 3\n  end\nend\n", 3},
        {"    Text = 'open\n  end\nend\n", 3},
        {"    Kind = tkTiny\n  end\nend\n", 3},
        {"    Sides = [akLeft, akNowhere]\n  end\nend\n", 3},
        {"    Data = { 0F0 }\n  end\nend\n", 3},
        {"    Number = 12abc\n  end\nend\n", 3},
        {"    Number = 99999999999\n  end\nend\n", 3},
        {"    Flag = Maybe\n  end\nend\n", 3},
        {"    Number = 1\n\n    OnPing = Nowhere\n  end\nend\n", 5},
        {"    OnPing = Other\n  end\nend\n", 3},
        {"    Buddy = Nobody\n  end\nend\n", 3},
        {"    object Inner: TNoSuchClass\n    end\n  end\nend\n", 3},
        {"    object First: TTestThing\n    end\n  end\nend\n", 3},
        {"    Number = 1\n", 4},
        {"  end\nend\nextra\n", 5},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Body);
        auto* root = new TTestRoot(nullptr);
        const std::string text = std::string("object Root: TTestRoot\n  object First: TTestThing\n") + c.Body;
        try {
            ReadComponentText(root, text);
            ADD_FAILURE() << "accepted";
        } catch (const EFilerError& e) {
            EXPECT_NE(e.Message().find("Line " + std::to_string(c.Line) + ":"), std::string::npos) << e.Message();
        }
        EXPECT_EQ(root->ComponentCount(), 0);
        EXPECT_EQ(root->First, nullptr);
        EXPECT_FALSE(root->ComponentState().Contains(csLoading));
        root->Free();
    }
}

TEST(FormFile, HexBlocksTakeBlanksAnywhereAndOnlyAsciiIsALetterOrABlank)
{
    auto read = [](const std::string& body) {
        const TOwned<TTestRoot> root(new TTestRoot(nullptr));
        ReadComponentText(root.get(), "object Root: TTestRoot\n  object First: TTestThing\n" + body + "  end\nend\n");
        return root->First->Data;
    };
    // Every blank the C locale knows, between bytes and inside one, and
    // digits of either case.
    EXPECT_EQ(read("    Data = {\r\n  0a Ff\t1\v2\f\r\n 3 4 }\n"), (std::vector<uint8_t>{0x0A, 0xFF, 0x12, 0x34}));
    EXPECT_EQ(read("    Data = {}\n"), std::vector<uint8_t>{});
    EXPECT_EQ(read("    Number = 5\n"), std::vector<uint8_t>{});
    // Letters, digits and blanks of other code pages are none of these.
    for (const char* body : {"    Data = { 0G }\n", "    Data = { 0F 0 }\n", "    Data = { 0F\xA0 }\n",
                             "    Data = { \xBD }\n", "    Numb\xE9r = 1\n", "    Number\xA0= 1\n", "    Number = \xB2\n",
                             "    Data = { 0F\n"}) {
        SCOPED_TRACE(body);
        EXPECT_THROW(read(body), EReadError);
    }
}

TEST(FormFile, RootClassMustMatch)
{
    auto* root = new TTestRoot(nullptr);
    EXPECT_THROW(ReadComponentText(root, "object X: TOther\nend\n"), EReadError);
    EXPECT_THROW(ReadComponentText(root, ""), EReadError);
    root->Free();
}

TEST(FormFile, NestingIsCappedAt32LevelsBelowTheRoot)
{
    auto* root = new TTestRoot(nullptr);
    ReadComponentText(root, Nested(32));
    EXPECT_EQ(root->ComponentCount(), 32);
    root->Free();

    EXPECT_NE(ReadError<TTestRoot>(Nested(33)).find("Line 34: Objects nested deeper than 32 levels"),
              std::string::npos);
    // Deep enough to overflow the stack of a reader that recursed without a limit.
    EXPECT_NE(ReadError<TTestRoot>(Nested(11000)).find("Line 34:"), std::string::npos);
}

TEST(FormFile, FailedReadLeavesTheRootAsItWas)
{
    auto* root = new TTestRoot(nullptr);
    root->SetTag(5);
    EXPECT_THROW(ReadComponentText(root, "object Root: TTestRoot\n  Tag = 9\n  Tog = 1\nend\n"), EReadError);
    EXPECT_EQ(root->Name(), "");
    EXPECT_EQ(root->Tag(), 5);
    root->Free();

    // A form: caption, size, visibility and handlers come back, and it was never shown.
    auto* form = New<TTestForm>(nullptr);
    form->SetCaption("Old");
    form->SetBounds(10, 10, 400, 300);
    form->SetClientWidth(200);
    int clicks = 0;
    form->OnClick = [&](TObject*) { ++clicks; };
    const char* const text = "object Renamed: TTestForm\n"
                             "  Caption = 'New'\n"
                             "  ClientWidth = 300\n"
                             "  Visible = True\n"
                             "  OnClick = Clicked\n"
                             "  OnDblClick = Missing\n"
                             "end\n";
    try {
        ReadComponentText(form, text);
        ADD_FAILURE() << "accepted";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("Line 6:"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(form->Name(), "");
    EXPECT_EQ(form->Caption(), "Old");
    EXPECT_EQ(form->ClientWidth(), 200);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->HandleAllocated() && IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->Shows, 0);
    EXPECT_TRUE(form->OnClick.HandlerName().empty());
    form->OnClick(form);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));

    // Read whole, the form shows itself once, when everything has been read.
    ReadComponentText(form, "object Renamed: TTestForm\n  Visible = True\n  OnClick = Clicked\nend\n");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->Shows, 1);
    EXPECT_EQ(form->OnClick.HandlerName(), "Clicked");
    form->Free();
}

TEST(FormFile, ComponentNestedWhereItCannotBeIsTheReadersErrorNamingBoth)
{
    const struct {
        const char* Text;
        const char* Message;
    } cases[] = {
        {"object F: TTestForm\n  object L: TLabel\n    object P: TPanel\n    end\n  end\nend\n",
         "Line 3: A TLabel cannot hold a TPanel"},
        {"object F: TTestForm\n  object P: TPanel\n    object I: TMenuItem\n    end\n  end\nend\n",
         "Line 3: A TPanel cannot hold a TMenuItem"},
        {"object F: TTestForm\n  object T: TTimer\n    object L: TLabel\n    end\n  end\nend\n",
         "Line 3: A TTimer cannot hold a TLabel"},
        {"object F: TTestForm\n  object I: TMenuItem\n  end\nend\n", "Line 2: A TTestForm cannot hold a TMenuItem"},
    };
    for (const auto& c : cases) {
        const std::string error = ReadError<TTestForm>(c.Text);
        EXPECT_NE(error.find(c.Message), std::string::npos) << error;
    }

    // Where they belong, they are read and written back.
    auto* form = New<TTestForm>(nullptr);
    const std::string text = "object F: TTestForm\r\n"
                             "  object P: TPanel\r\n"
                             "    object L: TLabel\r\n"
                             "    end\r\n"
                             "  end\r\n"
                             "  object M: TPopupMenu\r\n"
                             "    object I: TMenuItem\r\n"
                             "    end\r\n"
                             "  end\r\n"
                             "  object T: TTimer\r\n"
                             "  end\r\n"
                             "end\r\n";
    ReadComponentText(form, text);
    EXPECT_EQ(form->ComponentCount(), 5);
    const std::string written = WriteComponentText(form);
    for (const char* header : {"object L: TLabel", "object I: TMenuItem", "object T: TTimer"})
        EXPECT_NE(written.find(header), std::string::npos) << written;
    form->Free();
}

TEST(FormFile, IntegersOutsideThePropertysTypeAreTheReadersError)
{
    const std::string head = "object Root: TTestRoot\n  object First: TTestThing\n    Number = ";
    EXPECT_NE(ReadError<TTestRoot>(head + "4294967295\n  end\nend\n").find("Line 3:"), std::string::npos);
    EXPECT_NE(ReadError<TTestRoot>(head + "2147483648\n  end\nend\n").find("Line 3:"), std::string::npos);
    EXPECT_NE(ReadError<TTestRoot>(head + "-2147483649\n  end\nend\n").find("Line 3:"), std::string::npos);
    EXPECT_NE(ReadError<TTestForm>("object F: TTestForm\n  object P: TPanel\n    Left = 4294967295\n  end\nend\n")
                  .find("Line 3:"),
              std::string::npos);

    auto* root = new TTestRoot(nullptr);
    ReadComponentText(root, head + "-2147483648\n  end\n  object Second: TTestThing\n    Number = 2147483647\n  end\nend\n");
    EXPECT_EQ(root->First->Number, INT32_MIN);
    EXPECT_EQ(root->Second->Number, INT32_MAX);
    root->Free();
}

TEST(FormFile, WriterWritesOnlyWhatTheReaderReadsBack)
{
    // An enumeration value without a name cannot be written.
    auto* root = new TTestRoot(nullptr);
    ReadComponentText(root, Sample);
    root->First->Kind = static_cast<TTestKind>(7);
    EXPECT_THROW(WriteComponentText(root), EWriteError);
    root->Free();

    // Empty binary data is a closed, empty block.
    auto* holder = new TBlobHolder(nullptr);
    const std::string written = WriteComponentText(holder);
    EXPECT_EQ(written, "object TBlobHolder\r\n  Blob = {}\r\nend\r\n");
    holder->Blob = {1};
    ReadComponentText(holder, written);
    EXPECT_TRUE(holder->Blob.empty());
    EXPECT_EQ(WriteComponentText(holder), written);
    holder->Free();
}
