#pragma once
// CWorkQueue: jobs run on worker threads, one per processor, while the
// thread that queues them goes on with its own part. A few jobs may wait at
// a time: Add waits while the workers catch up, so what the jobs hold
// (plain pictures) stays little whatever the length of the work.
//
// Jobs touch only image objects of their own, never the window's; each
// reports success, and Finish tells whether all of them succeeded.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CWorkQueue {
public:
    using Job = std::function<bool()>;

    CWorkQueue();
    // Waits for the jobs queued.
    ~CWorkQueue();
    CWorkQueue(const CWorkQueue&) = delete;
    CWorkQueue& operator=(const CWorkQueue&) = delete;

    void Add(Job job);
    // Waits until every job has run; true when all succeeded. No job may be
    // added afterwards.
    bool Finish();

private:
    void Work();

    std::deque<Job> m_jobs;
    size_t m_busy = 0;
    size_t m_maxQueued = 2;
    bool m_stopping = false;
    bool m_failed = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::thread> m_workers;
};
