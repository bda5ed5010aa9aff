// kvfedit: the sprite-sequence editor. With a file named on the command line
// it opens that document, or takes that picture as its frames.

#include "common/VersionText.h"
#include "imaging/CDibContext.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CMainFrame.h"
#include "kvfedit/CModalEditorHost.h"
#include "kvfedit/CRecentFileList.h"
#include "windowicon/QtWindowIcon.h"

#include <QApplication>
#include <QSettings>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

const char* kUsage = "Usage: kvfedit [--frames N] [--zoom FACTOR] [--grab IMAGE.png] [FILE]\n"
                     "Edits sprite sequences. FILE is a KVF document (.avi) to open, or a picture\n"
                     "(.bmp sprite file of any encoding, or .png) whose N frames (default 1), stacked\n"
                     "top to bottom, become the frames. FACTOR is one of 0.125, 0.25, 0.5, 1, 2, 4, 8.\n"
                     "--grab writes the window, once shown with FILE open, as a PNG picture and quits;\n"
                     "a FILE that cannot be opened is said on standard error and ends it with status 1.\n"
                     "--version prints the version and the licence.\n"
                     "\n"
                     "Keys:\n"
                     "  Ctrl+N, Ctrl+O, Ctrl+S  a new document, open one, save it\n"
                     "  Ctrl+Z, Ctrl+Y          undo, redo\n"
                     "  Ctrl+X, Ctrl+C, Ctrl+V  cut, copy and paste the current frame\n"
                     "  Delete                  delete the current frame\n"
                     "  Left, Right             the previous and the next frame\n"
                     "  Home, End               the first and the last frame\n"
                     "  Ctrl+G                  go to a frame by its number\n"
                     "  Ctrl++, Ctrl+-          zoom in and out\n"
                     "  F6, Shift+F6            the next and the previous pane\n"
                     "  Escape                  drop the shape being dragged\n"
                     "\n"
                     "Files:\n"
                     "  kvfedit.conf  the recent-file list, in \"Local AppWizard-Generated Applications\"\n"
                     "                below $XDG_CONFIG_HOME (by default ~/.config)\n"
                     "\n"
                     "Environment:\n"
                     "  XDG_CONFIG_HOME  the folder of the settings (default: ~/.config)\n"
                     "  VELDRA_PORTABLE  1: the portable drawing kernels instead of the SSE2 and AVX2 ones\n"
                     "  VELDRA_TRACE     a file for the developer trace (default: standard error), or off\n";

struct CommandLine {
    QString file;
    QString grab;
    int frames = 1;
    int zoom = CKVFEditorView::kDefaultZoom;
    bool zoomGiven = false;
};

// 0 to go on, else the exit status.
int Parse(const QStringList& arguments, CommandLine& line)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);
            return -1;
        }
        bool ok = false;
        if (word == "--frames" && i + 1 < arguments.size()) {
            line.frames = arguments[++i].toInt(&ok);
            if (!ok || line.frames < 1)
                break;
            continue;
        }
        if (word == "--zoom" && i + 1 < arguments.size()) {
            const double factor = arguments[++i].toDouble(&ok);
            line.zoom = -1;
            for (int z = 0; z < CKVFEditorView::kZoomSteps; ++z)
                if (ok && CKVFEditorView::ZoomFactorOf(z) == factor)
                    line.zoom = z;
            if (line.zoom < 0)
                break;
            line.zoomGiven = true;
            continue;
        }
        if (word == "--grab" && i + 1 < arguments.size()) {
            line.grab = arguments[++i];
            continue;
        }
        if (!word.startsWith(QLatin1Char('-')) && line.file.isEmpty()) {
            line.file = word;
            continue;
        }
        std::fprintf(stderr, "kvfedit: unexpected argument %s\n%s", qPrintable(word), kUsage);
        return 2;
    }
    if (line.frames < 1 || line.zoom < 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return 0;
}

// With --grab nobody is there to close a message box: messages go to
// standard error instead, and the program ends with status 1.
class CConsoleEditorHost final : public IEditorHost {
public:
    explicit CConsoleEditorHost(QString file) : m_file(std::move(file)) {}
    int Run(QDialog& dialog) override { return m_modal.Run(dialog); }
    FileChoice OpenFile(QWidget* parent, const QString& caption, const QString& filters) override
    {
        return m_modal.OpenFile(parent, caption, filters);
    }
    FileChoice SaveFile(QWidget* parent, const QString& caption, const QString& filters,
                        const QString& defaultSuffix) override
    {
        return m_modal.SaveFile(parent, caption, filters, defaultSuffix);
    }
    void ShowMessage(QWidget*, const QString& text) override
    {
        std::fprintf(stderr, "kvfedit: %s: %s\n", qPrintable(m_file), qPrintable(text));
        m_failed = true;
    }
    SaveChangesAnswer AskSaveChanges(QWidget* parent, const QString& text) override
    {
        return m_modal.AskSaveChanges(parent, text);
    }
    bool AskYesNo(QWidget* parent, const QString& text) override { return m_modal.AskYesNo(parent, text); }
    bool PickColour(QWidget* parent, QColor& colour) override { return m_modal.PickColour(parent, colour); }
    bool Failed() const { return m_failed; }

private:
    CModalEditorHost m_modal;
    QString m_file;
    bool m_failed = false;
};

} // namespace

int main(int argc, char** argv)
{
    // The help and the version need no display: answered before Qt looks
    // for one.
    for (int i = 1; i < argc; ++i) {
        if (AsksForVersion(argv[i])) {
            std::fputs(VersionText("kvfedit").c_str(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    // Sprite files load through the packed image kinds of the sprite library.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvfedit"));
    // The application id the desktop matches with kvfedit.desktop, and the
    // icon of every window.
    QApplication::setDesktopFileName(QStringLiteral("kvfedit"));
    QApplication::setWindowIcon(MakeWindowIcon(WindowIconOf::Editor));

    CommandLine line;
    const int parsed = Parse(QApplication::arguments(), line);
    if (parsed != 0)
        return parsed < 0 ? 0 : parsed;

    CDibContext context;
    QSettings settings(QString::fromUtf8(CRecentFileList::kSettingsOrganisation),
                       QString::fromUtf8(CRecentFileList::kSettingsApplication));
    CModalEditorHost modalHost;
    CConsoleEditorHost consoleHost(line.file);
    IEditorHost& host = line.grab.isEmpty() ? static_cast<IEditorHost&>(modalHost) : consoleHost;
    CMainFrame frame(host, settings);
    if (context.Init(&frame, nullptr, 0) != DIB_OK) {
        std::fprintf(stderr, "kvfedit: the image library cannot start\n");
        return 1;
    }
    frame.View().SetZoomIndex(line.zoom);
    frame.show();
    const bool opened = line.file.isEmpty() || frame.OpenPath(line.file, line.frames);
    // A zoom asked for wins over the fit a small picture opens with.
    if (line.zoomGiven)
        frame.View().SetZoomIndex(line.zoom);
    if (!line.grab.isEmpty() && (!opened || consoleHost.Failed())) {
        if (!consoleHost.Failed())
            std::fprintf(stderr, "kvfedit: cannot open %s\n", qPrintable(line.file));
        return 1;
    }
    if (!line.grab.isEmpty()) {
        // Once the events of showing and opening are through, the window
        // as it is drawn (the screenshots in the README are made so).
        QTimer::singleShot(0, &frame, [&frame, &line] {
            const bool saved = frame.grab().save(line.grab, "PNG");
            if (!saved)
                std::fprintf(stderr, "kvfedit: cannot write %s\n", qPrintable(line.grab));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
