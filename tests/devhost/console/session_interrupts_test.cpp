// Ctrl-C during a console session: noticed, never fatal, and it cuts short
// a read of the input but no other system call.
#include "session_interrupts.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

// Sends SIGINT to `target` after a pause, then writes a byte to `fd`.
std::thread interruptThenWrite(pthread_t target, int fd) {
    return std::thread([target, fd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        pthread_kill(target, SIGINT);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const char byte = 'x';
        EXPECT_EQ(write(fd, &byte, 1), 1);
    });
}

TEST(SessionInterrupts, NoticedWhileTheObjectLives) {
    {
        session_interrupts interrupts;
        EXPECT_FALSE(session_interrupts::requested());
        std::raise(SIGINT);
        EXPECT_TRUE(session_interrupts::requested());
        session_interrupts::clear();
        EXPECT_FALSE(session_interrupts::requested());
        std::raise(SIGTERM);
        EXPECT_TRUE(session_interrupts::requested());
    }
    EXPECT_FALSE(session_interrupts::requested());
}

// Test that a blocking read of the input returns at Ctrl-C while reading,
// and that any other call is restarted (the byte written later arrives).
TEST(SessionInterrupts, CutShortOnlyAReadOfTheInput) {
    session_interrupts interrupts;
    for (const bool reading : {true, false}) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        session_interrupts::clear();
        std::thread other = interruptThenWrite(pthread_self(), pipeEnds[1]);
        char byte = 0;
        ssize_t got = 0;
        int error = 0;
        if (reading) {
            session_interrupts::reading_scope scope;
            got = read(pipeEnds[0], &byte, 1);
            error = errno;
        } else {
            got = read(pipeEnds[0], &byte, 1);
        }
        other.join();
        EXPECT_TRUE(session_interrupts::requested());
        if (reading) {
            EXPECT_EQ(got, -1);
            EXPECT_EQ(error, EINTR);
        } else {
            EXPECT_EQ(got, 1);
            EXPECT_EQ(byte, 'x');
        }
        close(pipeEnds[0]);
        close(pipeEnds[1]);
    }
}

} // namespace
