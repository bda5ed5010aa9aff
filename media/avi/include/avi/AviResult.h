#pragma once
// What the AVI layer reports; each user maps it onto its own result codes.

enum class AviResult {
    Ok,
    NoData,      // no bytes to read
    NotAvi,      // the headers do not read as an AVI file
    Damaged,     // a chunk reaches past its container or the file
    OutOfMemory,
    WriteFailed, // the bytes could not be written, or the multiplexer refused
};
