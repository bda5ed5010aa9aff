#include "KvfCommands.h"

#include "KvfPictureIO.h"
#include "SpriteThumbnail.h"
#include "imaging/CDibPalette.h"
#include "imaging/ConvertPixels.h"
#include "imaging/PngWriter.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteCodecs.h"
#include "sprites/SpriteFiles.h"
#include "sprites/TrleCodec.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

namespace {

// Options of the form "--name value" or "--flag", then the positional words.
struct ParsedArgs {
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::vector<std::string> positional;
};

// Splits `args`; an option not in `valued` or `switches` is an error.
bool ParseArgs(const KvfArgs& args, const std::set<std::string>& valued, const std::set<std::string>& switches,
               ParsedArgs& out, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            if (valued.count(word)) {
                if (i + 1 >= args.size()) {
                    error = word + " needs a value";
                    return false;
                }
                out.values[word] = args[++i];
            } else if (switches.count(word)) {
                out.flags.insert(word);
            } else {
                error = "unknown option " + word;
                return false;
            }
        } else {
            out.positional.push_back(word);
        }
    }
    return true;
}

int Usage(const std::string& message)
{
    return KvfFail(message + " (try kvftool --help)", KVF_EXIT_USAGE);
}

// Re-encodes `image` with the codec it was stored with, when there was one.
int EncodeLike(CDibPacked& image, uint32_t storedCompression, const std::string& name)
{
    if (!IsTagged(storedCompression))
        return KVF_EXIT_OK;
    if (image.Compress(EncodeRequestFor(storedCompression)) != DIB_OK)
        return KvfFail(name + ": cannot encode with " + CompressionName(storedCompression) + " again");
    return KVF_EXIT_OK;
}

// Copies `rows` picture rows (bottom-up memory rows) between two locked
// uncompressed images of the same width and format.
bool CopyRows(CDibPacked& from, int fromRow, CDibPacked& to, int toRow, int rows)
{
    uint8_t *src, *dst;
    int srcPitch, dstPitch;
    if (from.Lock(&src, &srcPitch) != DIB_OK)
        return false;
    if (to.Lock(&dst, &dstPitch) != DIB_OK) {
        from.Unlock();
        return false;
    }
    for (int r = 0; r < rows; ++r)
        std::memcpy(dst + size_t(toRow + r) * dstPitch, src + size_t(fromRow + r) * srcPitch, size_t(srcPitch));
    to.Unlock();
    from.Unlock();
    return true;
}

bool SameColourTables(const CDibPacked& a, const CDibPacked& b)
{
    const size_t sizeA = PictureHeaderSize(a.GetInfoHeader()), sizeB = PictureHeaderSize(b.GetInfoHeader());
    return sizeA == sizeB &&
           std::memcmp(a.GetInfoHeader() + INFO_HEADER_SIZE, b.GetInfoHeader() + INFO_HEADER_SIZE,
                       sizeA - INFO_HEADER_SIZE) == 0;
}

// Converts an encoded "TRLE" picture without decoding it.
int ConvertTrleFile(const CDibPacked& image, PixelFormat format, CDibPalette* palette, const std::string& out)
{
    PaletteEntry entries[256] = {};
    if (palette)
        palette->GetEntries(entries, 0, 256);
    uint8_t* converted = TrleConvertFormat(image.GetInfoHeader(), image.GetPictureSize(), format,
                                           palette ? entries : nullptr);
    if (!converted)
        return KvfFail("cannot convert this TRLE picture to " + PixelFormatName(format));
    CDibPacked result;
    std::string error;
    const bool ok = result.Attach(CMemoryBlock::Wrap(converted, PictureSize(converted), BlockOwnership::Owned)) ==
                        DIB_OK &&
                    SaveSpriteFile(out, result, error);
    return ok ? KVF_EXIT_OK : KvfFail(error.empty() ? "cannot convert " + out : error);
}

} // namespace

