// Damaged and hostile video files: each is refused with a clear result and
// the open document stays as it was. The same files, and the committed
// folder of malformed inputs (tests/malformed, which also keeps every fuzz
// finding), seed the reader's fuzz target.
//
// VELDRA_WRITE_MALFORMED=<folder> writes the generated malformed files;
// VELDRA_WRITE_FUZZ_SEEDS=<folder> writes the fuzz target's seeds (valid
// files of every depth, then the malformed ones).

#include "EditorTestSupport.h"

#include "editor/CAviFile.h"
#include "editor/CKVFEditorDoc.h"

#include <gtest/gtest.h>

using namespace edtest;

namespace {

// Any refusal will do for these: where the demultiplexer gives up first is its business.
constexpr EditorStatus kAnyFailure = EditorStatus::Ok;

struct NamedFile {
    std::string name;
    Bytes bytes;
    EditorStatus expected = kAnyFailure;
};

Bytes Frame24(int width, int height, uint8_t value)
{
    return Bytes(((size_t(width) * 3 + 3) & ~size_t(3)) * size_t(height), value);
}

HandAvi Valid24()
{
    HandAvi avi;
    avi.width = 5;
    avi.height = 4;
    avi.format = InfoHeader(5, 4, 24, BI_RGB);
    avi.chunks = {Frame24(5, 4, 10), Frame24(5, 4, 20), Frame24(5, 4, 30)};
    return avi;
}

std::vector<NamedFile> MalformedFiles()
{
    std::vector<NamedFile> files;
    files.push_back({"empty.avi", {}, EditorStatus::NotAVideo});
    const std::string text = "This is not a video.";
    files.push_back({"not-riff.avi", Bytes(text.begin(), text.end()), EditorStatus::NotAVideo});

    const Bytes valid = Valid24().Build();
    files.push_back({"cut-in-header.avi", Bytes(valid.begin(), valid.begin() + 100)});
    const ptrdiff_t movi = FindChunk(valid, "movi");
    files.push_back({"cut-in-frames.avi", Bytes(valid.begin(), valid.begin() + movi + 4 + 8 + 80 + 8 + 30),
                     EditorStatus::DamagedVideo});

    HandAvi avi = Valid24();
    avi.announcedFrames = 40;
    files.push_back({"more-frames-announced.avi", avi.Build(), EditorStatus::DamagedVideo});

    avi = Valid24();
    avi.chunks[1].resize(avi.chunks[1].size() - 1);
    files.push_back({"short-chunk.avi", avi.Build(), EditorStatus::DamagedVideo});

    avi = Valid24();
    avi.width = avi.height = 65535;
    avi.format = InfoHeader(65535, 65535, 32, BI_RGB);
    files.push_back({"huge-frame.avi", avi.Build(), EditorStatus::TooLarge});

    avi = Valid24();
    avi.format = InfoHeader(0, 4, 24, BI_RGB);
    files.push_back({"zero-width.avi", avi.Build()});

    avi = Valid24();
    avi.format = InfoHeader(5, 4, 7, BI_RGB);
    files.push_back({"odd-depth.avi", avi.Build(), EditorStatus::NotAVideo});

    avi = Valid24();
    avi.format = InfoHeader(5, 4, 16, BI_BITFIELDS);
    files.push_back({"masks-missing.avi", avi.Build(), EditorStatus::NotAVideo});

    avi = Valid24();
    avi.format = InfoHeader(5, 4, 24, FourCC("QQQQ"));
    avi.handler = FourCC("QQQQ");
    files.push_back({"unknown-codec.avi", avi.Build(), EditorStatus::NotAVideo});

    avi = Valid24();
    avi.streamType = "auds";
    avi.chunkId = "01wb";
    avi.format = Bytes{1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0};
    files.push_back({"no-video-stream.avi", avi.Build(), EditorStatus::NotAVideo});

    avi = Valid24();
    avi.chunks[0].clear();
    files.push_back({"first-frame-missing.avi", avi.Build(), EditorStatus::DamagedVideo});
    return files;
}

// Valid files for the fuzz target to start from, small enough for its runs.
std::vector<NamedFile> SeedFiles(const TempDir& dir)
{
    std::vector<NamedFile> files;
    const std::pair<const char*, PixelFormat> depths[] = {{"index1", PF_INDEX1}, {"index4", PF_INDEX4},
                                                          {"index8", PF_INDEX8}, {"rgb555", PF_RGB555},
                                                          {"bgr565", PF_BGR565}, {"rgb24", PF_RGB24},
                                                          {"rgb32", PF_RGB32}};
    for (const auto& [name, format] : depths) {
        CKVFEditorDoc doc;
        for (uint32_t i = 0; i < 2; ++i) {
            Bytes picture = MakePicture(format, 6, 5, i + 1);
            doc.Paste(picture.data(), picture.size());
        }
        const std::string path = dir.File(std::string(name) + ".avi");
        if (doc.SaveDocument(path) == EditorStatus::Ok)
            files.push_back({std::string("saved-") + name + ".avi", ReadFile(path), EditorStatus::Ok});
    }
    HandAvi topDown = Valid24();
    topDown.format = InfoHeader(5, -4, 24, BI_RGB);
    topDown.chunks[1].clear();
    files.push_back({"top-down-repeat.avi", topDown.Build(), EditorStatus::Ok});

    HandAvi rle = CodecAvi(4, 2, 8, 1 /* BI_RLE8 */, {0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0},
                           {Bytes{4, 1, 0, 0, 2, 2, 0, 2, 3, 0, 0, 1}});
    rle.handler = 0;
    files.push_back({"rle8.avi", rle.Build(), EditorStatus::Ok});
    HandAvi yuv = CodecAvi(2, 2, 16, FourCC("YUY2"), {}, {Bytes{235, 128, 16, 128, 81, 90, 145, 240}});
    files.push_back({"yuy2.avi", yuv.Build(), EditorStatus::Ok});
    return files;
}

void WriteAll(const char* variable, const std::vector<NamedFile>& files)
{
    if (const char* folder = std::getenv(variable))
        for (const NamedFile& file : files)
            WriteFile(std::string(folder) + "/" + file.name, file.bytes);
}

// A document with two frames, to be left untouched by a failed open.
void FillDocument(CKVFEditorDoc& doc)
{
    for (uint32_t i = 0; i < 2; ++i) {
        Bytes picture = MakePicture(PF_INDEX8, 3, 3, i + 1);
        doc.Paste(picture.data(), picture.size());
    }
}

} // namespace

