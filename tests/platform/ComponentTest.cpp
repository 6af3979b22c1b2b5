#include "platform/ClassBuilder.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Component, Smoke)
{
    auto* owner = new TComponent(nullptr);
    auto* child = new TComponent(owner);
    child->SetName("Child");
    EXPECT_EQ(owner->FindComponent("child"), child);
    owner->Free();
}
