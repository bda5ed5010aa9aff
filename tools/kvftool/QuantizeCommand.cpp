#include "QuantizeCommand.h"

#include "KvfPictureIO.h"
#include "imaging/ColourReduction.h"
#include "sprites/CDibPacked.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const char* QuantizeUsage()
{
    return "usage: kvftool quantize [--colors N] [--method octree|box5|box6|kmeans] [--dither]\n"
           "                        [--sample] [--system-colors] --out-dir DIR IN...\n"
           "\n"
           "Reduces every picture IN to 8 bits with one palette made from the pixels of\n"
           "all of them, as a sequence of frames is reduced together. Each result is\n"
           "written uncompressed to DIR (created when missing) under the input's file\n"
           "name; inputs must therefore have distinct names. Encoded inputs are decoded\n"
           "first; use kvftool encode to encode the results.\n"
           "\n"
           "  --colors N        colours in the palette, 1 to 256 (default 256)\n"
           "  --method M        octree (default), box5 or box6 (minimum variance over a\n"
           "                    5- or 6-bit histogram), or kmeans (box6 refined by k-means\n"
           "                    passes, remapped with the exact nearest colour)\n"
           "  --dither          error diffusion while remapping\n"
           "  --sample          octree only: build the palette from 1 pixel in 16\n"
           "  --system-colors   keep the 20 static system colours in entries 0-9 and\n"
           "                    246-255; the quantized colours fill entries 10-245\n";
}

int QuantizeUsageError(const std::string& message)
{
    return KvfFail(message + " (try kvftool quantize --help)", KVF_EXIT_USAGE);
}

bool ParseMethod(const std::string& name, ColourMethod& method)
{
    static const struct {
        const char* name;
        ColourMethod method;
    } methods[] = {{"octree", ColourMethod::Octree},
                   {"box5", ColourMethod::Box5},
                   {"box6", ColourMethod::Box6},
                   {"kmeans", ColourMethod::KMeans}};
    for (const auto& m : methods)
        if (name == m.name) {
            method = m.method;
            return true;
        }
    return false;
}

struct QuantizeArgs {
    ColourReductionOptions options;
    std::string outDir;
    std::vector<std::string> inputs;
    bool help = false;
};

// Fills `args` from the words after "quantize"; false with `error` set when
// the command line is wrong.
bool ParseQuantizeArgs(int argc, char** argv, QuantizeArgs& args, std::string& error)
{
    std::string method;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = word + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (word == "--help") {
            args.help = true;
        } else if (word == "--colors") {
            if (!value(text))
                return false;
            int colours = 0;
            auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), colours);
            if (ec != std::errc() || end != text.data() + text.size() || colours < 1 ||
                colours > QUANTIZE_MAX_COLOURS) {
                error = "--colors needs a number from 1 to 256";
                return false;
            }
            args.options.colours = colours;
        } else if (word == "--method") {
            if (!value(method))
                return false;
            if (!ParseMethod(method, args.options.method)) {
                error = "unknown method " + method + " (octree, box5, box6 or kmeans)";
                return false;
            }
        } else if (word == "--out-dir") {
            if (!value(args.outDir))
                return false;
        } else if (word == "--dither") {
            args.options.errorDiffusion = true;
        } else if (word == "--sample") {
            args.options.sample = true;
        } else if (word == "--system-colors") {
            args.options.includeSystemColours = true;
        } else if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            error = "unknown option " + word;
            return false;
        } else {
            args.inputs.push_back(word);
        }
    }
    if (args.help)
        return true;
    if (args.options.sample && args.options.method != ColourMethod::Octree) {
        error = "--sample applies to the octree method only";
        return false;
    }
    if (args.outDir.empty() || args.inputs.empty()) {
        error = "quantize takes --out-dir DIR and one or more pictures";
        return false;
    }
    std::set<std::string> names;
    for (const std::string& in : args.inputs)
        if (!names.insert(std::filesystem::path(in).filename().string()).second) {
            error = "two inputs are named " + std::filesystem::path(in).filename().string() +
                    "; their results would overwrite each other in " + args.outDir;
            return false;
        }
    return true;
}

} // namespace

int RunQuantizeCommand(int argc, char** argv)
{
    QuantizeArgs args;
    std::string error;
    if (!ParseQuantizeArgs(argc, argv, args, error))
        return QuantizeUsageError(error);
    if (args.help) {
        std::fputs(QuantizeUsage(), stdout);
        return KVF_EXIT_OK;
    }

    // Everything is read and reduced before anything is written.
    std::vector<std::unique_ptr<CDibPacked>> images;
    std::vector<CDib*> frames;
    for (const std::string& in : args.inputs) {
        images.push_back(std::make_unique<CDibPacked>());
        if (!LoadDecodedSpriteFile(in, *images.back(), error))
            return KvfFail(error);
        if (PixelFormatBits(images.back()->GetFormat()) < 8)
            return KvfFail(in + ": pictures of fewer than 8 bits per pixel cannot be reduced");
        frames.push_back(images.back().get());
    }
    if (ReduceColours(frames.data(), int(frames.size()), args.options) != DIB_OK)
        return KvfFail("cannot reduce the colours of these pictures");

    std::error_code ec;
    std::filesystem::create_directories(args.outDir, ec);
    if (!std::filesystem::is_directory(args.outDir))
        return KvfFail("cannot create the folder " + args.outDir);
    for (size_t i = 0; i < images.size(); ++i) {
        const std::string out =
            (std::filesystem::path(args.outDir) / std::filesystem::path(args.inputs[i]).filename()).string();
        if (!SaveSpriteFile(out, *images[i], error))
            return KvfFail(error);
    }
    return KVF_EXIT_OK;
}