const char* KvfUsage()
{
    return "usage: kvftool COMMAND ARGUMENTS\n"
           "\n"
           "Reads and writes sprite files (.bmp pictures, plain or encoded).\n"
           "\n"
           "  info FILE                          size, depth, codec and colours of a picture\n"
           "  decode IN OUT                      write IN uncompressed\n"
           "  encode --codec TRLE|ARLE|PRLE|PKCC [--reference ALPHA.bmp] IN OUT\n"
           "                                     encode IN; a TRLE picture deeper than 8 bits\n"
           "                                     takes its trims from an 8-bit TRLE reference\n"
           "  convert --format RGB555|RGB565|RGB24|RGB32|INDEX8 [--palette FILE.bmp] [--dither] IN OUT\n"
           "                                     change the pixel format (INDEX8 maps to the\n"
           "                                     palette of FILE.bmp); TRLE pictures stay encoded\n"
           "  split --frames N IN PATTERN        write the N frames of the strip IN as a sequence\n"
           "                                     named from PATTERN (walk.bmp: walk0000.bmp, ...)\n"
           "  join --out OUT FILE...             stack equal frames into one strip, first on top\n"
           "  thumbnail [--frames N] IN OUT.png SIZE\n"
           "                                     the first of IN's N frames (default: as the game\n"
           "                                     loads it, else 1) shrunk to fit SIZE x SIZE, as PNG\n"
           "                                     (a TRLE sprite's transparent pixels stay so)\n"
           "  quantize ...                       colour reduction (kvftool quantize --help)\n"
           "\n"
           "  --version                          the version and the licence\n"
           "\n"
           "Exit status: 0 success, 1 failure, 2 bad command line.\n"
           "\n"
           "Environment:\n"
           "  VELDRA_PORTABLE  1: the portable pixel kernels instead of the SSE2 and AVX2 ones\n"
           "  VELDRA_SIMD      sse2: the SSE2 kernels even where AVX2 would run\n"
           "  VELDRA_TRACE     a file for the codecs' trace (default: standard error), or off\n";
}

int RunInfoCommand(const KvfArgs& args)
{
    if (args.size() != 1)
        return Usage("info takes one file");
    CDibPacked image;
    std::string error;
    if (!LoadSpriteFile(args[0], image, error))
        return KvfFail(error);
    const uint8_t* info = image.GetInfoHeader();
    std::printf("width: %d\n", image.GetWidth());
    std::printf("height: %d\n", image.GetHeight());
    std::printf("bit count: %u\n", unsigned(InfoBitCount(info)));
    std::printf("format: %s\n", PixelFormatName(image.GetFormat()).c_str());
    std::printf("compression: %s\n", CompressionName(InfoCompression(info)).c_str());
    std::printf("image size: %u\n", unsigned(InfoImageSize(info)));
    std::printf("colours used: %u\n", unsigned(InfoColoursUsed(info)));
    return KVF_EXIT_OK;
}

int RunDecodeCommand(const KvfArgs& args)
{
    if (args.size() != 2)
        return Usage("decode takes IN and OUT");
    CDibPacked image;
    std::string error;
    if (!LoadDecodedSpriteFile(args[0], image, error) || !SaveSpriteFile(args[1], image, error))
        return KvfFail(error);
    return KVF_EXIT_OK;
}

int RunEncodeCommand(const KvfArgs& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {"--codec", "--reference"}, {}, parsed, error))
        return Usage(error);
    if (parsed.positional.size() != 2 || !parsed.values.count("--codec"))
        return Usage("encode takes --codec TAG, IN and OUT");
    const std::string codecName = parsed.values["--codec"];
    uint32_t tag;
    if (!ParseTag(codecName, tag) || (tag != TAG_TRLE && tag != TAG_ARLE && tag != TAG_PRLE && tag != TAG_PKCC))
        return Usage("unknown codec " + codecName + " (TRLE, ARLE, PRLE or PKCC)");
    if (!FindSpriteEncoder(tag))
        return KvfFail("codec " + codecName + " is not available in this build");
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];

    CDibPacked image;
    if (!LoadDecodedSpriteFile(in, image, error))
        return KvfFail(error);

    if (parsed.values.count("--reference")) {
        if (tag != TAG_TRLE)
            return Usage("--reference applies to TRLE only");
        CDibPacked reference;
        if (!LoadSpriteFile(parsed.values["--reference"], reference, error))
            return KvfFail(error);
        uint8_t* encoded = TrleEncodeWithReference(image.GetInfoHeader(), image.GetPictureSize(),
                                                   reference.GetInfoHeader(), reference.GetPictureSize());
        if (!encoded)
            return KvfFail("cannot encode " + in + " with that reference (it must be a TRLE picture of the same size)");
        CDibPacked result;
        if (result.Attach(CMemoryBlock::Wrap(encoded, PictureSize(encoded), BlockOwnership::Owned)) != DIB_OK ||
            !SaveSpriteFile(out, result, error))
            return KvfFail(error.empty() ? "cannot encode " + in : error);
        return KVF_EXIT_OK;
    }

    if (image.Compress(tag) != DIB_OK) {
        std::string why = std::to_string(InfoBitCount(image.GetInfoHeader())) + "-bit picture";
        if (tag == TAG_TRLE && InfoBitCount(image.GetInfoHeader()) > 8)
            why += "; deeper pictures need --reference";
        return KvfFail("codec " + codecName + " cannot encode " + in + " (" + why + ")");
    }
    return SaveSpriteFile(out, image, error) ? KVF_EXIT_OK : KvfFail(error);
}

