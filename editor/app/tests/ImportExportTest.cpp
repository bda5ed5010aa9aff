// Import, Insert Video and Export driven through the window's commands and
// dialogs; every exported file is read back by the game's own loader (the
// sprite library), by kvftool run as a program, and JPEG and PNG files by
// Qt's readers.

#include "TestSupport.h"

#include "EditorTexts.h"
#include "imaging/BlitFlags.h"
#include "kvfedit/CFieldsDialog.h"
#include "kvfedit/CKVFEditorView.h"
#include "kvfedit/CPaintToolsBar.h"
#include "kvfedit/COutputOptionsDialog.h"
#include "kvfedit/CProgressDialog.h"
#include "sprites/CDibTrle.h"
#include "sprites/LoadPicture.h"
#include "sprites/SpriteFiles.h"
#include "sprites/TrleCodec.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <map>

using namespace kvtest;
using edtest::Bytes;

namespace {


// A radio button takes clicks on its mark and its text only, not on the
// rest of its width.
void ClickRadio(QAbstractButton& radio)
{
    QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(4, radio.height() / 2));
}

enum Filter { kStrip = 0, kSequence = 1, kPngStrip = 2, kPngSequence = 3 };

// Export as a user would: the Export dialog answered with the layout, the
// encoding (PNG for the PNG layouts), quality and "Alpha", then the file
// dialog with `path`. An encoding the dialog does not offer cancels it.
void Export(CEditorWindow& window, const std::string& path, Filter filter, ExportEncoding choice,
            int quality = ExportOptions::kDefaultQuality, const QString& alpha = {})
{
    const ExportEncoding encoding = filter >= kPngStrip ? ExportEncoding::Png : choice;
    const bool sequence = filter == kSequence || filter == kPngSequence;
    window.Host().dialogs.push_back([=, &window](QDialog& dialog) {
        auto& options = static_cast<COutputOptionsDialog&>(dialog);
        ClickRadio(*FindButton(options, QString::fromUtf8(sequence ? COutputOptionsDialog::kSequenceText
                                                                   : COutputOptionsDialog::kStripText)));
        options.AlphaEdit()->setText(alpha);
        QAbstractButton* radio = options.ChoiceButton(encoding);
        if (!radio || !radio->isEnabled()) {
            window.Host().messages << options.Reason(encoding);
            return false;
        }
        ClickRadio(*radio);
        options.QualityBox()->setValue(quality);
        window.Host().files.push_back({QString::fromStdString(path), COutputOptionsDialog::FileFilter(encoding)});
        return true;
    });
    window.Trigger(EditorCommand::Export);
}

std::vector<uint32_t> DocumentColours(CKVFEditorDoc& doc)
{
    std::vector<uint32_t> all;
    for (int i = 0; i < doc.GetFrameCount(); ++i) {
        const std::vector<uint32_t> frame = FrameColours(doc, i);
        all.insert(all.end(), frame.begin(), frame.end());
    }
    return all;
}

// The file as the game loads it: decoded, in its own format.
std::vector<uint32_t> GameLoaderColours(const std::string& path, int* width = nullptr, int* height = nullptr)
{
    CDibPacked image;
    if (LoadPicture(image, PictureSource::File(path), LOAD_DECOMPRESS) != DIB_OK)
        return {};
    if (width)
        *width = image.GetWidth();
    if (height)
        *height = image.GetHeight();
    return Colours(image);
}

uint32_t FileCompression(const std::string& path)
{
    const Bytes file = edtest::ReadFile(path);
    return file.size() >= 14 + 20 ? ReadLE32(file.data() + 14 + BIH_COMPRESSION) : 0xFFFFFFFF;
}

QString RunKvfTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(KVFTOOL_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// "width: 32", "height: 96" and "compression: TRLE" from kvftool info.
std::map<QString, QString> KvfToolInfo(const std::string& path)
{
    std::map<QString, QString> fields;
    for (const QString& line : RunKvfTool({QStringLiteral("info"), QString::fromStdString(path)}).split('\n')) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            fields[line.left(colon)] = line.mid(colon + 1).trimmed();
    }
    return fields;
}

