// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The external thumbnailer's command line as file managers fill it in.
#include "thumbnailer/Arguments.h"

#include <gtest/gtest.h>

#include <vector>

using thumbnailer::localPath;
using thumbnailer::parseArguments;

namespace {
std::optional<thumbnailer::Arguments> parse(std::vector<const char*> args,
                                            std::string* why = nullptr) {
    args.insert(args.begin(), "nadelix-thumbnailer");
    std::string error;
    auto result = parseArguments(static_cast<int>(args.size()), args.data(), error);
    if (why)
        *why = error;
    EXPECT_EQ(result.has_value(), error.empty());
    return result;
}
} // namespace

TEST(Arguments, SizeInputAndOutputInTheUsualForms) {
    auto a = parse({"-s", "256", "/home/u/ROSE.PES", "/tmp/out.png"});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->size, 256);
    EXPECT_EQ(a->input, "/home/u/ROSE.PES");
    EXPECT_EQ(a->output, "/tmp/out.png");

    a = parse({"-s128", "file:///home/u/Rose%20Garten.pes", "out.png"});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->size, 128);
    EXPECT_EQ(a->input, "/home/u/Rose Garten.pes");

    a = parse({"in.dst", "--size", "64", "out.png"}); // options may follow the files
    ASSERT_TRUE(a);
    EXPECT_EQ(a->size, 64);

    a = parse({"-s", "64", "--", "-odd name.pes", "out.png"});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->input, "-odd name.pes");
}

TEST(Arguments, MistakesAreNamed) {
    std::string why;
    EXPECT_FALSE(parse({"in.pes", "out.png"}, &why));
    EXPECT_NE(why.find("size"), std::string::npos);
    EXPECT_FALSE(parse({"-s", "0", "in.pes", "out.png"}));
    EXPECT_FALSE(parse({"-s", "-5", "in.pes", "out.png"}));
    EXPECT_FALSE(parse({"-s", "12x", "in.pes", "out.png"}));
    EXPECT_FALSE(parse({"-s", "99999999999", "in.pes", "out.png"}));
    EXPECT_FALSE(parse({"-s"}));
    EXPECT_FALSE(parse({"-s", "128", "in.pes"}));
    EXPECT_FALSE(parse({"-s", "128", "in.pes", "out.png", "more"}));
    EXPECT_FALSE(parse({"-s", "128", "-x", "in.pes", "out.png"}));
    EXPECT_FALSE(parse({"-s", "128", "in.pes", ""}));
    EXPECT_FALSE(parse({"-s", "128", "sftp://host/in.pes", "out.png"}, &why));
    EXPECT_NE(why.find("not a local file"), std::string::npos);
}

TEST(Arguments, FileUrisBecomeTheirExactBytes) {
    EXPECT_EQ(localPath("file:///a/b.pes"), "/a/b.pes");
    EXPECT_EQ(localPath("file://localhost/a/b.pes"), "/a/b.pes");
    EXPECT_EQ(localPath("file:///a/%C3%A4rger.PES"), "/a/\xC3\xA4rger.PES");
    EXPECT_EQ(localPath("file:///a/%ff.pes"), "/a/\xFF.pes"); // not UTF-8, kept as it is
    EXPECT_EQ(localPath("file:///a/b%23c.pes"), "/a/b#c.pes");
    EXPECT_EQ(localPath("relative/b.pes"), "relative/b.pes");
    EXPECT_EQ(localPath("/odd:name.pes"), "/odd:name.pes");
    EXPECT_FALSE(localPath("file://otherhost/a/b.pes"));
    EXPECT_FALSE(localPath("file:///a/%4"));
    EXPECT_FALSE(localPath("file:///a/%00b"));
    EXPECT_FALSE(localPath("http://example.org/b.pes"));
    EXPECT_FALSE(localPath(""));
}
