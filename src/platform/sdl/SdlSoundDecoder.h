// Sound effects decoded on a worker thread, so that loading the sound table
// does not hold up the first frame: a sound asked for before it is ready is
// skipped, never waited for.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

// One effect: its file, and the decoded samples once the worker has them.
struct TPendingChunk {
    explicit TPendingChunk(std::string p) : path(std::move(p)) {}
    ~TPendingChunk();
    TPendingChunk(const TPendingChunk&) = delete;
    TPendingChunk& operator=(const TPendingChunk&) = delete;

    // Null until decoded (and for good when the file would not decode).
    Mix_Chunk* ready() const { return chunk.load(std::memory_order_acquire); }
    bool finished() const { return done.load(std::memory_order_acquire); }

    const std::string path;
    std::atomic<Mix_Chunk*> chunk{nullptr};
    std::atomic<bool> done{false};  // decoded, or failed
};

class TSdlSoundDecoder {
public:
    TSdlSoundDecoder() = default;
    ~TSdlSoundDecoder();  // stops the worker (what is queued stays undecoded) and joins it
    TSdlSoundDecoder(const TSdlSoundDecoder&) = delete;
    TSdlSoundDecoder& operator=(const TSdlSoundDecoder&) = delete;

    // Queues an effect; the worker starts with the first one.
    void add(const std::shared_ptr<TPendingChunk>& chunk);
    // Decoding may begin: the first frame is on the window. Until then (or
    // until `holdMs` has passed, for a program that never shows a frame) the
    // worker waits, so the two cores go to opening the window.
    void release();
    void setHoldMs(int ms) { holdMs_ = ms; }
    // Stops the worker and joins it (before the sound device closes).
    void stop();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::weak_ptr<TPendingChunk>> queue_;  // a sound dropped meanwhile is not decoded
    bool released_ = false, stop_ = false;
    int holdMs_ = 2000;
    // An SDL thread rather than std::thread: SDL frees what it keeps for the
    // thread (its error text) when an SDL thread ends.
    SDL_Thread* worker_ = nullptr;
};
