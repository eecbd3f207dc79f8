// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Copies onto a FAT stick, where there are no unnamed files and no links: a copy still never
// replaces a file that took its name meanwhile, and what a killed copy leaves behind is gone
// with the next copy into that category.
#include "platform/AtomicWrite.h"
#include "sort/DesignCopy.h"

#include "SortFixture.h"
#include "VfatImage.h"

#include <fstream>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;

class UsbStick : public SortFixture {
protected:
    void SetUp() override {
        if (!stick.mounted())
            GTEST_SKIP() << stick.skipReason();
        m_strZiel = stick.path() + "/";
        category = stick.path() + "/ROSEN";
        std::filesystem::create_directory(category);
        useSource("rose.pes", bytesOfSize(300), "ROSE.PES");
    }

    VfatImage stick;
    std::string category;
};

} // namespace

TEST_F(UsbStick, ANameTakenMeanwhileIsNeverReplaced) {
    const CopyContext c = context();
    DesignCopy copy(c);
    ASSERT_TRUE(copy.start(category));
    // Another program's file, in other letters: FAT takes it for the same name.
    std::ofstream(category + "/rose.pes") << "fremd";
    EXPECT_EQ(copy.finish(), 1);

    EXPECT_EQ(namesIn(category).size(), 2u);
    EXPECT_EQ(readBytes(category + "/rose.pes"),
              (std::vector<std::uint8_t>{'f', 'r', 'e', 'm', 'd'}));
    EXPECT_EQ(readBytes(category + "/ROSE01.PES"), bytesOfSize(300));
    EXPECT_TRUE(questions.shown.empty());
}

TEST_F(UsbStick, WhatAKilledCopyLeftIsRemovedByTheNextCopy) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::AtomicFileWriter writer(category + "/STERN.DST");
        writer.write("halb", 4);
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const Names left = namesIn(category);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind(".nadelix-", 0), 0u) << left[0];

    const CopyContext c = context();
    EXPECT_EQ(DesignCopy(c).CopyTo(category), 1);
    EXPECT_EQ(namesIn(category), Names{"ROSE.PES"});
    EXPECT_EQ(readBytes(category + "/ROSE.PES"), bytesOfSize(300));
}
