// veldra_manpage: writes a program's manual page from its own --help text,
// so the page and the program cannot tell different stories.
//
//   veldra_manpage --program PATH --name NAME --section N --summary TEXT
//                  --source TEXT --out FILE[.gz]
//
// The help text is read as our programs write it: a "usage:" line (more
// usage lines indented below it) becomes the synopsis; paragraphs apart by
// blank lines follow, in the description until a heading starts a section
// of its own: a line of one to three words at the left margin ending in a
// colon ("Options:", "Testing options:", "Keys:", "Files:", "Environment:")
// becomes the section of that name in capitals. A paragraph with a column of
// entries (an option or a command, two or more spaces, its description;
// deeper indented lines go on with the description) becomes a list of
// tagged paragraphs; any other is plain text. A name ending in ".gz" gets a
// gzip file with no time stamp, so the same help gives the same bytes.

#include "common/AtomicFile.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Options {
    std::string program, name, section, summary, source, out;
};

// The program's --help output (standard output only), or false when it does
// not run or does not end well.
bool RunHelp(const std::string& program, std::string& text)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        ::dup2(pipeEnds[1], 1);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        // The Qt programs make their application object before they read
        // the command line; they need no screen to print their help.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--help"), nullptr};
        ::execv(program.c_str(), argv);
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    char chunk[4096];
    ssize_t got;
    while ((got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0)
        text.append(chunk, size_t(got));
    ::close(pipeEnds[0]);
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !text.empty();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

size_t Indent(const std::string& line)
{
    return line.find_first_not_of(' ');
}

bool StartsWithUsage(const std::string& line)
{
    const size_t at = Indent(line);
    return at != std::string::npos && line.size() >= at + 6 && strncasecmp(line.c_str() + at, "usage:", 6) == 0;
}

// Text for roff: backslashes escaped, a leading dot or quote kept from being
// read as a request, and a hyphen that starts a word (an option) written as
// the minus sign people type.
std::string Roff(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char before = i ? text[i - 1] : ' ';
        if (c == '\\')
            out += "\\e";
        else if (c == '-' && (before == ' ' || before == '[' || before == '|' || before == '-' || before == '('))
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out = "\\&" + out;
    return out;
}

// The first word in bold, the rest as it stands.
std::string BoldFirstWord(const std::string& text)
{
    const size_t space = text.find(' ');
    if (space == std::string::npos)
        return "\\fB" + Roff(text) + "\\fR";
    return "\\fB" + Roff(text.substr(0, space)) + "\\fR" + Roff(text.substr(space));
}

// An entry line: "<indent><tag>  <description>" with at least two spaces.
bool SplitEntry(const std::string& line, std::string& tag, std::string& description)
{
    const size_t start = Indent(line);
    const size_t gap = line.find("  ", start);
    if (gap == std::string::npos)
        return false;
    tag = line.substr(start, gap - start);
    const size_t text = line.find_first_not_of(' ', gap);
    description = text == std::string::npos ? std::string() : line.substr(text);
    return true;
}

// The section a heading line names ("Testing options:" gives "TESTING
// OPTIONS"), or "" when the line is no heading.
std::string SectionOf(const std::string& line)
{
    if (line.size() < 2 || line[0] == ' ' || line.back() != ':' || line.find(':') != line.size() - 1)
        return {};
    std::string name = line.substr(0, line.size() - 1);
    if (std::count(name.begin(), name.end(), ' ') > 2)
        return {};
    for (char& c : name) {
        if (!std::isalpha(static_cast<unsigned char>(c)) && c != ' ')
            return {};
        c = char(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

void RenderParagraph(const std::vector<std::string>& paragraph, std::string& page)
{
    std::string tag, description;
    bool entries = false;
    for (const std::string& line : paragraph)
        entries = entries || SplitEntry(line, tag, description);
    if (!entries) {
        page += ".PP\n";
        for (const std::string& line : paragraph)
            page += Roff(line.substr(Indent(line))) + "\n";
        return;
    }
    const size_t tagIndent = Indent(paragraph.front());
    for (const std::string& line : paragraph) {
        const size_t indent = Indent(line);
        const std::string words = line.substr(indent);
        if (indent <= tagIndent + 1) {
            page += ".TP\n";
            if (SplitEntry(line, tag, description))
                page += BoldFirstWord(tag) + "\n" + Roff(description) + "\n";
            else
                page += BoldFirstWord(words) + "\n";
            continue;
        }
        // A continuation naming its own subject ("Q: ...") starts a line.
        const size_t colon = words.find(": ");
        if (colon != std::string::npos && colon <= 3)
            page += ".br\n";
        page += Roff(words) + "\n";
    }
}

std::string ManPage(const Options& options, const std::vector<std::string>& lines)
{
    std::string page = ".TH \"" + options.name + "\" \"" + options.section + "\" \"\" \"" + options.source +
                       "\" \"\"\n.SH NAME\n" + Roff(options.name) + " \\- " + Roff(options.summary) + "\n";
    size_t i = 0;
    while (i < lines.size() && lines[i].empty())
        ++i;
    if (i < lines.size() && StartsWithUsage(lines[i])) {
        page += ".SH SYNOPSIS\n";
        std::vector<std::string> entries;
        const std::string first = lines[i].substr(Indent(lines[i]) + 6);
        const size_t word = first.find_first_not_of(' ');
        entries.push_back(word == std::string::npos ? std::string() : first.substr(word));
        // Further usage lines are indented; one that starts with the same
        // program name as the first is a new form, any other goes on with the
        // one before.
        const std::string program = entries.front().substr(0, entries.front().find(' '));
        for (++i; i < lines.size() && !lines[i].empty() && lines[i][0] == ' '; ++i) {
            const std::string words = lines[i].substr(Indent(lines[i]));
            if (words.substr(0, words.find(' ')) == program)
                entries.push_back(words);
            else
                entries.back() += " " + words;
        }
        for (size_t e = 0; e < entries.size(); ++e)
            page += (e ? ".br\n" : "") + BoldFirstWord(entries[e]) + "\n";
    }
    page += ".SH DESCRIPTION\n";
    std::vector<std::string> paragraph;
    for (; i <= lines.size(); ++i) {
        if (i == lines.size() || lines[i].empty()) {
            if (!paragraph.empty())
                RenderParagraph(paragraph, page);
            paragraph.clear();
            continue;
        }
        // A heading opens its section; the lines after it (if any) are the
        // section's first paragraph.
        const std::string section = paragraph.empty() ? SectionOf(lines[i]) : std::string();
        if (!section.empty()) {
            page += ".SH " + section + "\n";
            continue;
        }
        paragraph.push_back(lines[i]);
    }
    return page;
}

// A gzip stream without a name or a time stamp, at the best compression.
bool Gzip(const std::string& in, std::string& out)
{
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(deflateBound(&stream, uLong(in.size())) + 32);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    stream.avail_in = uInt(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return result == Z_STREAM_END;
}

bool EndsWith(const std::string& text, const char* end)
{
    const size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        std::string* field = key == "--program"   ? &options.program
                             : key == "--name"    ? &options.name
                             : key == "--section" ? &options.section
                             : key == "--summary" ? &options.summary
                             : key == "--source"  ? &options.source
                             : key == "--out"     ? &options.out
                                                  : nullptr;
        if (!field) {
            std::fprintf(stderr, "veldra_manpage: unknown option %s\n", argv[i]);
            return 2;
        }
        *field = argv[i + 1];
    }
    if (options.program.empty() || options.name.empty() || options.section.empty() || options.out.empty()) {
        std::fputs("usage: veldra_manpage --program PATH --name NAME --section N --summary TEXT --source TEXT "
                   "--out FILE[.gz]\n",
                   stderr);
        return 2;
    }
    std::string help;
    if (!RunHelp(options.program, help)) {
        std::fprintf(stderr, "veldra_manpage: %s --help did not run\n", options.program.c_str());
        return 1;
    }
    std::string page = ManPage(options, Lines(help));
    if (EndsWith(options.out, ".gz")) {
        std::string packed;
        if (!Gzip(page, packed)) {
            std::fputs("veldra_manpage: cannot compress the page\n", stderr);
            return 1;
        }
        page = std::move(packed);
    }
    if (!WriteFileAtomically(options.out, page.data(), page.size())) {
        std::fprintf(stderr, "veldra_manpage: cannot write %s\n", options.out.c_str());
        return 1;
    }
    return 0;
}
