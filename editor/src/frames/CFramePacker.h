#pragma once
// CFramePacker: stores the pictures of a long operation as frames on worker
// threads (a CWorkQueue) while the operation goes on making the next ones.
// Pictures are queued by their place in the result.

#include "CWorkQueue.h"
#include "editor/CStoredFrame.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class CFramePacker {
public:
    // Room for `count` frames, places 0 to count − 1.
    explicit CFramePacker(size_t count) : m_frames(count) {}

    // Queues a plain packed picture for place `index` (each place once).
    void Pack(size_t index, std::vector<uint8_t> picture);
    // Puts a frame stored already at place `index`.
    void Put(size_t index, FrameRef frame);
    // Queues a job that makes the frame of place `index` on a worker (null
    // when it fails). It may touch only image objects of its own.
    void Make(size_t index, std::function<FrameRef()> make);
    // Waits until every queued picture is stored; true, with the frames in
    // place order, when all of them were and every place was filled. A
    // place marked in `repeats` takes the frame before it.
    bool Finish(std::vector<FrameRef>& frames, const std::vector<bool>& repeats = {});

private:
    std::vector<FrameRef> m_frames;
    std::mutex m_mutex;
    // Last, so its workers stop before the frames they fill go.
    CWorkQueue m_queue;
};
