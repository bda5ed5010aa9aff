#pragma once
// The window's own texts: captions, file filters (in the system's form; see
// FileDialogFilter) and the formats of the status-bar panes.

constexpr const char* kAppTitle = "KVF Editor";
constexpr const char* kUntitled = "Untitled";
constexpr const char* kReady = "Ready";
constexpr const char* kAskSaveChanges = "Save changes to %1?";

constexpr const char* kDocumentFilter = "KVF Files (*.avi)|*.avi|All Files (*.*)|*.*||";
// Open takes documents and the strips Import takes, a strip as a new document.
constexpr const char* kOpenFilter = "KVF Files and Strips (*.avi *.bmp *.png)|*.avi;*.bmp;*.png|KVF Files "
                                    "(*.avi)|*.avi|Bitmaps (*.bmp)|*.bmp|PNG Pictures (*.png)|*.png|All Files "
                                    "(*.*)|*.*||";
constexpr const char* kAskSaveForeignVideo =
    "This document was opened from a video of another codec. Saving writes every frame uncompressed, so "
    "%1 may become many times larger than the video. Save anyway?";
// Import reads PNG files too, beside the bitmaps.
constexpr const char* kImportFilter = "Bitmaps (*.bmp)|*.bmp|PNG Pictures (*.png)|*.png|All Files (*.*)|*.*||";
// The export layouts by filter: the first and third write one strip, the
// second and fourth one file per frame; the PNG ones skip "Output Options".
constexpr const char* kExportFilter =
    "Single DIB Strip|*.bmp;*.jpg|DIB Sequences|*.bmp;*.jpg|PNG Strip|*.png|PNG Sequence|*.png||";
constexpr const char* kAlphaFilter = "TRLE Compressed bitmap|*.bmp||";

// Status-bar panes after the message pane.
constexpr const char* kZoomPane = "Zoom: %1.3f";
constexpr const char* kBitsPane = "%d bit";
constexpr const char* kSizePane = "%d x %d";
constexpr const char* kFramePane = "Frame: %d"; // numbered from 1
constexpr const char* kTotalPane = "Total: %d";
