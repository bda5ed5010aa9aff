#pragma once
// The window's own texts: captions, file filters (in the system's form; see
// FileDialogFilter) and the formats of the status-bar panes.

constexpr const char* kAppTitle = "KVF Editor";
constexpr const char* kUntitled = "Untitled";
constexpr const char* kReady = "Ready";
constexpr const char* kAskSaveChanges = "Save changes to %1?";

constexpr const char* kDocumentFilter = "KVF Files (*.avi)|*.avi|All Files (*.*)|*.*||";
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
constexpr const char* kFramePane = "Frame: %d";
constexpr const char* kTotalPane = "Total: %d";
