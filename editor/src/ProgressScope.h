#pragma once
// ProgressScope: one long operation's use of the progress dialog, which may
// be absent (null). Begin on construction, End when the scope closes, so
// every exit path ends the dialog.

#include "editor/IEditorProgress.h"

#include <cstdio>
#include <string>

class ProgressScope {
public:
    ProgressScope(IEditorProgress* progress, const std::string& caption) : m_progress(progress)
    {
        if (m_progress)
            m_progress->Begin(caption);
    }
    ~ProgressScope()
    {
        if (m_progress)
            m_progress->End();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void SetRange(int lower, int upper)
    {
        if (m_progress)
            m_progress->SetRange(lower, upper);
    }
    void SetPosition(int position)
    {
        if (m_progress)
            m_progress->SetPosition(position);
    }
    // "Processing frame i out of n ..." and the bar at i × 100 / n.
    void ShowFrame(const char* format, int index, int count)
    {
        if (!m_progress)
            return;
        char line[96];
        std::snprintf(line, sizeof line, format, index, count);
        m_progress->SetMessage(line);
        m_progress->SetPosition(int(int64_t(index) * 100 / count));
    }

    bool IsCancelled() const { return m_progress && m_progress->IsCancelled(); }

private:
    IEditorProgress* m_progress;
};
