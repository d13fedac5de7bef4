#include "platform/com/guid.h"
#include "platform/com/unknown.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
constexpr GUID bodyIid = guidFromLiteral("{83A33D3C-27C5-11CE-BFD4-00400513BB57}");
static_assert(bodyIid.Data1 == 0x83A33D3C && bodyIid.Data2 == 0x27C5 && bodyIid.Data3 == 0x11CE);
static_assert(bodyIid.Data4[0] == 0xBF && bodyIid.Data4[7] == 0x57);
static_assert(uuidOf<IUnknown>().Data4[0] == 0xC0 && uuidOf<IDispatch>().Data1 == 0x00020400);

TEST(PlatformComGuid, ParsesFieldsAndFormatsBackInUpperCase) {
    const GUID g = guidParse("{8db64337-f36e-47cc-bbbc-b4b979d31505}");
    EXPECT_EQ(g.Data1, 0x8DB64337u);
    EXPECT_EQ(g.Data2, 0xF36Eu);
    EXPECT_EQ(g.Data3, 0x47CCu);
    EXPECT_EQ(g.Data4[0], 0xBB);
    EXPECT_EQ(g.Data4[1], 0xBC);
    EXPECT_EQ(g.Data4[2], 0xB4);
    EXPECT_EQ(g.Data4[7], 0x05);
    EXPECT_EQ(guidToString(g), "{8DB64337-F36E-47CC-BBBC-B4B979D31505}");
    EXPECT_EQ(guidParse(guidToString(bodyIid)), bodyIid);
    EXPECT_EQ(guidToString(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
}

TEST(PlatformComGuid, EqualityComparesEveryByte) {
    GUID other = bodyIid;
    EXPECT_EQ(other, bodyIid);
    other.Data4[7] ^= 1;
    EXPECT_NE(other, bodyIid);
    EXPECT_NE(IID_IUnknown, IID_IDispatch);
    EXPECT_NE(GUID_NULL, IID_IUnknown);
}

TEST(PlatformComGuid, MalformedTextIsRefusedWithTheTextInTheMessage) {
    const char* bad[] = {
        "",
        "83A33D3C-27C5-11CE-BFD4-00400513BB57",    // no braces
        "{83A33D3C-27C5-11CE-BFD4-00400513BB5}",   // one digit short
        "{83A33D3C-27C5-11CE-BFD4-00400513BB57 }", // trailing blank inside
        "{83A33D3C+27C5-11CE-BFD4-00400513BB57}",  // wrong separator
        "{83A33D3G-27C5-11CE-BFD4-00400513BB57}",  // not hex
    };
    for (const char* text : bad) {
        GUID out = bodyIid;
        EXPECT_FALSE(guidTryParse(text, out)) << text;
        EXPECT_EQ(out, bodyIid) << "output must stay untouched for " << text;
        try {
            guidParse(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(guidFromLiteral("{nonsense}"), std::invalid_argument);
}
} // namespace
