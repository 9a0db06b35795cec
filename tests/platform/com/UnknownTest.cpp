#include "platform/com/Unknown.h"

#include <gtest/gtest.h>

#include "platform/com/Guids.h"

namespace {

struct ITestThing : com::IUnknown {
    static constexpr com::IID Iid = com::MakeGuid("{11111111-2222-3333-4444-555555555555}");
    virtual int Value() = 0;
};
struct IOtherThing : com::IUnknown {
    static constexpr com::IID Iid = com::MakeGuid("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");
};

int liveThings = 0;

class Thing final : public com::Object<ITestThing> {
public:
    Thing() { ++liveThings; }
    ~Thing() override { --liveThings; }
    int Value() override { return 7; }
};

constexpr com::CLSID CLSID_Thing = com::MakeGuid("{01234567-89AB-CDEF-0123-456789ABCDEF}");

TEST(Guid, RegistryFormReadsBothWays) {
    constexpr com::GUID id = com::MakeGuid("{E436EBB3-524F-11CE-9F53-0020AF0BA770}");
    static_assert(id.Data1 == 0xE436EBB3 && id.Data2 == 0x524F && id.Data3 == 0x11CE);
    static_assert(id.Data4[0] == 0x9F && id.Data4[1] == 0x53 && id.Data4[7] == 0x70);
    EXPECT_EQ(com::GuidToString(id), "{E436EBB3-524F-11CE-9F53-0020AF0BA770}");
    EXPECT_EQ(id, com::CLSID_FilterGraph);
    EXPECT_FALSE(id == com::IID_IGraphBuilder);
}

TEST(CoCreateInstance, MakesRegisteredClassesAndCountsReferences) {
    com::RegisterClassFactory(CLSID_Thing, [](const com::IID& Iid, void** Object) {
        return com::CreateAndQuery<Thing>(Iid, Object);
    });
    {
        void* raw = nullptr;
        ASSERT_EQ(com::CoCreateInstance(CLSID_Thing, nullptr, com::CLSCTX_INPROC_SERVER, ITestThing::Iid, &raw),
                  com::S_OK);
        auto thing = com::ComPtr<ITestThing>::Adopt(static_cast<ITestThing*>(raw));
        EXPECT_EQ(thing->Value(), 7);
        EXPECT_EQ(liveThings, 1);
        EXPECT_TRUE(com::QueryInterfaceOf<ITestThing>(thing.Get()));
        EXPECT_FALSE(com::QueryInterfaceOf<IOtherThing>(thing.Get())) << "an interface the object lacks";
        void* other = &raw;
        EXPECT_EQ(thing->QueryInterface(IOtherThing::Iid, &other), com::E_NOINTERFACE);
        EXPECT_EQ(other, nullptr);
    }
    EXPECT_EQ(liveThings, 0) << "the last reference deletes the object";

    void* raw = nullptr;
    EXPECT_EQ(com::CoCreateInstance(CLSID_Thing, nullptr, 3, IOtherThing::Iid, &raw), com::E_NOINTERFACE);
    EXPECT_EQ(liveThings, 0) << "a failed creation leaves nothing behind";
    com::RevokeClassFactory(CLSID_Thing);
}

TEST(CoCreateInstance, ATakenAwayClassIsNotRegisteredUntilGivenBack) {
    com::RegisterClassFactory(CLSID_Thing, [](const com::IID& Iid, void** Object) {
        return com::CreateAndQuery<Thing>(Iid, Object);
    });
    void* raw = &raw;
    {
        com::ScopedClassRemoval removed(CLSID_Thing);
        EXPECT_EQ(com::CoCreateInstance(CLSID_Thing, nullptr, 3, ITestThing::Iid, &raw), com::REGDB_E_CLASSNOTREG);
        EXPECT_EQ(raw, nullptr);
    }
    ASSERT_EQ(com::CoCreateInstance(CLSID_Thing, nullptr, 3, ITestThing::Iid, &raw), com::S_OK);
    com::ComPtr<ITestThing>::Adopt(static_cast<ITestThing*>(raw));
    com::RevokeClassFactory(CLSID_Thing);
    EXPECT_FALSE(com::IsClassRegistered(CLSID_Thing));
}

TEST(WideString, KeepsEveryCharacterOfAUtf8Path) {
    const std::string path = "/媒体/Frühling 2.avi";
    EXPECT_EQ(com::NarrowString(com::WideString(path)), path);
    EXPECT_EQ(com::WideString("ab"), u"ab");
    EXPECT_EQ(com::WideString("媒体 \xF0\x9F\x8E\xAC"), u"媒体 \U0001F3AC") << "well-formed text is decoded";
}

// A path is bytes: one that is not well-formed UTF-8 comes back from its wide form byte for byte, so that the
// graph opens the file the player named.
TEST(WideString, KeepsThePathBytesThatAreNotUtf8) {
    struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"0xFF 0xFE", "/media/\xFF\xFE.avi"},
        {"a GBK name", "/media/\xC4\xE3\xBA\xC3 \xCA\xD3\xC6\xB5.avi"},
        {"a sequence cut at the end", "/media/a\xE4\xBD"},
        {"an overlong slash", "/media/\xC0\xAF.avi"},
        {"an encoded surrogate", "/media/\xED\xB2\x80.avi"},
        {"past U+10FFFF", "/media/\xF4\x90\x80\x80.avi"},
        {"UTF-8 and other bytes mixed", "/媒体/\xB2\xA5\xB7\xC5/Frühling.avi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u16string wide = com::WideString(c.path);
        EXPECT_EQ(com::NarrowString(wide), c.path);
        EXPECT_EQ(wide.find(u'\uFFFD'), std::u16string::npos) << "no byte is replaced";
    }
}

} // namespace
