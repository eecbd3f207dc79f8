// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SlowMount.h"
#include "StallMeter.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <dirent.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;

#define SKIP_UNLESS_MOUNTED(mount)                                                                 \
    if (!(mount).mounted())                                                                        \
    GTEST_SKIP() << (mount).skipReason()

namespace {

// The types a listing of the directory reports, by name.
std::map<std::string, unsigned char> listingTypes(const std::string& directory) {
    std::map<std::string, unsigned char> types;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return types;
    while (const dirent* e = ::readdir(dir))
        types[e->d_name] = e->d_type;
    ::closedir(dir);
    return types;
}

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

TEST(SlowMount, PassesFilesThroughAndCountsRequests) {
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    mount.backingDir().write("a/Muster.pes", "PES");
    mount.resetRequests();
    EXPECT_TRUE(exists(mount.path() + "/a/Muster.pes"));
    const long lookups = mount.requests();
    EXPECT_GE(lookups, 2); // every component, nothing cached
    EXPECT_TRUE(exists(mount.path() + "/a/Muster.pes"));
    EXPECT_EQ(mount.requests(), 2 * lookups);

    ASSERT_EQ(::mkdir((mount.path() + "/b").c_str(), 0755), 0);
    EXPECT_TRUE(exists(mount.backing() + "/b"));
}

TEST(SlowMount, ListsNamesOnlyUnlessAskedForTypes) {
    SlowMount plain;
    SKIP_UNLESS_MOUNTED(plain);
    plain.backingDir().write("f.pes", "x");
    plain.backingDir().makeDir("d");
    auto types = listingTypes(plain.path());
    EXPECT_EQ(types["f.pes"], DT_UNKNOWN);
    EXPECT_EQ(types["d"], DT_UNKNOWN);

    SlowMount typed(SlowMount::Options{.delayMs = 0, .listingTypes = true});
    SKIP_UNLESS_MOUNTED(typed);
    typed.backingDir().write("f.pes", "x");
    typed.backingDir().makeDir("d");
    types = listingTypes(typed.path());
    EXPECT_EQ(types["f.pes"], DT_REG);
    EXPECT_EQ(types["d"], DT_DIR);
}

TEST(SlowMount, DelaysEveryRequestAsSetWhileMounted) {
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    mount.backingDir().write("f", "x");
    mount.setDelay(30);
    mount.resetRequests();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(exists(mount.path() + "/f"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 30ms * mount.requests());
}

TEST(SlowMount, HangsAPathUntilReleasedAndLetsOthersGoOn) {
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    mount.backingDir().makeDir("share/hung/deep");
    mount.backingDir().makeDir("free");
    mount.hang("share/hung");
    std::atomic<bool> answered{false};
    std::thread stuck([&] {
        exists(mount.path() + "/share/hung/deep");
        answered = true;
    });
    for (int i = 0; i < 200 && mount.blocked() == 0; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(mount.blocked(), 1);
    EXPECT_TRUE(exists(mount.path() + "/free"));
    EXPECT_FALSE(answered);
    mount.release();
    stuck.join();
    EXPECT_TRUE(answered);
}

TEST(SlowMount, TearsDownWhileARequestStillHangs) {
    std::thread abandoned;
    {
        SlowMount mount;
        SKIP_UNLESS_MOUNTED(mount);
        mount.backingDir().makeDir("hung");
        mount.hang("");
        abandoned = std::thread([path = mount.path()] { exists(path + "/hung"); });
        for (int i = 0; i < 200 && mount.blocked() == 0; ++i)
            std::this_thread::sleep_for(10ms);
    }
    // The request ends, answered or refused, once the file system is gone.
    if (abandoned.joinable())
        abandoned.join();
}

TEST(StallMeter, MeasuresTheLongestTimeWithoutAnEventLoopTurn) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    // Blocking the thread is one stall as long as the action.
    auto blocked = StallMeter::measure([] { std::this_thread::sleep_for(80ms); });
    EXPECT_GE(blocked.longest, 80ms);

    // Work in slices with turns in between stalls only a slice long.
    int slices = 0;
    QTimer slicer;
    QObject::connect(&slicer, &QTimer::timeout, [&] {
        std::this_thread::sleep_for(10ms);
        ++slices;
    });
    auto sliced = StallMeter::measure([&] { slicer.start(0); }, [&] { return slices >= 8; });
    slicer.stop();
    EXPECT_TRUE(sliced.finished);
    EXPECT_GE(sliced.total, 80ms);
    EXPECT_GE(sliced.longest, 10ms);
    EXPECT_LT(sliced.longest, 40ms);
}
