#pragma once
// What a document operation reports. The window shows EditorStatusMessage in
// a message box when it is not empty; the other outcomes are silent.

enum class EditorStatus {
    Ok,
    // Nothing to do (no frames, too few frames): silent, nothing changed.
    NothingToDo,
    // The user cancelled a long operation: silent, nothing changed.
    Cancelled,
    // The frames differ in width, height or pixel format.
    NotSameFormat,
    // A dialog value outside its limits.
    BadParameters,
    // Bytes offered as a picture (the clipboard's) are not one the editor reads.
    NotAPicture,
    // Remove Alpha Channel: the mask strip is not 8-bit or does not match
    // the frames; silent, nothing changed.
    MaskMismatch,
    // Save Palette: the current frame is not 8-bit.
    NotIndexed,
    // A frame of the requested size would need more memory than a frame may.
    TooLarge,
    OutOfMemory,
    // A file could not be opened or read.
    CannotOpenFile,
    // The file is not a video with a readable video stream.
    NotAVideo,
    // The video's stream ends early or a frame of it cannot be read.
    DamagedVideo,
    // The file could not be written; an older file of that name is unchanged.
    CannotWriteFile,
    // A palette file must hold exactly 1024 bytes.
    BadPaletteFile,
    // The image library refused an operation on a frame.
    ImageFailed,
    // A file offered as a picture (an import, a dropped file) is not one the
    // editor reads, or it is damaged.
    NotAPictureFile,
    // Export: ARLE and PRLE encode 8-bit pictures only.
    NeedsIndexed8,
    // Export: the "Alpha" file of a TRLE strip cannot be read as a picture.
    CannotOpenAlpha,
    // Export: the codec refused the picture (a TRLE reference that does not
    // fit the strip, a TRLE picture deeper than 8 bits without one).
    CompressionFailed,
    // Export: JPEG files are made from 24-bit frames only.
    JpegNeeds24Bits,
};

// The text shown to the user, or an empty string for silent outcomes.
const char* EditorStatusMessage(EditorStatus status);
