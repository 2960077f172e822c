// Hands filled blocks from the thread that reads and computes them to a worker
// thread that writes them out, so reading, sample math and writing overlap. A
// small ring of equal blocks; the producer fills Free() and Push()es it, the
// worker passes each block in order to the consumer given to Start. Waits spin
// briefly, then yield, then sleep: blocking on the system's events costs a
// server round trip per block under Wine, a large part of a block's write.
// Portable: std::thread and atomics only.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class CBlockQueue {
public:
    // The consumer writes one block; it returns an error text, or null on success.
    using Consumer = std::function<const char*(const uint8_t* data, size_t bytes, uint64_t tag)>;

    CBlockQueue(size_t blockBytes, int slots, Consumer consumer);
    ~CBlockQueue();
    CBlockQueue(const CBlockQueue&) = delete;
    CBlockQueue& operator=(const CBlockQueue&) = delete;

    // The block the producer fills next; waits while the worker still holds it.
    uint8_t* Free();
    // Hands Free() (its first `bytes` bytes) to the worker, which starts on the
    // first push. False when no worker could be started: the producer then
    // writes the block itself.
    bool Push(size_t bytes, uint64_t tag);
    // Waits until every pushed block went through the consumer.
    void Drain();
    // Drains and ends the worker; Free() stays usable without one.
    void Stop();
    // No worker for this run: Push() then returns false and the producer writes
    // each block itself (a short run does not win back a thread's start and end).
    void RunWithoutWorker() { m_started = true; }
    // The consumer's first error, or null; blocks pushed after it are dropped.
    const char* Error() const { return m_error.load(std::memory_order_acquire); }

private:
    void Work();
    template <class Ready>
    static void WaitFor(Ready ready);

    const size_t m_blockBytes;
    const uint64_t m_slots;
    std::unique_ptr<uint8_t[]> m_memory;
    std::unique_ptr<size_t[]> m_bytes;
    std::unique_ptr<uint64_t[]> m_tags;
    Consumer m_consumer;
    std::thread m_worker;
    bool m_started = false;  // a worker was tried (only one try per run)
    std::atomic<uint64_t> m_pushed{0}, m_done{0};
    std::atomic<bool> m_stop{false};
    std::atomic<const char*> m_error{nullptr};
};
