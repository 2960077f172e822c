// CRecordRing: finished AnalyzerRecords waiting to be read. Six slots; when a
// put would leave six unread, the oldest unread one is dropped, so at most five
// wait. Put runs on the streaming thread, Get on the caller's; one lock.
#pragma once
#include "AnalyzerRecord.h"
#include <cstdint>
#include <mutex>

class CRecordRing {
public:
    static const int kSlots = 6;

    void Put(const AnalyzerRecord& record);
    // Copies the oldest unread record; false when none waits (out untouched).
    bool Get(uint8_t* out);
    void Clear();
    int Unread();

private:
    std::mutex m_lock;
    AnalyzerRecord m_slots[kSlots] = {};
    uint64_t m_read = 0;
    uint64_t m_write = 0;
};
