#include "platform/core/com_object.h"

#include <gtest/gtest.h>

namespace {

const IID IID_IFirst = {0x1, 0x2, 0x3, {1, 2, 3, 4, 5, 6, 7, 8}};
const IID IID_ISecond = {0x9, 0x2, 0x3, {1, 2, 3, 4, 5, 6, 7, 8}};
const IID IID_INotHere = {0xA, 0x2, 0x3, {1, 2, 3, 4, 5, 6, 7, 8}};

struct IFirst : IUnknown {
    virtual int First() = 0;
};
struct ISecond : IUnknown {
    virtual int Second() = 0;
};

}  // namespace

PICTARIUM_INTERFACE_ID(IFirst, IID_IFirst)
PICTARIUM_INTERFACE_ID(ISecond, IID_ISecond)

namespace {

class Both final : public ComObject<Both, IFirst, ISecond> {
  public:
    explicit Both(int* destroyed) : destroyed_(destroyed) {}
    ~Both() override { ++*destroyed_; }
    int First() override { return 1; }
    int Second() override { return 2; }

  private:
    int* destroyed_;
};

TEST(ComObjectTest, EveryInterfaceReachesTheSameObjectAndTheLastReleaseDestroysIt) {
    int destroyed = 0;
    {
        ComPtr<IFirst> first;
        first.Attach(Both::Make(&destroyed).Detach());
        ComPtr<ISecond> second;
        ASSERT_EQ(first.As(&second), S_OK);
        EXPECT_EQ(second->Second(), 2);

        // IUnknown from either interface is the same pointer: that is how identity is compared.
        ComPtr<IUnknown> a, b;
        ASSERT_EQ(first.As(&a), S_OK);
        ASSERT_EQ(second.As(&b), S_OK);
        EXPECT_EQ(a.Get(), b.Get());

        ComPtr<IFirst> missing;
        EXPECT_EQ(second->QueryInterface(IID_INotHere, reinterpret_cast<void**>(&missing)),
                  E_NOINTERFACE);
        EXPECT_EQ(first->QueryInterface(IID_IFirst, nullptr), E_POINTER);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(ComPtrTest, CopiesCountAndDetachHandsOverOwnership) {
    int destroyed = 0;
    ComPtr<Both> one = Both::Make(&destroyed);
    ComPtr<Both> two = one;
    one.Reset();
    EXPECT_EQ(destroyed, 0);
    Both* raw = two.Detach();
    EXPECT_FALSE(two);
    EXPECT_EQ(raw->Release(), 0u);
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
