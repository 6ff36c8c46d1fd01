#include "scene/ObjectList.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// An element that records its own destruction, so tests can see what the list freed.
struct Tracked {
    std::string label;
    std::vector<std::string>* destroyed = nullptr;
    ~Tracked() {
        if (destroyed) {
            destroyed->push_back(label);
        }
    }
};

class ObjectListTest : public ::testing::Test {
protected:
    Tracked* AddTracked(const std::string& label) {
        Tracked* element = m_list.Add();
        element->label = label;
        element->destroyed = &m_destroyed;
        return element;
    }

    // Labels from head to tail, then checks that walking back from the tail gives the
    // same sequence reversed, so both link directions are verified.
    std::vector<std::string> Labels() const {
        std::vector<std::string> forward;
        for (auto* e = m_list.Head(); e; e = e->Next()) {
            forward.push_back(e->Payload().label);
        }
        std::vector<std::string> backward;
        for (auto* e = m_list.Tail(); e; e = e->Prev()) {
            backward.insert(backward.begin(), e->Payload().label);
        }
        EXPECT_EQ(forward, backward) << "prev links disagree with next links";
        EXPECT_EQ(static_cast<int>(forward.size()), m_list.Count());
        return forward;
    }

    std::vector<std::string> m_destroyed;
    ObjectList<Tracked> m_list;
};

TEST_F(ObjectListTest, AddAppendsInInsertionOrder) {
    EXPECT_EQ(m_list.Count(), 0);
    EXPECT_EQ(m_list.Head(), nullptr);
    EXPECT_EQ(m_list.Tail(), nullptr);
    EXPECT_EQ(m_list.Cursor(), nullptr);

    Tracked* a = AddTracked("a");
    EXPECT_EQ(&m_list.Head()->Payload(), a) << "the first element is head and tail";
    EXPECT_EQ(&m_list.Tail()->Payload(), a);
    AddTracked("b");
    AddTracked("c");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(ObjectListTest, RemoveUnlinksAtHeadMiddleAndTail) {
    struct Case {
        const char* removed;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"a", {"b", "c"}},
        {"b", {"a", "c"}},
        {"c", {"a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.removed);
        m_list.Clear();
        m_destroyed.clear();
        Tracked* elements[] = {AddTracked("a"), AddTracked("b"), AddTracked("c")};
        Tracked* victim = nullptr;
        for (Tracked* e : elements) {
            if (e->label == c.removed) {
                victim = e;
            }
        }
        EXPECT_EQ(m_list.Remove(victim), 1);
        EXPECT_EQ(Labels(), c.left);
        EXPECT_EQ(m_list.Head()->Payload().label, c.left.front());
        EXPECT_EQ(m_list.Tail()->Payload().label, c.left.back());
        EXPECT_EQ(m_destroyed, (std::vector<std::string>{c.removed}))
            << "exactly the removed element is destroyed";
    }
}

TEST_F(ObjectListTest, RemovingTheOnlyElementEmptiesTheList) {
    Tracked* only = AddTracked("only");
    EXPECT_EQ(m_list.Remove(only), 1);
    EXPECT_EQ(m_list.Count(), 0);
    EXPECT_EQ(m_list.Head(), nullptr);
    EXPECT_EQ(m_list.Tail(), nullptr);
    AddTracked("again");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"again"})) << "the list stays usable";
}

TEST_F(ObjectListTest, RemoveOfNullOrForeignElementChangesNothing) {
    AddTracked("a");
    AddTracked("b");
    ObjectList<Tracked> other;
    Tracked* foreign = other.Add();
    Tracked local;

    EXPECT_EQ(m_list.Remove(nullptr), 0);
    EXPECT_EQ(m_list.Remove(foreign), 0);
    EXPECT_EQ(m_list.Remove(&local), 0);
    EXPECT_EQ(m_list.RemoveEntry(nullptr), 0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(m_destroyed.empty());
    EXPECT_EQ(other.Count(), 1);
}

TEST_F(ObjectListTest, WalkThatRemovesTheVisitedElementVisitsEachOnce) {
    for (const char* label : {"a", "b", "c", "d"}) {
        AddTracked(label);
    }
    std::vector<std::string> visited;
    m_list.BeginWalk();
    while (auto* entry = m_list.WalkNext()) {
        visited.push_back(entry->Payload().label);
        if (visited.back() != "c") {
            EXPECT_EQ(m_list.RemoveEntry(entry), 1);
        }
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"c"}));
    EXPECT_EQ(m_destroyed, (std::vector<std::string>{"a", "b", "d"}));
}

TEST_F(ObjectListTest, RemovingTheElementUnderTheCursorMovesTheCursorOn) {
    Tracked* a = AddTracked("a");
    Tracked* b = AddTracked("b");
    AddTracked("c");
    (void)a;
    std::vector<std::string> visited;
    m_list.BeginWalk();
    while (auto* entry = m_list.WalkNext()) {
        visited.push_back(entry->Payload().label);
        if (visited.back() == "a") {
            // The cursor rests on "b"; removing it must not leave the walk on freed memory.
            EXPECT_EQ(m_list.Remove(b), 1);
        }
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"a", "c"}));
}

TEST_F(ObjectListTest, ClearDestroysHeadToTailAndLeavesTheListUsable) {
    AddTracked("a");
    AddTracked("b");
    AddTracked("c");
    m_list.BeginWalk();
    m_list.Clear();
    EXPECT_EQ(m_destroyed, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(m_list.Count(), 0);
    EXPECT_EQ(m_list.Head(), nullptr);
    EXPECT_EQ(m_list.Tail(), nullptr);
    EXPECT_EQ(m_list.Cursor(), nullptr) << "a cursor never points at a freed element";
    AddTracked("d");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"d"}));
}

TEST_F(ObjectListTest, DestructorDestroysEveryElementInOrder) {
    std::vector<std::string> destroyed;
    {
        ObjectList<Tracked> list;
        for (const char* label : {"x", "y", "z"}) {
            Tracked* t = list.Add();
            t->label = label;
            t->destroyed = &destroyed;
        }
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"x", "y", "z"}));
}

// An element whose destructor removes another element of the same list, as an owner
// record may do: the list must be consistent while an element is being destroyed.
struct Chained {
    ObjectList<Chained>* list = nullptr;
    Chained* partner = nullptr;
    int* destroyedCount = nullptr;
    ~Chained() {
        ++*destroyedCount;
        if (partner) {
            list->Remove(partner);
        }
    }
};

TEST(ObjectListReentryTest, ElementDestructorMayRemoveAnotherElement) {
    int destroyed = 0;
    {
        ObjectList<Chained> list;
        Chained* first = list.Add();
        Chained* second = list.Add();
        Chained* third = list.Add();
        for (Chained* c : {first, second, third}) {
            c->list = &list;
            c->destroyedCount = &destroyed;
        }
        first->partner = third;
        EXPECT_EQ(list.Remove(first), 1);
        EXPECT_EQ(list.Count(), 1) << "removing first also removed third";
        EXPECT_EQ(&list.Head()->Payload(), second);
        EXPECT_EQ(&list.Tail()->Payload(), second);
        second->partner = list.Add();
        second->partner->list = &list;
        second->partner->destroyedCount = &destroyed;
    }
    EXPECT_EQ(destroyed, 4);
}

} // namespace
