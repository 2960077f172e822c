#include "BlockQueue.h"

#include <chrono>
#include <mutex>
#include <system_error>

namespace {
// The ring of the last queue that ended, kept for the next: a fresh ring's pages
// each fault on their first touch (several microseconds apiece under Wine here).
std::mutex g_spareLock;
std::unique_ptr<uint8_t[]> g_spareRing;
size_t g_spareBytes = 0;

std::unique_ptr<uint8_t[]> TakeRing(size_t bytes)
{
    {
        std::lock_guard<std::mutex> hold(g_spareLock);
        if (g_spareRing && g_spareBytes == bytes) {
            g_spareBytes = 0;
            return std::move(g_spareRing);
        }
    }
    return std::unique_ptr<uint8_t[]>(new uint8_t[bytes]);
}

void GiveBackRing(std::unique_ptr<uint8_t[]> ring, size_t bytes)
{
    std::lock_guard<std::mutex> hold(g_spareLock);
    g_spareRing = std::move(ring);
    g_spareBytes = bytes;
}
}  // namespace

CBlockQueue::CBlockQueue(size_t blockBytes, int slots, Consumer consumer)
    : m_blockBytes(blockBytes),
      m_slots((uint64_t)slots),
      m_memory(TakeRing(blockBytes * (size_t)slots)),
      m_bytes(new size_t[(size_t)slots]),
      m_tags(new uint64_t[(size_t)slots]),
      m_consumer(std::move(consumer))
{
}

CBlockQueue::~CBlockQueue()
{
    Stop();
    GiveBackRing(std::move(m_memory), m_blockBytes * (size_t)m_slots);
}

template <class Ready>
void CBlockQueue::WaitFor(Ready ready)
{
    // A block's write takes tens of microseconds: spin and yield through such
    // waits, and sleep only through long ones (a stalled disk).
    const auto start = std::chrono::steady_clock::now();
    for (unsigned i = 0; !ready(); ++i) {
        if (i < 64)
            continue;
        if ((i & 63) != 0 || std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2))
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

uint8_t* CBlockQueue::Free()
{
    const uint64_t next = m_pushed.load(std::memory_order_relaxed);
    if (next >= m_slots)
        WaitFor([&] { return m_done.load(std::memory_order_acquire) > next - m_slots; });
    return m_memory.get() + (size_t)(next % m_slots) * m_blockBytes;
}

bool CBlockQueue::Push(size_t bytes, uint64_t tag)
{
    if (!m_worker.joinable()) {
        if (m_started)
            return false;
        m_started = true;
        try {
            m_worker = std::thread([this] { Work(); });
        } catch (const std::system_error&) {
            return false;
        }
    }
    const uint64_t next = m_pushed.load(std::memory_order_relaxed);
    Free();  // the slot is the producer's once the worker has let it go
    m_bytes[(size_t)(next % m_slots)] = bytes;
    m_tags[(size_t)(next % m_slots)] = tag;
    m_pushed.store(next + 1, std::memory_order_release);
    return true;
}

void CBlockQueue::Drain()
{
    const uint64_t pushed = m_pushed.load(std::memory_order_relaxed);
    WaitFor([&] { return m_done.load(std::memory_order_acquire) >= pushed; });
}

void CBlockQueue::Stop()
{
    if (!m_worker.joinable())
        return;
    Drain();
    m_stop.store(true, std::memory_order_release);
    m_worker.join();
}

void CBlockQueue::Work()
{
    for (uint64_t k = 0;; ++k) {
        WaitFor([&] {
            return m_pushed.load(std::memory_order_acquire) > k || m_stop.load(std::memory_order_acquire);
        });
        if (m_pushed.load(std::memory_order_acquire) <= k)
            return;  // stopped with nothing left
        const size_t slot = (size_t)(k % m_slots);
        if (!m_error.load(std::memory_order_relaxed)) {
            if (const char* error = m_consumer(m_memory.get() + slot * m_blockBytes, m_bytes[slot], m_tags[slot]))
                m_error.store(error, std::memory_order_release);
        }
        m_done.store(k + 1, std::memory_order_release);
    }
}
