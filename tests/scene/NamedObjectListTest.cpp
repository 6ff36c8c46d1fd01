#include "scene/NamedObjectList.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

struct Payload {
    int value = 0;
};

TEST(NamedObjectListTest, AddNamedWithNullGivesAnUnnamedEntryFoundByPayload) {
    NamedObjectList<Payload> list;
    Payload* named = list.AddNamed("walk.x");
    Payload* unnamed = list.AddNamed(nullptr);
    Payload* plain = list.Add();
    ASSERT_NE(unnamed, nullptr);

    auto* entry = list.FindEntry(unnamed);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Name(), nullptr);
    EXPECT_EQ(&entry->Payload(), unnamed);
    EXPECT_STREQ(list.FindEntry(named)->Name(), "walk.x");
    EXPECT_EQ(list.FindEntry(plain)->Name(), nullptr) << "Add leaves the name null";
    EXPECT_EQ(list.Count(), 3);
}

TEST(NamedObjectListTest, AddNamedKeepsItsOwnCopyOfTheName) {
    NamedObjectList<Payload> list;
    char buffer[] = "model.x";
    Payload* payload = list.AddNamed(buffer);
    std::strcpy(buffer, "other");
    EXPECT_STREQ(list.FindEntry(payload)->Name(), "model.x");
}

TEST(NamedObjectListTest, FindEntryAnswersNullForStrangersAndNull) {
    NamedObjectList<Payload> list;
    list.AddNamed("a");
    Payload stranger;
    EXPECT_EQ(list.FindEntry(&stranger), nullptr);
    EXPECT_EQ(list.FindEntry(nullptr), nullptr);
}

TEST(NamedObjectListTest, RemoveTakesThePayloadAndUnlinksItsEntry) {
    NamedObjectList<Payload> list;
    Payload* a = list.AddNamed("a");
    Payload* b = list.AddNamed("b");
    Payload* c = list.AddNamed("c");
    EXPECT_EQ(list.Remove(b), 1);
    EXPECT_EQ(list.Remove(b), 0) << "a payload that is gone is not found again";
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(&list.Head()->Payload(), a);
    EXPECT_EQ(&list.Tail()->Payload(), c);
    EXPECT_EQ(list.Head()->Next(), list.Tail());
    EXPECT_EQ(list.Tail()->Prev(), list.Head());
    EXPECT_EQ(list.Remove(nullptr), 0);
}

TEST(NamedObjectListTest, FindEntryNamedIsByteExactAndFindsTheFirst) {
    NamedObjectList<Payload> list;
    Payload* first = list.AddNamed("Walk.x");
    list.AddNamed(nullptr);
    Payload* second = list.AddNamed("Walk.x");
    (void)second;
    list.AddNamed("");

    ASSERT_NE(list.FindEntryNamed("Walk.x"), nullptr);
    EXPECT_EQ(&list.FindEntryNamed("Walk.x")->Payload(), first);
    EXPECT_EQ(list.FindEntryNamed("walk.x"), nullptr) << "case-sensitive";
    EXPECT_EQ(list.FindEntryNamed("Walk.x "), nullptr);
    EXPECT_EQ(list.FindEntryNamed("Walk"), nullptr);
    ASSERT_NE(list.FindEntryNamed(""), nullptr) << "an empty name is a name";
    EXPECT_STREQ(list.FindEntryNamed("")->Name(), "");
}

TEST(NamedObjectListTest, LongNamesAreKeptWholeAndCompareOnEveryByte) {
    NamedObjectList<Payload> list;
    const std::string longName(300, 'n');
    std::string nearTwin = longName;
    nearTwin[250] = 'm';
    Payload* payload = list.AddNamed(longName.c_str());

    EXPECT_EQ(std::string(list.FindEntry(payload)->Name()), longName);
    EXPECT_NE(list.FindEntryNamed(longName), nullptr);
    EXPECT_EQ(list.FindEntryNamed(nearTwin), nullptr) << "a difference past byte 200 counts";
}

TEST(NamedObjectListTest, WalkReturnsEntriesWithTheirPayloads) {
    NamedObjectList<Payload> list;
    for (int i = 1; i <= 3; ++i) {
        list.AddNamed(std::to_string(i).c_str())->value = i;
    }
    int sum = 0;
    list.BeginWalk();
    while (auto* entry = list.WalkNext()) {
        sum = sum * 10 + entry->Payload().value;
        if (entry->Payload().value == 2) {
            list.RemoveEntry(entry);
        }
    }
    EXPECT_EQ(sum, 123);
    EXPECT_EQ(list.Count(), 2);
}

} // namespace
