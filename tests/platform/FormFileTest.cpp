#include "platform/FormFile.h"
#include "platform/Control.h"

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

} // namespace

TEST(FormFile, ReadsEveryKindOfValueAndBindsAfterReading)
{
    auto* root = new TTestRoot(nullptr);
    ReadComponentText(root, Sample);

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
    EXPECT_EQ(first.Children[0]->Owner(), root);

    // References are bound before Loaded runs, and Loaded runs once on everything read.
    EXPECT_TRUE(first.BuddyKnownWhenLoaded);
    EXPECT_EQ(first.LoadedCount, 1);
    EXPECT_EQ(first.Children[0]->LoadedCount, 1);
    EXPECT_FALSE(first.ComponentState().Contains(csLoading));
    EXPECT_FALSE(root->ComponentState().Contains(csReading));

    ASSERT_TRUE(first.OnPing);
    first.OnPing(&first);
    EXPECT_EQ(root->Pinged, &first);
    root->Free();
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

TEST(FormFile, RootClassMustMatch)
{
    auto* root = new TTestRoot(nullptr);
    EXPECT_THROW(ReadComponentText(root, "object X: TOther\nend\n"), EReadError);
    EXPECT_THROW(ReadComponentText(root, ""), EReadError);
    root->Free();
}