// kvftool's own decoding of the file, as colours.
std::vector<uint32_t> KvfToolColours(const std::string& path)
{
    const std::string decoded = path + ".decoded.bmp";
    if (RunKvfTool({QStringLiteral("decode"), QString::fromStdString(path), QString::fromStdString(decoded)})
            .startsWith(QStringLiteral("failed")))
        return {};
    std::vector<uint32_t> colours = GameLoaderColours(decoded);
    std::filesystem::remove(decoded);
    return colours;
}

std::vector<uint32_t> Slice(const std::vector<uint32_t>& all, size_t from, size_t count)
{
    return from + count <= all.size() ? std::vector<uint32_t>(all.begin() + ptrdiff_t(from),
                                                              all.begin() + ptrdiff_t(from + count))
                                      : std::vector<uint32_t>();
}

const char* TagName(ExportEncoding encoding)
{
    switch (encoding) {
    case ExportEncoding::Pkc:
        return "PKC";
    case ExportEncoding::Arle:
        return "ARLE";
    case ExportEncoding::Prle:
        return "PRLE";
    case ExportEncoding::Trle:
        return "TRLE";
    default:
        return "none";
    }
}

// A baseline (SOF0), non-progressive JFIF file.
bool IsBaselineJfif(const Bytes& file)
{
    if (file.size() < 12 || file[0] != 0xFF || file[1] != 0xD8 || std::string(file.begin() + 6, file.begin() + 10) != "JFIF")
        return false;
    bool baseline = false;
    for (size_t i = 2; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xC2)
            return false;
        baseline |= file[i] == 0xFF && file[i + 1] == 0xC0;
    }
    return baseline;
}

// Frames of solid colours, so that JPEG's losses stay small.
void ColouredFrames(CKVFEditorDoc& doc, int count)
{
    for (int i = 0; i < count; ++i) {
        const Bytes picture = edtest::SolidPicture(16, 16, uint8_t(40 + 80 * i), uint8_t(200 - 60 * i), 90);
        QCOMPARE(doc.InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
    }
}

bool Near(QRgb a, uint32_t b)
{
    return std::abs(qRed(a) - int(b >> 16)) <= 6 && std::abs(qGreen(a) - int((b >> 8) & 0xFF)) <= 6 &&
           std::abs(qBlue(a) - int(b & 0xFF)) <= 6;
}

} // namespace

class ImportExportTest : public QObject {
    Q_OBJECT

private slots:
    void importCutsAStripIntoFrames()
    {
        CEditorWindow window;
        const std::string strip = window.File("strip.bmp");
        WriteSprite(strip, edtest::MakePicture(PF_INDEX8, 64, 250, 5));
        const std::vector<uint32_t> stripColours = GameLoaderColours(strip);
        QCOMPARE(stripColours.size(), size_t(64 * 250));

        window.Host().files.push_back({QString::fromStdString(strip), {}});
        window.Host().dialogs.push_back([](QDialog& dialog) {
            auto& fields = static_cast<CFieldsDialog&>(dialog);
            const auto* label = fields.findChild<QLabel*>();
            if (fields.Value(0) != 1 || fields.Box(0)->maximum() != 10000 || !label ||
                label->text() != QStringLiteral("Number of frames in the importing bitmap"))
                return false;
            fields.Box(0)->setValue(5);
            return true;
        });
        QStringList captions;
        QObject::connect(&window.Frame().Progress(), &QWidget::windowTitleChanged, &window.Frame(),
                         [&](const QString& title) { captions << title; });
        window.Trigger(EditorCommand::Import);
        QCOMPARE(window.Host().dialogTitles, QStringList{"Import"});
        QCOMPARE(window.Host().fileFilters.first(),
                 QStringLiteral("Bitmaps (*.bmp);;PNG Pictures (*.png);;All Files (*)"));
        QCOMPARE(captions, QStringList{"Importing"});
        QCOMPARE(window.Doc().GetFrameCount(), 5);
        QCOMPARE(window.Doc().GetCurrentFrame(), 0); // a new document opens on its first frame
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(window.Doc().GetFrame(i)->Width(), 64);
            QCOMPARE(window.Doc().GetFrame(i)->Height(), 50);
            QVERIFY2(FrameColours(window.Doc(), i) == Slice(stripColours, size_t(i) * 64 * 50, 64 * 50),
                     qPrintable(QString::number(i)));
        }
        // The import is one step.
        QCOMPARE(QString::fromStdString(window.Doc().GetUndoName()), QStringLiteral("Import"));
        window.Trigger(EditorCommand::Undo);
        QCOMPARE(window.Doc().GetFrameCount(), 0);

