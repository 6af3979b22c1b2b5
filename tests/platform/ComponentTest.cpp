#include "platform/ClassBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

// Records every notification it hears and destruction order.
std::vector<std::string> Journal;

class TWatcher : public TComponent {
    PLATFORM_CLASS(TWatcher, TComponent)
public:
    explicit TWatcher(TComponent* AOwner) : TComponent(AOwner) {}
    ~TWatcher() override { Journal.push_back("free " + Name()); }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove) {
            Journal.push_back(Name() + " hears " + AComponent->Name() + " go");
            if (AComponent == Partner)
                Partner = nullptr;
        }
    }
    TComponent* Partner = nullptr;
};

const TClassInfo& TWatcher::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TWatcher, TComponent>("TWatcher").Build();
    return info;
}

TWatcher* Make(TComponent* owner, const char* name)
{
    auto* w = new TWatcher(owner);
    w->SetName(name);
    return w;
}

} // namespace

TEST(Component, OwnedComponentsGoInReverseOrderAndSiblingsHearOfIt)
{
    Journal.clear();
    TWatcher* owner = Make(nullptr, "Owner");
    Make(owner, "A");
    TWatcher* b = Make(owner, "B");
    Make(owner, "C");
    b->Partner = owner->FindComponent("C");
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);

    owner->Free();
    const std::vector<std::string> expected = {
        // The owner's own destructor body runs first; then C, of which every
        // remaining sibling (and C itself) hears before it goes.
        "free Owner",
        "C hears C go", "B hears C go", "A hears C go", "free C",
        "B hears B go", "A hears B go", "free B",
        "A hears A go", "free A"};
    EXPECT_EQ(Journal, expected);
}

TEST(Component, FreeNotificationReachesComponentsOfOtherOwners)
{
    Journal.clear();
    TWatcher* left = Make(nullptr, "Left");
    TWatcher* right = Make(nullptr, "Right");
    TWatcher* listener = Make(left, "Listener");
    TWatcher* target = Make(right, "Target");
    listener->Partner = target;
    listener->FreeNotification(target);

    target->Free();
    EXPECT_EQ(listener->Partner, nullptr);
    EXPECT_NE(std::find(Journal.begin(), Journal.end(), "Listener hears Target go"), Journal.end());

    // A listener that goes first unsubscribes: nothing reaches a freed object.
    TWatcher* other = Make(nullptr, "Other");
    other->FreeNotification(listener);
    listener->Free();
    Journal.clear();
    other->Free();
    EXPECT_EQ(Journal, std::vector<std::string>{"free Other"});
    left->Free();
    right->Free();
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings)
{
    TWatcher* owner = Make(nullptr, "Owner");
    TWatcher* a = Make(owner, "Alpha");
    EXPECT_THROW(Make(owner, "alpha"), EComponentError);
    EXPECT_EQ(owner->ComponentCount(), 2); // the unnamed one made before SetName failed stays owned
    EXPECT_THROW(a->SetName("1abc"), EComponentError);
    EXPECT_THROW(a->SetName("a b"), EComponentError);
    EXPECT_EQ(a->Name(), "Alpha");
    a->SetName("");
    a->SetName("_Beta2");
    EXPECT_EQ(owner->FindComponent("_BETA2"), a);
    owner->Free();
}

TEST(Component, DesigningStateReachesOwnedComponentsAndNewcomers)
{
    TWatcher* owner = Make(nullptr, "Owner");
    TWatcher* a = Make(owner, "A");
    owner->SetDesigning(true);
    EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
    TWatcher* b = Make(owner, "B");
    EXPECT_TRUE(b->ComponentState().Contains(csDesigning));
    owner->SetDesigning(false);
    EXPECT_FALSE(b->ComponentState().Contains(csDesigning));
    owner->Free();
}

namespace {
bool ProbeSawDestroying = false;
struct TProbe : TWatcher {
    using TWatcher::TWatcher;
    ~TProbe() override { ProbeSawDestroying = Owner() == nullptr && ComponentState().Contains(csDestroying); }
};
} // namespace

TEST(Component, BeingFreedIsVisibleToEveryOwnedComponent)
{
    TWatcher* owner = Make(nullptr, "Owner");
    new TProbe(owner);
    owner->Free();
    EXPECT_TRUE(ProbeSawDestroying);
}

namespace {
// A component whose start-up work (after its constructors) may fail; it
// records the work it does while still whole and its destructor.
struct TStartingUp : TWatcher {
    TStartingUp(TComponent* AOwner, bool Fails) : TWatcher(AOwner), FFails(Fails) {}
    void AfterConstruction() override
    {
        if (FFails)
            throw Exception("start-up failed");
    }
    void BeforeDestruction() override { Journal.push_back("last work of " + Name()); }
    bool FFails;
};
} // namespace

// Objects with work to do while still whole are freed with Free: by New
// when their start-up fails, and by an owning pointer when it goes, also
// when an exception takes it away.
TEST(Component, NewAndOwningPointersFreeWithTheLastWork)
{
    const TOwned<TWatcher> owner(Make(nullptr, "Owner"));
    Journal.clear();
    EXPECT_THROW(New<TStartingUp>(owner.get(), true), Exception);
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_EQ(Journal, (std::vector<std::string>{"last work of ", "free ", "Owner hears  go"}));

    Journal.clear();
    try {
        const TOwned<TStartingUp> held(New<TStartingUp>(owner.get(), false));
        held->SetName("Held");
        ASSERT_EQ(owner->ComponentCount(), 1);
        throw Exception("taken away");
    } catch (const Exception&) {
    }
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_EQ(Journal, (std::vector<std::string>{"last work of Held", "free Held", "Owner hears Held go"}));

    // Given away, it stays until its new keeper frees it.
    TOwned<TStartingUp> held(New<TStartingUp>(owner.get(), false));
    TStartingUp* kept = held.release();
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), kept);
}

TEST(Persistent, AssigningUnrelatedKindsRaises)
{
    TPersistent a, b;
    EXPECT_THROW(a.Assign(&b), EConvertError);
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
    try {
        a.Assign(&b);
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TPersistent");
    }
}

TEST(ClassRegistry, PalettePagesListTheirClasses)
{
    RegisterComponents("TestPage", {&TWatcher::StaticClassInfo()});
    RegisterComponents("TestPage", {&TWatcher::StaticClassInfo()});
    const auto onPage = PaletteComponents("TestPage");
    ASSERT_EQ(onPage.size(), 1u);
    EXPECT_EQ(onPage[0]->Name, "TWatcher");
    EXPECT_EQ(FindRegisteredClass("twatcher"), &TWatcher::StaticClassInfo());
    EXPECT_TRUE(PaletteComponents("Nowhere").empty());
    EXPECT_TRUE(TWatcher::StaticClassInfo().InheritsFrom(TComponent::StaticClassInfo()));
}
