#include "RecordRing.h"
#include <cstring>

void CRecordRing::Put(const AnalyzerRecord& record)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_slots[m_write % kSlots] = record;
    m_write++;
    if (m_write - m_read == kSlots)
        m_read = m_write - (kSlots - 1);
}

bool CRecordRing::Get(uint8_t* out)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_read >= m_write)
        return false;
    memcpy(out, &m_slots[m_read % kSlots], sizeof(AnalyzerRecord));
    m_read++;
    return true;
}

void CRecordRing::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_read = m_write = 0;
}

int CRecordRing::Unread()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return int(m_write - m_read);
}