        // As 3 frames: 83 rows each, the bottom row of the strip unused.
        QVERIFY(window.Frame().OpenPath(QString::fromStdString(strip), 3));
        QCOMPARE(window.Doc().GetFrameCount(), 3);
        QCOMPARE(window.Doc().GetFrame(2)->Height(), 83);
        QVERIFY(FrameColours(window.Doc(), 2) == Slice(stripColours, size_t(2) * 64 * 83, 64 * 83));
    }

    void aDamagedStripLeavesTheDocument()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_INDEX8, 8, 8, 2);
        const edtest::DocumentState before = edtest::Snapshot(window.Doc());
        const size_t steps = window.Doc().History().UndoCount();
        const std::string strip = window.File("cut.bmp");
        WriteSprite(strip, edtest::MakePicture(PF_INDEX8, 32, 64, 2));
        Bytes file = edtest::ReadFile(strip);
        file.resize(file.size() / 2);
        edtest::WriteFile(strip, file);
        window.Host().files.push_back({QString::fromStdString(strip), {}});
        window.Host().dialogs.push_back([](QDialog&) { return true; });
        window.Trigger(EditorCommand::Import);
        QCOMPARE(window.Host().messages,
                 QStringList{"The file is not a picture the editor can read, or it is damaged."});
        QVERIFY(edtest::Snapshot(window.Doc()) == before);
        QCOMPARE(window.Doc().History().UndoCount(), steps);
    }

    void exportInEveryEncodingReadsBackInTheGameAndInKvftool()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_INDEX8, 32, 32, 3, 11);
        window.Doc().SetCurrentFrame(1);
        const std::vector<uint32_t> expected = DocumentColours(window.Doc());
        const size_t frameSize = 32 * 32;
        for (ExportEncoding encoding : {ExportEncoding::Uncompressed, ExportEncoding::Pkc, ExportEncoding::Arle,
                                        ExportEncoding::Prle, ExportEncoding::Trle}) {
            const QString name = QString::fromUtf8(TagName(encoding));
            edtest::TempDir folder;
            const std::string strip = folder.File("strip.bmp");
            Export(window, strip, kStrip, encoding);
            QVERIFY2(window.Host().messages.isEmpty(), qPrintable(window.Host().messages.join('|')));
            int width = 0, height = 0;
            QVERIFY2(GameLoaderColours(strip, &width, &height) == expected, qPrintable(name));
            QCOMPARE(width, 32);
            QCOMPARE(height, 96);
            const std::map<QString, QString> info = KvfToolInfo(strip);
            QCOMPARE(info.at(QStringLiteral("height")), QStringLiteral("96"));
            const QString compression = info.at(QStringLiteral("compression"));
            QVERIFY2(encoding == ExportEncoding::Uncompressed ? !compression.contains(QLatin1String("LE")) &&
                                                                    !compression.startsWith(QLatin1String("PKC"))
                                                              : compression.startsWith(name),
                     qPrintable(name + " " + compression));
            QVERIFY2(KvfToolColours(strip) == expected, qPrintable(name));

            const std::string sequence = folder.File("anim.bmp");
            Export(window, sequence, kSequence, encoding);
            QCOMPARE(folder.EntryCount(), size_t(4));
            for (int i = 0; i < 3; ++i) {
                const std::string file = folder.File("anim000" + std::to_string(i) + ".bmp");
                QVERIFY2(GameLoaderColours(file) == Slice(expected, size_t(i) * frameSize, frameSize),
                         qPrintable(name + " " + QString::fromStdString(file)));
                QVERIFY2(KvfToolColours(file) == Slice(expected, size_t(i) * frameSize, frameSize), qPrintable(name));
                const uint32_t tag = FileCompression(file);
                QVERIFY(encoding == ExportEncoding::Uncompressed ? tag == BI_RGB
                        : encoding == ExportEncoding::Pkc        ? tag == TAG_PKC1 || tag == TAG_PKC2
                        : encoding == ExportEncoding::Arle       ? tag == TAG_ARLE
                        : encoding == ExportEncoding::Prle       ? tag == TAG_PRLE
                                                                 : tag == TAG_TRLE);
            }
        }
        QCOMPARE(window.Doc().GetCurrentFrame(), 1);
    }

    void pngExportAndImportKeepTheFrames()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_INDEX8, 12, 10, 2, 4);
        const std::vector<uint32_t> expected = DocumentColours(window.Doc());
        edtest::TempDir folder;
        const std::string strip = folder.File("strip.png");
        Export(window, strip, kPngStrip, ExportEncoding::Uncompressed);
        QCOMPARE(window.Host().dialogTitles, QStringList{"Export"});
        QImage image;
        QVERIFY(image.load(QString::fromStdString(strip), "PNG"));
        QCOMPARE(image.size(), QSize(12, 20));
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QCOMPARE(image.pixel(11, 19) & 0xFFFFFFu, expected.back());
        Export(window, folder.File("seq.png"), kPngSequence, ExportEncoding::Uncompressed);
        QVERIFY(image.load(QString::fromStdString(folder.File("seq0001.png")), "PNG"));
        QCOMPARE(image.size(), QSize(12, 10));

        // Imported back: the same colours, still 8 bits.
        window.Host().saveAnswers.push_back(SaveChangesAnswer::Discard);
        window.Trigger(EditorCommand::New);
        QVERIFY(window.Frame().OpenPath(QString::fromStdString(strip), 2));
        QCOMPARE(window.Doc().GetFrame(0)->Format(), PF_INDEX8);
        QVERIFY(DocumentColours(window.Doc()) == expected);
    }

    void encodingsTheFramesCannotTakeAreDisabledWithTheReason()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_RGB565, 8, 8, 2);
        edtest::TempDir folder;
        Export(window, folder.File("walk.bmp"), kSequence, ExportEncoding::Arle);
        Export(window, folder.File("walk.bmp"), kStrip, ExportEncoding::Prle);
        Export(window, folder.File("walk.jpg"), kStrip, ExportEncoding::Jpeg);
        Export(window, folder.File("walk.bmp"), kSequence, ExportEncoding::Trle);
        QCOMPARE(window.Host().messages, (QStringList{"8-bit frames only", "8-bit frames only", "24-bit frames only",
                                                      "deeper than 8 bits: a strip with an Alpha file only"}));
        QCOMPARE(folder.EntryCount(), size_t(0));

        // The dialog itself: the disabled choices say why beside them; a
        // TRLE strip of deeper frames waits for its Alpha file.
        COutputOptionsDialog dialog(&window.Frame(), window.Host(), ExportOptions(), ExportLayout::Strip, PF_RGB565);
        QVERIFY(!dialog.ChoiceButton(ExportEncoding::Arle)->isEnabled());
        QCOMPARE(dialog.ChoiceButton(ExportEncoding::Arle)->toolTip(), QStringLiteral("8-bit frames only"));
        QVERIFY(dialog.ChoiceButton(ExportEncoding::Pkc)->isEnabled());
        QVERIFY(dialog.ChoiceButton(ExportEncoding::Png)->isEnabled());
        QVERIFY(dialog.ChoiceButton(ExportEncoding::Trle)->isEnabled());
        ClickRadio(*dialog.ChoiceButton(ExportEncoding::Trle));
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QVERIFY(!ok->isEnabled());
        dialog.AlphaEdit()->setText(QStringLiteral("alpha.bmp"));
        QVERIFY(ok->isEnabled());
        QCOMPARE(dialog.QualityBox()->value(), 90);

        // A name typed without an extension takes the encoding's.
        Export(window, folder.File("plain"), kStrip, ExportEncoding::Pkc);
        QVERIFY(QFileInfo::exists(QString::fromStdString(folder.File("plain.bmp"))));
        Export(window, folder.File("shot"), kPngStrip, ExportEncoding::Png);
        QVERIFY(QFileInfo::exists(QString::fromStdString(folder.File("shot.png"))));
    }

    void jpegIsMadeFromTwentyFourBitFramesOnly()
    {
        CEditorWindow window;
        ColouredFrames(window.Doc(), 3);
        edtest::TempDir folder;
        const std::string strip = folder.File("strip.jpg");
        Export(window, strip, kStrip, ExportEncoding::Jpeg, 90);
        QVERIFY(window.Host().messages.isEmpty());
        QVERIFY(IsBaselineJfif(edtest::ReadFile(strip)));
        QImage image;
        QVERIFY(image.load(QString::fromStdString(strip), "JPEG"));
        QCOMPARE(image.size(), QSize(16, 48));
        const std::vector<uint32_t> expected = DocumentColours(window.Doc());
        for (int i = 0; i < 3; ++i)
            QVERIFY2(Near(image.pixel(8, i * 16 + 8), expected[size_t(i) * 256 + 8 * 16 + 8]), qPrintable(QString::number(i)));
        Export(window, folder.File("seq.jpg"), kSequence, ExportEncoding::Jpeg, 90);
        for (int i = 0; i < 3; ++i) {
            const std::string file = folder.File("seq000" + std::to_string(i) + ".jpg");
            QVERIFY(IsBaselineJfif(edtest::ReadFile(file)));
            QVERIFY(image.load(QString::fromStdString(file), "JPEG"));
            QVERIFY(Near(image.pixel(3, 3), expected[size_t(i) * 256 + 3 * 16 + 3]));
        }

        CEditorWindow eightBits;
        AddFrames(eightBits.Doc(), PF_INDEX8, 8, 8, 2);
        edtest::TempDir empty;
        Export(eightBits, empty.File("seq.jpg"), kSequence, ExportEncoding::Jpeg, 90);
        QCOMPARE(eightBits.Host().messages, QStringList{"24-bit frames only"});
        QCOMPARE(empty.EntryCount(), size_t(0));
    }

    void outputOptionsStartAtTheirDefaults()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_INDEX8, 8, 8, 1);
        edtest::TempDir folder;
        const QString alpha = QString::fromStdString(folder.File("alpha.bmp"));
        window.Host().files.push_back({alpha, {}});
        QStringList seen;
        window.Host().dialogs.push_back([&](QDialog& dialog) {
            auto& options = static_cast<COutputOptionsDialog&>(dialog);
            auto* uncompressed = FindButton(options, QStringLiteral("Uncompressed Bitmap"));
            auto* strip = FindButton(options, QString::fromUtf8(COutputOptionsDialog::kStripText));
            seen << options.windowTitle() << QString::number(uncompressed && uncompressed->isChecked())
                 << QString::number(strip && strip->isChecked()) << options.QualityBox()->text()
                 << options.AlphaEdit()->text() << QString::number(options.QualityBox()->isEnabled());
            ClickRadio(*FindButton(options, QStringLiteral("TRLE")));
            QTest::mouseClick(FindButton(options, QStringLiteral("...")), Qt::LeftButton);
            seen << options.AlphaEdit()->text();
            return false;
        });
        window.Trigger(EditorCommand::Export);
        QCOMPARE(seen, (QStringList{"Export", "1", "1", "90", "", "0", alpha}));
        QCOMPARE(window.Host().fileCaptions.last(), QStringLiteral("Alpha"));
        QCOMPARE(window.Host().fileFilters.last(), QStringLiteral("TRLE Compressed bitmap (*.bmp)"));
        QCOMPARE(folder.EntryCount(), size_t(0));
    }

    void trleStripOfTwentyFourBitsTakesTheRowsOfItsAlpha()
    {
        CEditorWindow window;
        ColouredFrames(window.Doc(), 2);
        edtest::TempDir folder;
        // The alpha: an 8-bit picture of the strip's size whose rows keep a
        // different span each, encoded as TRLE.
        CDibSection mask;
        edtest::FillSection(mask, PF_INDEX8, 16, 32, 9);
        std::fill(mask.Bits(), mask.Bits() + size_t(mask.Pitch()) * 32, uint8_t(0));
        for (int y = 0; y < 32; ++y)
            for (int x = y % 7; x < 16 - y % 5; ++x)
                mask.Bits()[size_t(y) * size_t(mask.Pitch()) + size_t(x)] = 1;
        CDibPacked alphaPicture;
        QCOMPARE(alphaPicture.CopyFrom(&mask), DIB_OK);
        QCOMPARE(alphaPicture.Compress(TAG_TRLE), DIB_OK);
        const std::string alpha = folder.File("alpha.bmp");
        QVERIFY(WriteSpriteFile(alpha, alphaPicture.GetInfoHeader(), alphaPicture.GetPictureSize()));

        const std::string strip = folder.File("strip.bmp");
        Export(window, strip, kStrip, ExportEncoding::Trle, 0, QString::fromStdString(alpha));
        QVERIFY2(window.Host().messages.isEmpty(), qPrintable(window.Host().messages.join('|')));
        const Bytes written = edtest::ReadFile(strip);
        TrleLayout layout, reference;
        QVERIFY(ReadTrleLayout(written.data() + 14, written.size() - 14, layout));
        QVERIFY(ReadTrleLayout(alphaPicture.GetInfoHeader(), alphaPicture.GetPictureSize(), reference));
        QCOMPARE(layout.bitCount, 24u);
        for (int row = 0; row < 32; ++row) {
            QCOMPARE(layout.RowSkip(row), reference.RowSkip(row));
            QCOMPARE(layout.RowCount(row), reference.RowCount(row));
        }
        // The game draws the strip: the kept pixels are the frames' own.
        CDibTrle sprite;
        QCOMPARE(LoadPicture(sprite, PictureSource::File(strip)), DIB_OK);
        QCOMPARE(sprite.GetHeight(), 32);

        Export(window, folder.File("other.bmp"), kStrip, ExportEncoding::Trle, 0,
               QString::fromStdString(folder.File("missing.bmp")));
        QCOMPARE(window.Host().messages, QStringList{"Cannot open alpha channel bitmap!"});
        CDibPacked small;
        QCOMPARE(small.CopyFrom(&mask), DIB_OK);
        const std::string wrong = folder.File("wrong.bmp");
        edtest::Bytes plain = edtest::PackedBytes(mask);
        WriteSprite(wrong, plain); // not TRLE: the codec refuses it as a reference
        Export(window, folder.File("other.bmp"), kStrip, ExportEncoding::Trle, 0, QString::fromStdString(wrong));
        QCOMPARE(window.Host().messages.last(), QStringLiteral("Compression failed!"));
        QVERIFY(!std::filesystem::exists(folder.File("other.bmp")));
    }

    void aDrawnStripDrawsIdenticallyInTheGame()
    {
        CEditorWindow window;
        // Three 16 × 16 frames of index 0 (the transparent colour) with one palette.
        CDibSection blank;
        edtest::FillSection(blank, PF_INDEX8, 16, 16, 21);
        std::fill(blank.Bits(), blank.Bits() + size_t(blank.Pitch()) * 16, uint8_t(0));
        const Bytes picture = edtest::PackedBytes(blank);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(window.Doc().InsertFrame(picture.data(), picture.size(), InsertPlace::After), EditorStatus::Ok);
        const PaletteEntry ink = blank.GetPalette()->Entries()[5];
        window.Frame().PaintTools().SetColour(Swatch::Foreground, QColor(ink.red, ink.green, ink.blue));
        window.Frame().View().SetZoomIndex(5); // 4 screen pixels a picture pixel
        QWidget& viewport = *window.Frame().View().viewport();
        for (int i = 0; i < 3; ++i) {
            window.Doc().SetCurrentFrame(i);
            MousePress(viewport, Qt::LeftButton, QPoint(4 * i + 1, 2));
            MouseMove(viewport, Qt::LeftButton, QPoint(60, 30 + 8 * i));
            MouseRelease(viewport, Qt::LeftButton, QPoint(20, 62));
        }
        edtest::TempDir folder;
        const std::string strip = folder.File("drawn.bmp");
        Export(window, strip, kStrip, ExportEncoding::Trle);
        QVERIFY(window.Host().messages.isEmpty());

        CDibTrle sprite;
        QCOMPARE(LoadPicture(sprite, PictureSource::File(strip)), DIB_OK);
        for (int i = 0; i < 3; ++i) {
            CDibSection screen;
            edtest::FillSection(screen, PF_INDEX8, 16, 16, 21);
            std::fill(screen.Bits(), screen.Bits() + size_t(screen.Pitch()) * 16, uint8_t(0));
            QCOMPARE(screen.Draw(0, 0, 16, 16, &sprite, 0, 16 * i, 16, 16, BLIT_SRCKEY, 0), DIB_OK);
            const std::vector<uint32_t> drawn = Colours(screen);
            QVERIFY2(drawn == FrameColours(window.Doc(), i), qPrintable(QString::number(i)));
            QVERIFY(drawn != Colours(blank));
        }
    }

    void insertVideoAppendsItsFramesAsOneStep()
    {
        CEditorWindow window;
        AddFrames(window.Doc(), PF_RGB24, 6, 4, 3, 8);
        const std::string video = window.File("clip.avi");
        QCOMPARE(window.Doc().SaveDocument(video), EditorStatus::Ok);
        const std::vector<uint32_t> clip = DocumentColours(window.Doc());
        window.Doc().SetCurrentFrame(0);
        window.Host().files.push_back({QString::fromStdString(video), {}});
        window.Trigger(EditorCommand::InsertVideo);
        QCOMPARE(window.Host().fileFilters.first(), QStringLiteral("Video (*.avi);;All Files (*)"));
        QCOMPARE(window.Doc().GetFrameCount(), 6);
        QCOMPARE(window.Doc().GetCurrentFrame(), 3);
        QVERIFY(Slice(DocumentColours(window.Doc()), 6 * 4, 3 * 6 * 4) == clip);
        QCOMPARE(QString::fromStdString(window.Doc().GetUndoName()), QStringLiteral("Insert Video"));
        // Not a video: a message, nothing inserted.
        const std::string text = window.File("clip.txt");
        edtest::WriteFile(text, Bytes(100, 'x'));
        window.Host().files.push_back({QString::fromStdString(text), {}});
        window.Trigger(EditorCommand::InsertVideo);
        QCOMPARE(window.Host().messages, QStringList{"The file is not a video with a readable video stream."});
        QCOMPARE(window.Doc().GetFrameCount(), 6);
    }
};

QT_TEST_CLASS(ImportExportTest);
#include "ImportExportTest.moc"
