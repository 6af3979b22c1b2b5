// The form-file reader on any text, into a root with properties of every
// kind and components that nest in some components and not in others:
// - nothing but the reader's error (EFilerError) leaves it;
// - a failed read leaves the root as it was: name, properties, handlers and
//   no components;
// - a form it reads writes to a text that reads back and writes again to the
//   same bytes.
#include "platform/ClassBuilder.h"
#include "platform/FormFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace platform;

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "FormFileFuzz: %s\n", what);
        std::abort();
    }
}

enum TKind { tkSmall, tkLarge, tkHuge };
enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TSet<TSide>;

class TLook : public TPersistent {
    PLATFORM_CLASS(TLook, TPersistent)
public:
    int Size = 8;
    std::string Name = "Plain";
    TSides Sides;
    std::vector<uint8_t> Data;
};

const TClassInfo& TLook::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TLook, TPersistent>("TLook")
        .Int("Size", &TLook::Size, &TLook::Size, 8)
        .Str("Name", &TLook::Name, &TLook::Name, std::string("Plain"))
        .Set("Sides", {"sdLeft", "sdTop", "sdRight", "sdBottom"}, &TLook::Sides, &TLook::Sides, TSides{})
        .Binary("Data", &TLook::Data, &TLook::Data)
        .Build();
    return info;
}

// A component that holds others of its kind (a panel); Leaf ones hold nothing.
class TThing : public TComponent {
    PLATFORM_CLASS(TThing, TComponent)
public:
    explicit TThing(TComponent* AOwner) : TComponent(AOwner) {}
    ~TThing() override
    {
        for (TThing* child : Children)
            child->ParentThing = nullptr;
        if (ParentThing) {
            auto& siblings = ParentThing->Children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        }
    }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return ParentThing; }
    void SetParentComponent(TComponent* Value) override
    {
        auto* parent = dynamic_cast<TThing*>(Value);
        if (parent && parent->CanHold()) {
            ParentThing = parent;
            parent->Children.push_back(this);
        }
    }
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override
    {
        for (TThing* child : std::vector<TThing*>(Children))
            Proc(child);
    }
    virtual bool CanHold() const { return true; }
    TLook* Look() { return &FLook; }

    int16_t Number = 0;
    uint8_t Small = 0;
    int64_t Wide = 0;
    std::string Text;
    bool Flag = false;
    TKind Kind = tkSmall;
    TSides Sides{sdLeft, sdTop};
    TThing* Buddy = nullptr;
    TNotifyEvent OnPing;
    TThing* ParentThing = nullptr;
    std::vector<TThing*> Children;

private:
    TLook FLook;
};

const TClassInfo& TThing::StaticClassInfo()
{
    static const TIdentMap idents{{-1, "nmNone"}, {100, "nmFull"}};
    static const TClassInfo& info = TClassBuilder<TThing, TComponent>("TThing")
        .Int("Number", &TThing::Number, &TThing::Number, 0, &idents)
        .Int("Small", &TThing::Small, &TThing::Small, 0)
        .Int("Wide", &TThing::Wide, &TThing::Wide, std::nullopt)
        .Str("Text", &TThing::Text, &TThing::Text)
        .Bool("Flag", &TThing::Flag, &TThing::Flag, false)
        .Enum("Kind", {"tkSmall", "tkLarge", "tkHuge"}, &TThing::Kind, &TThing::Kind, tkSmall)
        .Set("Sides", {"sdLeft", "sdTop", "sdRight", "sdBottom"}, &TThing::Sides, &TThing::Sides,
             TSides{sdLeft, sdTop})
        .Object("Look", &TThing::Look)
        .template Ref<TThing>("Buddy", &TThing::Buddy, &TThing::Buddy)
        .Event("OnPing", &TThing::OnPing)
        .Build();
    return info;
}

class TLeaf : public TThing {
    PLATFORM_CLASS(TLeaf, TThing)
public:
    using TThing::TThing;
    bool CanHold() const override { return false; }
};

const TClassInfo& TLeaf::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TLeaf, TThing>("TLeaf").Build();
    return info;
}

// A component without a parent (a timer): it lies on the root only.
class TLoose : public TComponent {
    PLATFORM_CLASS(TLoose, TComponent)
public:
    using TComponent::TComponent;
    int Interval = 1000;
};

const TClassInfo& TLoose::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TLoose, TComponent>("TLoose")
        .Int("Interval", &TLoose::Interval, &TLoose::Interval, 1000)
        .Build();
    return info;
}

class TRoot : public TComponent {
    PLATFORM_CLASS(TRoot, TComponent)
public:
    using TComponent::TComponent;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            if (!c->HasParent() || !c->GetParentComponent())
                Proc(c);
        }
    }
    void Ping(TObject*) {}
    void Count(TObject*, int) {}
    TLook* Look() { return &FLook; }

    std::string Caption = "Before";
    int Left = 10;
    bool Visible = false;
    TNotifyEvent OnPing;
    TThing* First = nullptr;
    TLoose* Clock = nullptr;

private:
    TLook FLook;
};

const TClassInfo& TRoot::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TRoot, TComponent>("TRoot")
        .Str("Caption", &TRoot::Caption, &TRoot::Caption, std::nullopt)
        .Int("Left", &TRoot::Left, &TRoot::Left, std::nullopt)
        .Bool("Visible", &TRoot::Visible, &TRoot::Visible, false)
        .Object("Look", &TRoot::Look)
        .Event("OnPing", &TRoot::OnPing)
        .Field("First", &TRoot::First)
        .Field("Clock", &TRoot::Clock)
        .Method("Ping", &TRoot::Ping)
        .Method("Count", &TRoot::Count)
        .Build();
    return info;
}

// What a failed read must leave as it was.
struct TState {
    std::string Name, Text;
    bool HasHandler = false;
    std::string HandlerName;
    int Components = 0;

    bool operator==(const TState&) const = default;
};

TState StateOf(TRoot* Root)
{
    return {Root->Name(), WriteComponentText(Root), static_cast<bool>(Root->OnPing), Root->OnPing.HandlerName(),
            Root->ComponentCount()};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    RegisterClasses({&TThing::StaticClassInfo(), &TLeaf::StaticClassInfo(), &TLoose::StaticClassInfo()});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    const TOwned<TRoot> root(new TRoot(nullptr));
    root->OnPing = [](TObject*) {};
    const TState before = StateOf(root.get());
    bool read = false;
    try {
        ReadComponentText(root.get(), text);
        read = true;
    } catch (const EFilerError&) {
    }
    if (!read) {
        Check(StateOf(root.get()) == before, "a failed read changed the root");
        return 0;
    }
    const std::string written = WriteComponentText(root.get());
    const TOwned<TRoot> copy(new TRoot(nullptr));
    try {
        ReadComponentText(copy.get(), written);
    } catch (const EFilerError& e) {
        std::fprintf(stderr, "%s\n%s\n", written.c_str(), e.what());
        Check(false, "a written form does not read back");
    }
    Check(WriteComponentText(copy.get()) == written, "a form read back writes different text");
    return 0;
}
