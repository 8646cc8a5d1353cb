// Kills a child process at random moments while it saves profiles over and
// over, then checks that what is on disk always loads.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <thread>

#include "ProfileFixture.h"

namespace {

// Saves once, reports through the pipe how long a save takes (microseconds),
// then saves forever.
[[noreturn]] void saveForever(const std::string& dir, int seed, int pipeOut) {
    TProfileManager m;
    m.profilesDir = dir;
    m.loadProfiles();
    if (m.lista.empty()) _exit(3);
    auto p = m.lista[0];
    // Enough content that a save takes a while to write.
    for (int s = 1; s <= 8; ++s)
        for (int l = 1; l <= 25; ++l) p->getStageData(s)->getLevelData(l)->score = l * 10;
    for (int k = 0;; ++k) {
        p->score = seed * 100000 + k;
        p->nrLevelu = 1 + k % 190;
        const auto t0 = std::chrono::steady_clock::now();
        m.save();
        if (k == 0) {
            const int us = static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                std::chrono::steady_clock::now() - t0)
                                                .count());
            if (write(pipeOut, &us, sizeof us) != sizeof us) _exit(4);
        }
    }
}

}  // namespace

TEST_F(ProfileTest, InterruptedSavesNeverBreakAProfile) {
    {
        auto m = manager();
        auto p = m.createProfile("Ann");
        p->score = 1;
        m.chooseProfile(p);
        ASSERT_TRUE(m.save());
    }
    const int runs = 300;
    std::mt19937 rng(12345);
    int midWrite = 0, loaded = 0;
    long saveUsTotal = 0;
    std::set<int> scores;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= runs; ++i) {
        std::fflush(nullptr);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(fds[0]);
            // Quiet child: its messages are not part of the test output.
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            saveForever(profilesDir(), i, fds[1]);
        }
        close(fds[1]);
        int saveUs = 0;
        const bool ready = read(fds[0], &saveUs, sizeof saveUs) == sizeof saveUs;
        close(fds[0]);
        // Kill somewhere within the next two saves.
        if (ready) {
            saveUsTotal += saveUs;
            std::uniform_int_distribution<int> delayUs(0, std::max(1, 2 * saveUs));
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
        }
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        if (FileType(profilesDir() + "65-78-78-/profile.dat.tmp") == 1 ||
            FileType(profilesDir() + "profiles.dat.tmp") == 1)
            ++midWrite;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        auto m = manager(false);
        m.loadProfiles();
        testing::internal::GetCapturedStdout();
        std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(m.lista.size(), 1u) << "run " << i << ": " << err;
        ASSERT_EQ(m.lista[0]->name, "Ann") << "run " << i;
        ASSERT_TRUE(m.profile) << "run " << i;
        const int s = m.lista[0]->score;
        ASSERT_GE(s, 100000) << "run " << i << " score " << s;  // the child's first save is complete
        scores.insert(s);
        ++loaded;
    }
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("interrupted saves: %d kills, %d with a save caught mid-write (temporary file left), "
                "%d loads all good, %zu distinct saved states, mean save %ld us, %.1f s\n",
                runs, midWrite, loaded, scores.size(), saveUsTotal / runs, secs);
    RecordProperty("kills", runs);
    RecordProperty("midWrite", midWrite);
    // The experiment means nothing unless some kills landed inside a write.
    EXPECT_GT(midWrite, 0);
}
