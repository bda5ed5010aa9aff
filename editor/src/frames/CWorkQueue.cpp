#include "CWorkQueue.h"

#include <algorithm>

CWorkQueue::CWorkQueue()
{
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    m_maxQueued = 2 * threads;
    m_workers.reserve(threads);
    for (size_t i = 0; i < threads; ++i)
        m_workers.emplace_back([this] { Work(); });
}

CWorkQueue::~CWorkQueue()
{
    Finish();
}

void CWorkQueue::Add(Job job)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < m_maxQueued; });
    m_jobs.push_back(std::move(job));
    lock.unlock();
    m_changed.notify_all();
}

void CWorkQueue::Work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty())
            return; // stopping, nothing left
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        ++m_busy;
        lock.unlock();
        m_changed.notify_all(); // room in the queue
        const bool ok = job();
        job = nullptr; // what it held goes before the next is taken
        lock.lock();
        m_failed = m_failed || !ok;
        --m_busy;
        m_changed.notify_all();
    }
}

bool CWorkQueue::Finish()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_jobs.empty() && m_busy == 0; });
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& worker : m_workers)
        if (worker.joinable())
            worker.join();
    m_workers.clear();
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_failed;
}