int RunConvertCommand(const KvfArgs& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {"--format", "--palette"}, {"--dither"}, parsed, error))
        return Usage(error);
    if (parsed.positional.size() != 2 || !parsed.values.count("--format"))
        return Usage("convert takes --format F, IN and OUT");
    PixelFormat format;
    const std::string formatName = parsed.values["--format"];
    if (!ParsePixelFormatName(formatName, format) ||
        (format != PF_RGB555 && format != PF_RGB565 && format != PF_RGB24 && format != PF_RGB32 &&
         format != PF_INDEX8))
        return Usage("unknown format " + formatName + " (RGB555, RGB565, RGB24, RGB32 or INDEX8)");
    const bool hasPalette = parsed.values.count("--palette") != 0;
    if (hasPalette && format != PF_INDEX8)
        return Usage("--palette applies to INDEX8 only");
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];

    CDibPacked image;
    if (!LoadSpriteFile(in, image, error))
        return KvfFail(error);
    CDibPalette* palette = nullptr;
    if (hasPalette && !(palette = LoadPaletteFromPicture(parsed.values["--palette"], error)))
        return KvfFail(error);
    struct Releaser {
        CDibPalette* p;
        ~Releaser() { if (p) p->Release(); }
    } releaser{palette};
    if (format == PF_INDEX8 && !palette && image.GetFormat() != PF_INDEX8)
        return Usage("INDEX8 needs --palette");

    if (InfoCompression(image.GetInfoHeader()) == TAG_TRLE) {
        if (parsed.flags.count("--dither"))
            return Usage("--dither does not apply to TRLE pictures, which are converted pixel by pixel");
        return ConvertTrleFile(image, format, palette ? palette : image.GetPalette(), out);
    }
    if (image.IsCompressed() && image.Decompress() != DIB_OK)
        return KvfFail(in + ": cannot decode " + CompressionName(InfoCompression(image.GetInfoHeader())));
    if (PixelFormatBits(image.GetFormat()) < 8)
        return KvfFail(in + " has " + std::to_string(PixelFormatBits(image.GetFormat())) +
                       "-bit pixels; convert reads pictures of 8 bits and more");
    const uint32_t flags = parsed.flags.count("--dither") ? CONVERT_DITHER : 0;
    if (image.ConvertFormat(format, palette, flags) != DIB_OK)
        return KvfFail("cannot convert " + in + " to " + formatName);
    return SaveSpriteFile(out, image, error) ? KVF_EXIT_OK : KvfFail(error);
}

int RunSplitCommand(const KvfArgs& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {"--frames"}, {}, parsed, error))
        return Usage(error);
    if (parsed.positional.size() != 2 || !parsed.values.count("--frames"))
        return Usage("split takes --frames N, IN and PATTERN");
    const std::string& countText = parsed.values["--frames"];
    int frames = 0;
    auto [end, ec] = std::from_chars(countText.data(), countText.data() + countText.size(), frames);
    if (ec != std::errc() || end != countText.data() + countText.size() || frames < 1)
        return Usage("--frames needs a positive number");
    const std::string& in = parsed.positional[0];
    CDibPacked strip;
    if (!LoadSpriteFile(in, strip, error))
        return KvfFail(error);
    const uint32_t stored = InfoCompression(strip.GetInfoHeader());
    if (strip.IsCompressed() && strip.Decompress() != DIB_OK)
        return KvfFail(in + ": cannot decode " + CompressionName(stored));
    if (StripFrameHeight(strip.GetHeight(), frames) == 0)
        return KvfFail(in + " is " + std::to_string(strip.GetHeight()) + " rows high: too few for " +
                       std::to_string(frames) + " frames");

    for (int k = 0; k < frames; ++k) {
        const StripFrame rows = StripFrameRows(strip.GetHeight(), frames, k);
        CDibPacked frame;
        if (frame.Create(strip.GetWidth(), rows.height, strip.GetFormat()) != DIB_OK ||
            !CopyRows(strip, rows.firstMemoryRow, frame, 0, rows.height))
            return KvfFail("cannot make frame " + std::to_string(k) + " of " + in);
        if (strip.GetPalette() && frame.SetPalette(strip.GetPalette()) != DIB_OK)
            return KvfFail("cannot give frame " + std::to_string(k) + " of " + in + " its palette");
        const std::string name = SequenceFrameName(parsed.positional[1], k);
        if (int code = EncodeLike(frame, stored, name))
            return code;
        if (!SaveSpriteFile(name, frame, error))
            return KvfFail(error);
    }
    return KVF_EXIT_OK;
}

