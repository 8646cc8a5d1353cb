#include "platform/sdl/SdlSoundDecoder.h"

#include <chrono>
#include <cstdio>

TPendingChunk::~TPendingChunk() {
    if (Mix_Chunk* c = chunk.load(std::memory_order_acquire)) Mix_FreeChunk(c);
}

TSdlSoundDecoder::~TSdlSoundDecoder() {
    stop();
}

void TSdlSoundDecoder::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (worker_) SDL_WaitThread(worker_, nullptr);
    worker_ = nullptr;
}

void TSdlSoundDecoder::add(const std::shared_ptr<TPendingChunk>& chunk) {
    if (!chunk) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(chunk);
        if (!worker_ && !stop_)
            worker_ = SDL_CreateThread(
                [](void* self) {
                    static_cast<TSdlSoundDecoder*>(self)->run();
                    return 0;
                },
                "sound decoder", this);
    }
    wake_.notify_all();
}

void TSdlSoundDecoder::release() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (released_) return;
        released_ = true;
    }
    wake_.notify_all();
}

void TSdlSoundDecoder::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(holdMs_), [this] { return released_ || stop_; });
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (stop_) return;
        std::shared_ptr<TPendingChunk> next = queue_.front().lock();
        queue_.pop_front();
        if (!next) continue;
        lock.unlock();
        // Decoding and converting to the device's format touch no mixer
        // state, so they run beside the audio thread.
        Mix_Chunk* c = Mix_LoadWAV(next->path.c_str());
        if (!c) std::fprintf(stderr, "globalSnd: cannot decode %s (%s)\n", next->path.c_str(), Mix_GetError());
        next->chunk.store(c, std::memory_order_release);
        next->done.store(true, std::memory_order_release);
        next.reset();  // a sound released meanwhile is freed here, outside the lock
        lock.lock();
    }
}
