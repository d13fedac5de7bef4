#include "libs/KvorCore/loader/com_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ComPathTest, JoinAppendsOneSeparator) {
    EXPECT_EQ(mzComPathC("/tmp").join("a.dat").toString().toUtf8(), "/tmp/a.dat");
    EXPECT_EQ(mzComPathC("/tmp/").join("a.dat").toString().toUtf8(), "/tmp/a.dat");
    EXPECT_EQ(mzComPathC("/tmp").join("/etc/passwd").toString().toUtf8(), "/tmp/etc/passwd");
    EXPECT_EQ(mzComPathC("").join("a").toString().toUtf8(), "a");
    EXPECT_EQ(mzComPathC("/tmp").join("a").asString(), mzComPathC("/tmp").join("a").toString());
}

TEST(ComPathTest, NativeStringIsAbsoluteAndNormal) {
    EXPECT_EQ(mzComPathC("/a/./b/../c/").toNativeString().toUtf8(), "/a/c");
    EXPECT_EQ(mzComPathC("/").toNativeString().toUtf8(), "/");
    EXPECT_EQ(mzComPathC("//x//y").toNativeString().toUtf8(), "/x/y");
    EXPECT_EQ(mzComPathC("").toNativeString().toUtf8(), "");
    const std::string cwd = std::filesystem::current_path().generic_string();
    EXPECT_EQ(mzComPathC("sub/part.sldprt").toNativeString().toUtf8(), cwd + "/sub/part.sldprt");
    // Two spellings of one file compare equal in native form.
    EXPECT_EQ(mzComPathC("/w/parts/../parts/P.sldprt").toNativeString(),
              mzComPathC("/w/parts/P.sldprt").toNativeString());
    EXPECT_EQ(mzComPathC("/w/Maß/ä.sldprt").toNativeString().toUtf8(), "/w/Maß/ä.sldprt");
}

TEST(ComPathTest, ExtensionWithoutDot) {
    EXPECT_EQ(mzComPathC("/w/P.SLDPRT").getExtension().toUtf8(), "SLDPRT");
    EXPECT_EQ(mzComPathC("a.tar.gz").getExtension().toUtf8(), "gz");
    EXPECT_EQ(mzComPathC("/w.d/noext").getExtension().toUtf8(), "");
    EXPECT_EQ(mzComPathC(".profile").getExtension().toUtf8(), "");
    EXPECT_EQ(mzComPathC("name.").getExtension().toUtf8(), "");
}

} // namespace
