#pragma once
// IEditorProgress: the modeless progress dialog that accompanies every long
// document operation, seen from the document. The window implements it with
// a dialog (and lets its messages run in SetPosition); tests record the
// calls. Every Begin is matched by one End.

#include <string>

// Captions the document uses.
constexpr const char* PROGRESS_PROCESSING = "Processing ...";
constexpr const char* PROGRESS_LOADING = "Loading ...";
constexpr const char* PROGRESS_SAVING = "Saving ...";

class IEditorProgress {
public:
    virtual ~IEditorProgress() = default;
    // Shows the dialog with its caption; the range starts as 0 to 100.
    virtual void Begin(const std::string& caption) = 0;
    virtual void SetRange(int lower, int upper) = 0;
    virtual void SetPosition(int position) = 0;
    // The message line under the bar.
    virtual void SetMessage(const std::string& text) = 0;
    // Whether the user has asked to cancel (the dialog's Cancel button);
    // asked between frames. An operation that stops then leaves the
    // document as it was.
    virtual bool IsCancelled() const { return false; }
    virtual void End() = 0;
};