int RunJoinCommand(const KvfArgs& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {"--out"}, {}, parsed, error))
        return Usage(error);
    if (parsed.positional.empty() || !parsed.values.count("--out"))
        return Usage("join takes --out OUT and one or more frames");
    const size_t count = parsed.positional.size();
    std::vector<CDibPacked> frames(count);
    uint32_t stored = BI_RGB;
    for (size_t i = 0; i < count; ++i) {
        const std::string& name = parsed.positional[i];
        if (!LoadSpriteFile(name, frames[i], error))
            return KvfFail(error);
        if (i == 0)
            stored = InfoCompression(frames[0].GetInfoHeader());
        if (frames[i].IsCompressed() && frames[i].Decompress() != DIB_OK)
            return KvfFail(name + ": cannot decode " + CompressionName(InfoCompression(frames[i].GetInfoHeader())));
        if (frames[i].GetWidth() != frames[0].GetWidth() || frames[i].GetHeight() != frames[0].GetHeight() ||
            frames[i].GetFormat() != frames[0].GetFormat())
            return KvfFail(name + " differs from " + parsed.positional[0] + " in size or format");
        if (!SameColourTables(frames[i], frames[0]))
            return KvfFail(name + " has other colours than " + parsed.positional[0]);
    }
    const int h = frames[0].GetHeight();
    if (int64_t(h) * int64_t(count) > 65535)
        return KvfFail("the strip would be more than 65535 rows high");
    CDibPacked strip;
    if (strip.Create(frames[0].GetWidth(), h * int(count), frames[0].GetFormat()) != DIB_OK)
        return KvfFail("cannot make the strip");
    for (size_t k = 0; k < count; ++k) {
        const StripFrame rows = StripFrameRows(h * int(count), int(count), int(k));
        if (!CopyRows(frames[k], 0, strip, rows.firstMemoryRow, h))
            return KvfFail("cannot copy " + parsed.positional[k]);
    }
    if (frames[0].GetPalette() && strip.SetPalette(frames[0].GetPalette()) != DIB_OK)
        return KvfFail("cannot give " + parsed.values["--out"] + " the palette of " + parsed.positional[0]);
    const std::string& out = parsed.values["--out"];
    if (int code = EncodeLike(strip, stored, out))
        return code;
    return SaveSpriteFile(out, strip, error) ? KVF_EXIT_OK : KvfFail(error);
}

int RunThumbnailCommand(const KvfArgs& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {"--frames"}, {}, parsed, error))
        return Usage(error);
    if (parsed.positional.size() != 3)
        return Usage("thumbnail takes IN, OUT.png and SIZE");
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    const std::string& sizeText = parsed.positional[2];
    int size = 0;
    auto [sizeEnd, sizeError] = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
    if (sizeError != std::errc() || sizeEnd != sizeText.data() + sizeText.size() || size < 1 || size > 4096)
        return Usage("SIZE must be a number of pixels from 1 to 4096");
    int frames = GameStripFrames(in);
    if (parsed.values.count("--frames")) {
        const std::string& countText = parsed.values["--frames"];
        auto [end, ec] = std::from_chars(countText.data(), countText.data() + countText.size(), frames);
        if (ec != std::errc() || end != countText.data() + countText.size() || frames < 1)
            return Usage("--frames needs a positive number");
    }
    CDibPacked image;
    if (!LoadSpriteFile(in, image, error))
        return KvfFail(error);
    SpriteThumbnail thumbnail;
    if (!MakeSpriteThumbnail(image, frames > 0 ? frames : 1, size, thumbnail, error))
        return KvfFail(in + ": " + error);
    if (!WriteRgbaPng(thumbnail.rgba.data(), thumbnail.width, thumbnail.height, out))
        return KvfFail("cannot write " + out);
    return KVF_EXIT_OK;
}
