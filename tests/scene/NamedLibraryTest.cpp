#include "scene/NamedLibrary.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/AnimationLibrary.h"
#include "scene/ModelLibrary.h"

namespace {

struct FakeModel {
    std::string loadedFrom;
};

class NamedLibraryTest : public ::testing::Test {
protected:
    // Loads fileName; the load fails when fail is set. Records the name it was given.
    FakeModel* Load(const char* fileName, bool fail = false) {
        return m_library.LoadEntry(fileName, [&](FakeModel& model, const char* name) {
            model.loadedFrom = name;
            return fail ? 0 : 1;
        });
    }

    std::vector<std::string> EntryNames() const {
        std::vector<std::string> names;
        for (auto* e = m_library.Entries().Head(); e; e = e->Next()) {
            names.push_back(e->Name() ? e->Name() : "<null>");
        }
        return names;
    }

    ModelLibrary<FakeModel> m_library;
};

TEST_F(NamedLibraryTest, RepeatedFileNamesGetNumberedEntryNames) {
    struct Case {
        std::vector<const char*> loads;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {{"a.x", "a.x", "a.x"}, {"a.x", "a_1.x", "a_2.x"}},
        {{"noext", "noext"}, {"noext", "noext_1"}},
        {{"walk.x", "run.x", "walk.x", "run.x"}, {"walk.x", "run.x", "walk_1.x", "run_2.x"}},
        {{"A.x", "a.x"}, {"A.x", "a.x"}},
    };
    for (const Case& c : cases) {
        ModelLibrary<FakeModel> fresh;
        for (const char* file : c.loads) {
            ASSERT_NE(fresh.LoadEntry(file, [](FakeModel&, const char*) { return 1; }), nullptr);
        }
        std::vector<std::string> names;
        for (auto* e = fresh.Entries().Head(); e; e = e->Next()) {
            names.push_back(e->Name());
        }
        EXPECT_EQ(names, c.names) << "first load: " << c.loads.front();
    }
}

TEST_F(NamedLibraryTest, LoadUsesTheGivenFileNameNotTheEntryName) {
    Load("a.x");
    FakeModel* second = Load("a.x");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->loadedFrom, "a.x");
    EXPECT_STREQ(m_library.Entries().FindEntry(second)->Name(), "a_1.x");
}

TEST_F(NamedLibraryTest, FailedLoadRemovesTheEntryAndLowersTheRaisedCounter) {
    ASSERT_NE(Load("a.x"), nullptr);
    EXPECT_EQ(Load("a.x", true), nullptr);
    EXPECT_EQ(m_library.NameCounter(), 0);
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"a.x"}));
    ASSERT_NE(Load("a.x"), nullptr);
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"a.x", "a_1.x"}))
        << "the failed load's number is used again";
}

TEST_F(NamedLibraryTest, FailedLoadOfANewNameLeavesTheCounterAlone) {
    ASSERT_NE(Load("a.x"), nullptr);
    ASSERT_NE(Load("a.x"), nullptr);
    EXPECT_EQ(m_library.NameCounter(), 1);
    EXPECT_EQ(Load("b.x", true), nullptr);
    EXPECT_EQ(m_library.NameCounter(), 1) << "the counter was not raised, so not lowered";
    EXPECT_EQ(m_library.Entries().Count(), 2);
}

TEST_F(NamedLibraryTest, NullFileNameLoadsNothing) {
    bool called = false;
    EXPECT_EQ(m_library.LoadEntry(nullptr,
                                  [&](FakeModel&, const char*) {
                                      called = true;
                                      return 1;
                                  }),
              nullptr);
    EXPECT_FALSE(called);
    EXPECT_EQ(m_library.Entries().Count(), 0);
}

TEST_F(NamedLibraryTest, AddEntryForNamesLikeALoadAndDiscardUndoesIt) {
    bool raised = true;
    FakeModel* first = m_library.AddEntryFor("new", &raised);
    EXPECT_FALSE(raised);
    FakeModel* second = m_library.AddEntryFor("new", &raised);
    EXPECT_TRUE(raised);
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"new", "new_1"}));
    m_library.DiscardEntry(second, raised);
    EXPECT_EQ(m_library.NameCounter(), 0);
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"new"}));
    FakeModel* unnamed = m_library.AddEntryFor(nullptr, &raised);
    EXPECT_FALSE(raised);
    EXPECT_EQ(m_library.Entries().FindEntry(unnamed)->Name(), nullptr);
    (void)first;
}

TEST(AnimationLibraryTest, LongFileNamesKeepEveryByteAndGetTheSuffixBeforeTheExtension) {
    AnimationLibrary<FakeModel> library;
    const std::string stem(250, 's');
    const std::string file = stem + ".x";
    auto ok = [](FakeModel&, const char*) { return 1; };
    ASSERT_NE(library.LoadEntry(file.c_str(), ok), nullptr);
    FakeModel* second = library.LoadEntry(file.c_str(), ok);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(library.Entries().FindEntry(second)->Name()), stem + "_1.x");
}

} // namespace
