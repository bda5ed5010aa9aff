#include "editor/EditorStatus.h"

const char* EditorStatusMessage(EditorStatus status)
{
    switch (status) {
    case EditorStatus::Ok:
    case EditorStatus::NothingToDo:
    case EditorStatus::Cancelled:
    case EditorStatus::MaskMismatch:
        return "";
    case EditorStatus::NotSameFormat:
        return "Not all the frames are in the same format and dimensions";
    case EditorStatus::BadParameters:
        return "A value is outside its limits.";
    case EditorStatus::NotAPicture:
        return "The clipboard does not hold a picture the editor can read.";
    case EditorStatus::NotIndexed:
        return "Only the palette of an 8-bit frame can be saved.";
    case EditorStatus::TooLarge:
        return "The frames would be too large to hold in memory.";
    case EditorStatus::OutOfMemory:
        return "Not enough memory.";
    case EditorStatus::CannotOpenFile:
        return "Cannot open the file.";
    case EditorStatus::NotAVideo:
        return "The file is not a video with a readable video stream.";
    case EditorStatus::DamagedVideo:
        return "The video file is damaged: a frame is missing or cannot be read.";
    case EditorStatus::CannotWriteFile:
        return "Cannot write the file.";
    case EditorStatus::BadPaletteFile:
        return "Not a palette file: a palette file holds exactly 1024 bytes.";
    case EditorStatus::ImageFailed:
        return "The frames could not be changed.";
    case EditorStatus::NotAPictureFile:
        return "The file is not a picture the editor can read, or it is damaged.";
    case EditorStatus::NeedsIndexed8:
        return "ARLE and PRLE compression is applicable to 8 bits bitmap only.";
    case EditorStatus::CannotOpenAlpha:
        return "Cannot open alpha channel bitmap!";
    case EditorStatus::CompressionFailed:
        return "Compression failed!";
    case EditorStatus::JpegNeeds24Bits:
        return "JPEG files can be made from 24-bit frames only.";
    }
    return "";
}
