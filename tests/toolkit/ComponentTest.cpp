// The component model: ownership, notifications, loading and design state.
#include "toolkit/Component.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> journal;

class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name) : TComponent(owner) { SetName(std::move(name)); }
    ~Probe() override { journal.push_back("free " + Name()); }

    TComponent* watched = nullptr;
    bool loadingSeenBySetter = false;

    void setValue() { loadingSeenBySetter = Has(csLoading); }

protected:
    void Loaded() override { journal.push_back("loaded " + Name() + (Has(csLoading) ? " (loading)" : "")); }
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == watched) {
            watched = nullptr;
            journal.push_back(Name() + " forgets " + component->Name());
        }
    }
};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { journal.clear(); }
};

} // namespace

TEST_F(ComponentTest, AnOwnerFreesWhatItOwnsLastCreatedFirst)
{
    {
        Probe root(nullptr, "root");
        auto& a = root.Create<Probe>("a");
        a.Create<Probe>("a1");
        root.Create<Probe>("b");
        EXPECT_EQ(root.ComponentCount(), 2);
        EXPECT_EQ(root.FindComponent("b")->Owner(), &root);
        EXPECT_EQ(root.FindComponent("a1"), nullptr); // only direct children
    }
    EXPECT_THAT(journal, ::testing::ElementsAre("free root", "free b", "free a", "free a1"));
}

TEST_F(ComponentTest, SiblingsHearOfARemovalBeforeTheComponentGoes)
{
    Probe root(nullptr, "root");
    auto& list = root.Create<Probe>("list");
    auto& user = root.Create<Probe>("user");
    user.watched = &list;

    root.DestroyComponent(list);

    EXPECT_EQ(user.watched, nullptr);
    EXPECT_THAT(journal, ::testing::ElementsAre("user forgets list", "free list"));
    EXPECT_EQ(root.ComponentCount(), 1);
}

TEST_F(ComponentTest, LoadingCoversTheWholeTreeAndEndsWithEveryLoadedHook)
{
    Probe root(nullptr, "root");
    auto& child = root.Create<Probe>("child");

    root.BeginLoading();
    auto& late = root.Create<Probe>("late"); // made while the layout is read
    EXPECT_TRUE(late.Has(TComponent::csLoading));
    child.setValue();
    EXPECT_TRUE(child.loadingSeenBySetter);
    root.EndLoading();

    EXPECT_FALSE(child.Has(TComponent::csLoading));
    EXPECT_THAT(journal, ::testing::ElementsAre("loaded root", "loaded child", "loaded late"));
    child.setValue();
    EXPECT_FALSE(child.loadingSeenBySetter);
}

TEST_F(ComponentTest, DesignStateIsInheritedFromTheOwner)
{
    Probe root(nullptr, "root");
    auto& before = root.Create<Probe>("before");
    root.SetDesigning(true);
    auto& after = root.Create<Probe>("after");
    EXPECT_TRUE(before.Has(TComponent::csDesigning));
    EXPECT_TRUE(after.Has(TComponent::csDesigning));
    root.SetDesigning(false);
    EXPECT_FALSE(after.Has(TComponent::csDesigning));
}
