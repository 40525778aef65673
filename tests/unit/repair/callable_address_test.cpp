// The callable-address object: one block from the task allocator, the query that switches it to
// the second table, the query that then fails, the reference counts, and the call itself.
#include <gtest/gtest.h>

#include <climits>

#include "repair/callable_address.h"
#include "tests/fakes/fake_library_api.h"
#include "text/raised_error.h"

namespace {

int g_calls = 0;
int32_t g_status = 0;

int32_t QUENDRY_STDCALL CountingEntry() {
    ++g_calls;
    return g_status;
}

int32_t QUENDRY_STDCALL OtherEntry() {
    return 42;
}

// A reference handed out by a query, seen as the object.
CallableAddress* AsObject(void* reference) {
    return static_cast<CallableAddress*>(reference);
}

constexpr InterfaceId kIidUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

} // namespace

TEST(CallableAddress, LifeOfOneObject) {
    FakeLibraryApi memory;
    g_calls = 0;
    g_status = 0;
    CallableAddress* object = NewCallableAddress(memory, CountingEntry);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(memory.Log,
              (std::vector<std::string>{"Alloc(" + std::to_string(3 * sizeof(void*)) + ")"}));
    EXPECT_EQ(object->CodeAddress, CountingEntry);
    EXPECT_EQ(object->References, 1u);
    const CallableAddressTable* first = object->Table;
    ASSERT_NE(first, nullptr);

    // The first query hands out the object itself, adds a reference and switches the table.
    void* viewed = nullptr;
    EXPECT_EQ(first->QueryInterface(object, &kIidCallableAddress, &viewed), kSOk);
    EXPECT_EQ(viewed, object);
    EXPECT_EQ(object->References, 2u);
    const CallableAddressTable* second = object->Table;
    EXPECT_NE(second, first);

    // A second query fails and nulls the reference; the object stays as it was.
    void* again = object; // not null before the call
    EXPECT_EQ(second->QueryInterface(object, &kIidCallableAddress, &again), kENoInterface);
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(object->References, 2u);
    EXPECT_EQ(object->Table, second);

    // Counts as add-reference and release return them.
    EXPECT_EQ(object->Table->AddRef(object), 3u);
    EXPECT_EQ(object->Table->Release(object), 2u);
    EXPECT_EQ(object->Table->Release(object), 1u); // the creator's reference goes
    EXPECT_EQ(memory.frees, 0);

    // Still usable through the reference from the first query.
    CallableAddress* call = AsObject(viewed);
    EXPECT_EQ(call->Table->Call(call), 0);
    EXPECT_EQ(g_calls, 1);

    EXPECT_EQ(call->Table->Release(call), 0u);
    EXPECT_EQ(memory.allocs, 1);
    EXPECT_EQ(memory.frees, 1);
    EXPECT_EQ(memory.badFrees, 0);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST(CallableAddress, FirstQueryTakesAnyInterfaceAndTablesAreShared) {
    FakeLibraryApi memory;
    CallableAddress* a = NewCallableAddress(memory, CountingEntry);
    CallableAddress* b = NewCallableAddress(memory, OtherEntry);
    EXPECT_EQ(a->Table, b->Table);
    void* viewed = nullptr;
    EXPECT_EQ(a->Table->QueryInterface(a, &kIidUnknown, &viewed), kSOk);
    EXPECT_EQ(viewed, a);
    EXPECT_NE(a->Table, b->Table);
    EXPECT_EQ(b->Table->QueryInterface(b, &kIidCallableAddress, &viewed), kSOk);
    EXPECT_EQ(a->Table, b->Table);
    // Each calls its own entry point.
    EXPECT_EQ(b->Table->Call(b), 42);
    for (CallableAddress* o : {a, b}) {
        o->Table->Release(o);
        o->Table->Release(o);
    }
    EXPECT_EQ(memory.frees, 2);
    EXPECT_EQ(memory.badFrees, 0);
}

class CallableAddressStatus : public ::testing::TestWithParam<int32_t> {};

TEST_P(CallableAddressStatus, CallReturnsTheEntryPointsStatusUnchanged) {
    FakeLibraryApi memory;
    g_status = GetParam();
    CallableAddress* object = NewCallableAddress(memory, CountingEntry);
    EXPECT_EQ(object->Table->Call(object), GetParam());
    object->Table->Release(object);
}

INSTANTIATE_TEST_SUITE_P(Statuses, CallableAddressStatus,
                         ::testing::Values(0, 1, static_cast<int32_t>(0x80004005u), INT32_MIN,
                                           INT32_MAX));

TEST(CallableAddress, NoMemoryRaisesOutOfMemory) {
    FakeLibraryApi memory;
    memory.failAlloc = true;
    try {
        NewCallableAddress(memory, CountingEntry);
        FAIL() << "no error raised";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number, 7);
    }
    EXPECT_EQ(memory.allocs, 0);
    EXPECT_EQ(memory.frees, 0);
}