TEST(AviMalformedTest, DamagedAndHostileFilesAreRefusedAndTheDocumentKept)
{
    TempDir dir;
    const std::vector<NamedFile> files = MalformedFiles();
    WriteAll("VELDRA_WRITE_MALFORMED", files);
    for (const NamedFile& file : files) {
        const std::string path = dir.File(file.name);
        WriteFile(path, file.bytes);
        CKVFEditorDoc doc;
        FillDocument(doc);
        const DocumentState before = Snapshot(doc);
        const EditorStatus status = doc.OpenDocument(path);
        EXPECT_NE(status, EditorStatus::Ok) << file.name;
        if (file.expected != kAnyFailure) {
            EXPECT_EQ(status, file.expected) << file.name;
        }
        EXPECT_NE(std::string(EditorStatusMessage(status)), "") << file.name;
        EXPECT_EQ(Snapshot(doc), before) << file.name;
        EXPECT_TRUE(doc.IsModified()) << file.name;
    }
    CKVFEditorDoc doc;
    EXPECT_EQ(doc.OpenDocument(dir.File("missing.avi")), EditorStatus::CannotOpenFile);
}

TEST(AviMalformedTest, TheCommittedMalformedInputsNeverHarmTheDocument)
{
    const std::filesystem::path folder = std::filesystem::path(EDITOR_TEST_DATA) / "malformed";
    size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        CKVFEditorDoc doc;
        FillDocument(doc);
        const DocumentState before = Snapshot(doc);
        if (doc.OpenDocument(entry.path().string()) != EditorStatus::Ok) {
            EXPECT_EQ(Snapshot(doc), before) << entry.path();
        }
        ++seen;
    }
    EXPECT_GE(seen, MalformedFiles().size());
}

TEST(AviMalformedTest, TheFuzzSeedsAreReadable)
{
    TempDir dir;
    std::vector<NamedFile> seeds = SeedFiles(dir);
    EXPECT_EQ(seeds.size(), 10u);
    for (const NamedFile& seed : seeds) {
        EXPECT_LT(seed.bytes.size(), 16384u) << seed.name;
        CAviFile file;
        ASSERT_EQ(file.OpenReadMemory(seed.bytes.data(), seed.bytes.size()), EditorStatus::Ok) << seed.name;
        for (int i = 0; i < file.GetFrameCount(); ++i)
            EXPECT_TRUE(file.GetFrame(i)) << seed.name << " frame " << i;
    }
    const std::vector<NamedFile> malformed = MalformedFiles();
    seeds.insert(seeds.end(), malformed.begin(), malformed.end());
    WriteAll("VELDRA_WRITE_FUZZ_SEEDS", seeds);
}
